// Building the User-Agent line from the browser and system versions.
#include "net/user_agent.h"

namespace vendil {

bool GetOSVersion(bool& blnIsNT, int32_t& lngMajor, int32_t& lngMinor, int32_t& lngBuild) {
  // No such system version here: the caller takes its failure branch.
  blnIsNT = false;
  lngMajor = lngMinor = lngBuild = 0;
  return false;
}

int32_t GetIEVersion(DllVersionInfo& info) {
  info.cbSize = 20;
  info.dwMajorVersion = info.dwMinorVersion = 0;
  return 0;
}

std::string BuildUserAgent() { return BuildUserAgent(VersionQueries{}); }

std::string BuildUserAgent(const VersionQueries& queries) {
  std::string iePart = "MSIE 5.0";
  DllVersionInfo info;
  const int32_t ieMajor = queries.ie ? queries.ie(info) : 0;
  if (ieMajor != 0) {
    iePart = "MSIE " + std::to_string(ieMajor) + "." + std::to_string(info.dwMinorVersion);
  }

  std::string osPart = "Windows 95";
  bool isNT = false;
  int32_t major = 0, minor = 0, build = 0;
  if (queries.os && queries.os(isNT, major, minor, build)) {
    if (isNT) {
      osPart = major >= 5 ? "Windows NT " + std::to_string(major) + "." + std::to_string(minor)
                          : "Windows NT";
    } else {
      osPart = build <= 1212 ? "Windows 95" : "Windows 98";
    }
  }
  return "User-Agent: Mozilla/4.0 (compatible; " + iePart + "; " + osPart + ")";
}

}  // namespace vendil
