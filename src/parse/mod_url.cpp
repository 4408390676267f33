// URL components and the resolution of relative links by the rules of RFC 3986: the parts
// are split as its appendix B does, hosts and schemes stay as written, dot segments go.
#include "parse/mod_url.h"

#include <cctype>
#include <optional>

namespace vendil {
namespace {

// Results longer than this are refused (empty), as no server or download manager takes
// them; components of a URL that is read are not limited.
constexpr size_t kMaxCombinedUrl = 2048;

struct UrlParts {
  std::optional<std::string> scheme;
  std::optional<std::string> authority;
  std::string path;
  std::optional<std::string> query;
  std::optional<std::string> fragment;
};

bool IsSchemeText(const std::string& text) {
  if (text.empty() || std::isalpha(static_cast<unsigned char>(text[0])) == 0) return false;
  for (const char ch : text) {
    const auto byte = static_cast<unsigned char>(ch);
    if (std::isalnum(byte) == 0 && ch != '+' && ch != '-' && ch != '.') return false;
  }
  return true;
}

// Browsers drop surrounding spaces and control characters and any TAB, CR or LF inside a
// link (they come from line breaks in the page source), and send blanks as %20.
std::string CleanLink(const std::string& text) {
  size_t first = 0;
  size_t last = text.size();
  while (first < last && static_cast<unsigned char>(text[first]) <= 0x20) ++first;
  while (last > first && static_cast<unsigned char>(text[last - 1]) <= 0x20) --last;
  std::string clean;
  clean.reserve(last - first);
  for (size_t i = first; i < last; ++i) {
    const char ch = text[i];
    if (ch == '\t' || ch == '\r' || ch == '\n') continue;
    if (ch == ' ') {
      clean += "%20";
    } else {
      clean += ch;
    }
  }
  return clean;
}

UrlParts Split(const std::string& url) {
  UrlParts parts;
  size_t at = 0;
  const size_t colon = url.find_first_of(":/?#");
  if (colon != std::string::npos && url[colon] == ':' && IsSchemeText(url.substr(0, colon))) {
    parts.scheme = url.substr(0, colon);
    at = colon + 1;
  }
  if (url.compare(at, 2, "//") == 0) {
    const size_t end = url.find_first_of("/?#", at + 2);
    parts.authority =
        url.substr(at + 2, end == std::string::npos ? std::string::npos : end - at - 2);
    at = end == std::string::npos ? url.size() : end;
  }
  const size_t pathEnd = url.find_first_of("?#", at);
  parts.path = url.substr(at, pathEnd == std::string::npos ? std::string::npos : pathEnd - at);
  at = pathEnd == std::string::npos ? url.size() : pathEnd;
  if (at < url.size() && url[at] == '?') {
    const size_t end = url.find('#', at);
    parts.query = url.substr(at + 1, end == std::string::npos ? std::string::npos : end - at - 1);
    at = end == std::string::npos ? url.size() : end;
  }
  if (at < url.size() && url[at] == '#') parts.fragment = url.substr(at + 1);
  return parts;
}

std::string Join(const UrlParts& parts) {
  std::string url;
  if (parts.scheme) url += *parts.scheme + ":";
  if (parts.authority) url += "//" + *parts.authority;
  url += parts.path;
  if (parts.query) url += "?" + *parts.query;
  if (parts.fragment) url += "#" + *parts.fragment;
  return url;
}

// RFC 3986 section 5.2.4.
std::string RemoveDotSegments(const std::string& path) {
  std::string input = path;
  std::string output;
  size_t at = 0;
  auto rest = [&](const char* prefix) {
    return input.compare(at, std::char_traits<char>::length(prefix), prefix) == 0;
  };
  auto dropLastSegment = [&output] {
    const size_t slash = output.rfind('/');
    output.erase(slash == std::string::npos ? 0 : slash);
  };
  while (at < input.size()) {
    const size_t left = input.size() - at;
    if (rest("../")) {
      at += 3;
    } else if (rest("./")) {
      at += 2;
    } else if (rest("/./")) {
      at += 2;
    } else if (left == 2 && rest("/.")) {
      input.replace(at, 2, "/");
    } else if (rest("/../")) {
      at += 3;
      dropLastSegment();
    } else if (left == 3 && rest("/..")) {
      input.replace(at, 3, "/");
      dropLastSegment();
    } else if ((left == 1 && rest(".")) || (left == 2 && rest(".."))) {
      at = input.size();
    } else {
      const size_t next = input.find('/', at + 1);
      const size_t end = next == std::string::npos ? input.size() : next;
      output.append(input, at, end - at);
      at = end;
    }
  }
  return output;
}

// RFC 3986 section 5.2.3.
std::string MergePaths(const UrlParts& base, const std::string& path) {
  if (base.authority && base.path.empty()) return "/" + path;
  const size_t slash = base.path.rfind('/');
  return slash == std::string::npos ? path : base.path.substr(0, slash + 1) + path;
}

// Text of a URL that has a scheme and, for a hierarchical one, a host part; nullopt else.
std::optional<UrlParts> SplitAbsolute(const std::string& url) {
  UrlParts parts = Split(url);
  if (!parts.scheme) return std::nullopt;
  return parts;
}

}  // namespace

std::string GetHostName(const std::string& url) {
  const auto parts = SplitAbsolute(url);
  if (!parts || !parts->authority) return {};
  std::string host = *parts->authority;
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
  const auto parts = SplitAbsolute(url);
  if (!parts) return {};
  std::string path = parts->path.empty() ? "/" : parts->path;
  if (parts->query) path += "?" + *parts->query;
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
  const UrlParts link = Split(CleanLink(strUrl));
  UrlParts target;
  if (link.scheme) {
    target = link;
    // Links without a host part (mailto:, javascript:, data:) are opaque: kept as they are.
    if (link.authority) target.path = RemoveDotSegments(link.path);
  } else {
    const auto base = SplitAbsolute(CleanLink(strBaseUrl));
    if (!base) return {};
    target.scheme = base->scheme;
    if (link.authority) {
      target.authority = link.authority;
      target.path = RemoveDotSegments(link.path);
      target.query = link.query;
    } else {
      target.authority = base->authority;
      if (link.path.empty()) {
        target.path = base->path;
        target.query = link.query ? link.query : base->query;
      } else {
        target.path =
            RemoveDotSegments(link.path[0] == '/' ? link.path : MergePaths(*base, link.path));
        target.query = link.query;
      }
    }
    target.fragment = link.fragment;
  }
  std::string combined = Join(target);
  if (combined.size() > kMaxCombinedUrl) return {};
  return combined;
}

}  // namespace vendil
