// Percent-encoding the path and query of a request URL, byte by byte for the path and
// character by character for the query (which goes in the page's charset).
#include "parse/request_url.h"

#include <cstdint>
#include <optional>
#include <string_view>

#include "parse/web_url.h"
#include "platform/codec.h"

namespace vendil {
namespace {

bool NeedsEncoding(unsigned char c) {
  return c <= 0x20 || c >= 0x7F || c == '"' || c == '<' || c == '>';
}

void AppendEncoded(std::string& out, std::string_view bytes) {
  static const char kHex[] = "0123456789ABCDEF";
  for (unsigned char c : bytes) {
    out += '%';
    out += kHex[c >> 4];
    out += kHex[c & 15];
  }
}

void AppendPath(std::string& out, std::string_view path) {
  for (const char c : path) {
    if (NeedsEncoding(static_cast<unsigned char>(c))) {
      AppendEncoded(out, std::string_view(&c, 1));
    } else {
      out += c;
    }
  }
}

void AppendQuery(std::string& out, std::string_view query, const std::string& charset) {
  for (size_t i = 0; i < query.size();) {
    const auto c = static_cast<unsigned char>(query[i]);
    if (c < 0x80) {
      AppendPath(out, query.substr(i, 1));
      ++i;
      continue;
    }
    const size_t length = Utf8SequenceLength(query.substr(i));
    if (length == 0) {  // not UTF-8: the byte as it is
      AppendEncoded(out, query.substr(i, 1));
      ++i;
      continue;
    }
    const std::string_view character = query.substr(i, length);
    std::optional<std::string> bytes = charset.empty()
                                           ? std::optional<std::string>(std::string(character))
                                           : EncodeCharacter(character, charset);
    if (bytes) {
      AppendEncoded(out, *bytes);
    } else {
      out += "%26%23" + std::to_string(Utf8CodePoint(character, 0, character.size())) +
             "%3B";  // "&#N;"
    }
    i += length;
  }
}

}  // namespace

std::string RequestUrl(const std::string& writtenUrl, const std::string& queryCharset) {
  // A web URL goes as a browser writes it (host in ASCII, "\" as "/", dot segments
  // resolved); what it keeps beyond ASCII is encoded below.
  std::string url = writtenUrl;
  if (IsWebScheme(LinkScheme(url))) {
    if (std::optional<WebUrl> parsed = ParseWebUrl(url, nullptr)) url = parsed->Href();
  }
  const size_t scheme = url.find("://");
  if (scheme == std::string::npos) return url;
  const size_t pathStart = url.find_first_of("/?#", scheme + 3);
  if (pathStart == std::string::npos) return url;
  bool plain = true;
  for (size_t i = pathStart; i < url.size() && plain; ++i)
    plain = !NeedsEncoding(static_cast<unsigned char>(url[i]));
  if (plain) return url;

  const std::string_view rest = std::string_view(url).substr(pathStart);
  const size_t fragment = rest.find('#');
  const std::string_view beforeFragment = rest.substr(0, fragment);
  const size_t query = beforeFragment.find('?');
  std::string out = url.substr(0, pathStart);
  AppendPath(out, beforeFragment.substr(0, query));
  if (query != std::string_view::npos) {
    out += '?';
    AppendQuery(out, beforeFragment.substr(query + 1), queryCharset);
  }
  if (fragment != std::string_view::npos) {
    out += '#';
    AppendPath(out, rest.substr(fragment + 1));
  }
  return out;
}

}  // namespace vendil
