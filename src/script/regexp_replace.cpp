// Building the result of RegExp.Replace from the matches and the replacement template.
#include "script/regexp_replace.h"

#include "script/script_error.h"
#include "script/value_limit.h"
#include "script/variant.h"

namespace vendil {

namespace {

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

void AppendGroup(std::u16string& out, std::u16string_view subject, const RegExpMatch& match,
                 size_t group) {
  const auto& [start, end] = match.groups[group - 1];
  if (start != RegExpMatch::npos) out.append(subject.substr(start, end - start));
}

void AppendReplacement(std::u16string& out, std::u16string_view subject, const RegExpMatch& match,
                       std::u16string_view replacement, size_t groupCount) {
  for (size_t i = 0; i < replacement.size(); ++i) {
    const char16_t c = replacement[i];
    if (c != u'$' || i + 1 >= replacement.size()) {
      out.push_back(c);
      continue;
    }
    const char16_t next = replacement[i + 1];
    if (next == u'$') {
      out.push_back(u'$');
      ++i;
    } else if (next == u'&') {
      out.append(subject.substr(match.start, match.end - match.start));
      ++i;
    } else if (next == u'`') {
      out.append(subject.substr(0, match.start));
      ++i;
    } else if (next == u'\'') {
      out.append(subject.substr(match.end));
      ++i;
    } else if (IsDigit(next)) {
      const size_t one = static_cast<size_t>(next - u'0');
      if (i + 2 < replacement.size() && IsDigit(replacement[i + 2])) {
        const size_t two = one * 10 + static_cast<size_t>(replacement[i + 2] - u'0');
        if (two >= 1 && two <= groupCount) {
          AppendGroup(out, subject, match, two);
          i += 2;
          continue;
        }
      }
      if (one >= 1 && one <= groupCount) {
        AppendGroup(out, subject, match, one);
        ++i;
      } else {
        out.push_back(c);
      }
    } else {
      out.push_back(c);
    }
  }
}

}  // namespace

std::u16string ReplaceMatches(std::u16string_view subject, const std::vector<RegExpMatch>& matches,
                              std::u16string_view replacement, size_t groupCount) {
  std::u16string out;
  size_t copied = 0;
  for (const RegExpMatch& match : matches) {
    if (match.start >= copied) out.append(subject.substr(copied, match.start - copied));
    AppendReplacement(out, subject, match, replacement, groupCount);
    if (match.end > copied) copied = match.end;
    // `$'` and `` $` `` copy the whole subject per match; a script could multiply it.
    CheckValueSize(out.size(), sizeof(char16_t));
  }
  out.append(subject.substr(copied));
  return out;
}

}  // namespace vendil
