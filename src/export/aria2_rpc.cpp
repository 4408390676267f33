// The aria2 JSON-RPC request of the checked rows: one system.multicall of aria2.addUri,
// each with the row's target folder as "dir", its referer as "referer" and the name its URL
// gives as "out".
#include "export/aria2_rpc.h"

#include "export/json_value.h"
#include "export/target_folder.h"
#include "parse/decoded_name.h"
#include "parse/mod_url.h"
#include "settings/c_ini.h"

namespace vendil {

namespace {

bool NamesOneFile(std::string_view name) {
  if (name.empty() || name == "." || name == "..") return false;
  for (char c : name) {
    const auto u = static_cast<unsigned char>(c);
    if (c == '/' || u < 0x20 || u == 0x7F) return false;
  }
  return true;
}

}  // namespace

std::string SaveNameFromUrl(const std::string& url) {
  // Decoded only where that gives one plain name in valid text; else as the URL has it.
  const std::string name = DecodedFileName(GetUrlFileName(UrlWithoutFragment(url)));
  return NamesOneFile(name) ? name : std::string();
}

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
    auto add = [&options](const char* name, const std::string& value) {
      if (!options.empty()) options += ',';
      options += "\"" + std::string(name) + "\":" + JsonQuote(value);
    };
    if (!folder.empty()) add("dir", folder);
    if (!row.Referer.empty()) add("referer", row.Referer);
    if (const std::string out = SaveNameFromUrl(row.Url); !out.empty()) add("out", out);
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
