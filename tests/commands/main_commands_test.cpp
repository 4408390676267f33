// The main-window commands that need no server: tag items, custom tags, the log length
// rule, and the several-URLs command on input that searches nothing.
#include "commands/main_commands.h"

#include <gtest/gtest.h>

#include "support/fake_ui.h"

namespace vendil {
namespace {

using test::FakeUi;

TEST(TagItems, ClickTogglesItsBitAndTheCheckMark) {
  FakeUi ui;
  Form1 form(ui);
  ASSERT_EQ(form.m_lngSearchTags, 1);
  ClickTagItem(form, 3);
  EXPECT_EQ(form.m_lngSearchTags, 9);
  EXPECT_TRUE(form.mnuOption_Tag_Tags[0].Checked());
  EXPECT_TRUE(form.mnuOption_Tag_Tags[3].Checked());
  EXPECT_FALSE(form.mnuOption_Tag_Tags[5].Checked());
  ClickTagItem(form, 3);
  EXPECT_EQ(form.m_lngSearchTags, 1);
  EXPECT_FALSE(form.mnuOption_Tag_Tags[3].Checked());
  ClickTagItem(form, 0);
  EXPECT_EQ(form.m_lngSearchTags, 0);
  EXPECT_FALSE(form.mnuOption_Tag_Tags[0].Checked());
}

TEST(CustomTags, OnlyANonEmptyAnswerReplacesTheTags) {
  FakeUi ui;
  Form1 form(ui);
  form.m_strCustomTags = "object src";
  ui.inputAnswers = {std::nullopt, std::string(), std::string("img dynsrc alt;embed src")};
  SetCustomTags(form);
  EXPECT_EQ(form.m_strCustomTags, "object src");
  SetCustomTags(form);
  EXPECT_EQ(form.m_strCustomTags, "object src");
  const bool customChecked = form.mnuOption_Tag_Tags[5].Checked();
  SetCustomTags(form);
  EXPECT_EQ(form.m_strCustomTags, "img dynsrc alt;embed src");
  EXPECT_EQ(form.mnuOption_Tag_Tags[5].Checked(), customChecked);
}

TEST(LogText, CutAtSixtyFourThousandCharacters) {
  const std::string exact(64000, 'a');
  EXPECT_EQ(LogTextForDisplay(exact), exact);
  const std::string over(64001, 'a');
  const std::string cut = LogTextForDisplay(over);
  EXPECT_EQ(cut.size(), 64000u);
  EXPECT_EQ(cut.substr(63997), "...");
  // Characters, not bytes: a Japanese log is cut between characters.
  std::string japanese;
  for (int i = 0; i < 64000; ++i) japanese += "あ";
  EXPECT_EQ(LogTextForDisplay(japanese), japanese);
  japanese += "い";
  const std::string cutJapanese = LogTextForDisplay(japanese);
  EXPECT_EQ(cutJapanese.size(), 63997u * 3 + 3);
  EXPECT_EQ(cutJapanese.substr(cutJapanese.size() - 6), "あ...");
}

TEST(SeveralUrls, CancelLeavesEverythingAsItWas) {
  FakeUi ui;
  Form1 form(ui);
  form.lvwUrls.AddLink("a.zip", "http://h/a.zip", "", "", "", "", 0);
  form.txtUrl.SetText("http://h/");
  form.m_blnStop = true;
  SearchSeveralUrls(form);
  EXPECT_EQ(form.lvwUrls.Count(), 1u);
  EXPECT_EQ(form.txtUrl.Text(), "http://h/");
  EXPECT_TRUE(form.m_blnStop);
  EXPECT_TRUE(ui.logs.empty());
}

TEST(SeveralUrls, LinesThatAreNoUrlsClearTheListAndGiveAnEmptyLog) {
  FakeUi ui;
  Form1 form(ui);
  form.lvwUrls.AddLink("a.zip", "http://h/a.zip", "", "", "", "", 0);
  form.m_blnStop = true;
  form.m_blnMultiCheck = true;
  ui.multiUrlAnswers.push_back(std::string("   \r\nftp://h/x\r\nnot a url\r\n\r\nhttpx://y"));
  SearchSeveralUrls(form);
  EXPECT_EQ(form.lvwUrls.Count(), 0u);
  EXPECT_FALSE(form.m_blnStop);
  EXPECT_FALSE(form.m_blnMultiCheck);
  ASSERT_EQ(ui.logs.size(), 1u);
  EXPECT_EQ(ui.logs[0], "");
}

TEST(Stop, OnlySetsTheFlag) {
  FakeUi ui;
  Form1 form(ui);
  StopSearch(form);
  EXPECT_TRUE(form.m_blnStop);
  EXPECT_TRUE(ui.statuses.empty());
  EXPECT_TRUE(ui.messages.empty());
}

}  // namespace
}  // namespace vendil
