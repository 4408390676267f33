// Retry-After: delta-seconds or an HTTP-date. Names of days and months are matched without
// regard to case and runs of blanks count as one, as servers are not all exact; anything
// else out of place makes the value unreadable.
#include "parse/retry_after.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "platform/http_headers.h"

namespace vendil {
namespace {

using std::chrono::seconds;
using std::chrono::system_clock;

constexpr std::array<std::string_view, 12> kMonths = {"jan", "feb", "mar", "apr", "may", "jun",
                                                      "jul", "aug", "sep", "oct", "nov", "dec"};
constexpr std::array<std::string_view, 7> kDays = {"mon", "tue", "wed", "thu", "fri", "sat", "sun"};
constexpr std::array<std::string_view, 7> kLongDays = {
    "monday", "tuesday", "wednesday", "thursday", "friday", "saturday", "sunday"};

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLetter(char c) { return Lower(c) >= 'a' && Lower(c) <= 'z'; }
bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool SameLetters(std::string_view a, std::string_view lowerB) {
  return a.size() == lowerB.size() && std::equal(a.begin(), a.end(), lowerB.begin(),
                                                 [](char x, char y) { return Lower(x) == y; });
}

// Reads the date's parts from left to right; every read fails once one has failed.
class Cursor {
 public:
  explicit Cursor(std::string_view text) : text_(text) {}

  bool Ok() const { return ok_; }
  bool AtEnd() const { return at_ == text_.size(); }
  bool Peek(char c) const { return ok_ && at_ < text_.size() && text_[at_] == c; }

  void Char(char c) {
    if (Peek(c)) {
      ++at_;
    } else {
      ok_ = false;
    }
  }
  void Blanks() {
    if (!Peek(' ') && !Peek('\t')) ok_ = false;
    while (ok_ && at_ < text_.size() && IsBlank(text_[at_])) ++at_;
  }
  std::string_view Word() {
    const size_t start = at_;
    while (ok_ && at_ < text_.size() && IsLetter(text_[at_])) ++at_;
    if (at_ == start) ok_ = false;
    return text_.substr(start, at_ - start);
  }
  int Number(size_t minDigits, size_t maxDigits) {
    int value = 0;
    size_t digits = 0;
    while (ok_ && at_ < text_.size() && digits < maxDigits && IsDigit(text_[at_])) {
      value = value * 10 + (text_[at_++] - '0');
      ++digits;
    }
    if (digits < minDigits || (at_ < text_.size() && IsDigit(text_[at_]))) ok_ = false;
    return value;
  }
  unsigned Month() {
    const std::string_view word = Word();
    for (size_t i = 0; i < kMonths.size(); ++i) {
      if (SameLetters(word, kMonths[i])) return static_cast<unsigned>(i + 1);
    }
    ok_ = false;
    return 0;
  }
  // HH:MM:SS as seconds into the day.
  int TimeOfDay() {
    const int hour = Number(2, 2);
    Char(':');
    const int minute = Number(2, 2);
    Char(':');
    const int second = Number(2, 2);
    if (hour > 23 || minute > 59 || second > 60) ok_ = false;  // 60: a leap second
    return (hour * 60 + minute) * 60 + second;
  }

 private:
  std::string_view text_;
  size_t at_ = 0;
  bool ok_ = true;
};

// A two-digit year in the century that puts it at most 50 years ahead of now.
int FullYear(int twoDigits, system_clock::time_point now) {
  const int thisYear = static_cast<int>(
      std::chrono::year_month_day(std::chrono::floor<std::chrono::days>(now)).year());
  int year = thisYear / 100 * 100 + twoDigits;
  if (year > thisYear + 50) year -= 100;
  return year;
}

}  // namespace

std::optional<system_clock::time_point> ParseHttpDate(std::string_view text,
                                                      system_clock::time_point now) {
  Cursor in(TrimHeaderBlanks(text));
  const std::string_view dayName = in.Word();
  const bool shortDay =
      std::any_of(kDays.begin(), kDays.end(), [&](auto d) { return SameLetters(dayName, d); });
  const bool longDay = std::any_of(kLongDays.begin(), kLongDays.end(),
                                   [&](auto d) { return SameLetters(dayName, d); });
  if (!in.Ok() || (!shortDay && !longDay)) return std::nullopt;
  int year = 0, day = 0, timeOfDay = 0;
  unsigned month = 0;
  if (in.Peek(',')) {
    in.Char(',');
    in.Blanks();
    day = in.Number(1, 2);
    if (in.Peek('-')) {  // RFC 850: Sunday, 06-Nov-94 08:49:37 GMT
      in.Char('-');
      month = in.Month();
      in.Char('-');
      year = FullYear(in.Number(2, 2), now);
    } else {  // IMF-fixdate: Sun, 06 Nov 1994 08:49:37 GMT
      in.Blanks();
      month = in.Month();
      in.Blanks();
      year = in.Number(4, 4);
    }
    in.Blanks();
    timeOfDay = in.TimeOfDay();
    in.Blanks();
    if (!SameLetters(in.Word(), "gmt")) return std::nullopt;
  } else {  // asctime: Sun Nov  6 08:49:37 1994
    if (!shortDay) return std::nullopt;
    in.Blanks();
    month = in.Month();
    in.Blanks();
    day = in.Number(1, 2);
    in.Blanks();
    timeOfDay = in.TimeOfDay();
    in.Blanks();
    year = in.Number(4, 4);
  }
  if (!in.Ok() || !in.AtEnd()) return std::nullopt;
  // The clock holds roughly the years 1678 to 2262: a date before 1970 is long past, one
  // after 2200 as far ahead as any wait may be; outside that a time point would overflow.
  if (year < 1970 || year > 2200) {
    year = year < 1970 ? 1970 : 2200;
    month = 1;
    day = 1;
    timeOfDay = 0;
  }
  const std::chrono::year_month_day date{std::chrono::year(year), std::chrono::month(month),
                                         std::chrono::day(static_cast<unsigned>(day))};
  if (!date.ok()) return std::nullopt;
  return std::chrono::sys_days(date) + seconds(timeOfDay);
}

std::optional<seconds> RetryAfterWait(std::string_view value, system_clock::time_point now) {
  value = TrimHeaderBlanks(value);
  if (value.empty()) return std::nullopt;
  if (std::all_of(value.begin(), value.end(), IsDigit)) {
    // Beyond the cap, however many digits follow.
    int64_t count = 0;
    for (const char c : value) {
      count = std::min<int64_t>(count * 10 + (c - '0'), kRetryAfterCap.count());
    }
    return seconds(count);
  }
  const std::optional<system_clock::time_point> date = ParseHttpDate(value, now);
  if (!date) return std::nullopt;
  if (*date <= now) return seconds(0);
  return std::min(std::chrono::ceil<seconds>(*date - now), kRetryAfterCap);
}

}  // namespace vendil
