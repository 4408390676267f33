// vendil-cli create, check and check-list: the new-links commands with the path given on the
// command line instead of a file dialog; check and check-list print and hand off their rows
// as search does.
#include <iostream>

#include "cli/commands.h"
#include "cli/session.h"
#include "commands/main_commands.h"
#include "commands/new_links.h"

namespace vendil::cli {

int RunCreate(const Options& options) {
  Session session(options);
  if (auto error = session.Prepare()) {
    std::cerr << "vendil-cli: " << *error << "\n\n" << UsageText();
    return kExitBadArguments;
  }
  const bool saved = SaveNewLinksFile(session.form(), options.positional.front());
  const bool settingsSaved = session.SaveSettingsIfAsked();
  return saved && settingsSaved ? kExitRan : kExitFailed;
}

int RunCheck(const Options& options) {
  Session session(options);
  if (auto error = session.Prepare()) {
    std::cerr << "vendil-cli: " << *error << "\n\n" << UsageText();
    return kExitBadArguments;
  }
  const NewLinksResult result = CheckNewLinksFile(session.form(), options.positional.front());
  const int status = session.Finish(std::cout);
  // A run that did not keep its links in the profile must not look like a good one.
  if (result == NewLinksResult::kNotAProfile || result == NewLinksResult::kNotSaved)
    return kExitFailed;
  return status;
}

int RunCheckList(const Options& options) {
  Session session(options);
  if (auto error = session.Prepare()) {
    std::cerr << "vendil-cli: " << *error << "\n\n" << UsageText();
    return kExitBadArguments;
  }
  if (!CheckNewLinksList(session.form(), options.positional.front())) return kExitFailed;
  return session.Finish(std::cout);
}

}  // namespace vendil::cli
