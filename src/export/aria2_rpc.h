// The aria2 JSON-RPC request of the checked rows and the reading of its answer.
#pragma once

#include <string>

#include "list/link_list.h"
#include "settings/settings_keys.h"

namespace vendil {

struct JsonValue;

inline constexpr const char* kDefaultAria2RpcUrl = setting::Aria2RpcUrl.fallback;

struct Aria2Endpoint {
  std::string rpcUrl = kDefaultAria2RpcUrl;
  std::string secret;  // empty: no token is sent
};

// Section "aria2", keys "RpcUrl" and "Secret" of the settings file.
Aria2Endpoint Aria2EndpointFromSettings(const std::string& settingsFile);

// The name a row's file is saved under: the last segment of the URL's path, percent-decoded
// when that gives valid UTF-8 naming one file (no "/", no control character), else as it
// stands; empty when the URL names no file ("." and ".." name none either).
std::string SaveNameFromUrl(const std::string& url);

// The request body for the checked rows (folders with "/" instead of "\"; "out" the row's
// save name when its URL has one).
std::string Aria2MulticallRequest(const LinkList& list, const std::string& strFolder,
                                  bool useBriefcaseDirectory, const std::string& secret);

// The message of a JSON-RPC error object, or empty when `v` holds none.
std::string JsonRpcFaultText(const JsonValue& v);

}  // namespace vendil
