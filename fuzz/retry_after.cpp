// Fuzz target for the Retry-After reader: any bytes give no wait or one within the cap, at
// several moments (the century of a two-digit year depends on it), and a date read back
// never lies outside what a calendar allows.
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "parse/retry_after.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  using std::chrono::system_clock;
  const system_clock::time_point moments[] = {
      system_clock::time_point{},
      system_clock::time_point{std::chrono::seconds(1700000000)},
      system_clock::now(),
  };
  for (const system_clock::time_point now : moments) {
    const auto wait = vendil::RetryAfterWait(input, now);
    if (wait && (wait->count() < 0 || *wait > vendil::kRetryAfterCap)) __builtin_trap();
    const auto date = vendil::ParseHttpDate(input, now);
    if (date) {
      const auto day = std::chrono::floor<std::chrono::days>(*date);
      if (!std::chrono::year_month_day(day).ok()) __builtin_trap();
    }
  }
  return 0;
}
