// What a download asks for: target folders that stay inside their base, file names
// decoded only when that gives text, and aria2's answers read whatever they hold.
#include <gtest/gtest.h>

#include "commands/download_command.h"
#include "download/aria2_status.h"
#include "download/download_plan.h"
#include "export/json_value.h"

namespace vendil {
namespace {

TEST(DownloadFileName, DecodesPercentEncodedTextOnly) {
  EXPECT_EQ(OutputFileName("http://h/d/my%20file.bin", ""), "my file.bin");
  EXPECT_EQ(OutputFileName("http://h/%E6%97%A5.bin?x=1#f", ""), "日.bin");
  // Not text after decoding, or a broken escape: kept as written.
  EXPECT_EQ(OutputFileName("http://h/a%FF.bin", ""), "a%FF.bin");
  EXPECT_EQ(OutputFileName("http://h/a%2.bin", ""), "a%2.bin");
  EXPECT_EQ(OutputFileName("http://h/a%0A.bin", ""), "a%0A.bin");
  // The row's own name wins when the URL has one.
  EXPECT_EQ(OutputFileName("http://h/get?id=3", ""), "get");
  EXPECT_EQ(OutputFileName("http://h/x.bin", "nice%20name.bin"), "nice name.bin");
}

TEST(DownloadFileName, NoNameForAFolderUrlAndNoPathInAName) {
  EXPECT_EQ(OutputFileName("http://h/dir/", "whatever"), "");
  EXPECT_EQ(OutputFileName("http://h", ""), "");
  EXPECT_EQ(OutputFileName("http://h/a%2Fb.bin", ""), "a_b.bin");
  EXPECT_EQ(OutputFileName("http://h/..", ""), "");
  EXPECT_EQ(OutputFileName("http://h/%2E%2E", ""), "");
}

TEST(DownloadPlan, FoldersStayInsideTheirBaseAndOnlyCheckedRowsGo) {
  LinkList list([] { return std::string("*"); });
  list.AddLink("a.bin", "http://h/a.bin", "http://h/", "", "..\\..\\etc\\", "", 0);
  list.AddLink("b.bin", "http://h/b.bin", "http://h/", "", "music/./live/", "", 0);
  list.AddLink("c.bin", "http://h/c.bin", "http://h/", "", "x\\", "/tmp/own", 0);
  list.AddLink("d.bin", "http://h/d.bin", "", "", "", "", 0);
  for (size_t i = 1; i <= 3; ++i) list.SetChecked(i, true);
  list.SetChecked(4, false);
  const auto files = PlanDownloads(list, "/save/", true);
  ASSERT_EQ(files.size(), 3u);
  EXPECT_EQ(files[0].dir, "/save/etc");
  EXPECT_EQ(files[1].dir, "/save/music/live");
  EXPECT_EQ(files[2].dir, "/tmp/own/x");
  EXPECT_EQ(files[0].referer, "http://h/");
  EXPECT_EQ(files[2].row, 3u);
  // Without the option the row's folder is not used; rows that would share a file do not.
  const auto flat = PlanDownloads(list, "/save", false);
  EXPECT_EQ(flat[1].dir, "/save");
  EXPECT_EQ(flat[2].dir, "/tmp/own");
  list.AddLink("a.bin", "http://h/other/a.bin", "", "", "", "", 0);
  list.AddLink("a.bin", "http://h/third/a.bin", "", "", "", "", 0);
  list.AddLink("README", "http://h/x/README", "", "", "", "", 0);
  list.AddLink("README", "http://h/y/README", "", "", "", "", 0);
  for (size_t i = 1; i <= list.Count(); ++i) list.SetChecked(i, true);
  const auto same = PlanDownloads(list, "/save", false);
  ASSERT_EQ(same.size(), 8u);
  EXPECT_EQ(same[0].out, "a.bin");
  EXPECT_EQ(same[4].out, "a.1.bin");
  EXPECT_EQ(same[5].out, "a.2.bin");
  EXPECT_EQ(same[6].out, "README");
  EXPECT_EQ(same[7].out, "README.1");
  EXPECT_EQ(same[2].out, "c.bin");  // another folder: no clash
}

TEST(Aria2Answers, StatusObjectsReadWhateverTheyHold) {
  const auto v =
      ParseJson(R"([{"gid":"1","status":"active","totalLength":"100","completedLength":"40",)"
                R"("downloadSpeed":"7","files":[{"path":"/s/a.bin"}]},)"
                R"({"status":"complete"},)"  // no gid: skipped
                R"({"gid":"2","totalLength":"-5","completedLength":"99999999999999999999999",)"
                R"("downloadSpeed":3,"files":{}} ,7,"x"])");
  ASSERT_TRUE(v);
  const auto t = ReadAria2Transfers(*v);
  ASSERT_EQ(t.size(), 2u);
  EXPECT_EQ(t[0].completedLength, 40);
  EXPECT_EQ(t[0].path, "/s/a.bin");
  EXPECT_EQ(t[1].totalLength, 0);
  EXPECT_GT(t[1].completedLength, 0);
  EXPECT_EQ(t[1].downloadSpeed, 3);
  EXPECT_TRUE(ReadAria2Transfers(*ParseJson("{}")).empty());
  std::string fault;
  EXPECT_EQ(MulticallGid(*ParseJson(R"(["abc"])"), fault), "abc");
  EXPECT_EQ(MulticallGid(*ParseJson(R"({"code":1,"message":"No URI"})"), fault), "");
  EXPECT_EQ(fault, "No URI");
}

TEST(Aria2Answers, CommonErrorsInJapanese) {
  EXPECT_EQ(Aria2ErrorText("3", "Resource not found"), "ファイルが見つかりません (404)");
  EXPECT_EQ(Aria2ErrorText("1", "Failed to establish connection, cause: Connection refused"),
            "接続が拒否されました");
  EXPECT_EQ(Aria2ErrorText("9", ""), "ディスクの空きが足りません");
  EXPECT_EQ(Aria2ErrorText("2", "Timeout."), "時間切れになりました");
  EXPECT_EQ(Aria2ErrorText("22", "odd header"), "odd header");
}

}  // namespace
}  // namespace vendil

namespace vendil {
namespace {

TEST(DownloadStatus, TotalsWithTimeLeftEstimatedUntilEverySizeIsKnown) {
  DownloadTotals t;
  t.files = 4;
  t.complete = 1;
  t.bytesDone = 3 * 1024 * 1024;
  t.bytesTotal = 2 * 1024 * 1024;
  t.speed = 1024 * 1024;
  t.totalKnown = false;
  t.bytesLeftEstimate = 90 * 1024 * 1024;
  EXPECT_EQ(DownloadStatusText(t, true),
            "ダウンロード中 1/4 ファイル完了・3.0 MB・1.0 MB/s・残り 約 1:30");
  t.totalKnown = true;
  t.bytesTotal = 93 * 1024 * 1024;
  EXPECT_EQ(DownloadStatusText(t, true),
            "ダウンロード中 1/4 ファイル完了・3.0 MB / 93.0 MB・1.0 MB/s・残り 1:30");
  t.complete = 2;
  t.failed = 1;
  t.stopped = 1;
  EXPECT_EQ(DownloadStatusText(t, false),
            "ダウンロード終了 2/4 ファイル完了・エラー 1 件・中止 1 件・3.0 MB / 93.0 MB");
}

}  // namespace
}  // namespace vendil
