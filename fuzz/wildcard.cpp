// Fuzz target for the wildcard matcher: the input up to the first line feed is a pattern
// list, the rest the value.
#include <cstddef>
#include <cstdint>
#include <string>

#include "parse/wildcard.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  const size_t newline = input.find('\n');
  const std::string patterns = newline == std::string::npos ? input : input.substr(0, newline);
  const std::string value =
      newline == std::string::npos ? std::string() : input.substr(newline + 1);

  const auto single = vendil::WildcardMatch(patterns, value);
  const auto list = vendil::MatchesAny(vendil::SplitPatterns(patterns), value);
  // A lone star matches anything; a pattern matches itself once its wildcards are gone.
  if (vendil::WildcardMatch("*", value) != true) __builtin_trap();
  if (single && patterns.find_first_of("*?#[") == std::string::npos &&
      vendil::WildcardMatch(patterns, patterns) != true) {
    __builtin_trap();
  }
  (void)list;
  return 0;
}
