// The hand-off after a run: each --export writes a list file, each --send hands the checked
// rows to a manager; the messages go wherever the terminal Ui puts them.
#include "cli/handoff.h"

#include <iostream>

#include "commands/save_commands.h"
#include "commands/send_aria2.h"
#include "commands/send_commands.h"
#include "platform/date_text.h"
#include "settings/c_ini.h"

namespace vendil::cli {

namespace {

// Where a hand-off finds its keys: the --settings file when it holds them (a scripted run
// carries its own), else the program's settings file.
std::string SettingsFor(const Form1& form, const Options& options, const TextSetting& key) {
  if (options.settingsFile) {
    cIni ini;
    ini.FileName(*options.settingsFile);
    if (!ReadSetting(ini, TextSetting{key.section, key.key, ""}).empty())
      return *options.settingsFile;
  }
  return form.settingsFile;
}

HandOffResult Send(Form1& form, const Options& options, const std::string& target,
                   const std::string& folder) {
  if (target == "aria2") {
    const std::string file = SettingsFor(form, options, setting::Aria2RpcUrl);
    return SendToAria2(form, folder, Aria2EndpointFromSettings(file));
  }
  const AutomationFactory factory =
      AutomationFactoryFromSettings(SettingsFor(form, options, setting::AutomationRecordFile));
  if (target == "iria") return SendToIria(form, folder, factory);
  if (target == "irvine") return SendToIrvine(form, folder, factory);
  if (target == "flashget") return SendToFlashGet(form, folder, factory);
  if (target == "reget") return SendToReget(form, folder, factory);
  std::cerr << "vendil-cli: unknown send target " << target << "\n";
  return HandOffResult::Failed;
}

}  // namespace

int HandOffAfterRun(Form1& form, const Options& options) {
  int status = 0;
  const std::string folder = form.txtSaveFolder.Text();
  // One moment for every file of the run, as one export takes it once for all its rows.
  const std::string dateText = options.exports.empty() ? "" : GeneralDateTextNow();
  for (const auto& target : options.exports) {
    const auto format = ListFormatFromName(target.format);
    if (!format) {
      std::cerr << "vendil-cli: unknown export format " << target.format << "\n";
      status = 1;
      continue;
    }
    // A list without rows writes nothing: an older file of that name must not pass for
    // this run's result, so that counts as a failure too.
    if (SaveListFile(form, *format, folder, target.file, dateText) != HandOffResult::Done) {
      status = 1;
    }
  }
  for (const auto& target : options.sends) {
    if (Send(form, options, target, folder) != HandOffResult::Done) status = 1;
  }
  return status;
}

}  // namespace vendil::cli
