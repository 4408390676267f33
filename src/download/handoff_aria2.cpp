// aria2 over JSON-RPC: a short getVersion call finds it; one multicall adds the rows, and
// its answer (a GID or a fault per row) says how many were taken.
#include "download/handoff_aria2.h"

#include "export/json_value.h"
#include "platform/json_rpc_post.h"

namespace vendil {

namespace {

constexpr const char* kFrontEndRpcUrl = "http://127.0.0.1:16800/jsonrpc";
constexpr long kLookTimeoutSeconds = 2;

bool IsUnauthorized(const std::string& fault) { return fault == "Unauthorized"; }

// system.listMethods needs no token, so the look is the same whatever the secret, and it
// does not meet the pause aria2 puts before answering a wrong one.
bool Answers(const std::string& url) {
  const std::string body =
      "{\"jsonrpc\":\"2.0\",\"id\":\"vendil\",\"method\":\"system.listMethods\",\"params\":[]}";
  std::string response, error;
  bool connected = false;
  PostJsonRpc(url, body, response, error, connected, kLookTimeoutSeconds);
  if (!connected) return false;
  const auto reply = ParseJson(response);
  return reply && (reply->Find("result") || reply->Find("error"));
}

}  // namespace

std::optional<std::string> FindAria2(const Aria2Endpoint& endpoint) {
  if (Answers(endpoint.rpcUrl)) return endpoint.rpcUrl;
  if (endpoint.rpcUrl == kDefaultAria2RpcUrl && Answers(kFrontEndRpcUrl))
    return std::string(kFrontEndRpcUrl);
  return std::nullopt;
}

HandoffOutcome SendRowsToAria2(const LinkList& list, const std::string& saveFolder,
                               bool useBriefcaseDirectory, const Aria2Endpoint& endpoint) {
  size_t total = 0;
  for (size_t i = 1; i <= list.Count(); ++i) total += list.Checked(i) ? 1 : 0;
  HandoffOutcome outcome;
  outcome.total = total;
  const std::string body =
      Aria2MulticallRequest(list, saveFolder, useBriefcaseDirectory, endpoint.secret);
  std::string response, error;
  bool connected = false;
  if (!PostJsonRpc(endpoint.rpcUrl, body, response, error, connected) || !connected) {
    outcome.status = HandoffStatus::NotRunning;
    outcome.detail = endpoint.rpcUrl + "\r\n" + error;
    if (connected) outcome.status = HandoffStatus::Refused;
    return outcome;
  }
  const auto reply = ParseJson(response);
  if (!reply) {
    outcome.status = HandoffStatus::Refused;
    outcome.detail = "aria2の応答を読めません。";
    return outcome;
  }
  if (std::string top = JsonRpcFaultText(*reply); !top.empty()) {
    outcome.status = IsUnauthorized(top) ? HandoffStatus::SecretWrong : HandoffStatus::Refused;
    outcome.detail = top;
    return outcome;
  }
  const JsonValue* result = reply->Find("result");
  if (!result || result->kind != JsonValue::Kind::Array || result->items.size() != total) {
    outcome.status = HandoffStatus::Refused;
    outcome.detail = "aria2の応答を読めません。";
    return outcome;
  }
  // One entry per call, in order: [gid] when added, a fault object when not.
  size_t sent = 0, unauthorized = 0;
  std::string first;
  for (const auto& entry : result->items) {
    const std::string fault = JsonRpcFaultText(entry);
    if (fault.empty()) {
      ++sent;
      continue;
    }
    unauthorized += IsUnauthorized(fault) ? 1 : 0;
    if (first.empty()) first = fault;
  }
  outcome = OutcomeOfCount(sent, total, first);
  if (total > 0 && unauthorized == total) outcome.status = HandoffStatus::SecretWrong;
  return outcome;
}

}  // namespace vendil
