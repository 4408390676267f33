// The check command: the rows' links asked for their size, type and state before anything
// is downloaded, the answers kept beside the rows as they come.
#pragma once

#include <string>

#include "state/form1.h"

namespace vendil {

enum class RowsToCheck { Checked, All };

enum class CheckOutcome {
  Ended,    // every link asked has its answer (or its error)
  Stopped,  // Stop ended it; the rows checked so far keep their answers
  NotRun,   // no rows to check, or a search was running
};

CheckOutcome CheckListRows(Form1& form, RowsToCheck which);

// The status text while the check runs and when it ends.
std::string CheckProgressText(size_t ended, size_t total);
std::string CheckEndedText(size_t total, size_t failed);

}  // namespace vendil
