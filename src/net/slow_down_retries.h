// What one request does with answers that ask it to slow down (429 Too Many Requests, 503
// Service Unavailable): waited out and tried again, at most twice when the server says how
// long (Retry-After), once after 2 s when it does not; after that the request has failed.
// Kept by each request, whichever fetcher makes it (pages of a crawl, checks of rows).
#pragma once

#include <chrono>
#include <string>
#include <string_view>

namespace vendil {

class SlowDownRetries {
 public:
  static constexpr int kRetriesWithRetryAfter = 2;
  static constexpr int kRetriesWithout = 1;
  static constexpr std::chrono::milliseconds kWaitWithout{2000};

  static bool IsSlowDown(int httpStatus) { return httpStatus == 429 || httpStatus == 503; }

  struct Decision {
    bool retry = false;  // false: the request counts as failed
    // What the server asked to be left alone for (also when there is no retry), for
    // ServerThrottle::RecordSlowDown.
    std::chrono::milliseconds wait{0};
  };
  // For a 429 or 503 answer with its Retry-After value (empty when absent); an unreadable
  // value counts as none.
  Decision Answer(std::string_view retryAfter,
                  std::chrono::system_clock::time_point now = std::chrono::system_clock::now());

  int RetriesMade() const { return retries_; }
  void Reset() { retries_ = 0; }

 private:
  int retries_ = 0;
};

// The status text while a search waits for a server ("scheme://host:port").
std::string SlowDownWaitText(const std::string& serverKey, std::chrono::milliseconds wait);

}  // namespace vendil
