// The response header lines of one transfer as they arrive, one line at a time: the status
// line starts a new response (redirects and interim responses each bring their own), and
// the blank line ends its header block.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vendil {

// A header value without the blanks (spaces, tabs) HTTP allows around it.
std::string_view TrimHeaderBlanks(std::string_view text);

class ResponseHeaders {
 public:
  enum class LineKind { Status, Header, End, Other };

  // One raw line as received, with or without its line end.
  LineKind Feed(std::string_view line);

  // Of the response whose headers were fed last.
  int Status() const { return status_; }
  // The first value of a header; names compare without regard to case. Empty when absent.
  std::string Get(std::string_view name) const;
  bool Has(std::string_view name) const;
  size_t Count() const { return fields_.size(); }
  // The header block ended and it is not an interim (1xx) or a redirect that is followed
  // (301, 302, 303, 307 or 308 with a Location).
  bool IsFinal() const;

 private:
  int status_ = 0;
  std::vector<std::pair<std::string, std::string>> fields_;
};

}  // namespace vendil
