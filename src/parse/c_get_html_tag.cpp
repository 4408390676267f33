// The HTML tag scanner: the tokenizer, attribute values, the tag tests and the two link
// scans (all tags chosen by bits, or A HREF links with their link text).
#include "parse/c_get_html_tag.h"

#include <algorithm>
#include <bit>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "parse/byte_search.h"
#include "parse/character_references.h"
#include "parse/mod_string.h"

namespace vendil {
namespace {

bool IsWhite(char ch) { return ch == ' ' || ch == '\r' || ch == '\n' || ch == '\t'; }

// The next "<" at or after `from`, and in `closeNearby` the first ">" after it when the
// same 16 bytes hold it (else npos): most tags are short, and one look finds both.
size_t FindTagOpen(std::string_view text, size_t from, size_t& closeNearby) {
  size_t at = from;
#ifdef __SSE2__
  const __m128i opens = _mm_set1_epi8('<');
  const __m128i closes = _mm_set1_epi8('>');
  for (; at + 16 <= text.size(); at += 16) {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + at));
    const auto openHits = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, opens)));
    if (openHits == 0) continue;
    const auto offset = static_cast<unsigned>(std::countr_zero(openHits));
    const unsigned closeHits =
        static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, closes))) >> offset;
    if (closeHits != 0)
      closeNearby = at + offset + static_cast<unsigned>(std::countr_zero(closeHits));
    return at + offset;
  }
#endif
  return FindByte(text, '<', at);
}

char UpperAsciiChar(char ch) { return ch >= 'a' && ch <= 'z' ? static_cast<char>(ch - 32) : ch; }

// `text` at `at` holds `name`, letters compared in ASCII upper case.
bool HasNameAt(std::string_view text, size_t at, std::string_view name) {
  if (at > text.size() || text.size() - at < name.size()) return false;
  for (size_t k = 0; k < name.size(); ++k) {
    if (UpperAsciiChar(text[at + k]) != UpperAsciiChar(name[k])) return false;
  }
  return true;
}

// HasNameAt for a name already in upper case: only the text's letters need folding.
bool HasUpperNameAt(std::string_view text, size_t at, std::string_view upperName) {
  if (at > text.size() || text.size() - at < upperName.size()) return false;
  for (size_t k = 0; k < upperName.size(); ++k) {
    if (UpperAsciiChar(text[at + k]) != upperName[k]) return false;
  }
  return true;
}

// Tag and attribute names are found as plain substrings in ASCII upper case; 0-based.
// Candidates for the first letter are found 16 bytes at a time: a letter matches in either
// case ("a" & 0xDF is "A"), any other byte only itself.
size_t FindNoCaseAscii(std::string_view text, std::string_view needle, size_t from) {
  if (needle.empty()) return from <= text.size() ? from : std::string_view::npos;
  const char first = UpperAsciiChar(needle[0]);
  const char mask =
      first >= 'A' && first <= 'Z' ? static_cast<char>(0xDF) : static_cast<char>(0xFF);
  if (text.size() < needle.size()) return std::string_view::npos;
  const size_t lastStart = text.size() - needle.size();
  size_t at = from;
#ifdef __SSE2__
  const __m128i masks = _mm_set1_epi8(mask);
  const __m128i wanted = _mm_set1_epi8(first);
  for (; at + 16 <= text.size() && at <= lastStart; at += 16) {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + at));
    auto hits = static_cast<unsigned>(
        _mm_movemask_epi8(_mm_cmpeq_epi8(_mm_and_si128(block, masks), wanted)));
    while (hits != 0) {
      const size_t candidate = at + static_cast<size_t>(std::countr_zero(hits));
      if (candidate > lastStart) return std::string_view::npos;
      if (HasNameAt(text, candidate + 1, needle.substr(1))) return candidate;
      hits &= hits - 1;
    }
  }
#endif
  for (; at <= lastStart; ++at) {
    if ((text[at] & mask) == first && HasNameAt(text, at + 1, needle.substr(1))) return at;
  }
  return std::string_view::npos;
}

// "HREF" occurs before the first "=" of a tag that, in upper case, begins with `prefix`.
bool IsHrefTag(std::string_view tag, std::string_view prefix) {
  if (!HasNameAt(tag, 0, prefix)) return false;
  const size_t equals = FindByte(tag, '=', 0);
  if (equals == std::string_view::npos) return false;
  return FindNoCaseAscii(tag.substr(0, equals), "HREF", 0) != std::string_view::npos;
}

bool IsTagWithAttribute(std::string_view text, std::string_view name, std::string_view attribute) {
  const size_t nameEnd = 1 + name.size();
  if (text.size() <= nameEnd || text[0] != '<' || !HasNameAt(text, 1, name)) return false;
  if (!IsWhite(text[nameEnd])) return false;
  const size_t at = FindNoCaseAscii(text, attribute, 0);
  return at != std::string_view::npos && FindByte(text, '=', at + 1) != std::string_view::npos;
}

// White space around a value is dropped, as browsers drop it around a URL.
std::string_view TrimWhiteView(std::string_view text) {
  size_t first = 0;
  size_t last = text.size();
  while (first < last && IsWhite(text[first])) ++first;
  while (last > first && IsWhite(text[last - 1])) --last;
  return text.substr(first, last - first);
}

// The raw value of the attribute `name` (found as a substring, letter case ignored) or,
// with an empty name, of the first "=" of the tag. After the "=" and any white space, a
// value in double or single quotes runs to the matching quote; a quote the tag never
// closes (the tag was cut at a ">" inside it) runs to the end of the tag. An unquoted value
// ends at white space or ">"; a tag that ends before either gives no value.
std::string_view AttributeValueFrom(std::string_view tag, size_t from) {
  const size_t equals = FindByte(tag, '=', from);
  if (equals == std::string_view::npos) return {};
  size_t start = equals + 1;
  while (start < tag.size() && IsWhite(tag[start])) ++start;
  if (start < tag.size() && (tag[start] == '"' || tag[start] == '\'')) {
    const size_t close = FindByte(tag, tag[start], start + 1);
    size_t end = close;
    if (close == std::string_view::npos) end = tag.ends_with('>') ? tag.size() - 1 : tag.size();
    return TrimWhiteView(tag.substr(start + 1, std::max(end, start + 1) - start - 1));
  }
  size_t end = start;
  while (end < tag.size() && !IsWhite(tag[end]) && tag[end] != '>') ++end;
  if (end >= tag.size()) return {};
  return tag.substr(start, end - start);
}

std::string_view AttributeValueView(std::string_view tag, std::string_view name) {
  size_t from = 0;
  if (!name.empty()) {
    const size_t at = FindNoCaseAscii(tag, name, 0);
    if (at == std::string_view::npos) return {};
    from = at + name.size();
  }
  return AttributeValueFrom(tag, from);
}

std::string AttributeValue(std::string_view tag, std::string_view name) {
  return std::string(AttributeValueView(tag, name));
}

// A value that names a URL, with its character references decoded ("&amp;" in a query is
// "&" to the server). Texts (ALT) stay raw: their reader decodes them with the link text.
void AssignUrlValue(std::string_view raw, std::string& value) {
  if (FindByte(raw, '&', 0) == std::string_view::npos) {
    value.assign(raw);
  } else {
    value = DecodeCharacterReferences(raw, ReferenceContext::AttributeValue);
  }
}

std::string UrlValue(std::string_view tag, std::string_view name) {
  std::string value;
  AssignUrlValue(AttributeValueView(tag, name), value);
  return value;
}

// "<a" followed by white space, "/" or ">": an anchor begins, and so the one before it ends.
bool IsAnchorStart(std::string_view token) {
  return token.size() >= 3 && token[0] == '<' && UpperAsciiChar(token[1]) == 'A' &&
         (IsWhite(token[2]) || token[2] == '/' || token[2] == '>');
}

bool IsClosingAnchor(std::string_view token) {
  if (!token.starts_with("</")) return false;
  // Four bytes leave no room for white space: the usual "</a>" and "</b>" are told at once.
  if (token.size() == 4) return UpperAsciiChar(token[2]) == 'A' && token[3] == '>';
  char squeezed[5];
  size_t length = 0;
  for (const char ch : token) {
    if (IsWhite(ch)) continue;
    if (length == sizeof squeezed) return false;
    squeezed[length++] = UpperAsciiChar(ch);
  }
  return std::string_view(squeezed, length) == "</A>";
}

// The elements whose content a browser reads as plain text up to their own end tag: no
// tag and no link stands inside them, whatever the text looks like.
constexpr std::string_view kRawTextElements[] = {"SCRIPT", "STYLE", "TEXTAREA", "TITLE", "XMP"};

// A tag name ends at white space, "/" or ">", as the browser's tokenizer ends it.
bool EndsTagName(std::string_view text, size_t at) {
  return at >= text.size() || IsWhite(text[at]) || text[at] == '\f' || text[at] == '/' ||
         text[at] == '>';
}

// The raw-text element that the start tag at `open` begins, or an empty view.
std::string_view RawTextElementAt(std::string_view text, size_t open) {
  if (open + 1 >= text.size()) return {};
  switch (UpperAsciiChar(text[open + 1])) {
    case 'S':
    case 'T':
    case 'X':
      break;
    default:
      return {};
  }
  for (const std::string_view name : kRawTextElements) {
    if (HasNameAt(text, open + 1, name) && EndsTagName(text, open + 1 + name.size())) return name;
  }
  return {};
}

// The byte after "<" of a comment ("<!--") or of a raw-text element's start tag: such a
// token needs more than the next ">".
bool MayBeginLongToken(char ch) {
  switch (ch) {
    case '!':
    case 'S':
    case 's':
    case 'T':
    case 't':
    case 'X':
    case 'x':
      return true;
    default:
      return false;
  }
}

// Where scanning goes on after the tag that starts at `open` and ends before `after`: right
// there, or, after the start tag of a raw-text element, at the "<" of its end tag. An
// element never closed holds the rest of the page, as it does in a browser.
size_t RawTextEnd(std::string_view text, size_t open, size_t after) {
  const std::string_view name = RawTextElementAt(text, open);
  if (name.empty()) return after;
  for (size_t at = text.find("</", after); at != std::string_view::npos;
       at = text.find("</", at + 1)) {
    if (HasNameAt(text, at + 2, name) && EndsTagName(text, at + 2 + name.size())) return at;
  }
  return text.size();
}

}  // namespace

void cGetHtmlTag::CustomTags(const std::string& strNew) { customTags_ = TrimBlanks(strNew); }

void cGetHtmlTag::ResetText(const std::string& text, bool copy) {
  walked_.clear();
  walkedNext_ = 0;
  if (copy) {
    ownHtml_ = text;
    html_ = ownHtml_;
  } else {
    ownHtml_.clear();
    html_ = text;
  }
}

bool cGetHtmlTag::FindToken(int64_t from, TokenSpan& span) const {
  const size_t at = from < 1 ? 0 : static_cast<size_t>(from - 1);
  if (at >= html_.size()) return false;
  size_t closeNearby = std::string::npos;
  const size_t open = FindTagOpen(html_, at, closeNearby);
  if (open == std::string::npos) return false;
  span.start = static_cast<int64_t>(open) + 1;
  if (open + 1 < html_.size() && MayBeginLongToken(html_[open + 1])) {
    FindLongToken(open, span);
    return true;
  }
  // Any other token ends at the next ">", and the search goes on right after it.
  const size_t end = closeNearby != std::string::npos ? closeNearby : FindByte(html_, '>', open);
  span.complete = end != std::string::npos;
  span.last = static_cast<int64_t>(end) + 1;
  span.next = static_cast<int64_t>(end) + 2;
  return true;
}

void cGetHtmlTag::FindLongToken(size_t open, TokenSpan& span) const {
  span.complete = false;
  if (open + 3 < html_.size() && html_[open + 1] == '!' && html_[open + 2] == '-' &&
      html_[open + 3] == '-') {
    // A comment is one token; it ends with the "--" of its "-->".
    const size_t end = html_.find("-->", open);
    if (end == std::string::npos) return;
    span.last = static_cast<int64_t>(end) + 2;
    span.next = static_cast<int64_t>(end) + 2;
  } else {
    const size_t end = FindByte(html_, '>', open);
    if (end == std::string::npos) return;
    span.last = static_cast<int64_t>(end) + 1;
    span.next = static_cast<int64_t>(RawTextEnd(html_, open, end + 1)) + 1;
  }
  span.complete = true;
}

std::string_view cGetHtmlTag::NextToken() {
  if (html_.empty() || position_ > static_cast<int64_t>(html_.size())) {
    ResetText({}, true);
    return {};
  }
  TokenSpan span;
  if (walkedNext_ < walked_.size() && walked_[walkedNext_].first == position_) {
    span = walked_[walkedNext_++].second;
  } else if (!FindToken(position_, span)) {
    return {};
  }
  if (!span.complete) return {};
  position_ = span.next;
  return html_.substr(static_cast<size_t>(span.start - 1),
                      static_cast<size_t>(span.last - span.start + 1));
}

std::string cGetHtmlTag::GetTag(const std::string& strNewData) {
  if (!strNewData.empty()) {
    ResetText(strNewData, true);
    position_ = 1;
  }
  return std::string(NextToken());
}

std::string cGetHtmlTag::GetAttributeValue(const std::string& tag, const std::string& name) const {
  return AttributeValue(tag, name);
}

bool cGetHtmlTag::IsBaseHrefUrl(const std::string& strTag) const {
  return IsHrefTag(strTag, "<BASE");
}

std::string cGetHtmlTag::GetBaseHrefUrl(const std::string& strTag) const {
  return UrlValue(strTag, {});
}

bool cGetHtmlTag::IsAHrefUrl(const std::string& strTag) const { return IsHrefTag(strTag, "<A"); }

std::string cGetHtmlTag::GetAHrefUrl(const std::string& strTag) const {
  return UrlValue(strTag, {});
}

bool cGetHtmlTag::IsThisTag(const std::string& strString, const std::string& strTag1,
                            const std::string& strTag2) const {
  return IsTagWithAttribute(strString, strTag1, strTag2);
}

int64_t cGetHtmlTag::FindLinkTextEnd(int64_t from) const {
  walked_.clear();
  walkedNext_ = 0;
  for (int64_t at = from;;) {
    TokenSpan span;
    if (!FindToken(at, span) || !span.complete) return 0;
    if (walked_.size() < kWalkedTokens) walked_.emplace_back(at, span);
    const std::string_view token = html_.substr(static_cast<size_t>(span.start - 1),
                                                static_cast<size_t>(span.last - span.start + 1));
    // Only "</..." and "<a..." can end a link text.
    const char first = UpperAsciiChar(token[1]);
    if ((first == '/' || first == 'A') &&
        (IsClosingAnchor(token) || IsAnchorStart(token) || IsHrefTag(token, "<A"))) {
      return span.start;
    }
    at = span.next;
  }
}

std::string_view cGetHtmlTag::LinkText() const {
  // The position is left as it was, so the tags inside the link are still scanned; the
  // walk never empties the text either, even when it runs to its end.
  const int64_t start = position_ < 1 ? 1 : position_;
  const int64_t end = FindLinkTextEnd(start);
  if (end == 0) return {};
  return html_.substr(static_cast<size_t>(start - 1), static_cast<size_t>(end - start));
}

std::string cGetHtmlTag::GetAHrefLinkString() { return std::string(LinkText()); }

bool cGetHtmlTag::GetLinkFromHtml(std::string& strUrl, std::string* strText,
                                  const std::string& strHtml, const std::string& strBaseUrl) {
  if (!strHtml.empty()) {
    ResetText(strHtml, false);
    position_ = 1;
    linkBase_ = LinkResolver(strBaseUrl);
  }
  for (std::string_view token = NextToken(); !token.empty(); token = NextToken()) {
    const char first = UpperAsciiChar(token[1]);
    if (first != 'A' && first != 'B') continue;  // neither an A-named tag nor BASE
    if (IsHrefTag(token, "<BASE")) {
      linkBase_ = LinkResolver(UrlValue(token, {}));
    } else if (IsHrefTag(token, "<A")) {
      const std::string value = UrlValue(token, {});
      if (value.empty()) continue;
      // A link that cannot be resolved is passed over rather than reported as an empty URL.
      if (!linkBase_.Resolve(value, url_)) continue;
      strUrl.swap(url_);
      if (strText != nullptr) strText->assign(LinkText());
      return true;
    }
  }
  linkBase_ = LinkResolver();
  return false;
}

void cGetHtmlTag::BuildEntries(int32_t enumEnableTags) {
  entries_.clear();
  tagStart_.fill(0);
  auto mark = [this](char first, uint8_t kind) {
    tagStart_[static_cast<unsigned char>(first)] |= kind;
    const char upper = UpperAsciiChar(first);
    tagStart_[static_cast<unsigned char>(upper)] |= kind;
    if (upper >= 'A' && upper <= 'Z') tagStart_[static_cast<unsigned char>(upper + 32)] |= kind;
  };
  mark('B', kBaseStart);
  auto add = [this, &mark](std::string name, std::string url, std::string text) {
    mark(name[0], kEntryStart);
    const bool anchor = name == "A";
    std::string upperName = name;
    for (char& ch : upperName) ch = UpperAsciiChar(ch);
    entries_.push_back({std::move(upperName), std::move(url), std::move(text), anchor});
  };
  if ((enumEnableTags & 1) != 0) add("A", "HREF", "");
  if ((enumEnableTags & 2) != 0) add("FRAME", "SRC", "");
  if ((enumEnableTags & 4) != 0) add("IFRAME", "SRC", "");
  if ((enumEnableTags & 8) != 0) add("IMG", "SRC", "ALT");
  if ((enumEnableTags & 16) != 0) add("AREA", "HREF", "ALT");
  if ((enumEnableTags & 32) == 0 || customTags_.empty()) return;
  for (const std::string& entry : SplitText(customTags_, ";")) {
    const std::vector<std::string> words = SplitText(entry, " ");
    if (words.size() != 2 && words.size() != 3) continue;
    // An entry with an empty tag or attribute name (a blank after ";") names no tag.
    if (words[0].empty() || words[1].empty()) continue;
    add(words[0], words[1], words.size() == 3 ? words[2] : "");
  }
}

const cGetHtmlTag::Entry* cGetHtmlTag::MatchEntry(std::string_view token) {
  const char first = UpperAsciiChar(token[1]);
  for (const Entry& entry : entries_) {
    // IsTagWithAttribute and then the value of the attribute it found.
    const size_t nameEnd = 1 + entry.upperName.size();
    if (entry.upperName[0] != first || token.size() <= nameEnd ||
        !HasUpperNameAt(token, 2, std::string_view(entry.upperName).substr(1)) ||
        !IsWhite(token[nameEnd])) {
      continue;
    }
    const size_t at = FindNoCaseAscii(token, entry.urlAttribute, 0);
    if (at == std::string_view::npos) continue;
    // The value follows the first "=" after the name, if there is one.
    const std::string_view raw = AttributeValueFrom(token, at + entry.urlAttribute.size());
    if (FindByte(raw, '&', 0) == std::string_view::npos) {
      value_ = raw;
    } else {
      decoded_ = DecodeCharacterReferences(raw, ReferenceContext::AttributeValue);
      value_ = decoded_;
    }
    if (!value_.empty()) return &entry;
  }
  return nullptr;
}

bool cGetHtmlTag::GetTagFromHtml(int32_t enumEnableTags, std::string& strUrl, std::string* strText,
                                 const std::string& strHtml, const std::string& strBaseUrl) {
  if (!strHtml.empty()) {
    BuildEntries(enumEnableTags);
    ResetText(strHtml, false);
    position_ = 1;
    tagBase_ = LinkResolver(strBaseUrl);
  }
  for (std::string_view token = NextToken(); !token.empty(); token = NextToken()) {
    const uint8_t kinds = tagStart_[static_cast<unsigned char>(token[1])];
    if (kinds == 0) continue;
    if ((kinds & kBaseStart) != 0 && IsHrefTag(token, "<BASE")) {
      tagBase_ = LinkResolver(UrlValue(token, {}));
      continue;
    }
    if ((kinds & kEntryStart) == 0) continue;
    const Entry* entry = MatchEntry(token);
    // A link that cannot be resolved is passed over; one tag gives at most one link.
    if (entry == nullptr || !tagBase_.Resolve(value_, url_)) continue;
    strUrl.swap(url_);
    if (strText != nullptr) {
      if (entry->anchor) {
        strText->assign(LinkText());
      } else if (!entry->textAttribute.empty()) {
        strText->assign(AttributeValueView(token, entry->textAttribute));
      } else {
        strText->clear();
      }
    }
    return true;
  }
  tagBase_ = LinkResolver();
  entries_.clear();
  return false;
}

}  // namespace vendil
