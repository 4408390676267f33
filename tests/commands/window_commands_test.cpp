// The window's commands that live in the core: the toolbar keys, select matching items with
// its status text, the context menu, the drop rules and the resize rule.
#include "commands/window_commands.h"

#include <gtest/gtest.h>

#include "support/fake_ui.h"

namespace vendil {
namespace {

using test::FakeUi;

class WindowCommands : public ::testing::Test {
 protected:
  void SetUp() override {
    form.txtMask.SetText("*.zip");
    form.lvwUrls.AddLink("a.zip", "http://h/a.zip", "http://h/page.html", "", "", "", 1);
    form.lvwUrls.AddLink("b.txt", "http://h/b.txt", "file:///etc/passwd", "", "", "", 1);
    form.lvwUrls.AddLink("c.zip", "file:///home/u/c.zip", "http://h/", "", "", "", 1);
  }
  FakeUi ui;
  Form1 form{ui};
};

TEST_F(WindowCommands, ToolbarKeysAreCaseBlindAndUnknownKeysDoNothing) {
  EXPECT_TRUE(RunToolbarKey(form, "COPY"));
  ASSERT_TRUE(ui.clipboard.has_value());
  EXPECT_EQ(*ui.clipboard, "http://h/a.zip\r\nfile:///home/u/c.zip\r\n");
  EXPECT_TRUE(RunToolbarKey(form, "Stop"));
  EXPECT_TRUE(form.m_blnStop);
  EXPECT_TRUE(RunToolbarKey(form, "about"));
  EXPECT_EQ(ui.aboutBoxes, 1);
  const auto statuses = ui.statuses.size();
  EXPECT_FALSE(RunToolbarKey(form, "flashget_send"));
  EXPECT_FALSE(RunToolbarKey(form, ""));
  EXPECT_EQ(ui.statuses.size(), statuses);
  // Every button and drop-down item of the toolbar names a command.
  for (const ToolbarButton& button : ToolbarButtons()) {
    for (const ToolbarButton& item : ToolbarMenuItems(button.key))
      EXPECT_FALSE(std::string(item.key).empty()) << button.key;
  }
  EXPECT_EQ(ToolbarButtons().size(), 15u);
}

TEST_F(WindowCommands, SelectMatchingItemsCountsIntoTheStatusText) {
  form.lvwUrls.InvertCheck();
  SelectMatchingItems(form);
  EXPECT_EQ(form.StatusText(), "2 個のアイテムと一致しました。");
  EXPECT_TRUE(form.lvwUrls.Checked(1));
  EXPECT_FALSE(form.lvwUrls.Checked(2));
  form.txtMask.SetText("");
  SelectMatchingItems(form);
  EXPECT_EQ(form.StatusText(), "0 個のアイテムと一致しました。");
  // A malformed mask changes neither the marks after the fault nor the status text.
  form.SetStatusText("before");
  form.txtMask.SetText("[a");
  SelectMatchingItems(form);
  EXPECT_EQ(form.StatusText(), "before");
}

TEST_F(WindowCommands, ContextMenuOpensOnlyWebAddressesOfTheSelectedRow) {
  OpenThisUrl(form, 0);
  OpenThisReferer(form, 4);
  EXPECT_TRUE(ui.openedUrls.empty());
  OpenThisUrl(form, 1);
  OpenThisReferer(form, 1);
  OpenThisReferer(form, 2);  // a file: referer is not opened
  OpenThisUrl(form, 3);
  EXPECT_EQ(ui.openedUrls, (std::vector<std::string>{"http://h/a.zip", "http://h/page.html"}));
}

TEST_F(WindowCommands, DropRules) {
  form.txtUrl.SetText("http://before/");
  EXPECT_FALSE(DropOnUrlField(form, "ftp://example.jp/"));
  EXPECT_FALSE(DropOnUrlField(form, " http://leading-blank/"));
  EXPECT_EQ(form.txtUrl.Text(), "http://before/");
  EXPECT_TRUE(DropOnUrlField(form, "Https://Example.jp/"));
  EXPECT_EQ(form.txtUrl.Text(), "Https://Example.jp/");
  EXPECT_FALSE(DropOnSaveFolder(form, {}));
  EXPECT_TRUE(DropOnSaveFolder(form, {"/a", "/b"}));
  EXPECT_EQ(form.txtSaveFolder.Text(), "/a");
}

TEST(ResizeRule, ListFillsBelowTheBandsButNeverUnderAThousandTwips) {
  ListArea area = ListAreaForWindow(9000, 6000, 1500, 300);
  EXPECT_EQ(area.left, 0);
  EXPECT_EQ(area.top, 1500);
  EXPECT_EQ(area.width, 9000);
  EXPECT_EQ(area.height, 4200);
  area = ListAreaForWindow(9000, 2799, 1500, 300);  // 999 twips high
  EXPECT_EQ(area.width, 1000);
  EXPECT_EQ(area.height, 1000);
  area = ListAreaForWindow(999, 6000, 1500, 300);
  EXPECT_EQ(area.width, 1000);
  EXPECT_EQ(area.height, 1000);
  area = ListAreaForWindow(1000, 2800, 1500, 300);
  EXPECT_EQ(area.width, 1000);
  EXPECT_EQ(area.height, 1000);
  EXPECT_EQ(ListAreaForWindow(1001, 2801, 1500, 300).height, 1001);
}

}  // namespace
}  // namespace vendil
