// Subcommands whose modules are still being built say so plainly instead of pretending.
// Each is replaced by its real file as the module lands.
#include <iostream>

#include "cli/commands.h"

namespace vendil::cli {

namespace {
int NotBuiltYet(const char* name) {
  std::cerr << "vendil-cli: '" << name << "' is not built yet in this revision\n";
  return 2;
}
}  // namespace

int RunCreate(const Options&) { return NotBuiltYet("create"); }
int RunCheck(const Options&) { return NotBuiltYet("check"); }
int RunCheckList(const Options&) { return NotBuiltYet("check-list"); }

}  // namespace vendil::cli
