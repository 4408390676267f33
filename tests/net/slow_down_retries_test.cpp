// The rules for servers that ask to slow down, alone: how often and how long one request
// waits, and what a search's throttle lets start.
#include "net/slow_down_retries.h"

#include <gtest/gtest.h>

#include <chrono>

#include "state/server_throttle.h"

namespace vendil {
namespace {

using std::chrono::milliseconds;
using std::chrono::seconds;

// (How many retries each kind gets is seen through the fetcher, in slow_down_fetch_test.)
TEST(SlowDownRetries, RetriesAreCountedAcrossBothKinds) {
  SlowDownRetries retries;
  EXPECT_TRUE(retries.Answer("0").retry);
  // Unreadable counts as none: 2 s, and one without after one with is the last.
  const SlowDownRetries::Decision last = retries.Answer("later");
  EXPECT_FALSE(last.retry);
  EXPECT_EQ(last.wait, milliseconds(2000));  // still what the server asked, for the throttle
  retries.Reset();
  EXPECT_TRUE(retries.Answer("").retry);
}

TEST(SlowDownRetries, WaitTextNamesTheServerWithoutItsScheme) {
  EXPECT_EQ(SlowDownWaitText("http://example.com:8080", milliseconds(29001)),
            "サーバー example.com:8080 の求めにより 30 秒待っています…");
}

TEST(ServerThrottle, WaitHoldsEveryStartAndA429LeavesOneInFlight) {
  using Clock = ServerThrottle::Clock;
  const Clock::time_point t0 = Clock::now();
  const std::string a = "http://a.test:80", b = "http://b.test:80";
  ServerThrottle throttle;
  EXPECT_TRUE(throttle.MayStart(a, 5, t0));
  EXPECT_FALSE(throttle.LongestWait(t0).has_value());

  throttle.RecordSlowDown(b, 503, seconds(10), t0);
  throttle.RecordSlowDown(a, 429, seconds(2), t0);
  EXPECT_FALSE(throttle.MayStart(a, 0, t0 + seconds(1)));
  EXPECT_EQ(throttle.WaitUntil(a), t0 + seconds(2));
  // The wait over, one request at a time to the server that answered 429 ...
  EXPECT_TRUE(throttle.MayStart(a, 0, t0 + seconds(2)));
  EXPECT_FALSE(throttle.MayStart(a, 1, t0 + seconds(2)));
  EXPECT_EQ(throttle.MaxInFlight(a, 6), 1u);
  // ... and as many as before to one that answered 503.
  EXPECT_TRUE(throttle.MayStart(b, 3, t0 + seconds(10)));
  EXPECT_FALSE(throttle.OneAtATime(b));
  EXPECT_EQ(throttle.MaxInFlight(b, 6), 6u);

  // A shorter wait asked later keeps the longer one.
  throttle.RecordSlowDown(b, 503, seconds(1), t0 + seconds(1));
  EXPECT_EQ(throttle.WaitUntil(b), t0 + seconds(10));
  ASSERT_TRUE(throttle.LongestWait(t0).has_value());
  EXPECT_EQ(throttle.LongestWait(t0)->serverKey, b);
  EXPECT_FALSE(throttle.LongestWait(t0 + seconds(10)).has_value());
}

}  // namespace
}  // namespace vendil
