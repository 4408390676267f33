// uGet's command line: `uget-gtk --quiet --folder=DIR --http-referer=URL -- URL`, run
// from an argument vector, never a shell. A call that does not return has become uGet
// itself (it was not running yet): that row counts as taken and the program stays.
#include "download/handoff_uget.h"

#include <cerrno>

#include "platform/run_program.h"

namespace vendil {

namespace {

constexpr std::chrono::seconds kCallTimeout{10};

}  // namespace

std::vector<std::string> UGetArguments(const HandoffRow& row) {
  std::vector<std::string> args = {kUGetProgram, "--quiet"};
  if (!row.folder.empty()) args.push_back("--folder=" + row.folder);
  if (!row.referer.empty()) args.push_back("--http-referer=" + row.referer);
  args.push_back("--");
  args.push_back(row.url);
  return args;
}

bool FindUGet() { return IsProgramRunning(kUGetProgram); }

HandoffOutcome SendRowsToUGet(const std::vector<HandoffRow>& rows) {
  size_t sent = 0;
  std::string firstFault;
  for (const auto& row : rows) {
    const ProgramRun run = RunProgram(UGetArguments(row), kCallTimeout, OnTimeout::Leave);
    if (!run.started && run.startError == ENOENT) {
      HandoffOutcome o;
      o.status = HandoffStatus::NotInstalled;
      o.sent = sent;
      o.total = rows.size();
      o.detail = std::string(kUGetProgram) + " (パッケージ uget)";
      return o;
    }
    if (run.timedOut || (run.exited && run.exitStatus == 0)) {
      ++sent;
    } else if (firstFault.empty()) {
      firstFault =
          run.started ? row.url + " (終了コード " + std::to_string(run.exitStatus) + ")" : row.url;
    }
  }
  return OutcomeOfCount(sent, rows.size(), firstFault);
}

}  // namespace vendil
