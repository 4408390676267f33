// URL helpers: components of a URL (host as written, path with its query) and the
// resolution of a link against a base URL as a browser resolves it. An empty result means
// failure (for a link: one a browser would not follow).
#pragma once

#include <string>
#include <string_view>

#include "parse/web_url.h"

namespace vendil {

std::string GetHostName(const std::string& url);
std::string GetUrlPath(const std::string& url);       // "/" for an empty path
std::string GetUrlFileName(const std::string& url);   // last segment before the query
std::string GetUrlDirectory(const std::string& url);  // path up to its last "/"
std::string CombineUrl(const std::string& strBaseUrl, const std::string& strUrl);
// The links of one page resolved one after another against its base, each exactly as
// CombineUrl resolves it: the base is read once, and the result goes to the caller's
// string, whose storage serves the next link.
class LinkResolver {
 public:
  explicit LinkResolver(std::string base = {});
  // True with the URL in `out`; false (`out` then holds anything) where CombineUrl gives
  // an empty text.
  bool Resolve(std::string_view link, std::string& out) const;

 private:
  std::string base_;
  bool isWeb_ = false;  // a web base that parses
  PlainLinkBase web_;
};
// The host and folder by which the crawl tells servers and folders apart: the host in its
// canonical form (lower case, ASCII, IPv4 written out, no port), the folder with dot
// segments resolved and bytes beyond ASCII percent-encoded.
std::string CanonicalHost(const std::string& url);
std::string CanonicalDirectory(const std::string& url);
// The URL up to its fragment ("#..."), which names a place in a resource and is never
// sent to the server.
std::string UrlWithoutFragment(const std::string& url);
// Control characters (0x00-0x1F and 0x7F) cannot stand in a URL: each becomes "%XX", as a
// browser sends it. Other characters are kept.
bool HasControlCharacter(std::string_view text);
std::string EncodeControlCharacters(std::string_view url);

}  // namespace vendil
