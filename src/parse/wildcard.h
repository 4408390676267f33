// The wildcard patterns of the file-name mask, the URL filter and the content-type filter:
// "?", "*", "#", "[list]", "[!list]" with ranges; the whole value must match; letter case
// does not count. Matching is linear in the value for any pattern.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace vendil {

// true / false, or nullopt when the pattern is malformed (an unclosed "[").
std::optional<bool> WildcardMatch(const std::string& pattern, const std::string& value);

// A text split at every ";" into patterns, empty pieces kept; an empty text gives none.
std::vector<std::string> SplitPatterns(const std::string& text);

// true when some pattern matches; nullopt when a malformed pattern is met before a match.
std::optional<bool> MatchesAny(const std::vector<std::string>& patterns, const std::string& value);

}  // namespace vendil
