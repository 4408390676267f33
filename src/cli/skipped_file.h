// --skipped FILE: the links the search did not read, one line each with the page that linked
// them and the reason, TAB-separated, in UTF-8 without a header.
#pragma once

#include <string>

#include "cli/terminal_ui.h"
#include "state/skipped_links.h"

namespace vendil::cli {

// The file's text: "LINK<TAB>REFERER<TAB>REASON\n" per entry, in the record's order.
std::string SkippedLinesText(const SkippedLinks& record);

// Writes the file through a temporary one. Says on stderr how many entries were only
// counted past the bound, and why the file could not be written; false then.
bool WriteSkippedFile(const SkippedLinks& record, const std::string& path, TerminalUi& ui);

}  // namespace vendil::cli
