// The download command of the window and the command line.
#include "commands/download_command.h"

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <thread>

#include "commands/main_commands.h"
#include "commands/save_commands.h"

namespace vendil {

namespace {

constexpr auto kPollEvery = std::chrono::milliseconds(250);
// Between two looks at the event queue: short enough for a responsive window, long enough
// that the loop costs no CPU worth measuring.
constexpr auto kNap = std::chrono::milliseconds(15);

std::string DurationText(int64_t seconds) {
  const int64_t h = seconds / 3600, m = seconds / 60 % 60, s = seconds % 60;
  char buf[48];
  if (h > 0)
    std::snprintf(buf, sizeof buf, "%lld:%02lld:%02lld", static_cast<long long>(h),
                  static_cast<long long>(m), static_cast<long long>(s));
  else
    std::snprintf(buf, sizeof buf, "%lld:%02lld", static_cast<long long>(m),
                  static_cast<long long>(s));
  return buf;
}

// Why the save folder cannot take the files, or empty when it can (made when missing).
std::string SaveFolderProblem(const std::string& folder) {
  if (folder.empty()) return "保存先のフォルダが指定されていません。";
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  if (ec || !std::filesystem::is_directory(folder, ec)) {
    return "保存先のフォルダを作れません。\r\n" + folder + "\r\n" +
           (ec ? ec.message() : std::string("フォルダではありません"));
  }
  if (::access(folder.c_str(), W_OK | X_OK) != 0)
    return "保存先のフォルダに書き込めません。\r\n" + folder;
  return "";
}

void Nap() { std::this_thread::sleep_for(kNap); }

}  // namespace

std::string DownloadStatusText(const DownloadTotals& t, bool running) {
  const size_t ended = t.complete + t.failed + t.stopped;
  std::string text = running ? "ダウンロード中 " : "ダウンロード終了 ";
  text += std::to_string(t.complete) + "/" + std::to_string(t.files) + " ファイル完了";
  if (t.failed) text += "・エラー " + std::to_string(t.failed) + " 件";
  if (t.stopped) text += "・中止 " + std::to_string(t.stopped) + " 件";
  text += "・" + ByteSizeText(t.bytesDone);
  if (t.totalKnown && t.bytesTotal > 0) text += " / " + ByteSizeText(t.bytesTotal);
  if (running) {
    text += "・" + ByteSizeText(t.speed) + "/s";
    if (t.speed > 0 && ended < t.files && t.bytesLeftEstimate > 0)
      text +=
          (t.totalKnown ? "・残り " : "・残り 約 ") + DurationText(t.bytesLeftEstimate / t.speed);
  }
  return text;
}

DownloadOutcome DownloadCheckedRows(Form1& form, DownloadJob& job) {
  if (ReportEmptyList(form)) return DownloadOutcome::NotStarted;
  if (job.Running()) {
    form.ui().MessageBox("ダウンロード中です。", kProductTitle, vb::OKOnly | vb::Exclamation);
    return DownloadOutcome::NotStarted;
  }
  const std::string aria2c = FindAria2c();
  if (aria2c.empty()) {
    form.ui().MessageBox(
        "aria2c が見つかりません。ダウンロードにはパッケージ aria2 が必要です。\r\n"
        "(例: sudo apt install aria2)",
        kProductTitle, vb::OKOnly | vb::Exclamation);
    return DownloadOutcome::NotStarted;
  }
  const std::string folder = form.txtSaveFolder.Text();
  if (const std::string problem = SaveFolderProblem(folder); !problem.empty()) {
    form.ui().MessageBox(problem, kProductTitle, vb::OKOnly | vb::Exclamation);
    return DownloadOutcome::NotStarted;
  }
  std::vector<PlannedFile> files =
      PlanDownloads(form.lvwUrls, folder, form.mnuOption_UseBriefcaseDirectory.Checked());
  if (files.empty()) {
    form.SetStatusText("チェックされたアイテムがありません。");
    return DownloadOutcome::AllArrived;
  }
  std::string userAgent = form.userAgent;
  if (userAgent.rfind("User-Agent: ", 0) == 0) userAgent.erase(0, 12);
  form.m_blnStop = false;
  if (auto error = job.Start(aria2c, std::move(files), userAgent)) {
    form.ui().MessageBox("aria2c を起動できません。\r\n" + *error, kProductTitle,
                         vb::OKOnly | vb::Exclamation);
    return DownloadOutcome::NotStarted;
  }
  form.SetStatusText(DownloadStatusText(job.Totals(), true));
  bool stopped = false;
  auto nextPoll = std::chrono::steady_clock::now();
  while (!job.Finished()) {
    form.ui().Yield();
    if (form.m_blnStop) {
      job.Stop();
      stopped = true;
      break;
    }
    const auto now = std::chrono::steady_clock::now();
    if (now >= nextPoll) {
      nextPoll = now + kPollEvery;
      if (!job.Poll()) break;
      form.SetStatusText(DownloadStatusText(job.Totals(), true));
      continue;
    }
    Nap();
  }
  job.End();
  const DownloadTotals totals = job.Totals();
  form.SetStatusText(DownloadStatusText(totals, false));
  if (stopped) return DownloadOutcome::Stopped;
  return totals.complete == totals.files ? DownloadOutcome::AllArrived
                                         : DownloadOutcome::SomeFailed;
}

}  // namespace vendil
