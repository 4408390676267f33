// Unicode simple case folding on UTF-8 with ICU; bytes that are not UTF-8 stay themselves.
#include "platform/casefold.h"

#include <unicode/uchar.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <vector>

namespace vendil {

namespace {

// Folds `text`; when `origin` is given it receives, for every byte of the result, the
// 0-based offset in `text` of the character that byte came from.
std::string Fold(std::string_view text, std::vector<size_t>* origin) {
  std::string out;
  out.reserve(text.size());
  if (origin != nullptr) origin->reserve(text.size());
  const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
  int32_t length = static_cast<int32_t>(text.size());
  int32_t i = 0;
  if (origin == nullptr) {
    // The ASCII start of the text (often all of it: URLs, markup) is copied at once and
    // folded in place.
    while (i < length && bytes[i] < 0x80) ++i;
    out.assign(text.data(), static_cast<size_t>(i));
    for (char& c : out) {
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    }
  }
  while (i < length) {
    if (bytes[i] < 0x80) {
      // URLs and markup are mostly ASCII: fold those bytes without decoding them.
      const char b = static_cast<char>(bytes[i]);
      out += b >= 'A' && b <= 'Z' ? static_cast<char>(b + 32) : b;
      if (origin != nullptr) origin->push_back(static_cast<size_t>(i));
      ++i;
      continue;
    }
    int32_t start = i;
    UChar32 c;
    U8_NEXT(bytes, i, length, c);
    size_t before = out.size();
    if (c < 0) {
      // Not UTF-8: keep the bytes as they are, one by one.
      i = start + 1;
      out += static_cast<char>(bytes[start]);
    } else if (c < 0x80) {
      out += static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    } else {
      UChar32 folded = u_foldCase(c, U_FOLD_CASE_DEFAULT);
      uint8_t buffer[4];
      int32_t n = 0;
      UBool error = false;
      U8_APPEND(buffer, n, 4, folded, error);
      if (error) {
        out.append(text.substr(start, i - start));
      } else {
        out.append(reinterpret_cast<const char*>(buffer), n);
      }
    }
    if (origin != nullptr) origin->insert(origin->end(), out.size() - before, start);
  }
  return out;
}

}  // namespace

std::string FoldCase(std::string_view utf8) { return Fold(utf8, nullptr); }

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() == b.size() && a == b) return true;
  return Fold(a, nullptr) == Fold(b, nullptr);
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  return Fold(text, nullptr).starts_with(Fold(prefix, nullptr));
}

bool EndsWithNoCase(std::string_view text, std::string_view suffix) {
  return Fold(text, nullptr).ends_with(Fold(suffix, nullptr));
}

size_t FindNoCase(std::string_view haystack, std::string_view needle, size_t start) {
  if (start < 1) start = 1;
  if (start > haystack.size() + 1) return 0;
  if (needle.empty()) return start;
  std::vector<size_t> origin;
  const std::string folded = Fold(haystack, &origin);
  const std::string foldedNeedle = Fold(needle, nullptr);
  // The first folded byte whose character begins at or after `start`.
  size_t from = std::lower_bound(origin.begin(), origin.end(), start - 1) - origin.begin();
  size_t found = folded.find(foldedNeedle, from);
  if (found == std::string::npos) return 0;
  return origin[found] + 1;
}

bool ContainsNoCase(std::string_view haystack, std::string_view needle) {
  return FindNoCase(haystack, needle, 1) != 0;
}

std::string UpperAscii(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  return out;
}

std::string LowerAscii(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  return out;
}

}  // namespace vendil
