// The general date text in local time.
#include "platform/date_text.h"

#include <cstdio>

namespace vendil {

std::string GeneralDateText(std::time_t when) {
  std::tm local{};
  if (localtime_r(&when, &local) == nullptr) return "";
  char buffer[64];
  if (local.tm_hour == 0 && local.tm_min == 0 && local.tm_sec == 0) {
    std::snprintf(buffer, sizeof buffer, "%04d/%02d/%02d", local.tm_year + 1900, local.tm_mon + 1,
                  local.tm_mday);
  } else {
    std::snprintf(buffer, sizeof buffer, "%04d/%02d/%02d %d:%02d:%02d", local.tm_year + 1900,
                  local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
  }
  return buffer;
}

std::string GeneralDateTextNow() { return GeneralDateText(std::time(nullptr)); }

}  // namespace vendil
