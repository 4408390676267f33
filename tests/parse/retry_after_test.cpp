// The Retry-After reader: delta-seconds, the three HTTP-date forms, dates past and far
// ahead, the cap, and values that are not one.
#include "parse/retry_after.h"

#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace vendil {
namespace {

using std::chrono::seconds;
using std::chrono::system_clock;

// 1994-11-06 08:49:07 UTC: thirty seconds before the dates of the examples.
const system_clock::time_point kNow = std::chrono::sys_days(std::chrono::year(1994) / 11 / 6) +
                                      std::chrono::hours(8) + std::chrono::minutes(49) + seconds(7);

TEST(RetryAfter, DeltaSecondsUpToTheCap) {
  EXPECT_EQ(RetryAfterWait("1", kNow), seconds(1));
  EXPECT_EQ(RetryAfterWait("0", kNow), seconds(0));
  EXPECT_EQ(RetryAfterWait(" \t30 ", kNow), seconds(30));
  EXPECT_EQ(RetryAfterWait("120", kNow), seconds(120));
  EXPECT_EQ(RetryAfterWait("121", kNow), kRetryAfterCap);
  EXPECT_EQ(RetryAfterWait("99999999999999999999999999", kNow), kRetryAfterCap);
}

TEST(RetryAfter, EachDateFormCountedFromNow) {
  for (const char* date :
       {"Sun, 06 Nov 1994 08:49:37 GMT", "Sunday, 06-Nov-94 08:49:37 GMT",
        "Sun Nov  6 08:49:37 1994", "sun, 06 NOV 1994 08:49:37 gmt", "Sun Nov 06 08:49:37 1994"}) {
    SCOPED_TRACE(date);
    EXPECT_EQ(RetryAfterWait(date, kNow), seconds(30));
  }
  // A part of a second still to go is waited in full.
  EXPECT_EQ(RetryAfterWait("Sun, 06 Nov 1994 08:49:37 GMT", kNow + std::chrono::milliseconds(500)),
            seconds(30));
}

TEST(RetryAfter, PastDateIsNoWaitAndAFarOneIsCapped) {
  EXPECT_EQ(RetryAfterWait("Sun, 06 Nov 1994 08:49:07 GMT", kNow), seconds(0));
  EXPECT_EQ(RetryAfterWait("Thu, 01 Jan 1970 00:00:00 GMT", kNow), seconds(0));
  EXPECT_EQ(RetryAfterWait("Mon, 07 Nov 1994 08:49:07 GMT", kNow), kRetryAfterCap);
  // Years the clock cannot hold are read as long past or far ahead, never overflowing.
  EXPECT_EQ(RetryAfterWait("Sun Nov  6 08:49:37 0997", kNow), seconds(0));
  EXPECT_EQ(RetryAfterWait("Fri, 31 Dec 9999 23:59:59 GMT", kNow), kRetryAfterCap);
  EXPECT_EQ(RetryAfterWait("Fri, 31 Dec 9999 23:59:59 GMT", system_clock::time_point{}),
            kRetryAfterCap);
}

TEST(RetryAfter, TwoDigitYearIsNeverMoreThanFiftyYearsAhead) {
  const system_clock::time_point in2030 = std::chrono::sys_days(std::chrono::year(2030) / 1 / 1);
  const auto date = [&](const char* text) {
    return std::chrono::year_month_day(
        std::chrono::floor<std::chrono::days>(*ParseHttpDate(text, in2030)));
  };
  EXPECT_EQ(date("Friday, 01-Jan-80 00:00:00 GMT").year(), std::chrono::year(2080));
  EXPECT_EQ(date("Monday, 01-Jan-81 00:00:00 GMT").year(), std::chrono::year(1981));
  EXPECT_EQ(date("Monday, 01-Jan-29 00:00:00 GMT").year(), std::chrono::year(2029));
}

TEST(RetryAfter, AnythingElseIsUnreadable) {
  const std::vector<std::string> junk = {
      "",
      "   ",
      "-5",
      "1.5",
      "soon",
      "Sun, 06 Nov 1994 08:49:37",           // no zone
      "Sun, 06 Nov 1994 08:49:37 UTC",       // another zone
      "Sun, 31 Feb 1994 08:49:37 GMT",       // no such day
      "Sun, 06 Nov 1994 24:00:00 GMT",       // no such hour
      "Sun, 06 Nov 94 08:49:37 GMT",         // a two-digit year in the new form
      "Sun, 06 Foo 1994 08:49:37 GMT",       // no such month
      "Sunday Nov  6 08:49:37 1994",         // a long day name in asctime
      "Xyz, 06 Nov 1994 08:49:37 GMT",       // no such day name
      "Sun, 06 Nov 1994 08:49:37 GMT junk",  // text after the date
      "Sun, 006 Nov 1994 08:49:37 GMT",
      std::string("1\0", 2),
  };
  for (const std::string& value : junk) {
    SCOPED_TRACE("'" + value + "'");
    EXPECT_EQ(RetryAfterWait(value, kNow), std::nullopt);
  }
}

}  // namespace
}  // namespace vendil
