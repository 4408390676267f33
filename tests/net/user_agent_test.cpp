// The User-Agent line: on this platform both version queries fail, so the line takes the
// fallback parts; the other branches through queries the test supplies.
#include "net/user_agent.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vendil {
namespace {

TEST(UserAgent, BothQueriesFailHere) {
  DllVersionInfo info;
  EXPECT_EQ(GetIEVersion(info), 0);
  EXPECT_EQ(info.cbSize, 20u);
  bool nt = true;
  int32_t major = 1, minor = 1, build = 1;
  EXPECT_FALSE(GetOSVersion(nt, major, minor, build));
  EXPECT_EQ(BuildUserAgent(), "User-Agent: Mozilla/4.0 (compatible; MSIE 5.0; Windows 95)");
}

TEST(UserAgent, VersionBranches) {
  struct Case {
    int32_t ieMajor, ieMinor;
    bool osOk, nt;
    int32_t major, minor, build;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {6, 0, true, true, 5, 1, 2600, "MSIE 6.0; Windows NT 5.1"},
      {5, 50, true, true, 4, 0, 1381, "MSIE 5.50; Windows NT"},
      {0, 7, true, true, 10, 0, 19045, "MSIE 5.0; Windows NT 10.0"},
      {4, 1, true, false, 4, 0, 1212, "MSIE 4.1; Windows 95"},
      {4, 1, true, false, 4, 10, 1213, "MSIE 4.1; Windows 98"},
      {6, 0, false, true, 5, 1, 2600, "MSIE 6.0; Windows 95"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.expected);
    VersionQueries queries;
    queries.ie = [&c](DllVersionInfo& info) {
      info.dwMajorVersion = static_cast<uint32_t>(c.ieMajor);
      info.dwMinorVersion = static_cast<uint32_t>(c.ieMinor);
      return c.ieMajor;
    };
    queries.os = [&c](bool& nt, int32_t& major, int32_t& minor, int32_t& build) {
      nt = c.nt;
      major = c.major;
      minor = c.minor;
      build = c.build;
      return c.osOk;
    };
    EXPECT_EQ(BuildUserAgent(queries), "User-Agent: Mozilla/4.0 (compatible; " + c.expected + ")");
  }
}

}  // namespace
}  // namespace vendil
