// The subcommands of vendil-cli; each returns the process exit status.
#pragma once

#include "cli/options.h"

namespace vendil::cli {

int RunSearch(const Options& options);
int RunCreate(const Options& options);
int RunCheck(const Options& options);
int RunCheckList(const Options& options);
int RunVbs(const Options& options);

}  // namespace vendil::cli
