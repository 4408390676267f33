// Reading and writing the "Internet" section through cIni.
#include "newlinks/internet_settings.h"

#include <algorithm>

#include "settings/c_ini.h"

namespace vendil {
namespace {

int Clamped(const cIni& ini, const KeyName& key, int current, int low, int high) {
  return std::clamp(static_cast<int>(ReadSetting(ini, key, current)), low, high);
}

}  // namespace

void ReadInternetSettings(InternetOptions& o, const std::string& strPath, bool allKeys) {
  cIni ini;
  ini.FileName(strPath);
  o.connections = Clamped(ini, setting::Connections, o.connections, 1, kMaxConnections);
  o.delayMs = Clamped(ini, setting::Delay, o.delayMs, 0, kMaxDelayMs);
  if (!allKeys) return;
  const int mode = ReadSetting(ini, setting::ProxyMode, static_cast<int>(o.proxyMode));
  if (mode >= 0 && mode <= 2) o.proxyMode = static_cast<InternetOptions::ProxyMode>(mode);
  o.proxyHost = ReadSetting(ini, setting::ProxyHost, o.proxyHost);
  o.proxyPort = Clamped(ini, setting::ProxyPort, o.proxyPort, 1, 65535);
  o.proxyUser = ReadSetting(ini, setting::ProxyUser, o.proxyUser);
  o.proxyPassword = ReadSetting(ini, setting::ProxyPassword, o.proxyPassword);
  o.connectTimeoutSeconds = Clamped(ini, setting::ConnectTimeout, o.connectTimeoutSeconds, 1, 3600);
  // 0: no limit on the whole transfer.
  o.totalTimeoutSeconds = Clamped(ini, setting::TotalTimeout, o.totalTimeoutSeconds, 0, 86400);
  o.retries = Clamped(ini, setting::Retries, o.retries, 0, 10);
}

bool WriteInternetSettings(const InternetOptions& o, const std::string& strPath, bool allKeys) {
  cIni ini;
  ini.FileName(strPath);
  bool ok = WriteSetting(ini, setting::Connections, o.connections);
  ok &= WriteSetting(ini, setting::Delay, o.delayMs);
  if (!allKeys) return ok;
  ok &= WriteSetting(ini, setting::ProxyMode, static_cast<int>(o.proxyMode));
  ok &= WriteSetting(ini, setting::ProxyHost, o.proxyHost);
  ok &= WriteSetting(ini, setting::ProxyPort, o.proxyPort);
  ok &= WriteSetting(ini, setting::ProxyUser, o.proxyUser);
  ok &= WriteSetting(ini, setting::ProxyPassword, o.proxyPassword);
  ok &= WriteSetting(ini, setting::ConnectTimeout, o.connectTimeoutSeconds);
  ok &= WriteSetting(ini, setting::TotalTimeout, o.totalTimeoutSeconds);
  ok &= WriteSetting(ini, setting::Retries, o.retries);
  return ok;
}

}  // namespace vendil
