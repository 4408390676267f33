// The aria2 hand-off command: the checked rows sent over JSON-RPC, and what aria2 answered
// reported in a message box.
#include "commands/send_aria2.h"

#include "export/json_value.h"
#include "platform/json_rpc_post.h"

namespace vendil {

namespace {}  // namespace

HandOffResult SendToAria2(Form1& form, const std::string& strFolder,
                          const Aria2Endpoint& endpoint) {
  if (ReportEmptyList(form)) return HandOffResult::NoData;
  const std::string body = Aria2MulticallRequest(
      form.lvwUrls, strFolder, form.mnuOption_UseBriefcaseDirectory.Checked(), endpoint.secret);
  std::string response, error;
  bool connected = false;
  if (!PostJsonRpc(endpoint.rpcUrl, body, response, error, connected)) {
    const std::string text = connected
                                 ? "aria2への送信に失敗しました。\r\n" + error
                                 : "aria2に接続できません。\r\n" + endpoint.rpcUrl + "\r\n" + error;
    form.ui().MessageBox(text, kProductTitle, vb::OKOnly | vb::Exclamation);
    return HandOffResult::Failed;
  }
  const auto reply = ParseJson(response);
  std::string fault;
  if (!reply) {
    fault = "aria2の応答を読めません。";
  } else if (std::string top = JsonRpcFaultText(*reply); !top.empty()) {
    fault = top;
  } else if (const JsonValue* result = reply->Find("result");
             !result || result->kind != JsonValue::Kind::Array) {
    fault = "aria2の応答を読めません。";
  } else {
    // One entry per call: [gid] when added, a fault object when not.
    size_t failed = 0;
    std::string first;
    for (const auto& entry : result->items) {
      const std::string f = JsonRpcFaultText(entry);
      if (f.empty()) continue;
      if (failed++ == 0) first = f;
    }
    if (failed) {
      fault = std::to_string(failed) + "/" + std::to_string(result->items.size()) +
              "件を追加できませんでした。\r\n" + first;
    }
  }
  if (!fault.empty()) {
    form.ui().MessageBox("aria2への送信に失敗しました。\r\n" + fault, kProductTitle,
                         vb::OKOnly | vb::Exclamation);
    return HandOffResult::Failed;
  }
  return HandOffResult::Done;
}

void SendToAria2(Form1& form, const std::string& strFolder) {
  SendToAria2(form, strFolder, Aria2EndpointFromSettings(form.settingsFile));
}

}  // namespace vendil
