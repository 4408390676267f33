// The User-Agent header line every request's header text begins with, and the two version
// queries it is built from. This platform has neither version source, so both queries
// report failure and the line takes its fallback parts; tests pass their own queries.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace vendil {

// The version record of the browser library (its size field is 20).
struct DllVersionInfo {
  uint32_t cbSize = 20;
  uint32_t dwMajorVersion = 0;
  uint32_t dwMinorVersion = 0;
  uint32_t dwBuildNumber = 0;
  uint32_t dwPlatformID = 0;
};

// False when the system version cannot be read; else its platform, major, minor and the
// low 16 bits of the build number.
bool GetOSVersion(bool& blnIsNT, int32_t& lngMajor, int32_t& lngMinor, int32_t& lngBuild);
// The browser's major version (0 when it cannot be read); the minor stays in `info`.
int32_t GetIEVersion(DllVersionInfo& info);

struct VersionQueries {
  std::function<bool(bool&, int32_t&, int32_t&, int32_t&)> os = GetOSVersion;
  std::function<int32_t(DllVersionInfo&)> ie = GetIEVersion;
};

std::string BuildUserAgent();
std::string BuildUserAgent(const VersionQueries& queries);

}  // namespace vendil
