// The aria2 JSON-RPC hand-off over a small blocking libcurl POST: the window waits for a
// hand-off anyway, and the timeouts are short.
#include "export/aria2_rpc.h"

#include <curl/curl.h>

#include <memory>

#include "export/json_value.h"
#include "export/target_folder.h"
#include "settings/c_ini.h"

namespace vendil {

namespace {

const char* const kTitle = "Vendil";
constexpr size_t kMaxResponse = 16 * 1024 * 1024;

struct CurlDeleter {
  void operator()(CURL* c) const { curl_easy_cleanup(c); }
};
struct SlistDeleter {
  void operator()(curl_slist* s) const { curl_slist_free_all(s); }
};

size_t CollectBody(char* data, size_t size, size_t count, void* user) {
  auto* out = static_cast<std::string*>(user);
  const size_t n = size * count;
  if (out->size() + n > kMaxResponse) return 0;  // aborts the transfer
  out->append(data, n);
  return n;
}

// The message of a JSON-RPC error object, or empty when `v` holds none.
std::string FaultText(const JsonValue& v) {
  const JsonValue* error = v.Find("error");
  const JsonValue* fault = error ? error : (v.Find("code") && v.Find("message") ? &v : nullptr);
  if (!fault) return "";
  const JsonValue* message = fault->Find("message");
  if (message && message->kind == JsonValue::Kind::String && !message->text.empty()) {
    return message->text;
  }
  return "error";
}

}  // namespace

Aria2Endpoint Aria2EndpointFromSettings(const std::string& settingsFile) {
  Aria2Endpoint endpoint;
  if (settingsFile.empty()) return endpoint;
  cIni ini;
  ini.FileName(settingsFile);
  ini.Section("aria2");
  endpoint.rpcUrl = ini.GetString("RpcUrl", kDefaultAria2RpcUrl);
  if (endpoint.rpcUrl.empty()) endpoint.rpcUrl = kDefaultAria2RpcUrl;
  endpoint.secret = ini.GetString("Secret", "");
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

bool PostJsonRpc(const std::string& rpcUrl, const std::string& body, std::string& response,
                 std::string& error, bool& connected) {
  connected = false;
  response.clear();
  std::unique_ptr<CURL, CurlDeleter> curl(curl_easy_init());
  if (!curl) {
    error = "libcurl could not start";
    return false;
  }
  std::unique_ptr<curl_slist, SlistDeleter> headers(
      curl_slist_append(nullptr, "Content-Type: application/json"));
  CURL* c = curl.get();
  curl_easy_setopt(c, CURLOPT_URL, rpcUrl.c_str());
  curl_easy_setopt(c, CURLOPT_POST, 1L);
  curl_easy_setopt(c, CURLOPT_POSTFIELDS, body.data());
  curl_easy_setopt(c, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size()));
  curl_easy_setopt(c, CURLOPT_HTTPHEADER, headers.get());
  curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, CollectBody);
  curl_easy_setopt(c, CURLOPT_WRITEDATA, &response);
  curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT, 5L);
  curl_easy_setopt(c, CURLOPT_TIMEOUT, 30L);
  curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(c, CURLOPT_PROXY, "");  // aria2 runs beside the user, not behind a proxy
  curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "http,https");
  const CURLcode rc = curl_easy_perform(c);
  long status = 0;
  curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &status);
  connected = status != 0;
  if (rc != CURLE_OK) {
    error = curl_easy_strerror(rc);
    return false;
  }
  return true;
}

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
    form.ui().MessageBox(text, kTitle, vb::OKOnly | vb::Exclamation);
    return HandOffResult::Failed;
  }
  const auto reply = ParseJson(response);
  std::string fault;
  if (!reply) {
    fault = "aria2の応答を読めません。";
  } else if (std::string top = FaultText(*reply); !top.empty()) {
    fault = top;
  } else if (const JsonValue* result = reply->Find("result");
             !result || result->kind != JsonValue::Kind::Array) {
    fault = "aria2の応答を読めません。";
  } else {
    // One entry per call: [gid] when added, a fault object when not.
    size_t failed = 0;
    std::string first;
    for (const auto& entry : result->items) {
      const std::string f = FaultText(entry);
      if (f.empty()) continue;
      if (failed++ == 0) first = f;
    }
    if (failed) {
      fault = std::to_string(failed) + "/" + std::to_string(result->items.size()) +
              "件を追加できませんでした。\r\n" + first;
    }
  }
  if (!fault.empty()) {
    form.ui().MessageBox("aria2への送信に失敗しました。\r\n" + fault, kTitle,
                         vb::OKOnly | vb::Exclamation);
    return HandOffResult::Failed;
  }
  return HandOffResult::Done;
}

void SendToAria2(Form1& form, const std::string& strFolder) {
  SendToAria2(form, strFolder, Aria2EndpointFromSettings(form.settingsFile));
}

}  // namespace vendil
