// One run of vendil-cli over the core: a Form1 driven by a TerminalUi, with the settings
// file and the command-line overrides applied, the list printed as TSV or JSON, and the
// exit status worked out.
#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>

#include "cli/options.h"
#include "cli/terminal_ui.h"
#include "state/form1.h"

namespace vendil::cli {

// Exit statuses of the subcommands.
inline constexpr int kExitRan = 0;
inline constexpr int kExitStopped = 1;
// A file the run needed could not be read or written (a profile, a list, the settings).
inline constexpr int kExitFailed = 1;
inline constexpr int kExitBadArguments = 2;
inline constexpr int kExitStartPageUnread = 3;

// What keeps `file` from being read as a settings file (a folder, device, FIFO, an oversized
// or unreadable file; a missing one unless `mayBeMissing`), or empty when it can be.
std::optional<std::string> SettingsFileProblem(const std::string& file, bool mayBeMissing);
// Reads the search settings of an INI file (sections "General" and "Options") into the
// form's fields, option items and tag members. Empty on success, else what went wrong.
std::optional<std::string> ApplySettingsFile(Form1& form, const std::string& file);
// Applies the search options given on the command line over what is in the form.
// Empty on success, else what is wrong (a bad --tags value, say).
std::optional<std::string> ApplyCommandLine(Form1& form, const Options& options);

// Appends `text` to a TSV line as one field: TABs and line breaks in it become blanks.
void AppendTsvField(std::string& line, std::string_view text);
// The rows of the list, one line each: checked, FileName, Url, Referer, Title, Folder,
// DownloadFolder, Depth, TAB-separated; TABs and line breaks in a field become blanks.
// With the checks: size (bytes), type and state after them, empty where none is known.
void PrintRowsTsv(const Form1& form, std::ostream& out, bool withChecks = false);
// The same rows as a JSON array of objects ("checked" a boolean).
void PrintRowsJson(const Form1& form, std::ostream& out, bool withChecks = false);
void PrintRows(const Form1& form, const std::string& format, std::ostream& out,
               bool withChecks = false);

class Session {
 public:
  explicit Session(const Options& options);
  ~Session();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  // Applies --settings, the overrides, --connect-to and the sign-in switches, loads the
  // script list and engine, and catches Ctrl+C. Empty on success, else a message for
  // stderr (the caller exits with kExitBadArguments).
  std::optional<std::string> Prepare();

  Form1& form() { return form_; }
  TerminalUi& ui() { return ui_; }
  const Options& options() const { return options_; }

  // With --save-settings, writes the settings file as the window's unload does; a file
  // that cannot be written is said so (a message on stderr) and gives false.
  bool SaveSettingsIfAsked();
  // --head: every row checked, its answers kept beside the rows.
  void CheckRowsBeforePrinting();

  // Prints the rows on `out`, runs the hand-off, saves the settings when asked, prints the
  // final status on stderr, and gives the exit status: kExitStopped when the run was
  // stopped, else 1 when the hand-off or the settings save failed, else
  // kExitStartPageUnread when a start page could not be read, else kExitRan.
  int Finish(std::ostream& out);

 private:
  const Options& options_;
  TerminalUi ui_;
  Form1 form_;
};

}  // namespace vendil::cli
