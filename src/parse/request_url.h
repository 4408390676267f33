// The URL as a request line carries it: a web URL in the form a browser gives it, and what
// may not stand in a URL (characters beyond ASCII, blanks, control characters, quotes and
// angle brackets) percent-encoded as a browser does, the path in UTF-8 and the query in the
// charset of the page that gave the link.
#pragma once

#include <string>

namespace vendil {

// `queryCharset` as a page names it ("EUC-JP", "Shift_JIS", ...); empty means UTF-8. A
// character the charset cannot hold goes as a numeric character reference, as a browser
// sends it. A text without "://" comes back unchanged.
std::string RequestUrl(const std::string& url, const std::string& queryCharset);

}  // namespace vendil
