// The hand-off after a run: exports and sends of the checked rows that the command line
// asked for with --export and --send.
#pragma once

#include "cli/options.h"
#include "state/form1.h"

namespace vendil::cli {

// Runs every --export and --send of `options` on the rows of `form`, in the order given.
// Returns 0 when there was nothing to do or all went well, else a non-zero exit status.
int HandOffAfterRun(Form1& form, const Options& options);

}  // namespace vendil::cli
