// The aria2 JSON-RPC request of the checked rows: one system.multicall of aria2.addUri,
// each with the row's target folder as "dir", its referer as "referer" and the name its URL
// gives as "out".
#include "export/aria2_rpc.h"

#include "export/json_value.h"
#include "export/target_folder.h"
#include "parse/mod_url.h"
#include "settings/c_ini.h"

namespace vendil {

namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool IsValidUtf8(std::string_view s) {
  size_t i = 0;
  while (i < s.size()) {
    const auto b = static_cast<unsigned char>(s[i]);
    size_t n = 0;
    char32_t cp = 0;
    if (b < 0x80) {
      ++i;
      continue;
    } else if (b >= 0xC2 && b <= 0xDF) {
      n = 1, cp = b & 0x1F;
    } else if (b >= 0xE0 && b <= 0xEF) {
      n = 2, cp = b & 0x0F;
    } else if (b >= 0xF0 && b <= 0xF4) {
      n = 3, cp = b & 0x07;
    } else {
      return false;
    }
    for (size_t k = 1; k <= n; ++k) {
      if (i + k >= s.size()) return false;
      const auto c = static_cast<unsigned char>(s[i + k]);
      if ((c & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (c & 0x3F);
    }
    // Overlong forms, surrogates and values past U+10FFFF are not text.
    if ((n == 2 && cp < 0x800) || (n == 3 && cp < 0x10000) || cp > 0x10FFFF ||
        (cp >= 0xD800 && cp <= 0xDFFF))
      return false;
    i += n + 1;
  }
  return true;
}

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
  const std::string segment = GetUrlFileName(UrlWithoutFragment(url));
  std::string decoded;
  decoded.reserve(segment.size());
  for (size_t i = 0; i < segment.size(); ++i) {
    if (segment[i] == '%' && i + 2 < segment.size() && HexValue(segment[i + 1]) >= 0 &&
        HexValue(segment[i + 2]) >= 0) {
      decoded += static_cast<char>(HexValue(segment[i + 1]) * 16 + HexValue(segment[i + 2]));
      i += 2;
    } else {
      decoded += segment[i];
    }
  }
  if (IsValidUtf8(decoded) && NamesOneFile(decoded)) return decoded;
  return NamesOneFile(segment) ? segment : std::string();
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
