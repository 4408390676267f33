// uGet through a stand-in uget-gtk on PATH that records its argument vectors: one call per
// checked row with folder and referer, the URL always last after "--", whatever it holds.
#include <gtest/gtest.h>

#include <filesystem>

#include "commands/handoff_commands.h"
#include "download/handoff_uget.h"
#include "handoff_fixture.h"
#include "support/child_process.h"

namespace vendil::test {
namespace {

using Args = std::vector<std::string>;

class UGetTest : public HandoffTest {
 protected:
  HandOffResult Send() {
    return SendToRunningManager(form, kSave, RunningManager::UGet, {}, nullptr);
  }
  UGetStandIn uget{temp.Path()};
};

TEST_F(UGetTest, OneCallPerCheckedRowWithFolderAndReferer) {
  AddRows();
  ASSERT_EQ(Send(), HandOffResult::Done);
  const std::string page = std::string("--http-referer=") + kPage;
  EXPECT_EQ(
      uget.Calls(),
      (std::vector<Args>{
          {"--quiet", "--folder=/home/u/保存 先/音楽/ライブ/", page, "--", kJapanese},
          {"--quiet", "--folder=/srv/own/", "--", "http://127.0.0.1:9/b.zip"},
          {"--quiet", "--folder=/home/u/保存 先/", page, "--", "http://127.0.0.1:9/x%20y.zip"}}));
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, "3 個のURLを送りました。");
}

TEST_F(UGetTest, AUrlNeverBecomesAnOptionOrASecondArgument) {
  const Args urls = {"-rf", "--folder=/etc", "http://127.0.0.1:9/a b;c \"d\" 'e'",
                     "http://127.0.0.1:9/x\ny",
                     "http://127.0.0.1:9/$(touch " + temp.File("pwned") + ")`id`"};
  for (const auto& url : urls) Add(true, url, "http://127.0.0.1:9/p\" --quiet; q");
  form.mnuOption_UseBriefcaseDirectory.SetChecked(false);
  ASSERT_EQ(SendToRunningManager(form, "", RunningManager::UGet, {}, nullptr), HandOffResult::Done);
  const auto calls = uget.Calls();
  ASSERT_EQ(calls.size(), urls.size());
  // The list keeps a line break of a URL as %0A, so it arrives in that one argument.
  EXPECT_EQ(form.lvwUrls.Row(4).Url, "http://127.0.0.1:9/x%0Ay");
  for (size_t i = 0; i < urls.size(); ++i) {
    EXPECT_EQ(calls[i], (Args{"--quiet", "--http-referer=http://127.0.0.1:9/p\" --quiet; q", "--",
                              form.lvwUrls.Row(i + 1).Url}));
  }
  EXPECT_FALSE(std::filesystem::exists(temp.File("pwned")));
}

TEST_F(UGetTest, ARowItRefusesIsCountedOutAndAMissingProgramIsNamed) {
  AddRows();
  uget.FailOn("http://127.0.0.1:9/b.zip");
  EXPECT_EQ(Send(), HandOffResult::Failed);
  EXPECT_EQ(uget.Calls().size(), 3u);  // the rows after the refused one still go
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text,
            "3 個のうち 2 個のURLを送りました。残りの 1 個はuGetが受け付けませんでした。\r\n"
            "http://127.0.0.1:9/b.zip (終了コード 1)");

  TempFolder empty;
  const std::string path = std::getenv("PATH");
  setenv("PATH", empty.Path().c_str(), 1);
  const HandOffResult missing = Send();
  setenv("PATH", path.c_str(), 1);
  EXPECT_EQ(missing, HandOffResult::Failed);
  ASSERT_EQ(ui.messages.size(), 2u);
  EXPECT_EQ(ui.messages[1].text.rfind("uGetが見つかりません。", 0), 0u) << ui.messages[1].text;
}

TEST_F(UGetTest, FoundWhileItRuns) {
  ChildProcess running({temp.File("uget-gtk"), "--stand-in-wait"}, true);
  ASSERT_TRUE(running.Started());
  // Once it speaks, the kernel has given it its name (a spawn returns a moment before).
  ASSERT_EQ(running.ReadLine(), "waiting");
  EXPECT_TRUE(FindUGet());
  running.CloseStdin();
  EXPECT_EQ(running.Wait(), 0);
}

}  // namespace
}  // namespace vendil::test
