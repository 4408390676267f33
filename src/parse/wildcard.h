// The wildcard patterns of the file-name mask, the URL filter and the content-type filter:
// "?", "*", "#", "[list]", "[!list]" with ranges; the whole value must match; letter case
// does not count. Matching is linear in the value for any pattern.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vendil {

// true / false, or nullopt when the pattern is malformed (an unclosed "[").
std::optional<bool> WildcardMatch(const std::string& pattern, const std::string& value);

// A text split at every ";" into patterns, empty pieces kept; an empty text gives none.
std::vector<std::string> SplitPatterns(const std::string& text);

// true when some pattern matches; nullopt when a malformed pattern is met before a match.
std::optional<bool> MatchesAny(const std::vector<std::string>& patterns, const std::string& value);

// One pattern read once and matched against many values.
class WildcardPattern {
 public:
  // nullopt when the pattern is malformed.
  static std::optional<WildcardPattern> Compile(std::string_view pattern);
  bool Matches(std::string_view value) const;
  // The same on a value already folded and decoded into code points.
  bool MatchesFolded(const std::u32string& value) const;

  // The same on a folded value all of whose characters are ASCII.
  bool MatchesFoldedAscii(std::string_view value) const;

  struct Range {
    char32_t first;
    char32_t last;
  };
  struct Element {
    enum class Kind { Literal, AnyOne, Digit, List, Star } kind;
    char32_t literal = 0;
    bool negated = false;
    std::vector<Range> ranges;
  };

 private:
  template <class Text>
  bool MatchesText(const Text& text) const;

  std::vector<Element> elements_;
};

// A pattern list read once (the mask text at one moment) for many values. Patterns are
// compiled as a whole up front but a malformed one only counts when it is reached.
class PatternList {
 public:
  explicit PatternList(const std::vector<std::string>& patterns);
  std::optional<bool> MatchesAny(std::string_view value) const;
  bool Empty() const { return patterns_.empty(); }

 private:
  std::vector<std::optional<WildcardPattern>> patterns_;
};

}  // namespace vendil
