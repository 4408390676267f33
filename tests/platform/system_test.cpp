// Date texts, the program and configuration folders, and opening with the desktop.
#include <sys/stat.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include <gtest/gtest.h>

#include "platform/date_text.h"
#include "platform/desktop.h"
#include "platform/program_folder.h"
#include "support/temp_folder.h"

namespace vendil {
namespace {

std::time_t Local(int year, int month, int day, int hour, int minute, int second) {
  std::tm parts{};
  parts.tm_year = year - 1900;
  parts.tm_mon = month - 1;
  parts.tm_mday = day;
  parts.tm_hour = hour;
  parts.tm_min = minute;
  parts.tm_sec = second;
  parts.tm_isdst = -1;
  return std::mktime(&parts);
}

TEST(DateText, GeneralDateOfAJapaneseSystem) {
  EXPECT_EQ(GeneralDateText(Local(2026, 3, 4, 5, 6, 7)), "2026/03/04 5:06:07");
  EXPECT_EQ(GeneralDateText(Local(2026, 12, 31, 23, 59, 0)), "2026/12/31 23:59:00");
  EXPECT_EQ(GeneralDateText(Local(2026, 1, 2, 0, 0, 0)), "2026/01/02");
  EXPECT_EQ(GeneralDateText(Local(2026, 1, 2, 0, 0, 1)), "2026/01/02 0:00:01");
}

TEST(Folders, ProgramAndUserConfiguration) {
  EXPECT_TRUE(std::filesystem::exists(ProgramFolder() + "/test_platform") ||
              std::filesystem::exists(ProgramFolder() + "/vendil_tests"));
  test::TempFolder folder;
  setenv("XDG_CONFIG_HOME", folder.File("cfg").c_str(), 1);
  const std::string config = UserConfigFolder();
  unsetenv("XDG_CONFIG_HOME");
  EXPECT_EQ(config, folder.File("cfg") + "/vendil");
  struct stat info {};
  ASSERT_EQ(stat(config.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0700u);
  EXPECT_TRUE(IsFolderWritable(config));
  EXPECT_FALSE(IsFolderWritable(folder.File("absent")));
}

TEST(Desktop, PassesTheUrlAsOneArgumentWithoutAShell) {
  test::TempFolder folder;
  const std::string out = folder.File("args");
  test::WriteBytes(folder.File("xdg-open"), "#!/bin/sh\nprintf '%s|%s' \"$#\" \"$1\" > \"" + out +
                                                ".tmp\"\n/bin/mv \"" + out + ".tmp\" \"" + out +
                                                "\"\n");
  chmod(folder.File("xdg-open").c_str(), 0755);
  const std::string oldPath = std::getenv("PATH") ? std::getenv("PATH") : "";
  setenv("PATH", folder.Path().c_str(), 1);
  const std::string url = "http://a/?x=1&y=$(touch " + folder.File("pwned") + ");'\"";
  bool started = OpenWithDesktop(url);
  EXPECT_FALSE(OpenWithDesktop(""));
  setenv("PATH", folder.File("empty").c_str(), 1);
  EXPECT_FALSE(OpenWithDesktop("http://a/"));
  setenv("PATH", oldPath.c_str(), 1);
  ASSERT_TRUE(started);
  for (int i = 0; i < 500 && !std::filesystem::exists(out); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  EXPECT_EQ(test::ReadBytes(out), "1|" + url);
  EXPECT_FALSE(std::filesystem::exists(folder.File("pwned")));
}

}  // namespace
}  // namespace vendil
