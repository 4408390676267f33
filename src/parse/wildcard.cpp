// The wildcard matcher. Both texts are case folded and read as code points; the match is
// the greedy star walk with one backtrack point, O(value x pattern) at worst.
//
// Rules for lists, decided once: "[]" is an empty list and matches no character at all
// (it stands for the empty text, so "a[]b" matches "ab"); "[!]" matches any one character;
// "!" other than first, "[" inside a list and "-" first or last are plain characters; a
// range whose first character comes after its last (as "[z-a]") and an unclosed "[" make
// the pattern malformed; a "]" outside a list is a plain character.
#include "parse/wildcard.h"

#include <type_traits>

#include "parse/mod_string.h"
#include "platform/casefold.h"
#include "platform/codec.h"

namespace vendil {
namespace {

// Decodes UTF-8; a byte that does not start a well-formed sequence stands for itself (as
// a code point above the Unicode range, so it only equals the same byte).
std::u32string Decode(std::string_view text) {
  std::u32string out;
  out.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    const auto b0 = static_cast<unsigned char>(text[i]);
    const size_t length = Utf8SequenceLength(text, i);
    if (length > 0) {
      out.push_back(Utf8CodePoint(text, i, length));
      i += length;
    } else {
      out.push_back(0x110000 + b0);
      ++i;
    }
  }
  return out;
}

std::u32string Folded(std::string_view text) {
  // Most values (URLs) are ASCII: fold those directly, without the Unicode pass.
  std::u32string out(text.size(), U'\0');
  for (size_t i = 0; i < text.size(); ++i) {
    const auto b = static_cast<unsigned char>(text[i]);
    if (b >= 0x80) return Decode(FoldCase(text));
    out[i] = b >= 'A' && b <= 'Z' ? b + 32 : b;
  }
  return out;
}

bool ElementMatches(const WildcardPattern::Element& element, char32_t ch) {
  using Kind = WildcardPattern::Element::Kind;
  switch (element.kind) {
    case Kind::Literal:
      return ch == element.literal;
    case Kind::AnyOne:
      return true;
    case Kind::Digit:
      return ch >= U'0' && ch <= U'9';
    case Kind::List: {
      bool inList = false;
      for (const auto& range : element.ranges) {
        if (ch >= range.first && ch <= range.last) {
          inList = true;
          break;
        }
      }
      return inList != element.negated;
    }
    case Kind::Star:
      break;
  }
  return false;
}

}  // namespace

std::optional<WildcardPattern> WildcardPattern::Compile(std::string_view pattern) {
  using Kind = Element::Kind;
  const std::u32string text = Folded(pattern);
  WildcardPattern compiled;
  for (size_t i = 0; i < text.size(); ++i) {
    const char32_t ch = text[i];
    Element element{};
    if (ch == U'*') {
      // Runs of stars act as one.
      if (!compiled.elements_.empty() && compiled.elements_.back().kind == Kind::Star) continue;
      element.kind = Kind::Star;
    } else if (ch == U'?') {
      element.kind = Kind::AnyOne;
    } else if (ch == U'#') {
      element.kind = Kind::Digit;
    } else if (ch == U'[') {
      const size_t close = text.find(U']', i + 1);
      if (close == std::u32string::npos) return std::nullopt;
      std::u32string_view list(text.data() + i + 1, close - i - 1);
      i = close;
      if (list.empty()) continue;  // "[]" stands for the empty text
      element.kind = Kind::List;
      if (list[0] == U'!') {
        element.negated = true;
        list.remove_prefix(1);
      }
      for (size_t k = 0; k < list.size(); ++k) {
        if (k + 2 < list.size() && list[k + 1] == U'-') {
          if (list[k] > list[k + 2]) return std::nullopt;
          element.ranges.push_back({list[k], list[k + 2]});
          k += 2;
        } else {
          element.ranges.push_back({list[k], list[k]});
        }
      }
    } else {
      element.kind = Kind::Literal;
      element.literal = ch;
    }
    compiled.elements_.push_back(std::move(element));
  }
  return compiled;
}

bool WildcardPattern::Matches(std::string_view value) const { return MatchesFolded(Folded(value)); }

bool WildcardPattern::MatchesFolded(const std::u32string& text) const { return MatchesText(text); }

bool WildcardPattern::MatchesFoldedAscii(std::string_view text) const { return MatchesText(text); }

template <class Text>
bool WildcardPattern::MatchesText(const Text& text) const {
  using Unit = std::make_unsigned_t<typename Text::value_type>;
  auto at = [&text](size_t k) { return static_cast<char32_t>(static_cast<Unit>(text[k])); };
  // The elements after the last star take one character each, so they must match the end
  // of the value exactly; the walk below then covers only what comes before them, and is
  // done as soon as it reaches that last star. ("*.zip" costs four comparisons.)
  size_t lastStar = std::string::npos;
  for (size_t k = elements_.size(); k-- > 0;) {
    if (elements_[k].kind == Element::Kind::Star) {
      lastStar = k;
      break;
    }
  }
  const size_t tail =
      lastStar == std::string::npos ? elements_.size() : elements_.size() - lastStar - 1;
  if (text.size() < tail || (lastStar == std::string::npos && text.size() != tail)) return false;
  const size_t end = text.size() - tail;
  for (size_t k = 0; k < tail; ++k) {
    if (!ElementMatches(elements_[elements_.size() - tail + k], at(end + k))) return false;
  }
  if (lastStar == std::string::npos) return true;

  size_t v = 0;
  size_t p = 0;
  size_t starP = std::string::npos;
  size_t starV = 0;
  // Every element but the star takes exactly one character, so after a mismatch it is
  // enough to let the latest star take one more character and retry from there.
  while (v < end) {
    if (p == lastStar) return true;  // the last star takes whatever is left
    if (elements_[p].kind == Element::Kind::Star) {
      starP = p++;
      starV = v;
    } else if (ElementMatches(elements_[p], at(v))) {
      ++p;
      ++v;
    } else if (starP != std::string::npos) {
      p = starP + 1;
      v = ++starV;
    } else {
      return false;
    }
  }
  // The value is used up: only stars may be left before the tail.
  while (p < lastStar && elements_[p].kind == Element::Kind::Star) ++p;
  return p == lastStar;
}

PatternList::PatternList(const std::vector<std::string>& patterns) {
  patterns_.reserve(patterns.size());
  for (const auto& pattern : patterns) patterns_.push_back(WildcardPattern::Compile(pattern));
}

std::optional<bool> PatternList::MatchesAny(std::string_view value) const {
  if (patterns_.empty()) return false;
  // URLs are nearly always ASCII: those are folded into bytes, not code points; a URL of
  // ordinary length is folded on the stack, so matching allocates nothing.
  char local[512];
  std::string heap;
  char* bytes = local;
  if (value.size() > sizeof local) {
    heap.resize(value.size());
    bytes = heap.data();
  }
  unsigned char high = 0;
  for (size_t i = 0; i < value.size(); ++i) {  // one pass the compiler can vectorise
    const auto u = static_cast<unsigned char>(value[i]);
    high |= u;
    bytes[i] = static_cast<char>(static_cast<unsigned>(u - 'A') < 26u ? u + 32 : u);
  }
  if (high < 0x80) {
    const std::string_view folded(bytes, value.size());
    for (const auto& pattern : patterns_) {
      if (!pattern) return std::nullopt;
      if (pattern->MatchesFoldedAscii(folded)) return true;
    }
    return false;
  }
  const std::u32string text = Folded(value);
  for (const auto& pattern : patterns_) {
    if (!pattern) return std::nullopt;
    if (pattern->MatchesFolded(text)) return true;
  }
  return false;
}

std::optional<bool> WildcardMatch(const std::string& pattern, const std::string& value) {
  const auto compiled = WildcardPattern::Compile(pattern);
  if (!compiled) return std::nullopt;
  return compiled->Matches(value);
}

std::vector<std::string> SplitPatterns(const std::string& text) { return SplitText(text, ";"); }

std::optional<bool> MatchesAny(const std::vector<std::string>& patterns, const std::string& value) {
  return PatternList(patterns).MatchesAny(value);
}

}  // namespace vendil
