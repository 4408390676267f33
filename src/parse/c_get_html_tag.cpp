// The HTML tag scanner: the tokenizer, attribute values, the tag tests and the two link
// scans (all tags chosen by bits, or A HREF links with their link text).
#include "parse/c_get_html_tag.h"

#include "parse/mod_string.h"
#include "parse/mod_url.h"

namespace vendil {
namespace {

bool IsWhite(char ch) { return ch == ' ' || ch == '\r' || ch == '\n' || ch == '\t'; }

char UpperAsciiChar(char ch) { return ch >= 'a' && ch <= 'z' ? static_cast<char>(ch - 32) : ch; }

std::string Upper(const std::string& text) {
  std::string upper = text;
  for (char& ch : upper) ch = UpperAsciiChar(ch);
  return upper;
}

// Tag and attribute names are compared in ASCII upper case; 0-based, npos when none.
size_t FindNoCaseAscii(const std::string& text, const std::string& needle, size_t from) {
  if (needle.empty()) return from <= text.size() ? from : std::string::npos;
  const std::string upperNeedle = Upper(needle);
  for (size_t at = from; at + upperNeedle.size() <= text.size(); ++at) {
    if (UpperAsciiChar(text[at]) != upperNeedle[0]) continue;
    size_t k = 1;
    while (k < upperNeedle.size() && UpperAsciiChar(text[at + k]) == upperNeedle[k]) ++k;
    if (k == upperNeedle.size()) return at;
  }
  return std::string::npos;
}

// "HREF" occurs before the first "=" of a tag that, in upper case, begins with `prefix`.
bool IsHrefTag(const std::string& tag, const std::string& prefix) {
  if (tag.size() < prefix.size() || Upper(tag.substr(0, prefix.size())) != prefix) return false;
  const size_t href = FindNoCaseAscii(tag, "HREF", 0);
  const size_t equals = tag.find('=');
  return href != std::string::npos && equals != std::string::npos && href < equals;
}

bool IsClosingAnchor(const std::string& html, int64_t start, int64_t last) {
  if (last - start < 1 || html.compare(static_cast<size_t>(start - 1), 2, "</") != 0) return false;
  std::string squeezed;
  for (int64_t at = start - 1; at < last && squeezed.size() <= 4; ++at) {
    const char ch = html[static_cast<size_t>(at)];
    if (!IsWhite(ch)) squeezed += UpperAsciiChar(ch);
  }
  return squeezed == "</A>";
}

}  // namespace

void cGetHtmlTag::CustomTags(const std::string& strNew) { customTags_ = TrimBlanks(strNew); }

void cGetHtmlTag::ResetText(const std::string& text) {
  html_ = text;
  closingAnchorFrom_.clear();
}

std::optional<cGetHtmlTag::TokenSpan> cGetHtmlTag::FindToken(int64_t from) const {
  if (from < 1) from = 1;
  if (html_.empty() || from > static_cast<int64_t>(html_.size())) return std::nullopt;
  const size_t open = html_.find('<', static_cast<size_t>(from - 1));
  if (open == std::string::npos) return std::nullopt;
  TokenSpan span;
  span.start = static_cast<int64_t>(open) + 1;
  if (html_.compare(open, 4, "<!--") == 0) {
    // A comment is one token; it ends with the "--" of its "-->".
    const size_t end = html_.find("-->", open);
    if (end == std::string::npos) return span;
    span.last = static_cast<int64_t>(end) + 2;
    span.next = static_cast<int64_t>(end) + 2;
  } else {
    const size_t end = html_.find('>', open);
    if (end == std::string::npos) return span;
    span.last = static_cast<int64_t>(end) + 1;
    span.next = span.last + 1;
  }
  span.complete = true;
  return span;
}

std::string cGetHtmlTag::GetTag(const std::string& strNewData) {
  if (!strNewData.empty()) {
    ResetText(strNewData);
    position_ = 1;
  }
  if (html_.empty() || position_ > static_cast<int64_t>(html_.size())) {
    ResetText({});
    return {};
  }
  const auto span = FindToken(position_);
  if (!span || !span->complete) return {};
  position_ = span->next;
  return html_.substr(static_cast<size_t>(span->start - 1),
                      static_cast<size_t>(span->last - span->start + 1));
}

std::string cGetHtmlTag::GetAttributeValue(const std::string& tag, const std::string& name) const {
  size_t from = 0;
  if (!name.empty()) {
    const size_t at = FindNoCaseAscii(tag, name, 0);
    if (at == std::string::npos) return {};
    from = at + name.size();
  }
  const size_t equals = tag.find('=', from);
  if (equals == std::string::npos) return {};
  const size_t quote = tag.find('"', equals);
  if (quote != std::string::npos) {
    bool onlyWhite = true;
    for (size_t at = equals + 1; at < quote && onlyWhite; ++at) onlyWhite = IsWhite(tag[at]);
    if (onlyWhite) {
      const size_t closeQuote = tag.find('"', quote + 1);
      if (closeQuote != std::string::npos) {
        return TrimBlanks(tag.substr(quote + 1, closeQuote - quote - 1));
      }
    }
  }
  // Unquoted: white space right after the "=" (or after other white space) is skipped; the
  // next white space or ">" ends the value.
  size_t current = equals;
  while (true) {
    const size_t found = tag.find_first_of(" \r\n\t>", current + 1);
    if (found == std::string::npos) return {};
    if (found != current + 1) return TrimBlanks(tag.substr(current + 1, found - current - 1));
    current = found;
  }
}

bool cGetHtmlTag::IsBaseHrefUrl(const std::string& strTag) const {
  return IsHrefTag(strTag, "<BASE");
}

std::string cGetHtmlTag::GetBaseHrefUrl(const std::string& strTag) const {
  return GetAttributeValue(strTag, {});
}

bool cGetHtmlTag::IsAHrefUrl(const std::string& strTag) const { return IsHrefTag(strTag, "<A"); }

std::string cGetHtmlTag::GetAHrefUrl(const std::string& strTag) const {
  return GetAttributeValue(strTag, {});
}

bool cGetHtmlTag::IsThisTag(const std::string& strString, const std::string& strTag1,
                            const std::string& strTag2) const {
  const size_t nameEnd = 1 + strTag1.size();
  if (strString.size() <= nameEnd || strString[0] != '<') return false;
  if (Upper(strString.substr(1, strTag1.size())) != Upper(strTag1)) return false;
  if (!IsWhite(strString[nameEnd])) return false;
  const size_t attribute = FindNoCaseAscii(strString, strTag2, 0);
  return attribute != std::string::npos && strString.find('=', attribute + 1) != std::string::npos;
}

int64_t cGetHtmlTag::FindClosingAnchor(int64_t from) {
  std::vector<int64_t> walked;
  int64_t answer = 0;
  int64_t at = from;
  while (true) {
    const auto span = FindToken(at);
    if (!span) break;
    const auto known = closingAnchorFrom_.find(span->start);
    if (known != closingAnchorFrom_.end()) {
      answer = known->second;
      break;
    }
    walked.push_back(span->start);
    if (!span->complete) break;
    if (IsClosingAnchor(html_, span->start, span->last)) {
      answer = span->start;
      break;
    }
    at = span->next;
  }
  for (const int64_t start : walked) closingAnchorFrom_[start] = answer;
  return answer;
}

std::string cGetHtmlTag::GetAHrefLinkString() {
  // The position is left as it was, so the tags inside the link are still scanned; the
  // walk never empties the text either, even when it runs to its end.
  const int64_t start = position_ < 1 ? 1 : position_;
  const int64_t close = FindClosingAnchor(start);
  if (close == 0) return {};
  return html_.substr(static_cast<size_t>(start - 1), static_cast<size_t>(close - start));
}

bool cGetHtmlTag::GetLinkFromHtml(std::string& strUrl, std::string* strText,
                                  const std::string& strHtml, const std::string& strBaseUrl) {
  std::string token;
  if (!strHtml.empty()) {
    token = GetTag(strHtml);
    linkBaseUrl_ = strBaseUrl;
  } else {
    token = GetTag();
  }
  for (; !token.empty(); token = GetTag()) {
    if (IsBaseHrefUrl(token)) {
      linkBaseUrl_ = GetBaseHrefUrl(token);
    } else if (IsAHrefUrl(token)) {
      const std::string value = GetAHrefUrl(token);
      if (value.empty()) continue;
      // A link that cannot be resolved is passed over rather than reported as an empty URL.
      std::string url = CombineUrl(linkBaseUrl_, value);
      if (url.empty()) continue;
      strUrl = std::move(url);
      if (strText != nullptr) *strText = GetAHrefLinkString();
      return true;
    }
  }
  linkBaseUrl_.clear();
  return false;
}

void cGetHtmlTag::BuildEntries(int32_t enumEnableTags) {
  m_colTagNames.clear();
  m_colUrlAttrs.clear();
  m_colTextAttrs.clear();
  auto add = [this](std::string name, std::string url, std::string text) {
    m_colTagNames.push_back(std::move(name));
    m_colUrlAttrs.push_back(std::move(url));
    m_colTextAttrs.push_back(std::move(text));
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

bool cGetHtmlTag::GetTagFromHtml(int32_t enumEnableTags, std::string& strUrl, std::string* strText,
                                 const std::string& strHtml, const std::string& strBaseUrl) {
  std::string token;
  if (!strHtml.empty()) {
    BuildEntries(enumEnableTags);
    token = GetTag(strHtml);
    tagBaseUrl_ = strBaseUrl;
  } else {
    token = GetTag();
  }
  for (; !token.empty(); token = GetTag()) {
    if (IsBaseHrefUrl(token)) {
      tagBaseUrl_ = GetBaseHrefUrl(token);
      continue;
    }
    for (size_t entry = 0; entry < m_colTagNames.size(); ++entry) {
      if (!IsThisTag(token, m_colTagNames[entry], m_colUrlAttrs[entry])) continue;
      const std::string value = GetAttributeValue(token, m_colUrlAttrs[entry]);
      if (value.empty()) continue;
      std::string url = CombineUrl(tagBaseUrl_, value);
      // The tag's link cannot be resolved: no later entry is tried, as one tag gives at
      // most one link, and the scan goes on with the next tag.
      if (url.empty()) break;
      strUrl = std::move(url);
      if (strText != nullptr) {
        strText->clear();
        if (m_colTagNames[entry] == "A") {
          *strText = GetAHrefLinkString();
        } else if (!m_colTextAttrs[entry].empty()) {
          *strText = GetAttributeValue(token, m_colTextAttrs[entry]);
        }
      }
      return true;
    }
  }
  tagBaseUrl_.clear();
  m_colTagNames.clear();
  m_colUrlAttrs.clear();
  m_colTextAttrs.clear();
  return false;
}

}  // namespace vendil
