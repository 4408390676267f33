// The hand-off of the checked rows to a download manager already running on this system
// (aria2 over JSON-RPC, a Click'n'Load listener, KGet over D-Bus, uGet's command line):
// which of them are found, and the send commands that report what each took.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "commands/save_commands.h"
#include "download/handoff_kget.h"
#include "export/aria2_rpc.h"
#include "state/form1.h"

namespace vendil {

enum class RunningManager { Aria2, ClickNLoad, KGet, UGet };

// The name the menu and the messages give a manager.
std::string ManagerName(RunningManager manager);
// The word the command line (--send) and the menu's object names know a manager by.
const char* ManagerKey(RunningManager manager);
// The manager of such a word; nullopt for any other.
std::optional<RunningManager> ManagerFromKey(const std::string& key);

// Where the managers listen: section "aria2" (RpcUrl, Secret) and section "ClickNLoad"
// (Url) of the settings file; `packageName` names the Click'n'Load packages (empty: each
// after its page).
struct ManagerAddresses {
  Aria2Endpoint aria2;
  std::string clickNLoadUrl;
  std::string packageName;
};
ManagerAddresses ManagerAddressesFromSettings(const std::string& settingsFile);

struct FoundManager {
  RunningManager manager;
  std::string address;  // where it answered (aria2: the RPC address that answered)
};

// The managers that answer now, in the order of RunningManager. `kget` may be null (no
// session bus to ask).
std::vector<FoundManager> FindRunningManagers(const ManagerAddresses& addresses, KGetBus* kget);

// Sends the checked rows to one manager and reports in a message box what it took ("N 個
// のURLを送りました。") or why not. "データがありません。" for a list without rows, as the
// other hand-offs. Done only when the manager took every checked row.
HandOffResult SendToRunningManager(Form1& form, const std::string& strFolder,
                                   RunningManager manager, const ManagerAddresses& addresses,
                                   KGetBus* kget);

// Opens the guide page on the managers and how to start their listeners.
void OpenManagersHelp(Form1& form);

}  // namespace vendil
