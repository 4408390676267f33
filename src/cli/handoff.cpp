// The hand-off after a run: each --export writes a list file, each --send hands the checked
// rows to a manager; the messages go wherever the terminal Ui puts them.
#include "cli/handoff.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>

#include "commands/handoff_commands.h"
#include "commands/save_commands.h"
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

// The running managers' addresses: the settings, then what the command line says.
std::optional<ManagerAddresses> AddressesFor(const Form1& form, const Options& options) {
  ManagerAddresses a =
      ManagerAddressesFromSettings(SettingsFor(form, options, setting::Aria2RpcUrl));
  a.clickNLoadUrl = ManagerAddressesFromSettings(SettingsFor(form, options, setting::ClickNLoadUrl))
                        .clickNLoadUrl;
  if (options.rpcUrl) a.aria2.rpcUrl = *options.rpcUrl;
  if (options.rpcSecretFile) {
    std::ifstream in(*options.rpcSecretFile, std::ios::binary);
    if (!in) {
      std::cerr << "vendil-cli: cannot read the secret file " << *options.rpcSecretFile << "\n";
      return std::nullopt;
    }
    std::string secret((std::istreambuf_iterator<char>(in)), {});
    // Files end their last line; the line end is no part of the secret.
    if (!secret.empty() && secret.back() == '\n') secret.pop_back();
    if (!secret.empty() && secret.back() == '\r') secret.pop_back();
    a.aria2.secret = secret;
  }
  if (options.cnlUrl) a.clickNLoadUrl = *options.cnlUrl;
  // A new-links check of one profile names the packages after the profile.
  if (options.command == "check" && !options.positional.empty())
    a.packageName = std::filesystem::path(options.positional[0]).stem().string();
  return a;
}

HandOffResult Send(Form1& form, const Options& options, const std::string& target,
                   const std::string& folder) {
  if (const std::optional<RunningManager> manager = ManagerFromKey(target)) {
    const auto addresses = AddressesFor(form, options);
    if (!addresses) return HandOffResult::Failed;
    DbusSendKGetBus kget;
    return SendToRunningManager(form, folder, *manager, *addresses, &kget);
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
