// The user's Internet options: proxy, time-outs, retries and the politeness settings of the
// HTTP control. Kept by the main window, stored in the settings file (section "Internet"),
// edited in the Internet options dialog and applied to every request of the next search.
#pragma once

#include <string>

namespace vendil {

struct InternetOptions {
  enum class ProxyMode { None = 0, Environment = 1, Manual = 2 };

  ProxyMode proxyMode = ProxyMode::Environment;
  std::string proxyHost;  // manual proxy: host name or address
  int proxyPort = 8080;
  std::string proxyUser;      // optional
  std::string proxyPassword;  // optional
  int connectTimeoutSeconds = 15;
  int totalTimeoutSeconds = 60;
  int retries = 4;      // further attempts after a failure a retry can cure
  int connections = 6;  // requests in flight per server
  int delayMs = 0;      // pause between two requests to one server

  bool operator==(const InternetOptions&) const = default;
};

}  // namespace vendil
