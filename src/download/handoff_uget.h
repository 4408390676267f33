// The hand-off to uGet through its command line: one `uget-gtk` call per row, which a
// running uGet takes over.
#pragma once

#include <string>
#include <vector>

#include "download/handoff_rows.h"

namespace vendil {

inline constexpr const char* kUGetProgram = "uget-gtk";

// The argument vector of one row: options first, then "--" and the URL as the last
// argument, so no URL (whatever it starts with or holds) is read as an option.
std::vector<std::string> UGetArguments(const HandoffRow& row);

// Whether uGet runs for this user.
bool FindUGet();

HandoffOutcome SendRowsToUGet(const std::vector<HandoffRow>& rows);

}  // namespace vendil
