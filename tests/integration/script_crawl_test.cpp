// Whole crawls on a loopback site with an add-URL script chosen: what AddUrl adds, scripts
// that change and remove links, syntax and run-time errors, variables kept between pages
// and crawls, Stop during a script that never ends, and the shipped example scripts.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "crawl/add_url_script.h"
#include "crawl/crawl_links.h"
#include "integration/crawl_fixture.h"
#include "platform/codec.h"
#include "state/form1.h"
#include "support/fake_ui.h"
#include "support/http_test_server.h"
#include "support/temp_folder.h"

namespace vendil {
namespace {

using test::A;
using test::Html;
using test::TempFolder;

class IntegrationScriptCrawl : public test::CrawlFixture {
 protected:
  void SetUp() override {
    CrawlFixture::SetUp();
    form.programFolder = folder.Path();
    std::filesystem::create_directory(folder.File("scripts"));
  }
  // Writes scripts/NAME in the system code page with CR LF line ends, as users keep them.
  void WriteScript(const std::string& name, const std::string& utf8Lines) {
    std::string text;
    for (char c : utf8Lines) {
      if (c == '\n') text += '\r';
      text += c;
    }
    test::WriteBytes(folder.File("scripts/" + name), Utf8ToAnsi(text));
  }
  // Loads the list and the engine as the main window does, and chooses `name`.
  void Choose(const std::string& name) {
    FillScriptList(form);
    CreateScriptEngine(form);
    ASSERT_NE(form.m_objScript, nullptr);
    ASSERT_TRUE(form.cmbScript.SetText(name));
  }
  // Each crawl here starts from an empty list.
  bool Crawl(const std::string& path, const std::string& depth = "0") {
    form.lvwUrls.Clear();
    return CrawlFixture::Crawl(path, depth);
  }
  // The message boxes titled as script errors.
  std::vector<test::RecordedMessage> ScriptErrors() const {
    std::vector<test::RecordedMessage> boxes;
    for (const auto& m : ui.messages) {
      if (m.title == "スクリプトエラー") boxes.push_back(m);
    }
    return boxes;
  }
  // The folder of the site's pages as a script sees it, for scripts that add links there.
  static constexpr const char* kBase =
      "base = Left(VendilInfo.Url, InStrRev(VendilInfo.Url, \"/\"))\n";

  TempFolder folder;
};

TEST_F(IntegrationScriptCrawl, ALinkInsideAPageScriptIsNoRowButTheAddUrlScriptSeesIt) {
  site.Page("/index.html",
            Html("<script>document.write('<a href=\"in-script.zip\">x</a>');</script>" +
                 A("real.zip", "real") + "<textarea>" + A("typed.zip") + "</textarea>"));
  ASSERT_TRUE(Crawl("/index.html"));
  EXPECT_EQ(Urls(), std::vector<std::string>{site.Url("/real.zip")});
  // The add-URL script gets the page as it came, script and textarea included.
  WriteScript("seen.vbs", std::string(kBase) +
                              "If InStr(VendilInfo.Html, \"in-script.zip\") > 0 And "
                              "InStr(VendilInfo.Html, \"typed.zip\") > 0 Then "
                              "VendilInfo.AddUrl base & \"seen.zip\"\n");
  Choose("seen.vbs");
  ASSERT_TRUE(Crawl("/index.html"));
  EXPECT_EQ(Urls(), (std::vector<std::string>{site.Url("/real.zip"), site.Url("/seen.zip")}));
  EXPECT_TRUE(ScriptErrors().empty());
}

TEST_F(IntegrationScriptCrawl, AddUrlFillsTheFieldsItIsNotGiven) {
  site.Page("/index.html", Html(A("l1.html")));
  site.Page("/l1.html", Html(A("a.zip")));
  WriteScript("add.vbs", std::string(kBase) +
                             "VendilInfo.AddUrl base & \"extra.zip\"\n"
                             "VendilInfo.AddUrl base & \"full.bin\", \"name.bin\", \"sub\", "
                             "\"http://ref.example/\", \"Title\"\n");
  Choose("add.vbs");
  ASSERT_TRUE(Crawl("/index.html", "1"));
  EXPECT_TRUE(ScriptErrors().empty()) << ui.messages.front().text;

  // Added on both pages, listed once with the first page as referer and queued once.
  const LinkRow* extra = RowWithUrl(site.Url("/extra.zip"));
  ASSERT_NE(extra, nullptr);
  EXPECT_EQ(extra->Referer, site.Url("/index.html"));
  EXPECT_EQ(extra->FileName, "extra.zip");
  EXPECT_EQ(extra->Depth, "0");
  EXPECT_TRUE(extra->Checked);
  EXPECT_EQ(site.TimesRequested("/extra.zip"), 1);

  const LinkRow* full = RowWithUrl(site.Url("/full.bin"));
  ASSERT_NE(full, nullptr);
  EXPECT_EQ(full->FileName, "name.bin");
  EXPECT_EQ(full->DownloadFolder, "sub");
  EXPECT_EQ(full->Referer, "http://ref.example/");
  EXPECT_EQ(full->Title, "Title");

  // l1.html, a.zip and the two script links. (Numbers, skipped arguments and an empty URL:
  // ScriptHost.AddUrlConvertsWhatItIsGivenAndFillsTheRest.)
  EXPECT_EQ(form.lvwUrls.Count(), 4u);
}

TEST_F(IntegrationScriptCrawl, ScriptChangesRemovesAndRedirectsLinks) {
  site.Page("/index.html",
            Html(A("old.html", "Old") + A("drop1.zip") + A("keep.zip") + A("drop2.zip")));
  site.Page("/new.html", Html(A("deep.zip")));
  WriteScript("edit.vbs",
              "Dim i, l\n"
              "For i = VendilInfo.Links.Count To 1 Step -1\n"
              "  If InStr(VendilInfo.Links(i).Url, \"drop\") > 0 Then VendilInfo.Links.Remove i\n"
              "Next\n"
              "For Each l In VendilInfo.Links\n"
              "  If InStr(l.Url, \"old.html\") > 0 Then\n"
              "    l.Url = Replace(l.Url, \"old\", \"new\")\n"
              "    l.Title = l.Title & \" (moved)\"\n"
              "  End If\n"
              "Next\n"
              // keep.zip's reply (the site's "not here" page) is read too and has no links.
              "If VendilInfo.Links.Count > 0 Then VendilInfo.Links.Add VendilInfo.Links(1)\n"
              "VendilInfo.Url = \"http://referer.example/\"\n"
              "VendilInfo.AddUrl \"http://other.example/x.zip\"\n"
              "Set VendilInfo.Links = Nothing\n");
  Choose("edit.vbs");
  ASSERT_TRUE(Crawl("/index.html", "1"));
  EXPECT_TRUE(ScriptErrors().empty()) << ui.messages.front().text;
  EXPECT_EQ(RowWithUrl(site.Url("/drop1.zip")), nullptr);
  EXPECT_EQ(RowWithUrl(site.Url("/drop2.zip")), nullptr);
  EXPECT_EQ(RowWithUrl(site.Url("/old.html")), nullptr);
  ASSERT_NE(RowWithUrl(site.Url("/new.html")), nullptr);
  EXPECT_EQ(RowWithUrl(site.Url("/new.html"))->Title, "Old (moved)");
  // The changed link was followed; its page's links were listed one level deeper.
  EXPECT_EQ(site.TimesRequested("/old.html"), 0);
  ASSERT_NE(RowWithUrl(site.Url("/deep.zip")), nullptr);
  EXPECT_EQ(RowWithUrl(site.Url("/deep.zip"))->Depth, "1");
  // Setting Links to Nothing does not lose the page's collection; a changed Url is the
  // referer of later AddUrl calls.
  ASSERT_NE(RowWithUrl(site.Url("/keep.zip")), nullptr);
  ASSERT_NE(RowWithUrl("http://other.example/x.zip"), nullptr);
  EXPECT_EQ(RowWithUrl("http://other.example/x.zip")->Referer, "http://referer.example/");
}

TEST_F(IntegrationScriptCrawl, ScriptSeesFragmentsAndTheUrlsItGivesKeepThem) {
  site.Page("/index.html", Html(A("a.zip#one") + A("b.zip#two") + A("e.zip#three")));
  WriteScript("frag.vbs", std::string(kBase) +
                              "VendilInfo.AddUrl VendilInfo.Links(1).Url & \"-seen\"\n"
                              "VendilInfo.Links(2).Url = base & \"c.zip#mine\"\n"
                              "VendilInfo.Links(3).Title = \"only the title\"\n"
                              "VendilInfo.AddUrl base & \"d.zip#kept\"\n");
  Choose("frag.vbs");
  ASSERT_TRUE(Crawl("/index.html"));
  EXPECT_EQ(Urls(), (std::vector<std::string>{site.Url("/a.zip"), site.Url("/c.zip#mine"),
                                              site.Url("/e.zip"), site.Url("/a.zip#one-seen"),
                                              site.Url("/d.zip#kept")}));
}

TEST_F(IntegrationScriptCrawl, ALinkThePageRepeatsIsCollectedOnce) {
  std::string bomb;
  for (int i = 0; i < 5000; ++i) bomb += "<a href=1.zip>one</a><a href=2.zip>two";
  site.Page("/index.html", Html(bomb + A("1.zip#x")));
  WriteScript("count.vbs",
              std::string(kBase) + "VendilInfo.AddUrl base & \"count\" & VendilInfo.Links.Count\n");
  Choose("count.vbs");
  ASSERT_TRUE(Crawl("/index.html"));
  EXPECT_EQ(Urls(), (std::vector<std::string>{site.Url("/1.zip"), site.Url("/2.zip"),
                                              site.Url("/count3")}));
  EXPECT_EQ(form.lvwUrls.Row(2).Title, "two");
}

TEST_F(IntegrationScriptCrawl, SyntaxErrorShowsOneBoxPerSearchAndNothingRuns) {
  site.Page("/index.html", Html(A("l1.html") + A("a.zip")));
  site.Page("/l1.html", Html(A("b.zip")));
  WriteScript("bad.vbs",
              "VendilInfo.AddUrl \"http://never.example/x.zip\"\n"
              "x = (1 +\n");
  Choose("bad.vbs");
  ASSERT_TRUE(Crawl("/index.html", "1"));
  // One box for the search, though three pages were read (index.html, l1.html and the
  // reply for a.zip); it says the script is off for the rest of the search.
  auto boxes = ScriptErrors();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].style, vb::OKOnly | vb::Critical);
  const std::string text = boxes[0].text;
  EXPECT_EQ(text.substr(text.rfind("\r\n\r\n")),
            "\r\n\r\nこのスクリプトは、この検索の残りのページでは実行されません。");
  EXPECT_EQ(text.rfind("スクリプト'bad.vbs'でエラーが発生しました。\r\n\r\n", 0), 0u) << text;
  EXPECT_NE(text.find("\r\n行: 2\r\n文字: "), std::string::npos) << text;
  EXPECT_NE(text.find("\r\n番号: 10"), std::string::npos) << text;
  EXPECT_NE(text.find("\r\n種類: Microsoft VBScript compilation error\r\n"), std::string::npos)
      << text;
  EXPECT_NE(text.find("\r\nコード: x = (1 +"), std::string::npos) << text;
  // The crawl went on with the links it found itself.
  EXPECT_EQ(RowWithUrl("http://never.example/x.zip"), nullptr);
  EXPECT_NE(RowWithUrl(site.Url("/b.zip")), nullptr);
  EXPECT_EQ(form.StatusText(), "2/3 個のリンクが見つかりました。");

  // The next search tries the script again and says so again, once.
  form.lvwUrls.Clear();
  ASSERT_TRUE(Crawl("/index.html", "1"));
  boxes = ScriptErrors();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[1].text, text);
}

TEST_F(IntegrationScriptCrawl, AfterARuntimeErrorTheLaterPagesRunWithoutTheScript) {
  site.Page("/index.html", Html(A("l1.html")));
  site.Page("/l1.html", Html(A("b.zip")));
  WriteScript("first.vbs", std::string(kBase) +
                               "If InStr(VendilInfo.Url, \"index\") > 0 Then n = 1 / 0\n"
                               "VendilInfo.AddUrl base & \"added.zip?\" & Len(VendilInfo.Url)\n");
  Choose("first.vbs");
  ASSERT_TRUE(Crawl("/index.html", "1"));
  EXPECT_EQ(ScriptErrors().size(), 1u);
  // l1.html was read and its link listed, but the script did not run on it.
  EXPECT_NE(RowWithUrl(site.Url("/b.zip")), nullptr);
  EXPECT_EQ(RowWithUrl(site.Url("/added.zip?") + std::to_string(site.Url("/l1.html").size())),
            nullptr);
}

TEST_F(IntegrationScriptCrawl, RuntimeErrorOnOnePageKeepsWhatTheScriptAddedBefore) {
  site.Page("/index.html", Html(A("l1.html")));
  site.Page("/l1.html", Html(A("b.zip")));
  WriteScript("fails.vbs", std::string(kBase) +
                               "VendilInfo.AddUrl base & \"before.zip\"\n"
                               "If InStr(VendilInfo.Url, \"l1\") > 0 Then n = 1 / 0\n"
                               "VendilInfo.AddUrl base & \"after.zip?\" & Len(VendilInfo.Url)\n");
  Choose("fails.vbs");
  ASSERT_TRUE(Crawl("/index.html", "1"));
  const auto boxes = ScriptErrors();
  ASSERT_EQ(boxes.size(), 1u);
  // Every part on its own line; the column is the engine's to tell.
  std::vector<std::string> lines;
  for (size_t start = 0;;) {
    const size_t end = boxes[0].text.find("\r\n", start);
    lines.push_back(boxes[0].text.substr(start, end - start));
    if (end == std::string::npos) break;
    start = end + 2;
  }
  ASSERT_EQ(lines.size(), 10u) << boxes[0].text;
  EXPECT_EQ(lines[0], "スクリプト'fails.vbs'でエラーが発生しました。");
  EXPECT_EQ(lines[1], "");
  EXPECT_EQ(lines[2], "Division by zero");
  EXPECT_EQ(lines[3], "行: 3");
  EXPECT_EQ(lines[4].rfind("文字: ", 0), 0u);
  EXPECT_EQ(lines[5], "番号: 11");
  EXPECT_EQ(lines[6], "種類: Microsoft VBScript runtime error");
  EXPECT_EQ(lines[7], "コード: If InStr(VendilInfo.Url, \"l1\") > 0 Then n = 1 / 0");
  EXPECT_NE(RowWithUrl(site.Url("/before.zip")), nullptr);
  const std::string indexUrl = site.Url("/index.html");
  EXPECT_NE(RowWithUrl(site.Url("/after.zip?") + std::to_string(indexUrl.size())), nullptr);
  const std::string l1Url = site.Url("/l1.html");
  EXPECT_EQ(RowWithUrl(site.Url("/after.zip?") + std::to_string(l1Url.size())), nullptr);
  // The failed page's own links are still handled.
  EXPECT_NE(RowWithUrl(site.Url("/b.zip")), nullptr);
}

TEST_F(IntegrationScriptCrawl, TopLevelVariablesLiveAcrossPagesAndCrawls) {
  site.Page("/index.html", Html(A("l1.html")));
  site.Page("/l1.html", Html(""));
  // The counted links go to another server, which the crawl does not follow, so only the
  // two pages of the site are read.
  WriteScript("count.vbs",
              "pages = pages + 1\n"
              "VendilInfo.AddUrl \"http://files.example/page\" & pages & \".zip\"\n");
  Choose("count.vbs");
  ASSERT_TRUE(Crawl("/index.html", "1"));
  EXPECT_EQ(Urls(),
            (std::vector<std::string>{site.Url("/l1.html"), "http://files.example/page1.zip",
                                      "http://files.example/page2.zip"}));
  ASSERT_TRUE(Crawl("/l1.html", "0"));
  EXPECT_EQ(Urls(), (std::vector<std::string>{"http://files.example/page3.zip"}));
  EXPECT_TRUE(ScriptErrors().empty());
}

TEST_F(IntegrationScriptCrawl, StopEndsAScriptThatNeverEnds) {
  site.Page("/index.html", Html(A("l1.html")));
  site.Page("/l1.html", Html(A("b.zip")));
  WriteScript("loop.vbs", "MsgBox \"looping\"\nDo\nLoop\n");
  Choose("loop.vbs");
  ui.OnYield([&] { return !ui.messages.empty(); }, [&] { form.m_blnStop = true; });
  EXPECT_FALSE(Crawl("/index.html", "1"));
  EXPECT_EQ(form.StatusText(), "キャンセルされました。");
  // Stopping is no script error; the page's links were still listed.
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, "looping");
  EXPECT_NE(RowWithUrl(site.Url("/l1.html")), nullptr);
}

TEST_F(IntegrationScriptCrawl, MessageAndInputBoxesGoThroughTheUi) {
  site.Page("/index.html", Html(""));
  WriteScript("ask.vbs", std::string(kBase) +
                             "answer = InputBox(\"名前は?\", \"質問\", \"default\")\n"
                             "If MsgBox(\"続けますか\", vbYesNo, \"確認\") = vbNo Then\n"
                             "  VendilInfo.AddUrl base & answer & \".zip\"\n"
                             "End If\n");
  Choose("ask.vbs");
  ui.inputAnswers.push_back(std::string("typed"));
  ui.messageAnswers.push_back(vb::No);
  ASSERT_TRUE(Crawl("/index.html"));
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, "続けますか");
  EXPECT_EQ(ui.messages[0].title, "確認");
  EXPECT_EQ(ui.messages[0].style, vb::YesNo);
  EXPECT_NE(RowWithUrl(site.Url("/typed.zip")), nullptr);
}

TEST_F(IntegrationScriptCrawl, NoScriptRunsForTheEmptyEntryOrAMissingFile) {
  site.Page("/index.html", Html(A("a.zip")));
  WriteScript("add.vbs", "VendilInfo.AddUrl \"http://x.example/added.zip\"\n");
  WriteScript(".hidden.vbs", "VendilInfo.AddUrl \"http://x.example/hidden.zip\"\n");
  std::filesystem::create_directory(folder.File("scripts/folder.vbs"));
  FillScriptList(form);
  EXPECT_EQ(form.cmbScript.Items(), (std::vector<std::string>{"", "add.vbs"}));
  CreateScriptEngine(form);
  ASSERT_TRUE(form.cmbScript.SetListIndex(0));
  ASSERT_TRUE(Crawl("/index.html"));
  EXPECT_EQ(form.lvwUrls.Count(), 1u);

  ASSERT_TRUE(form.cmbScript.SetText("add.vbs"));
  std::filesystem::remove(folder.File("scripts/add.vbs"));
  ASSERT_TRUE(Crawl("/index.html"));
  EXPECT_EQ(form.lvwUrls.Count(), 1u);
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(IntegrationScriptCrawl, ShippedExampleScriptsWork) {
  for (const char* name : {"page_text_urls.vbs", "title_file_names.vbs"}) {
    std::filesystem::copy_file(std::string(VENDIL_SOURCE_DIR) + "/data/scripts/" + name,
                               folder.File(std::string("scripts/") + name));
  }
  site.Page("/index.html", Html("see " + site.Url("/plain.zip") + " here, " +
                                A("a/b.zip?x=1", "My: <b>File</b>") + A("c.zip", "")));
  Choose("page_text_urls.vbs");
  ASSERT_TRUE(Crawl("/index.html"));
  EXPECT_NE(RowWithUrl(site.Url("/plain.zip")), nullptr);
  EXPECT_TRUE(ScriptErrors().empty());

  ASSERT_TRUE(form.cmbScript.SetText("title_file_names.vbs"));
  ASSERT_TRUE(Crawl("/index.html"));
  ASSERT_NE(RowWithUrl(site.Url("/a/b.zip?x=1")), nullptr);
  EXPECT_EQ(RowWithUrl(site.Url("/a/b.zip?x=1"))->FileName, "My_ File.zip");
  EXPECT_EQ(RowWithUrl(site.Url("/c.zip"))->FileName, "c.zip");
  EXPECT_TRUE(ScriptErrors().empty());
}

// The example the user guide prints in full: other servers' links go, archive titles get
// the page title, and each archive gains its checksum file, on every page of the crawl.
TEST_F(IntegrationScriptCrawl, GuideExampleScriptTidiesArchiveLinks) {
  std::filesystem::copy_file(std::string(VENDIL_SOURCE_DIR) + "/data/scripts/archive_links.vbs",
                             folder.File("scripts/archive_links.vbs"));
  site.Page("/index.html", "<html><head><TITLE> Top </TITLE></head><body>" + A("a.zip", "A") +
                               A("http://other.example/b.zip", "B") + A("sub/page.html", "Sub") +
                               "</body></html>");
  site.Page("/sub/page.html", Html(A("c.LZH", "C") + A("notes.txt", "N")));
  Choose("archive_links.vbs");
  ASSERT_TRUE(Crawl("/index.html", "1"));
  EXPECT_TRUE(ScriptErrors().empty()) << ui.messages.front().text;

  EXPECT_EQ(RowWithUrl("http://other.example/b.zip"), nullptr);
  ASSERT_TRUE(Listed("/a.zip"));
  EXPECT_EQ(RowFor("/a.zip")->Title, "Top / A");
  ASSERT_TRUE(Listed("/a.zip.sha256"));
  EXPECT_EQ(RowFor("/a.zip.sha256")->Title, "Top / A (チェックサム)");
  EXPECT_EQ(RowFor("/a.zip.sha256")->FileName, "a.zip.sha256");
  EXPECT_FALSE(RowFor("/a.zip.sha256")->Checked);
  EXPECT_EQ(RowFor("/sub/page.html")->Title, "Sub");
  // A page without a title keeps the link text; the extension test ignores letter case.
  ASSERT_TRUE(Listed("/sub/c.LZH.sha256"));
  EXPECT_EQ(RowFor("/sub/c.LZH")->Title, "C");
  EXPECT_FALSE(Listed("/sub/notes.txt.sha256"));
  EXPECT_EQ(form.lvwUrls.Count(), 6u);
}

}  // namespace
}  // namespace vendil
