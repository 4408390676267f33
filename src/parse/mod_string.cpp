// The text operations the parsers share: substrings by position, text between delimiters,
// first of several strings, removal, splitting, trimming and the tag remover for titles.
#include "parse/mod_string.h"

#include <algorithm>
#include <cstring>

#include "parse/byte_search.h"
#include "parse/character_references.h"

namespace vendil {
namespace {

// 1-based position of `needle` at or after `start`; 0 when none. An empty needle is found
// at `start` itself as long as that lies within the text or right after it.
int64_t FindFrom(const std::string& text, const std::string& needle, int64_t start) {
  if (start < 1) start = 1;
  const auto size = static_cast<int64_t>(text.size());
  if (start > size + 1) return 0;
  if (needle.empty()) return start;
  const size_t at = text.find(needle, static_cast<size_t>(start - 1));
  return at == std::string::npos ? 0 : static_cast<int64_t>(at) + 1;
}

// The last occurrence of `needle` that starts at or before `lastStart`; 0 when none.
int64_t FindLastStartingBy(const std::string& text, const std::string& needle, int64_t lastStart) {
  if (lastStart < 1) return 0;
  const size_t at = text.rfind(needle, static_cast<size_t>(lastStart - 1));
  return at == std::string::npos ? 0 : static_cast<int64_t>(at) + 1;
}

}  // namespace

std::string MidRange(const std::string& strSource, int64_t start, int64_t end) {
  if (start < 1 || end < start - 1) return {};
  const auto size = static_cast<int64_t>(strSource.size());
  if (start > size) return {};
  const int64_t last = std::min(end, size);
  return strSource.substr(static_cast<size_t>(start - 1), static_cast<size_t>(last - start + 1));
}

std::string GetBetween(const std::string& strSource, const std::string& strOpen,
                       const std::string& strClose, bool blnBackward, int16_t intMode,
                       int64_t& lngPosition) {
  if (strOpen.empty() && !strClose.empty()) return {};
  if (intMode < 0 || intMode > 3) return {};
  // A negative start is treated like 0: the search begins at the first character.
  const int64_t from = lngPosition < 1 ? 1 : lngPosition;
  const auto openLength = static_cast<int64_t>(strOpen.size());
  const auto closeLength = static_cast<int64_t>(strClose.size());
  int64_t o = 0;
  int64_t c = 0;
  if (!blnBackward) {
    o = FindFrom(strSource, strOpen, from);
    if (o == 0) return {};
    c = strClose.empty() ? static_cast<int64_t>(strSource.size()) + 1
                         : FindFrom(strSource, strClose, o + openLength);
  } else {
    c = FindFrom(strSource, strClose, from);
    if (c == 0) return {};
    o = FindLastStartingBy(strSource, strOpen, c - openLength);
  }
  if (o == 0 || c == 0) return {};
  switch (intMode) {
    case 0:
      lngPosition = c;
      return MidRange(strSource, o + openLength, c - 1);
    case 1:
      lngPosition = c;
      return MidRange(strSource, o, c - 1);
    case 2:
      lngPosition = c + closeLength;
      return MidRange(strSource, o + openLength, c + closeLength - 1);
    default:
      lngPosition = c + closeLength;
      return MidRange(strSource, o, c + closeLength - 1);
  }
}

int64_t FindFirstOf(int64_t start, const std::string& strSource,
                    const std::vector<std::string>& list) {
  int64_t best = 0;
  for (const std::string& element : list) {
    // An empty element would be "found" everywhere; it names nothing to look for.
    if (element.empty()) continue;
    const int64_t at = FindFrom(strSource, element, start);
    if (at != 0 && (best == 0 || at < best)) best = at;
  }
  return best;
}

std::string RemoveAll(const std::string& strSource, const std::vector<std::string>& list) {
  std::string text = strSource;
  for (const std::string& element : list) {
    if (element.empty() || text.find(element) == std::string::npos) continue;
    std::string kept;
    kept.reserve(text.size());
    size_t from = 0;
    for (size_t at = text.find(element); at != std::string::npos; at = text.find(element, from)) {
      kept.append(text, from, at - from);
      from = at + element.size();
    }
    kept.append(text, from, std::string::npos);
    text = std::move(kept);
  }
  return text;
}

std::vector<std::string> SplitText(const std::string& text, const std::string& delimiter) {
  std::vector<std::string> parts;
  if (text.empty()) return parts;
  if (delimiter.empty()) {
    parts.push_back(text);
    return parts;
  }
  size_t from = 0;
  for (size_t at = text.find(delimiter); at != std::string::npos; at = text.find(delimiter, from)) {
    parts.push_back(text.substr(from, at - from));
    from = at + delimiter.size();
  }
  parts.push_back(text.substr(from));
  return parts;
}

std::string TrimBlanks(const std::string& text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  const size_t last = text.find_last_not_of(' ');
  return text.substr(first, last - first + 1);
}

std::string StripTags(const std::string& strHtml, bool blnRemoveCrLf, bool blnTrim) {
  // Removing the first "<" through the next ">" again and again leaves a prefix free of "<",
  // so one forward pass gives the same text without rescanning. Line breaks are dropped on
  // the way unless references are left to decode: one of those may stand for a line break.
  const bool decode = FindByte(strHtml, '&', 0) != std::string::npos;
  // Most titles hold no line break: their text is copied a run at a time.
  const bool dropCrLf = blnRemoveCrLf && !decode &&
                        (FindByte(strHtml, '\r', 0) != std::string::npos ||
                         FindByte(strHtml, '\n', 0) != std::string::npos);
  // The text is never longer than the markup. A short one is put together on the stack, so
  // a title that fits in the string itself costs no allocation.
  constexpr size_t kOnStack = 256;
  char small[kOnStack];
  std::string large;
  char* out = small;
  if (strHtml.size() > kOnStack) {
    large.resize(strHtml.size());
    out = large.data();
  }
  const char* const html = strHtml.data();
  const size_t size = strHtml.size();
  size_t length = 0;
  size_t from = 0;
  auto copy = [&](size_t first, size_t end) {
    if (!dropCrLf) {
      std::memcpy(out + length, html + first, end - first);
      length += end - first;
      return;
    }
    for (size_t at = first; at < end; ++at) {
      out[length] = html[at];
      length += html[at] != '\r' && html[at] != '\n' ? 1 : 0;
    }
  };
  // Link texts are short: the bytes are looked at in line rather than through find().
  while (from < size) {
    size_t open = from;
    while (open < size && html[open] != '<') ++open;
    size_t close = open;
    while (close < size && html[close] != '>') ++close;
    if (close >= size) {
      copy(from, size);  // a "<" never closed is text
      break;
    }
    copy(from, open);
    from = close + 1;
  }
  size_t first = 0;
  if (blnTrim && !decode) {
    while (first < length && out[first] == ' ') ++first;
    while (length > first && out[length - 1] == ' ') --length;
  }
  std::string text;
  if (out == large.data()) {
    large.resize(length);
    large.erase(0, first);
    text = std::move(large);
  } else {
    text.assign(out + first, length - first);
  }
  if (!decode) return text;
  // References are decoded once the tags are gone, so "&lt;b&gt;" shows as text and is
  // not taken for a tag; a line break written as a reference goes with the others.
  if (text.find('&') != std::string::npos) {
    text = DecodeCharacterReferences(text, ReferenceContext::Text);
  }
  if (blnRemoveCrLf) {
    std::erase(text, '\r');
    std::erase(text, '\n');
  }
  if (blnTrim) {
    text.erase(0, std::min(text.find_first_not_of(' '), text.size()));
    text.erase(text.find_last_not_of(' ') + 1);
  }
  return text;
}

int HexDigitValue(char ch) {
  if (ch >= '0' && ch <= '9') return ch - '0';
  if (ch >= 'a' && ch <= 'f') return ch - 'a' + 10;
  if (ch >= 'A' && ch <= 'F') return ch - 'A' + 10;
  return -1;
}

}  // namespace vendil
