// The aria2 JSON-RPC request of the checked rows: one system.multicall of aria2.addUri,
// each with the row's target folder as "dir" and its referer as "referer".
#include "export/aria2_rpc.h"

#include "export/json_value.h"
#include "export/target_folder.h"
#include "settings/c_ini.h"

namespace vendil {

Aria2Endpoint Aria2EndpointFromSettings(const std::string& settingsFile) {
  Aria2Endpoint endpoint;
  if (settingsFile.empty()) return endpoint;
  cIni ini;
  ini.FileName(settingsFile);
  endpoint.rpcUrl = ReadSetting(ini, setting::Aria2RpcUrl);
  if (endpoint.rpcUrl.empty()) endpoint.rpcUrl = kDefaultAria2RpcUrl;
  endpoint.secret = ReadSetting(ini, setting::Aria2Secret);
  return endpoint;
}

std::string Aria2MulticallRequest(const LinkList& list, const std::string& strFolder,
                                  bool useBriefcaseDirectory, const std::string& secret) {
  std::string calls;
  for (size_t i = 1; i <= list.Count(); ++i) {
    if (!list.Checked(i)) continue;
    const LinkRow& row = list.Row(i);
    std::string folder = RowTargetFolder(row, strFolder, useBriefcaseDirectory);
    for (char& c : folder) {
      if (c == '\\') c = '/';
    }
    std::string options;
    if (!folder.empty()) options += "\"dir\":" + JsonQuote(folder);
    if (!row.Referer.empty()) {
      if (!options.empty()) options += ',';
      options += "\"referer\":" + JsonQuote(row.Referer);
    }
    std::string params;
    if (!secret.empty()) params += JsonQuote("token:" + secret) + ",";
    params += "[" + JsonQuote(row.Url) + "],{" + options + "}";
    if (!calls.empty()) calls += ',';
    calls += "{\"methodName\":\"aria2.addUri\",\"params\":[" + params + "]}";
  }
  return "{\"jsonrpc\":\"2.0\",\"id\":\"vendil\",\"method\":\"system.multicall\",\"params\":[[" +
         calls + "]]}";
}

std::string JsonRpcFaultText(const JsonValue& v) {
  const JsonValue* error = v.Find("error");
  const JsonValue* fault = error ? error : (v.Find("code") && v.Find("message") ? &v : nullptr);
  if (!fault) return "";
  const JsonValue* message = fault->Find("message");
  if (message && message->kind == JsonValue::Kind::String && !message->text.empty()) {
    return message->text;
  }
  return "error";
}

}  // namespace vendil
