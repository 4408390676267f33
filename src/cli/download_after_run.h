// --download: the checked rows downloaded after the run, one line per file on stderr.
#pragma once

#include "cli/terminal_ui.h"
#include "state/form1.h"

namespace vendil::cli {

// Downloads the checked rows of `form` into its save folder. True only when every checked
// file arrived; false after a failure or a Ctrl+C (aria2c is ended either way).
bool DownloadAfterRun(Form1& form, TerminalUi& ui);

}  // namespace vendil::cli
