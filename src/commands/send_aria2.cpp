// The aria2 hand-off command: the checked rows sent over JSON-RPC, and what aria2 answered
// (how many it took, or why none) reported in a message box.
#include "commands/send_aria2.h"

#include "download/handoff_aria2.h"

namespace vendil {

HandOffResult SendToAria2(Form1& form, const std::string& strFolder,
                          const Aria2Endpoint& endpoint) {
  if (ReportEmptyList(form)) return HandOffResult::NoData;
  const bool briefcase = form.mnuOption_UseBriefcaseDirectory.Checked();
  HandoffOutcome outcome = SendRowsToAria2(form.lvwUrls, strFolder, briefcase, endpoint);
  // A front end of aria2 may listen on its own port: the default address that nobody
  // answers gives way to the one that does.
  if (outcome.status == HandoffStatus::NotRunning && endpoint.rpcUrl == kDefaultAria2RpcUrl) {
    if (auto found = FindAria2(endpoint); found && *found != endpoint.rpcUrl) {
      Aria2Endpoint other = endpoint;
      other.rpcUrl = *found;
      outcome = SendRowsToAria2(form.lvwUrls, strFolder, briefcase, other);
    }
  }
  std::string text;
  switch (outcome.status) {
    case HandoffStatus::Sent:
      form.ui().MessageBox(HandoffMessage("aria2", outcome), kProductTitle,
                           vb::OKOnly | vb::Information);
      return HandOffResult::Done;
    case HandoffStatus::NotRunning:
    case HandoffStatus::NotInstalled:
      text = "aria2に接続できません。\r\n" + outcome.detail;
      break;
    default:
      text = "aria2への送信に失敗しました。\r\n" + HandoffMessage("aria2", outcome);
      break;
  }
  form.ui().MessageBox(text, kProductTitle, vb::OKOnly | vb::Exclamation);
  return HandOffResult::Failed;
}

void SendToAria2(Form1& form, const std::string& strFolder) {
  SendToAria2(form, strFolder, Aria2EndpointFromSettings(form.settingsFile));
}

}  // namespace vendil
