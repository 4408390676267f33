// The objects add-URL scripts see, driven by real scripts: AddUrl and its conversions, the
// link collection's members and errors, and the Links property (reading script files:
// script_file_test).
#include <gtest/gtest.h>

#include <string>

#include "crawl/script_host_objects.h"
#include "platform/codec.h"
#include "script/engine.h"
#include "script/variant_convert.h"

namespace vendil {
namespace {

class SilentHost : public HostCallbacks {
 public:
  int MessageBox(std::u16string_view, std::u16string_view, int) override { return 1; }
  std::optional<std::u16string> InputBox(std::u16string_view, std::u16string_view,
                                         std::u16string_view) override {
    return std::nullopt;
  }
};

std::shared_ptr<AddLinkClass> Link(const std::string& url) {
  return std::make_shared<AddLinkClass>(AddLinkClass{url, "t", "r", "", ""});
}

class ScriptHost : public ::testing::Test {
 protected:
  void SetUp() override {
    info->Url = u"http://site.example/page.html";
    info->Links = std::make_shared<LinkCollectionObject>(
        LinkCollection{Link("http://a.example/1.zip"), Link("http://a.example/2.zip")});
    engine.AddObject(u"VendilInfo", info);
  }
  // Runs `code`; the error number it stopped with, or 0.
  int Run(const std::string& code) {
    auto error = engine.AddCode(Utf8ToUtf16(code));
    return error ? error->number : 0;
  }
  std::string Global(const std::string& name) {
    auto value = engine.GlobalValue(Utf8ToUtf16(name));
    return value ? Utf16ToUtf8(ToString(*value)) : "<none>";
  }
  LinkCollection& links() { return info->Links->links(); }

  SilentHost host;
  Engine engine{host};
  std::shared_ptr<VendilInfoClass> info = std::make_shared<VendilInfoClass>();
};

TEST_F(ScriptHost, AddUrlConvertsWhatItIsGivenAndFillsTheRest) {
  ASSERT_EQ(Run("VendilInfo.AddUrl \"http://x/1\"\n"
                "VendilInfo.AddUrl \"http://x/2\", 12, True, Empty, 2.5\n"
                "VendilInfo.AddUrl \"http://x/3\", , \"dir\"\n"
                "VendilInfo.Url = \"http://changed/\"\n"
                "VendilInfo.AddUrl 42\n"
                "VendilInfo.AddUrl \"\"\n"
                "VendilInfo.AddUrl Empty\n"),
            0);
  ASSERT_EQ(links().size(), 6u);
  const AddLinkClass& plain = *links()[2];
  EXPECT_EQ(plain.Url, "http://x/1");
  EXPECT_EQ(plain.Referer, "http://site.example/page.html");
  EXPECT_EQ(plain.FileName, "");
  EXPECT_EQ(plain.Folder, "");
  EXPECT_EQ(plain.Title, "");
  const AddLinkClass& given = *links()[3];
  EXPECT_EQ(given.FileName, "12");
  EXPECT_EQ(given.Folder, "True");
  EXPECT_EQ(given.Referer, "");  // given, though empty
  EXPECT_EQ(given.Title, "2.5");
  EXPECT_EQ(links()[4]->Folder, "dir");
  EXPECT_EQ(links()[4]->FileName, "");
  EXPECT_EQ(links()[5]->Url, "42");
  EXPECT_EQ(links()[5]->Referer, "http://changed/");
}

TEST_F(ScriptHost, AddUrlErrorsAddNothing) {
  EXPECT_EQ(Run("VendilInfo.AddUrl \"http://x/1\", Null"), 94);
  EXPECT_EQ(Run("VendilInfo.AddUrl"), 450);
  EXPECT_EQ(Run("VendilInfo.AddUrl 1, 2, 3, 4, 5, 6"), 450);
  EXPECT_EQ(links().size(), 2u);
  EXPECT_EQ(Run("Set VendilInfo.Links = Nothing\nVendilInfo.AddUrl \"http://x/1\""), 91);
}

TEST_F(ScriptHost, CollectionCountsFromOneAndShareItsLinks) {
  ASSERT_EQ(Run("n = VendilInfo.Links.Count\n"
                "first = VendilInfo.Links(1).Url\n"
                "second = VendilInfo.Links.Item(2).url\n"
                "For Each l In VendilInfo.Links : all = all & l.Title : Next\n"
                "VendilInfo.Links(1).FILENAME = 7\n"
                "VendilInfo.Links.Add VendilInfo.Links(2)\n"
                "VendilInfo.Links(3).Title = \"shared\"\n"
                "VendilInfo.Links.Remove 1\n"
                "kind = TypeName(VendilInfo.Links(1))\n"),
            0);
  EXPECT_EQ(Global("n"), "2");
  EXPECT_EQ(Global("first"), "http://a.example/1.zip");
  EXPECT_EQ(Global("second"), "http://a.example/2.zip");
  EXPECT_EQ(Global("all"), "tt");
  EXPECT_EQ(Global("kind"), "AddLinkClass");
  ASSERT_EQ(links().size(), 2u);
  EXPECT_EQ(links()[0], links()[1]);  // the same link twice, changed through either
  EXPECT_EQ(links()[0]->Title, "shared");
}

TEST_F(ScriptHost, CollectionRefusesWhatItCannotHold) {
  const struct {
    const char* code;
    int error;
  } cases[] = {
      {"x = VendilInfo.Links(0)", 9},
      {"x = VendilInfo.Links(3)", 9},
      {"VendilInfo.Links.Remove 3", 9},
      {"x = VendilInfo.Links(\"key\")", 5},
      {"VendilInfo.Links.Add \"http://x/\"", 13},
      {"VendilInfo.Links.Add New RegExp", 13},
      {"x = VendilInfo.Links(1).Size", 438},
      {"VendilInfo.Links.Sort", 438},
      {"VendilInfo.Links = 5", 13},
      {"Set VendilInfo.Links = New RegExp", 13},
      {"VendilInfo.Nope = 1", 438},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.code);
    EXPECT_EQ(Run(c.code), c.error);
  }
  EXPECT_EQ(links().size(), 2u);
}

TEST_F(ScriptHost, LinksHtmlAndUrlAreReadAndSet) {
  info->Html = u"<p>ページ</p>";
  ASSERT_EQ(Run("h = Len(VendilInfo.Html)\n"
                "Set keep = VendilInfo.Links\n"
                "Set VendilInfo.Links = Nothing\n"
                "gone = VendilInfo.Links Is Nothing\n"
                "Set VendilInfo.Links = keep\n"
                "VendilInfo.Html = 1.5\n"),
            0);
  EXPECT_EQ(Global("h"), "10");
  EXPECT_EQ(Global("gone"), "True");
  ASSERT_NE(info->Links, nullptr);
  EXPECT_EQ(info->Links->links().size(), 2u);
  EXPECT_EQ(info->Html, u"1.5");
}

}  // namespace
}  // namespace vendil
