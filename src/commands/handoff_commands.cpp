// The send commands of the running managers: the rows and the outcome come from
// src/download; here the settings are read and the outcome shown.
#include "commands/handoff_commands.h"

#include "commands/send_aria2.h"
#include "download/handoff_aria2.h"
#include "download/handoff_clicknload.h"
#include "download/handoff_uget.h"
#include "settings/c_ini.h"

namespace vendil {

namespace {

const char* const kTitle = "Vendil";

HandOffResult Report(Form1& form, RunningManager manager, const HandoffOutcome& outcome) {
  const bool done = outcome.status == HandoffStatus::Sent;
  form.ui().MessageBox(HandoffMessage(ManagerName(manager), outcome), kTitle,
                       vb::OKOnly | (done ? vb::Information : vb::Exclamation));
  return done ? HandOffResult::Done : HandOffResult::Failed;
}

}  // namespace

std::string ManagerName(RunningManager manager) {
  switch (manager) {
    case RunningManager::Aria2:
      return "aria2";
    case RunningManager::ClickNLoad:
      return "Click'n'Load";
    case RunningManager::KGet:
      return "KGet";
    case RunningManager::UGet:
      return "uGet";
  }
  return "";
}

const char* ManagerKey(RunningManager manager) {
  switch (manager) {
    case RunningManager::Aria2:
      return "aria2";
    case RunningManager::ClickNLoad:
      return "clicknload";
    case RunningManager::KGet:
      return "kget";
    case RunningManager::UGet:
      return "uget";
  }
  return "";
}

std::optional<RunningManager> ManagerFromKey(const std::string& key) {
  for (const RunningManager m : {RunningManager::Aria2, RunningManager::ClickNLoad,
                                 RunningManager::KGet, RunningManager::UGet}) {
    if (key == ManagerKey(m)) return m;
  }
  return std::nullopt;
}

ManagerAddresses ManagerAddressesFromSettings(const std::string& settingsFile) {
  ManagerAddresses a;
  a.aria2 = Aria2EndpointFromSettings(settingsFile);
  a.clickNLoadUrl = kDefaultClickNLoadUrl;
  if (!settingsFile.empty()) {
    cIni ini;
    ini.FileName(settingsFile);
    const std::string url = ReadSetting(ini, setting::ClickNLoadUrl);
    if (!url.empty()) a.clickNLoadUrl = url;
  }
  return a;
}

std::vector<FoundManager> FindRunningManagers(const ManagerAddresses& addresses, KGetBus* kget) {
  std::vector<FoundManager> found;
  if (auto url = FindAria2(addresses.aria2)) found.push_back({RunningManager::Aria2, *url});
  if (FindClickNLoad(addresses.clickNLoadUrl))
    found.push_back({RunningManager::ClickNLoad, addresses.clickNLoadUrl});
  std::string ignored;
  if (kget && kget->BusAvailable(ignored) && kget->IsRunning())
    found.push_back({RunningManager::KGet, kKGetService});
  if (FindUGet()) found.push_back({RunningManager::UGet, kUGetProgram});
  return found;
}

HandOffResult SendToRunningManager(Form1& form, const std::string& strFolder,
                                   RunningManager manager, const ManagerAddresses& addresses,
                                   KGetBus* kget) {
  if (manager == RunningManager::Aria2) return SendToAria2(form, strFolder, addresses.aria2);
  if (ReportEmptyList(form)) return HandOffResult::NoData;
  const auto rows =
      CheckedHandoffRows(form.lvwUrls, strFolder, form.mnuOption_UseBriefcaseDirectory.Checked());
  HandoffOutcome outcome;
  switch (manager) {
    case RunningManager::ClickNLoad:
      outcome = SendRowsToClickNLoad(rows, addresses.clickNLoadUrl, addresses.packageName);
      break;
    case RunningManager::KGet:
      if (kget) {
        outcome = SendRowsToKGet(rows, *kget);
      } else {
        outcome.status = HandoffStatus::NotRunning;
        outcome.total = rows.size();
        outcome.detail = "セッションのD-Busがありません。";
      }
      break;
    case RunningManager::UGet:
      outcome = SendRowsToUGet(rows);
      break;
    case RunningManager::Aria2:
      break;
  }
  return Report(form, manager, outcome);
}

void OpenManagersHelp(Form1& form) {
  form.ui().OpenUrl(form.programFolder + "/help/managers.html");
}

}  // namespace vendil
