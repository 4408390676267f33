// One download of the checked rows through aria2c: the files added over JSON-RPC, their
// progress read by polling, Stop, and the end of aria2c. The state of each file is kept
// here, keyed by the row's list position when the download started (with its URL, so a
// list changed since then shows nothing wrong), for the window's column and the terminal.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "download/aria2_process.h"
#include "download/download_plan.h"
#include "list/row_check.h"  // ByteSizeText

namespace vendil {

enum class RowDownloadState { Waiting, Active, Complete, Error, Stopped };

struct RowDownload {
  size_t row = 0;
  std::string url;
  std::string path;  // where the file goes (dir/out, or what aria2 chose)
  std::string gid;
  RowDownloadState state = RowDownloadState::Waiting;
  int64_t done = 0, total = 0, speed = 0;
  std::string error;  // the reason of an Error, in Japanese for the common ones
};

struct DownloadTotals {
  size_t files = 0, complete = 0, failed = 0, stopped = 0;
  int64_t bytesDone = 0, bytesTotal = 0, speed = 0;
  bool totalKnown = true;  // every unfinished file's size is known
  // The bytes still to come, the sizes not yet known taken as the average of the known
  // ones (0 while no size is known).
  int64_t bytesLeftEstimate = 0;
};

// The text of a row's state for the list: 待機, 進行 42% 1.2 MB/s, 完了, エラー: reason, 中止.
std::string RowDownloadText(const RowDownload& entry);

class DownloadJob {
 public:
  DownloadJob() = default;
  ~DownloadJob() = default;
  DownloadJob(const DownloadJob&) = delete;
  DownloadJob& operator=(const DownloadJob&) = delete;

  // Starts aria2c (`aria2c` its path) and adds `files`, replacing the state of an earlier
  // download. Empty on success, else why aria2c could not be started.
  std::optional<std::string> Start(const std::string& aria2c, std::vector<PlannedFile> files,
                                   const std::string& userAgent);
  bool Running() const { return process_.Running(); }
  // Reads the progress once; false when aria2c stopped answering (then every unfinished
  // file is counted as failed).
  bool Poll();
  bool Finished() const;
  // Stop: the transfers in flight are removed (partial files and their control files stay,
  // so the next download resumes them); the files not finished count as stopped.
  void Stop();
  // Ends aria2c (shutdown, wait, kill as a last resort).
  void End();

  const RowDownload* ForRow(size_t row) const;
  const std::vector<RowDownload>& Entries() const { return entries_; }
  DownloadTotals Totals() const;
  pid_t EnginePid() const { return process_.Pid(); }

  // Called with the list positions whose state changed (after Start, each Poll and Stop).
  std::function<void(const std::vector<size_t>& rows)> onRowsChanged;
  // Called once for each file when it reaches its end state (complete, error, stopped).
  std::function<void(const RowDownload& entry)> onFileEnded;

 private:
  void Update(const std::vector<struct Aria2Transfer>& transfers, std::vector<size_t>& changed);
  void SetEnded(RowDownload& entry, RowDownloadState state, std::vector<size_t>& changed);
  void Report(const std::vector<size_t>& changed);

  Aria2Process process_;
  std::vector<RowDownload> entries_;
  std::unordered_map<std::string, size_t> byGid_;
  std::unordered_map<size_t, size_t> byRow_;
  size_t stoppedSeen_ = 0;
};

}  // namespace vendil
