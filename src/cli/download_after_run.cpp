// --download: the download command with a line on stderr for each file as it ends.
#include "cli/download_after_run.h"

#include "commands/download_command.h"

namespace vendil::cli {

bool DownloadAfterRun(Form1& form, TerminalUi& ui) {
  DownloadJob job;
  size_t ended = 0;
  job.onFileEnded = [&ui, &job, &ended](const RowDownload& e) {
    const std::string count =
        "[" + std::to_string(++ended) + "/" + std::to_string(job.Entries().size()) + "] ";
    const std::string name = e.path.empty() ? e.url : e.path;
    switch (e.state) {
      case RowDownloadState::Complete:
        ui.PrintLine(count + "完了 " + name + " (" + ByteSizeText(e.done) + ")");
        break;
      case RowDownloadState::Error:
        ui.PrintLine(count + "エラー " + name + " <" + e.url + ">: " + e.error);
        break;
      default:
        ui.PrintLine(count + "中止 " + name + " (" + ByteSizeText(e.done) + ")");
        break;
    }
  };
  return DownloadCheckedRows(form, job) == DownloadOutcome::AllArrived;
}

}  // namespace vendil::cli
