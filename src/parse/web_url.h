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

// The quick reading of the links most pages are made of: a path relative to `base` or
// from its root, with an optional query, holding nothing that is encoded, no "\" and no
// ":" before its query. Gives what ParseWebUrl gives for such a link; nullopt for any other
// link. `prefix` is UrlPrefix(base).
std::optional<std::string> ResolvePlainLink(const WebUrl& base, std::string_view prefix,
                                            std::string_view link);

// `input` read against `base` (null: no base). Nullopt when the result is no web URL or the
// input is one the browser rejects (a bad host or port, an empty host, nothing to resolve
// against).
std::optional<WebUrl> ParseWebUrl(std::string_view input, const WebUrl* base);

}  // namespace vendil
