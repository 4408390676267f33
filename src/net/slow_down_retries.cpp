// The retry rule for answers that ask to slow down, and the text shown while waiting.
#include "net/slow_down_retries.h"

#include <optional>

#include "parse/retry_after.h"

namespace vendil {

SlowDownRetries::Decision SlowDownRetries::Answer(std::string_view retryAfter,
                                                  std::chrono::system_clock::time_point now) {
  const std::optional<std::chrono::seconds> asked = RetryAfterWait(retryAfter, now);
  Decision decision;
  decision.wait = asked ? std::chrono::milliseconds(*asked) : kWaitWithout;
  decision.retry = retries_ < (asked ? kRetriesWithRetryAfter : kRetriesWithout);
  if (decision.retry) ++retries_;
  return decision;
}

std::string SlowDownWaitText(const std::string& serverKey, std::chrono::milliseconds wait) {
  const size_t scheme = serverKey.find("://");
  const std::string server = scheme == std::string::npos ? serverKey : serverKey.substr(scheme + 3);
  const auto seconds = std::chrono::ceil<std::chrono::seconds>(wait).count();
  return "サーバー " + server + " の求めにより " + std::to_string(seconds) + " 秒待っています…";
}

}  // namespace vendil
