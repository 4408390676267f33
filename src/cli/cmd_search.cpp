// vendil-cli search: one Start per URL given, or the several-URLs command for more than one.
#include <iostream>

#include "cli/commands.h"
#include "cli/session.h"
#include "cli/skipped_file.h"
#include "commands/main_commands.h"

namespace vendil::cli {

int RunSearch(const Options& options) {
  Session session(options);
  if (auto error = session.Prepare()) {
    std::cerr << "vendil-cli: " << *error << "\n\n" << UsageText();
    return kExitBadArguments;
  }
  Form1& form = session.form();
  // A start page that could not be read is said by the status text itself (and by the
  // log line of its URL), as in the window.
  if (options.positional.size() == 1) {
    form.txtUrl.SetText(options.positional.front());
    SearchTypedUrl(form);
    form.ui().MessageBox(form.StatusText(), kProductTitle, vb::OKOnly);  // as Start does
  } else {
    std::string lines;
    for (const std::string& url : options.positional) lines += url + "\r\n";
    session.ui().ShowLog(LogTextForDisplay(SearchUrlLines(form, lines)));
  }
  // Before the rows: the final status stays the last line on stderr.
  const bool skippedWritten =
      !options.skippedFile ||
      WriteSkippedFile(*form.skippedLinks, *options.skippedFile, session.ui());
  const int status = session.Finish(std::cout);
  return !skippedWritten && status == kExitRan ? kExitFailed : status;
}

}  // namespace vendil::cli
