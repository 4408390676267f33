// The hand-off to the download managers through their automation servers, and to aria2
// over its JSON-RPC interface.
#pragma once

#include <string>

#include "commands/save_commands.h"
#include "platform/automation.h"
#include "state/form1.h"

namespace vendil {

// The servers a hand-off may create: the recording servers when the settings file names a
// record file (section "Automation", key "RecordFile", relative to the settings file's
// folder; "IrvineQueueFolder" presets the recorded Irvine queue), else none, as on a
// system without the managers.
AutomationFactory AutomationFactoryFromSettings(const std::string& settingsFile);

// The list text handed to Iria and Irvine, one record per checked row.
std::string ManagerListText(const LinkList& list, const std::string& strFolder,
                            bool useBriefcaseDirectory);

// Each reports in a message box what went wrong and stops there. The forms without a
// factory use AutomationFactoryFromSettings(form.settingsFile).
HandOffResult SendToIria(Form1& form, const std::string& strFolder,
                         const AutomationFactory& factory);
HandOffResult SendToIrvine(Form1& form, const std::string& strFolder,
                           const AutomationFactory& factory);
HandOffResult SendToFlashGet(Form1& form, const std::string& strFolder,
                             const AutomationFactory& factory);
HandOffResult SendToReget(Form1& form, const std::string& strFolder,
                          const AutomationFactory& factory);
void SendToIria(Form1& form, const std::string& strFolder);
void SendToIrvine(Form1& form, const std::string& strFolder);
void SendToFlashGet(Form1& form, const std::string& strFolder);
void SendToReget(Form1& form, const std::string& strFolder);

}  // namespace vendil
