// The download command: the checked rows downloaded by aria2c into the save folder, with
// progress in the job's table (for the list) and the totals in the status text.
#pragma once

#include "download/download_job.h"
#include "state/form1.h"

namespace vendil {

enum class DownloadOutcome {
  AllArrived,  // every checked file arrived (also: nothing was checked)
  SomeFailed,  // at least one file failed; the others ran to their end
  Stopped,     // Stop (or Ctrl+C) ended the download
  NotStarted,  // empty list, no aria2c, a save folder that cannot be written, a second start
};

// Downloads the checked rows of `form` with `job`, yielding to the front end between polls
// (at most four a second) until every file has ended or Stop is pressed; aria2c is ended
// before it returns.
DownloadOutcome DownloadCheckedRows(Form1& form, DownloadJob& job);

// The status text of a running or finished download.
std::string DownloadStatusText(const DownloadTotals& totals, bool running);

}  // namespace vendil
