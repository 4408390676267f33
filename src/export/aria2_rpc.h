// The hand-off to aria2 over its JSON-RPC interface: one system.multicall of aria2.addUri,
// each with the row's target folder as "dir" and its referer as "referer".
#pragma once

#include <string>

#include "app/form1.h"
#include "export/save_commands.h"

namespace vendil {

inline constexpr const char* kDefaultAria2RpcUrl = "http://127.0.0.1:6800/jsonrpc";

struct Aria2Endpoint {
  std::string rpcUrl = kDefaultAria2RpcUrl;
  std::string secret;  // empty: no token is sent
};

// Section "aria2", keys "RpcUrl" and "Secret" of the settings file.
Aria2Endpoint Aria2EndpointFromSettings(const std::string& settingsFile);

// The request body for the checked rows (folders with "/" instead of "\").
std::string Aria2MulticallRequest(const LinkList& list, const std::string& strFolder,
                                  bool useBriefcaseDirectory, const std::string& secret);

// One JSON-RPC call: true with the response body, or false with what went wrong in
// `error`; `connected` tells whether aria2 answered at all.
bool PostJsonRpc(const std::string& rpcUrl, const std::string& body, std::string& response,
                 std::string& error, bool& connected);

HandOffResult SendToAria2(Form1& form, const std::string& strFolder, const Aria2Endpoint& endpoint);
void SendToAria2(Form1& form, const std::string& strFolder);

}  // namespace vendil
