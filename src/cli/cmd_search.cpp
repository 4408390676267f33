// vendil-cli search: one Start per URL given, or the several-URLs command for more than one.
#include <iostream>

#include "cli/commands.h"
#include "cli/session.h"
#include "commands/main_commands.h"
#include "net/fetch_page.h"

namespace vendil::cli {

int RunSearch(const Options& options) {
  Session session(options);
  if (auto error = session.Prepare()) {
    std::cerr << "vendil-cli: " << *error << "\n\n" << UsageText();
    return kExitBadArguments;
  }
  Form1& form = session.form();
  // A start page that could not be read is said before the status text, which counts
  // nothing for it.
  auto tellUnreadStartPage = [&form] {
    if (form.startPageFailed && !form.m_blnStop)
      form.ui().MessageBox(kFetchFailedText, kProductTitle, vb::OKOnly);
  };
  if (options.positional.size() == 1) {
    form.txtUrl.SetText(options.positional.front());
    SearchTypedUrl(form);
    tellUnreadStartPage();
    form.ui().MessageBox(form.StatusText(), kProductTitle, vb::OKOnly);  // as Start does
  } else {
    std::string lines;
    for (const std::string& url : options.positional) lines += url + "\r\n";
    session.ui().ShowLog(LogTextForDisplay(SearchUrlLines(form, lines)));
    tellUnreadStartPage();
  }
  return session.Finish(std::cout);
}

}  // namespace vendil::cli
