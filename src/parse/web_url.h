// Web URLs (http, https, ws, wss, ftp) read as browsers read them: a link resolved against
// the page's URL, "\" taken for "/", dot segments (also percent-encoded) removed, the host in
// its canonical form, the default port dropped and what may not stand in a URL
// percent-encoded. Characters beyond ASCII are kept as they are (UTF-8), so that a URL
// stays readable in the list; RequestUrl encodes them for the wire.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vendil {

struct WebUrl {
  std::string scheme;  // lower case
  std::string username, password;
  std::string host;  // as ParseWebHost writes it
  std::string port;  // decimal, empty for the scheme's default
  std::string path;  // "/" followed by the segments joined by "/"
  std::optional<std::string> query, fragment;

  std::string Href() const;  // the whole URL
  std::string HrefWithoutFragment() const;
};

// The scheme of `text` in lower case when it begins with one followed by ":" (after the
// blanks and controls a link may begin with); empty otherwise.
std::string LinkScheme(std::string_view text);
bool IsWebScheme(std::string_view lowerScheme);

// The part of a web URL before its path: scheme, user info, host and port.
std::string UrlPrefix(const WebUrl& url);

// A web base read once for the quick reading of many links: `root` is UrlPrefix(base),
// `directory` the root and the base path up to and with its last "/".
struct PlainLinkBase {
  PlainLinkBase() = default;
  explicit PlainLinkBase(const WebUrl& base);
  std::string root;
  std::string directory;
};

// The quick reading of the links most pages are made of: a path relative to `base` or
// from its root, with an optional query, holding nothing that is encoded, no "\" and no
// ":" before its query. Writes what ParseWebUrl gives for such a link to `out` (its storage
// reused from one link to the next) and gives true; false, `out` untouched, for any other
// link.
bool ResolvePlainLink(const PlainLinkBase& base, std::string_view link, std::string& out);

// `input` read against `base` (null: no base). Nullopt when the result is no web URL or the
// input is one the browser rejects (a bad host or port, an empty host, nothing to resolve
// against).
std::optional<WebUrl> ParseWebUrl(std::string_view input, const WebUrl* base);

}  // namespace vendil
