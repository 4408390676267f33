// Checking links from the window (offscreen): the three columns filled from what each
// server told, sorting by size, and the status bar's total of the checked rows.
#include <QHeaderView>
#include <QLabel>

#include "gui/link_list_model.h"
#include "gui/link_list_view.h"
#include "support/check_site.h"
#include "window_fixture.h"

namespace vendil::test {
namespace {

class CheckWindowTest : public WindowFixture {
 protected:
  void SetUp() override {
    WindowFixture::SetUp();
    OpenWindow();
    for (const CheckSiteFile& f : site.Files()) {
      const std::string name = f.path.substr(f.path.rfind('/') + 1);
      form.lvwUrls.AddLink(name, site.server().Url(f.path), site.IndexUrl(), name, "", "", 1);
    }
    window->Model()->FlushInsertedRows();
  }
  std::string Cell(size_t position, int column) const {
    gui::LinkListModel* model = window->Model();
    return model->data(model->index(static_cast<int>(position) - 1, column))
        .toString()
        .toStdString();
  }
  std::string Total() const { return window->CheckedTotalLabel()->text().toStdString(); }

  CheckSite site;
};

TEST_F(CheckWindowTest, TheColumnsShowWhatEachServerToldAndTheTotalFollowsTheMarks) {
  ASSERT_TRUE(WaitFor([&] { return Total() == "チェック 8 個"; })) << Total();

  // Only the checked rows are asked: the unchecked one stays blank.
  form.lvwUrls.SetChecked(8, false);  // missing.zip
  Trigger(QStringLiteral("Toolbar1_check"));
  EXPECT_EQ(Cell(1, gui::LinkListModel::kSizeColumn), "12.1 KB");
  EXPECT_EQ(Cell(1, gui::LinkListModel::kTypeColumn), "application/zip");
  EXPECT_EQ(Cell(1, gui::LinkListModel::kStateColumn), "200 OK");
  EXPECT_EQ(Cell(5, gui::LinkListModel::kSizeColumn), "3.73 GB");
  EXPECT_EQ(Cell(6, gui::LinkListModel::kStateColumn),
            "移動 → " + site.server().Url("/files/a.zip"));
  EXPECT_EQ(Cell(7, gui::LinkListModel::kStateColumn).rfind("エラー: ", 0), 0u);
  EXPECT_EQ(Cell(8, gui::LinkListModel::kStateColumn), "");
  EXPECT_EQ(site.server().TimesRequested("/files/missing.zip"), 0);
  EXPECT_EQ(form.StatusText(), "リンクの確認が終わりました: 7 件");
  // a.zip, empty.txt, chunked.bin, nohead.iso, moved.zip; stream.ogg and away.zip unknown.
  ASSERT_TRUE(WaitFor([&] { return Total() == "チェック 7 個・3.73 GB (サイズ不明 2 個)"; }))
      << Total();
  form.lvwUrls.SetChecked(5, false);
  ASSERT_TRUE(WaitFor([&] { return Total() == "チェック 6 個・24.9 KB (サイズ不明 2 個)"; }))
      << Total();

  // All rows with the second item: the 404 too.
  Trigger(QStringLiteral("mnuGo_CheckAllLinks"));
  EXPECT_EQ(Cell(8, gui::LinkListModel::kStateColumn), "404 Not Found");

  // A click on the size caption sorts by the number: the largest first.
  QHeaderView* header = window->List()->horizontalHeader();
  emit header->sectionClicked(gui::LinkListModel::kSizeColumn);
  EXPECT_EQ(form.lvwUrls.Row(1).FileName, "nohead.iso");
  EXPECT_EQ(Cell(1, gui::LinkListModel::kSizeColumn), "3.73 GB");
}

}  // namespace
}  // namespace vendil::test
