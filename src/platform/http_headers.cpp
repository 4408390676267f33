// Reading response header lines: status lines, "Name: value" fields and folded lines.
#include "platform/http_headers.h"

#include "platform/casefold.h"

namespace vendil {
namespace {

// A server may send any bytes; a header block this large is cut so memory stays bounded.
constexpr size_t kMaxFields = 1000;
constexpr size_t kMaxValueBytes = 64 * 1024;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::string_view TrimHeaderBlanks(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

ResponseHeaders::LineKind ResponseHeaders::Feed(std::string_view line) {
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
  if (line.empty()) return LineKind::End;

  if (line.substr(0, 5) == "HTTP/") {
    fields_.clear();
    status_ = 0;
    size_t space = line.find(' ');
    if (space != std::string_view::npos) {
      std::string_view code = line.substr(space + 1);
      if (code.size() >= 3 && IsDigit(code[0]) && IsDigit(code[1]) && IsDigit(code[2])) {
        status_ = (code[0] - '0') * 100 + (code[1] - '0') * 10 + (code[2] - '0');
      }
    }
    return LineKind::Status;
  }

  if (line.front() == ' ' || line.front() == '\t') {
    // A folded line continues the value of the field before it.
    if (fields_.empty()) return LineKind::Other;
    std::string& value = fields_.back().second;
    std::string_view more = TrimHeaderBlanks(line);
    if (value.size() + more.size() + 1 > kMaxValueBytes) return LineKind::Other;
    if (!value.empty() && !more.empty()) value += ' ';
    value.append(more);
    return LineKind::Header;
  }

  size_t colon = line.find(':');
  if (colon == std::string_view::npos || colon == 0) return LineKind::Other;
  if (fields_.size() >= kMaxFields) return LineKind::Other;
  std::string_view name = TrimHeaderBlanks(line.substr(0, colon));
  std::string_view value = TrimHeaderBlanks(line.substr(colon + 1));
  if (value.size() > kMaxValueBytes) value = value.substr(0, kMaxValueBytes);
  fields_.emplace_back(std::string(name), std::string(value));
  return LineKind::Header;
}

std::string ResponseHeaders::Get(std::string_view name) const {
  for (const auto& [key, value] : fields_) {
    if (EqualsNoCase(key, name)) return value;
  }
  return {};
}

bool ResponseHeaders::Has(std::string_view name) const {
  for (const auto& field : fields_) {
    if (EqualsNoCase(field.first, name)) return true;
  }
  return false;
}

bool ResponseHeaders::IsFinal() const {
  if (status_ >= 100 && status_ < 200) return false;
  const bool followed =
      status_ == 301 || status_ == 302 || status_ == 303 || status_ == 307 || status_ == 308;
  if (followed && Has("Location")) return false;
  return true;
}

}  // namespace vendil
