// The input-tag reader: attributes quoted or bare, in any letter case, the last one
// possibly running up to the closing ">".
#include "briefcase/input_tag.h"

#include "parse/mod_string.h"
#include "platform/casefold.h"

namespace vendil {

namespace {

// 0-based index of `c` at or after `from`, or npos.
size_t FindChar(const std::string& text, char c, size_t from) {
  return from >= text.size() ? std::string::npos : text.find(c, from);
}

void Store(const std::string& name, const std::string& value, std::string& strType,
           std::string& strName, std::string& strValue) {
  const std::string lower = LowerAscii(name);
  if (lower == "type") {
    strType = value;
  } else if (lower == "name") {
    strName = value;
  } else if (lower == "value") {
    strValue = value;
  }
}

}  // namespace

bool ParseInputTag(const std::string& strTag, std::string& strType, std::string& strName,
                   std::string& strValue) {
  strType.clear();
  strName.clear();
  strValue.clear();
  std::string text = TrimBlanks(strTag);
  const size_t close = text.find('>');
  if (close == std::string::npos) return false;
  text.resize(close + 1);
  text = RemoveAll(text, {"\r", "\n"});
  for (char& c : text) {
    if (c == '\t') c = ' ';
  }
  if (LowerAscii(text.substr(0, 7)) != "<input ") return false;

  size_t pos = 7;  // after the first blank
  while (pos < text.size()) {
    while (pos < text.size() && text[pos] == ' ') ++pos;
    if (pos >= text.size()) return false;
    if (text[pos] == '>') return true;
    const size_t equals = FindChar(text, '=', pos);
    if (equals == std::string::npos) return false;
    const std::string name = TrimBlanks(text.substr(pos, equals - pos));
    // The nearer of a quote and a blank decides the form of the value; looking for
    // both at once keeps the reading linear in the tag's length.
    const size_t stop =
        equals + 1 < text.size() ? text.find_first_of("\" ", equals + 1) : std::string::npos;
    const bool quoted = stop != std::string::npos && text[stop] == '"';
    const size_t quote = quoted ? stop : std::string::npos;
    const size_t blank = quoted ? std::string::npos : stop;
    std::string value;
    if (quoted) {
      const size_t endQuote = FindChar(text, '"', quote + 1);
      if (endQuote == std::string::npos) return false;
      value = text.substr(quote + 1, endQuote - quote - 1);
      pos = endQuote + 1;
    } else if (blank != std::string::npos) {
      value = TrimBlanks(text.substr(equals + 1, blank - equals - 1));
      pos = blank + 1;
    } else {
      // A bare last value runs up to the tag's final character.
      const size_t last = text.size() - 1;
      value = last > equals + 1 ? TrimBlanks(text.substr(equals + 1, last - equals - 1)) : "";
      Store(name, value, strType, strName, strValue);
      return true;
    }
    Store(name, value, strType, strName, strValue);
  }
  return true;
}

}  // namespace vendil
