// Search profiles: what the settings file and ".nlc" profiles keep, and what a first start
// without any file gives.
#include "newlinks/search_profile.h"

#include <gtest/gtest.h>

#include "crawl/depth_value.h"
#include "settings/c_ini.h"
#include "support/fake_ui.h"
#include "support/temp_folder.h"

namespace vendil {
namespace {

using test::FakeUi;

class SearchProfileTest : public ::testing::Test {
 protected:
  std::string Path(const std::string& name) const { return dir_.File(name); }
  static std::string Slurp(const std::string& path) { return test::ReadBytes(path); }
  static void Write(const std::string& path, const std::string& text) {
    test::WriteBytes(path, text);
  }
  test::TempFolder dir_;
  FakeUi ui_;
};

TEST_F(SearchProfileTest, FirstStartWithoutSettingsFileGivesDefaults) {
  Form1 form(ui_);
  form.cmbScript.AddItem("(none)");
  form.cmbScript.AddItem("other");
  form.txtMask.SetText("x");
  form.mnuOption_DifferentServer.SetChecked(true);
  form.m_lngSearchTags = 63;
  int32_t count = -5;
  ASSERT_TRUE(LoadProfile(form, Path("missing.ini"), true, count));
  EXPECT_EQ(count, -5);  // only a profile reports stored links
  EXPECT_EQ(form.txtUrl.Text(), "");
  EXPECT_EQ(form.txtMask.Text(), "*");
  EXPECT_EQ(form.txtDepth.Text(), "0");
  EXPECT_EQ(form.m_lngSearchTags, 1);
  EXPECT_TRUE(form.mnuOption_Tag_Tags[0].Checked());
  EXPECT_FALSE(form.mnuOption_Tag_Tags[1].Checked());
  EXPECT_FALSE(form.mnuOption_DifferentServer.Checked());
  EXPECT_EQ(form.cmbScript.Text(), "(none)");  // unknown name falls back to the first entry
  EXPECT_EQ(form.layout.Left, 0);
  EXPECT_EQ(form.layout.Width, 7000);
  EXPECT_EQ(form.layout.Height, 5000);
  EXPECT_EQ(form.columnWidths[0], 1440);
  EXPECT_EQ(form.columnWidths[6], 500);
}

TEST_F(SearchProfileTest, SettingsRoundTripAndMaximizedKeepsLastNormalWindow) {
  std::string file = Path("vendil.ini");
  {
    Form1 form(ui_);
    form.cmbScript.AddItem("a.vbs");
    form.cmbScript.AddItem("b.vbs");
    form.cmbScript.SetText("b.vbs");
    form.txtUrl.SetText("http://example.test/ページ/");
    form.txtSaveFolder.SetText("C:\\dl\\");
    form.txtMask.SetText("*.zip");
    form.txtDepth.SetText("3 levels");
    form.txtGetUrls.SetText("*.test*");
    form.txtContentType.SetText("image/*");
    form.mnuOption_UseBriefcaseDirectory.SetChecked(true);
    form.mnuOption_ParentDirectory.SetChecked(true);
    form.m_lngSearchTags = 5;
    form.m_strCustomTags = "img:src;a:href";
    form.layout = {100, 200, 8000, 6000, false, false};
    form.columnWidths[3] = 2222;
    SaveProfile(form, file, true);
    form.layout = {1, 2, 3, 4, false, true};
    form.columnWidths[3] = 3333;
    SaveProfile(form, file, true);
  }
  std::string text = Slurp(file);
  EXPECT_NE(text.find("UseBriefcaseDirectory=1\r\n"), std::string::npos);
  EXPECT_NE(text.find("SearchUpperDirectories=-1\r\n"), std::string::npos);
  EXPECT_NE(text.find("SearchDifferentServers=0\r\n"), std::string::npos);
  EXPECT_NE(text.find("SearchLebel=3\r\n"), std::string::npos);
  EXPECT_EQ(text.find("Links"), std::string::npos);

  Form1 back(ui_);
  back.cmbScript.AddItem("a.vbs");
  back.cmbScript.AddItem("b.vbs");
  int32_t count = 0;
  ASSERT_TRUE(LoadProfile(back, file, true, count));
  EXPECT_EQ(back.txtUrl.Text(), "http://example.test/ページ/");
  EXPECT_EQ(back.txtSaveFolder.Text(), "C:\\dl\\");
  EXPECT_EQ(back.txtMask.Text(), "*.zip");
  EXPECT_EQ(back.txtDepth.Text(), "3");
  EXPECT_EQ(back.txtGetUrls.Text(), "*.test*");
  EXPECT_EQ(back.txtContentType.Text(), "image/*");
  EXPECT_EQ(back.cmbScript.Text(), "b.vbs");
  EXPECT_TRUE(back.mnuOption_UseBriefcaseDirectory.Checked());
  EXPECT_TRUE(back.mnuOption_ParentDirectory.Checked());
  EXPECT_FALSE(back.mnuOption_DifferentServer.Checked());
  EXPECT_FALSE(back.mnuOption_OnlyUseYahooBriefcase.Checked());
  EXPECT_EQ(back.m_lngSearchTags, 5);
  EXPECT_TRUE(back.mnuOption_Tag_Tags[2].Checked());
  EXPECT_EQ(back.m_strCustomTags, "img:src;a:href");
  EXPECT_EQ(back.layout.Left, 100);  // the maximized save left the normal layout alone
  EXPECT_EQ(back.layout.Height, 6000);
  EXPECT_EQ(back.columnWidths[3], 3333);  // column widths are saved in any state
}

TEST_F(SearchProfileTest, HandEditedMinusOneReadsCheckedAndIsWrittenAsOne) {
  std::string file = Path("vendil.ini");
  Write(file, "[Options]\r\nUseBriefcaseDirectory=-1\r\nOnlyUseYBC=7\r\n");
  Form1 form(ui_);
  int32_t count = 0;
  ASSERT_TRUE(LoadProfile(form, file, true, count));
  EXPECT_TRUE(form.mnuOption_UseBriefcaseDirectory.Checked());
  EXPECT_TRUE(form.mnuOption_OnlyUseYahooBriefcase.Checked());
  SaveProfile(form, file, true);
  std::string text = Slurp(file);
  EXPECT_NE(text.find("UseBriefcaseDirectory=1\r\n"), std::string::npos);
  EXPECT_NE(text.find("OnlyUseYBC=-1\r\n"), std::string::npos);
}

TEST_F(SearchProfileTest, ProfileKeepsLinksAndDateWhenWrittenOverAndNeedsVersion) {
  std::string file = Path("p.nlc");
  Write(
      file,
      "[Version]\r\nMajor=2\r\nLastCheckedDate=2026/12/07 9:05:03\r\n[Links]\r\nhttp://a.test/1\r\n"
      "http://a.test/2\r\n[Window]\r\nLeft=5\r\n");
  Form1 form(ui_);
  form.txtUrl.SetText("http://a.test/");
  form.layout.Left = 999;
  SaveProfile(form, file, false);
  std::string text = Slurp(file);
  EXPECT_NE(text.find("LastCheckedDate=2026/12/07 9:05:03\r\n"), std::string::npos);
  EXPECT_NE(text.find("http://a.test/2\r\n"), std::string::npos);
  EXPECT_NE(text.find("Left=5\r\n"), std::string::npos);  // no layout goes into a profile
  EXPECT_EQ(text.find("[Column]"), std::string::npos);

  Form1 back(ui_);
  back.layout.Left = 42;
  int32_t count = 0;
  ASSERT_TRUE(LoadProfile(back, file, false, count));
  EXPECT_EQ(count, 2);
  ASSERT_EQ(back.m_astrStoredLinks.size(), 2u);
  EXPECT_EQ(back.m_astrStoredLinks[1], "http://a.test/2");
  EXPECT_EQ(back.txtUrl.Text(), "http://a.test/");
  EXPECT_EQ(back.layout.Left, 42);

  std::string bad = Path("bad.nlc");
  Write(bad, "[General]\r\nUrl=http://b.test/\r\n");
  back.m_astrStoredLinks = {"kept"};
  count = 7;
  EXPECT_FALSE(LoadProfile(back, bad, false, count));
  EXPECT_EQ(back.StatusText(),
            bad + "\r\n\r\nこれは「新しいリンクのチェック」ファイルではありません。");
  EXPECT_EQ(back.txtUrl.Text(), "http://a.test/");
  EXPECT_EQ(count, 7);
  EXPECT_EQ(back.m_astrStoredLinks.size(), 1u);
  EXPECT_FALSE(LoadProfile(back, Path("none.nlc"), false, count));
}

TEST_F(SearchProfileTest, TheStoredDepthIsTheDepthTheCrawlSearches) {
  const std::string file = Path("p.nlc");
  Form1 form(ui_);
  // The crawl reads the field as Val does and rounds half to even.
  for (const auto& [text, stored] : std::vector<std::pair<std::string, std::string>>{
           {"0.6", "1"}, {"&H1", "1"}, {"2.5", "2"}, {"1e1", "10"}, {"-1", "-1"}, {"x", "0"}}) {
    form.txtDepth.SetText(text);
    ASSERT_TRUE(SaveProfile(form, file, false));
    EXPECT_NE(Slurp(file).find("SearchLebel=" + stored + "\r\n"), std::string::npos) << text;
    EXPECT_EQ(std::to_string(DepthLimitFromText(text)), stored) << text;
  }
}

TEST_F(SearchProfileTest, InternetOptionsInTheSettingsFileAndPolitenessInProfiles) {
  InternetOptions set;
  set.proxyMode = InternetOptions::ProxyMode::Manual;
  set.proxyHost = "proxy.example";
  set.proxyPort = 3128;
  set.proxyUser = "me";
  set.proxyPassword = "secret";
  set.connectTimeoutSeconds = 9;
  set.totalTimeoutSeconds = 120;
  set.retries = 2;
  set.connections = 3;
  set.delayMs = 250;
  {
    Form1 form(ui_);
    form.internetOptions = set;
    ASSERT_TRUE(SaveProfile(form, Path("vendil.ini"), true));
    ASSERT_TRUE(SaveProfile(form, Path("p.nlc"), false));
  }
  Form1 form(ui_);
  int32_t count = 0;
  ASSERT_TRUE(LoadProfile(form, Path("vendil.ini"), true, count));
  EXPECT_EQ(form.internetOptions, set);

  // A profile carries only the politeness keys; what it lacks stays as it was.
  const std::string profile = Slurp(Path("p.nlc"));
  EXPECT_NE(profile.find("[Internet]\r\nConnections=3\r\nDelay=250\r\n"), std::string::npos)
      << profile;
  EXPECT_EQ(profile.find("Proxy"), std::string::npos);
  Write(Path("old.nlc"), "[Version]\r\nMajor=1\r\n[Internet]\r\nDelay=40\r\n");
  ASSERT_TRUE(LoadProfile(form, Path("old.nlc"), false, count));
  InternetOptions expected = set;
  expected.delayMs = 40;
  EXPECT_EQ(form.internetOptions, expected);

  // Values out of range are brought into it.
  Write(Path("wild.ini"), "[Internet]\r\nConnections=500\r\nDelay=-5\r\nProxyMode=7\r\n");
  ASSERT_TRUE(LoadProfile(form, Path("wild.ini"), true, count));
  EXPECT_EQ(form.internetOptions.connections, 32);
  EXPECT_EQ(form.internetOptions.delayMs, 0);
  EXPECT_EQ(form.internetOptions.proxyMode, InternetOptions::ProxyMode::Manual);
}

}  // namespace
}  // namespace vendil
