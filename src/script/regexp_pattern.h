// A compiled regular expression of a script's RegExp object on PCRE2's 16-bit library, and
// the search over a UTF-16 subject that Test, Execute and Replace share. The pattern syntax is
// the script language's (JavaScript-like) mapped onto PCRE2 options: `\d`, `\w`, `\s` and
// `\b` stay ASCII, `$` without MultiLine matches only at the very end, `\uHHHH` and `\xHH`
// escapes, `[^]` matches anything, and a back reference to a group that took no part matches
// the empty text. Letter case is folded for all of Unicode under IgnoreCase. Lookbehind and
// other PCRE2 extensions are accepted. Matching is bounded: a pattern that backtracks without
// end raises 28 "Out of stack space" instead of hanging.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vendil {

// One match: offsets in UTF-16 units; a group that took no part has start == npos.
struct RegExpMatch {
  static constexpr size_t npos = static_cast<size_t>(-1);
  size_t start = 0;
  size_t end = 0;
  std::vector<std::pair<size_t, size_t>> groups;  // groups 1..n
};

class CompiledRegExp {
 public:
  // Raises 5017 "Syntax error in regular expression" when the pattern does not compile.
  CompiledRegExp(std::u16string_view pattern, bool ignoreCase, bool multiLine);
  ~CompiledRegExp();
  CompiledRegExp(const CompiledRegExp&) = delete;
  CompiledRegExp& operator=(const CompiledRegExp&) = delete;

  // The first match at or after `from`; nullopt when there is none.
  std::optional<RegExpMatch> Search(std::u16string_view subject, size_t from);
  // Every match (or the first only), advancing past empty matches.
  std::vector<RegExpMatch> SearchAll(std::u16string_view subject, bool global);
  size_t GroupCount() const { return groupCount_; }

 private:
  struct Handles;
  std::unique_ptr<Handles> handles_;
  size_t groupCount_ = 0;
};

}  // namespace vendil
