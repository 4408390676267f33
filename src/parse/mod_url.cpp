// URL components split as RFC 3986's appendix B does (hosts as written), and the
// resolution of links: web URLs as browsers read them, other schemes by RFC 3986.
#include "parse/mod_url.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <string_view>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "parse/web_url.h"

namespace vendil {
namespace {

// Results longer than this are refused (empty), as no server or download manager takes
// them; components of a URL that is read are not limited.
constexpr size_t kMaxCombinedUrl = 2048;

// Views into the text that was split; a part that is absent is a null view (data() ==
// nullptr), told apart from a part that is present but empty.
struct UrlParts {
  std::string_view scheme;
  std::string_view authority;
  std::string_view path;
  std::string_view query;
  std::string_view fragment;
  bool hasScheme = false;
  bool hasAuthority = false;
  bool hasQuery = false;
  bool hasFragment = false;
};

// A set of ASCII characters to look for, as a table.
struct CharSet {
  bool contains[256] = {};
  constexpr explicit CharSet(std::string_view chars) {
    for (const char ch : chars) contains[static_cast<unsigned char>(ch)] = true;
  }
};
// What a link may not hold as written: blanks and control characters.
constexpr CharSet kLinkCleanup(std::string_view(
    " \x7f\x00\x01\x02\x03\x04\x05\x06\x07\x08\x09\x0a\x0b\x0c\x0d\x0e\x0f\x10\x11\x12\x13\x14"
    "\x15\x16\x17\x18\x19\x1a\x1b\x1c\x1d\x1e\x1f",
    34));
constexpr CharSet kSchemeEnd(":/?#");
constexpr CharSet kAuthorityEnd("/?#");
constexpr CharSet kPathEnd("?#");

// Position of the first character of `text` at or after `from` that is in `set`; npos
// when none. (The library's find_first_of calls memchr once per character.)
size_t FindAny(std::string_view text, size_t from, const CharSet& set) {
  for (size_t at = from; at < text.size(); ++at) {
    if (set.contains[static_cast<unsigned char>(text[at])]) return at;
  }
  return std::string_view::npos;
}

bool IsSchemeText(std::string_view text) {
  if (text.empty() || std::isalpha(static_cast<unsigned char>(text[0])) == 0) return false;
  for (const char ch : text) {
    const auto byte = static_cast<unsigned char>(ch);
    if (std::isalnum(byte) == 0 && ch != '+' && ch != '-' && ch != '.') return false;
  }
  return true;
}

bool IsControl(char ch) {
  const auto byte = static_cast<unsigned char>(ch);
  return byte < 0x20 || byte == 0x7F;
}

void AppendPercentEncoded(std::string& out, char ch) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  const auto byte = static_cast<unsigned char>(ch);
  out += '%';
  out += kHex[byte >> 4];
  out += kHex[byte & 0x0F];
}

// Browsers drop surrounding spaces and control characters and any TAB, CR or LF inside a
// link (they come from line breaks in the page source), and send blanks and the other
// control characters percent-encoded. `storage` holds the cleaned text when it differs
// from the input.
std::string_view CleanLink(std::string_view text, std::string& storage) {
  size_t first = 0;
  size_t last = text.size();
  while (first < last && static_cast<unsigned char>(text[first]) <= 0x20) ++first;
  while (last > first && static_cast<unsigned char>(text[last - 1]) <= 0x20) --last;
  text = text.substr(first, last - first);
  if (FindAny(text, 0, kLinkCleanup) == std::string_view::npos) return text;
  storage.clear();
  storage.reserve(text.size() + 8);
  for (const char ch : text) {
    if (ch == '\t' || ch == '\r' || ch == '\n') continue;
    if (ch == ' ' || IsControl(ch)) {
      AppendPercentEncoded(storage, ch);
    } else {
      storage += ch;
    }
  }
  return storage;
}

UrlParts Split(std::string_view url) {
  UrlParts parts;
  size_t at = 0;
  const size_t colon = FindAny(url, 0, kSchemeEnd);
  if (colon != std::string_view::npos && url[colon] == ':' && IsSchemeText(url.substr(0, colon))) {
    parts.scheme = url.substr(0, colon);
    parts.hasScheme = true;
    at = colon + 1;
  }
  if (url.substr(at, 2) == "//") {
    const size_t end = std::min(FindAny(url, at + 2, kAuthorityEnd), url.size());
    parts.authority = url.substr(at + 2, end - at - 2);
    parts.hasAuthority = true;
    at = end;
  }
  const size_t pathEnd = std::min(FindAny(url, at, kPathEnd), url.size());
  parts.path = url.substr(at, pathEnd - at);
  at = pathEnd;
  if (at < url.size() && url[at] == '?') {
    const size_t end = std::min(url.find('#', at), url.size());
    parts.query = url.substr(at + 1, end - at - 1);
    parts.hasQuery = true;
    at = end;
  }
  if (at < url.size() && url[at] == '#') {
    parts.fragment = url.substr(at + 1);
    parts.hasFragment = true;
  }
  return parts;
}

// RFC 3986 section 5.2.4, appending the result to `output`.
void AppendWithoutDotSegments(std::string_view input, std::string& output) {
  const size_t base = output.size();
  auto dropLastSegment = [&output, base] {
    const size_t slash = output.rfind('/');
    output.erase(slash == std::string::npos || slash < base ? base : slash);
  };
  // "/." and "/.." at the very end stand for "/" followed by nothing.
  while (!input.empty()) {
    if (input.starts_with("../")) {
      input.remove_prefix(3);
    } else if (input.starts_with("./")) {
      input.remove_prefix(2);
    } else if (input.starts_with("/./")) {
      input.remove_prefix(2);
    } else if (input == "/.") {
      output += '/';
      input = {};
    } else if (input.starts_with("/../")) {
      input.remove_prefix(3);
      dropLastSegment();
    } else if (input == "/..") {
      dropLastSegment();
      output += '/';
      input = {};
    } else if (input == "." || input == "..") {
      input = {};
    } else {
      const size_t next = std::min(input.find('/', 1), input.size());
      output.append(input.substr(0, next));
      input.remove_prefix(next);
    }
  }
}

// A page's links are all read against one base: it is read once.
struct ParsedUrl {
  std::string text;
  std::optional<WebUrl> url;
  PlainLinkBase plain;  // of *url
  bool valid = false;
};

const ParsedUrl& Parsed(const std::string& baseUrl) {
  thread_local ParsedUrl cached;
  if (!cached.valid || cached.text != baseUrl) {
    cached.text = baseUrl;
    cached.url = IsWebScheme(LinkScheme(baseUrl)) ? ParseWebUrl(baseUrl, nullptr) : std::nullopt;
    cached.plain = cached.url ? PlainLinkBase(*cached.url) : PlainLinkBase();
    cached.valid = true;
  }
  return cached;
}

const WebUrl* ParsedBase(const std::string& baseUrl) {
  const ParsedUrl& parsed = Parsed(baseUrl);
  return parsed.url ? &*parsed.url : nullptr;
}

bool IsWebBase(const std::string& baseUrl) { return IsWebScheme(LinkScheme(baseUrl)); }

std::string Limited(std::string url) {
  if (url.size() > kMaxCombinedUrl) return {};
  return url;
}

}  // namespace

std::string GetHostName(const std::string& url) {
  const UrlParts parts = Split(url);
  if (!parts.hasScheme || !parts.hasAuthority) return {};
  std::string host(parts.authority);
  const size_t at = host.rfind('@');
  if (at != std::string::npos) host.erase(0, at + 1);
  if (!host.empty() && host[0] == '[') {
    const size_t close = host.find(']');
    return close == std::string::npos ? std::string() : host.substr(0, close + 1);
  }
  const size_t colon = host.find(':');
  if (colon != std::string::npos) host.erase(colon);
  return host;
}

std::string GetUrlPath(const std::string& url) {
  const UrlParts parts = Split(url);
  if (!parts.hasScheme) return {};
  std::string path = parts.path.empty() ? std::string("/") : std::string(parts.path);
  if (parts.hasQuery) {
    path += '?';
    path += parts.query;
  }
  return path;
}

std::string GetUrlFileName(const std::string& url) {
  const std::string path = GetUrlPath(url);
  const size_t query = path.find('?');
  const size_t slash = path.rfind('/', query == std::string::npos ? std::string::npos : query);
  if (slash == std::string::npos) return {};
  const size_t end = query == std::string::npos ? path.size() : query;
  // A "/" can only be found before the "?" here, as the "?" itself is no "/".
  return slash < end ? path.substr(slash + 1, end - slash - 1) : std::string();
}

std::string GetUrlDirectory(const std::string& url) {
  const std::string path = GetUrlPath(url);
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string("/") : path.substr(0, slash + 1);
}

std::string CombineUrl(const std::string& strBaseUrl, const std::string& strUrl) {
  const std::string scheme = LinkScheme(strUrl);
  if (IsWebScheme(scheme) || (scheme.empty() && IsWebBase(strBaseUrl))) {
    // A web base that does not parse resolves nothing; "http:x" is relative only to an
    // http page.
    const ParsedUrl& parsedBase = Parsed(strBaseUrl);
    const WebUrl* base = parsedBase.url ? &*parsedBase.url : nullptr;
    if (scheme.empty() && base == nullptr) return {};
    if (std::string plain; scheme.empty() && ResolvePlainLink(parsedBase.plain, strUrl, plain)) {
      return Limited(std::move(plain));
    }
    std::optional<WebUrl> url = ParseWebUrl(strUrl, base);
    return url ? Limited(url->Href()) : std::string();
  }
  std::string linkStorage;
  const UrlParts link = Split(CleanLink(strUrl, linkStorage));
  std::string combined;
  combined.reserve(strBaseUrl.size() + strUrl.size() + 16);
  if (link.hasScheme) {
    combined.append(link.scheme).append(":");
    if (link.hasAuthority) {
      combined.append("//").append(link.authority);
      AppendWithoutDotSegments(link.path, combined);
    } else {
      // Links without a host part (mailto:, javascript:, data:) are opaque: kept as they are.
      combined.append(link.path);
    }
    if (link.hasQuery) combined.append("?").append(link.query);
  } else {
    std::string baseStorage;
    const UrlParts base = Split(CleanLink(strBaseUrl, baseStorage));
    if (!base.hasScheme) return {};
    combined.append(base.scheme).append(":");
    if (link.hasAuthority) {
      combined.append("//").append(link.authority);
      AppendWithoutDotSegments(link.path, combined);
      if (link.hasQuery) combined.append("?").append(link.query);
    } else {
      if (base.hasAuthority) combined.append("//").append(base.authority);
      if (link.path.empty()) {
        combined.append(base.path);
        if (link.hasQuery) {
          combined.append("?").append(link.query);
        } else if (base.hasQuery) {
          combined.append("?").append(base.query);
        }
      } else {
        if (link.path[0] == '/') {
          AppendWithoutDotSegments(link.path, combined);
        } else {
          // RFC 3986 section 5.2.3: the link replaces the last segment of the base path.
          std::string merged;
          if (base.hasAuthority && base.path.empty()) {
            merged.append("/").append(link.path);
          } else {
            const size_t slash = base.path.rfind('/');
            if (slash != std::string_view::npos) merged.append(base.path.substr(0, slash + 1));
            merged.append(link.path);
          }
          AppendWithoutDotSegments(merged, combined);
        }
        if (link.hasQuery) combined.append("?").append(link.query);
      }
    }
  }
  if (link.hasFragment) combined.append("#").append(link.fragment);
  if (combined.size() > kMaxCombinedUrl) return {};
  return combined;
}

LinkResolver::LinkResolver(std::string base) : base_(std::move(base)) {
  if (!IsWebBase(base_)) return;
  if (const std::optional<WebUrl> web = ParseWebUrl(base_, nullptr)) {
    web_ = PlainLinkBase(*web);
    isWeb_ = true;
  }
}

bool LinkResolver::Resolve(std::string_view link, std::string& out) const {
  // A link the quick reading takes has no scheme (no ":" before its query), so CombineUrl
  // too would read it against the web base.
  if (isWeb_ && ResolvePlainLink(web_, link, out)) return out.size() <= kMaxCombinedUrl;
  std::string combined = CombineUrl(base_, std::string(link));
  if (combined.empty()) return false;
  out = std::move(combined);
  return true;
}

std::string UrlWithoutFragment(const std::string& url) { return url.substr(0, url.find('#')); }

std::string CanonicalHost(const std::string& url) {
  if (IsWebBase(url)) {
    if (const WebUrl* parsed = ParsedBase(url)) return parsed->host;
  }
  std::string host = GetHostName(url);
  for (char& c : host) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return host;
}

std::string CanonicalDirectory(const std::string& url) {
  std::string directory;
  const WebUrl* parsed = IsWebBase(url) ? ParsedBase(url) : nullptr;
  directory = GetUrlDirectory(parsed ? parsed->HrefWithoutFragment() : url);
  // A path written in UTF-8 and one sent percent-encoded name the same folder.
  std::string out;
  out.reserve(directory.size());
  for (const char c : directory) {
    if (static_cast<unsigned char>(c) >= 0x80) {
      AppendPercentEncoded(out, c);
    } else {
      out += c;
    }
  }
  return out;
}

bool HasControlCharacter(std::string_view text) {
  // Every URL added to the list is looked at here, so 16 bytes at a time.
  const char* const data = text.data();
  const size_t size = text.size();
  size_t at = 0;
#ifdef __SSE2__
  const auto controlsIn = [data](size_t from) {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + from));
    const __m128i low = _mm_cmpeq_epi8(_mm_min_epu8(block, _mm_set1_epi8(0x1F)), block);
    const __m128i del = _mm_cmpeq_epi8(block, _mm_set1_epi8(0x7F));
    return _mm_movemask_epi8(_mm_or_si128(low, del)) != 0;
  };
  if (size >= 16) {
    for (; at + 16 <= size; at += 16) {
      if (controlsIn(at)) return true;
    }
    return at < size && controlsIn(size - 16);  // the tail, overlapping the last block
  }
#endif
  for (; at < size; ++at) {
    if (IsControl(data[at])) return true;
  }
  return false;
}

std::string EncodeControlCharacters(std::string_view url) {
  std::string out;
  out.reserve(url.size() + 8);
  for (const char ch : url) {
    if (IsControl(ch)) {
      AppendPercentEncoded(out, ch);
    } else {
      out += ch;
    }
  }
  return out;
}

}  // namespace vendil
