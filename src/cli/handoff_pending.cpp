// Stand-in for the hand-off until the export module lands: says so instead of pretending.
#include <iostream>

#include "cli/handoff.h"

namespace vendil::cli {

int HandOffAfterRun(Form1& form, const Options& options) {
  (void)form;
  if (options.exports.empty() && options.sends.empty()) return 0;
  std::cerr << "vendil-cli: --export and --send are not built yet in this revision\n";
  return 2;
}

}  // namespace vendil::cli
