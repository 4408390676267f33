// The value of a Retry-After header: how long a server asks to be left alone, either as
// delta-seconds or as an HTTP-date (IMF-fixdate, or the obsolete RFC 850 and asctime forms).
#pragma once

#include <chrono>
#include <optional>
#include <string_view>

namespace vendil {

// No server makes a search wait longer than this, whatever it asks.
inline constexpr std::chrono::seconds kRetryAfterCap{120};

// The wait a Retry-After value asks for, counted from `now`: at most kRetryAfterCap, 0 for a
// date already past; nullopt for an empty or unreadable value.
std::optional<std::chrono::seconds> RetryAfterWait(std::string_view value,
                                                   std::chrono::system_clock::time_point now);

// An HTTP-date in any of its three forms; nullopt when it is none of them. `now` settles the
// century of a two-digit year (RFC 850 form): never more than 50 years ahead of it.
std::optional<std::chrono::system_clock::time_point> ParseHttpDate(
    std::string_view text, std::chrono::system_clock::time_point now);

}  // namespace vendil
