// Reading and writing the "Internet" section through cIni.
#include "newlinks/internet_settings.h"

#include <algorithm>

#include "settings/c_ini.h"

namespace vendil {
namespace {

int Clamped(const cIni& ini, const char* key, int current, int low, int high) {
  return std::clamp(static_cast<int>(ini.GetValue(key, current)), low, high);
}

}  // namespace

void ReadInternetSettings(InternetOptions& o, const std::string& strPath, bool allKeys) {
  cIni ini;
  ini.FileName(strPath);
  ini.Section(kInternetSection);
  o.connections = Clamped(ini, "Connections", o.connections, 1, kMaxConnections);
  o.delayMs = Clamped(ini, "Delay", o.delayMs, 0, kMaxDelayMs);
  if (!allKeys) return;
  const int mode = ini.GetValue("ProxyMode", static_cast<int>(o.proxyMode));
  if (mode >= 0 && mode <= 2) o.proxyMode = static_cast<InternetOptions::ProxyMode>(mode);
  o.proxyHost = ini.GetString("ProxyHost", o.proxyHost);
  o.proxyPort = Clamped(ini, "ProxyPort", o.proxyPort, 1, 65535);
  o.proxyUser = ini.GetString("ProxyUser", o.proxyUser);
  o.proxyPassword = ini.GetString("ProxyPassword", o.proxyPassword);
  o.connectTimeoutSeconds = Clamped(ini, "ConnectTimeout", o.connectTimeoutSeconds, 1, 3600);
  // 0: no limit on the whole transfer.
  o.totalTimeoutSeconds = Clamped(ini, "TotalTimeout", o.totalTimeoutSeconds, 0, 86400);
  o.retries = Clamped(ini, "Retries", o.retries, 0, 10);
}

bool WriteInternetSettings(const InternetOptions& o, const std::string& strPath, bool allKeys) {
  cIni ini;
  ini.FileName(strPath);
  ini.Section(kInternetSection);
  bool ok = ini.SetValue("Connections", o.connections);
  ok &= ini.SetValue("Delay", o.delayMs);
  if (!allKeys) return ok;
  ok &= ini.SetValue("ProxyMode", static_cast<int>(o.proxyMode));
  ok &= ini.SetString("ProxyHost", o.proxyHost);
  ok &= ini.SetValue("ProxyPort", o.proxyPort);
  ok &= ini.SetString("ProxyUser", o.proxyUser);
  ok &= ini.SetString("ProxyPassword", o.proxyPassword);
  ok &= ini.SetValue("ConnectTimeout", o.connectTimeoutSeconds);
  ok &= ini.SetValue("TotalTimeout", o.totalTimeoutSeconds);
  ok &= ini.SetValue("Retries", o.retries);
  return ok;
}

}  // namespace vendil
