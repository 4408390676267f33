// The reading of web URLs, state by state as browsers do it for the schemes with a host.
#include "parse/web_url.h"

#include <cstdint>

#include "parse/url_host.h"

namespace vendil {
namespace {

bool IsAsciiAlpha(unsigned char c) { return (c | 0x20) >= 'a' && (c | 0x20) <= 'z'; }
bool IsAsciiDigit(unsigned char c) { return c >= '0' && c <= '9'; }

// Which ASCII characters each part percent-encodes; bytes beyond ASCII stay as they are.
enum EncodeSet : uint8_t { kFragmentSet = 1, kQuerySet = 2, kPathSet = 4, kUserinfoSet = 8 };

constexpr uint8_t EncodeFlags(unsigned char c) {
  if (c < 0x20 || c == 0x7F) return kFragmentSet | kQuerySet | kPathSet | kUserinfoSet;
  switch (c) {
    case ' ':
    case '"':
    case '<':
    case '>':
      return kFragmentSet | kQuerySet | kPathSet | kUserinfoSet;
    case '`':
      return kFragmentSet | kPathSet | kUserinfoSet;
    case '#':
      return kQuerySet | kPathSet | kUserinfoSet;
    case '\'':  // only the query of a web URL encodes it
      return kQuerySet;
    case '?':
    case '^':
    case '{':
    case '}':
      return kPathSet | kUserinfoSet;
    case '/':
    case ':':
    case ';':
    case '=':
    case '@':
    case '[':
    case '\\':
    case ']':
    case '|':
      return kUserinfoSet;
    default:
      return 0;
  }
}

struct EncodeTable {
  uint8_t flags[256] = {};
  constexpr EncodeTable() {
    for (int c = 0; c < 256; ++c) flags[c] = EncodeFlags(static_cast<unsigned char>(c));
  }
};
constexpr EncodeTable kEncode;

// What the quick reading of a plain link makes of each byte: the path ends at "?", splits at
// "/" and holds nothing the path encodes, no "\" (a separator) and no ":" (a scheme); the
// query holds nothing the query encodes.
enum PlainKind : uint8_t { kPlain, kSlash, kQuestionMark, kNotPlain };
struct PlainLinkTable {
  uint8_t path[256] = {};
  bool query[256] = {};
  constexpr PlainLinkTable() {
    for (int c = 0; c < 256; ++c) {
      const uint8_t flags = kEncode.flags[c];
      path[c] = (flags & kPathSet) != 0 || c == '\\' || c == ':' ? kNotPlain : kPlain;
      query[c] = (flags & kQuerySet) == 0;
    }
    path[static_cast<unsigned char>('/')] = kSlash;
    path[static_cast<unsigned char>('?')] = kQuestionMark;
  }
};
constexpr PlainLinkTable kPlainLink;

void AppendEncoded(std::string& out, char ch, EncodeSet set) {
  const auto c = static_cast<unsigned char>(ch);
  if ((kEncode.flags[c] & set) == 0) {
    out += ch;
    return;
  }
  static constexpr char kHex[] = "0123456789ABCDEF";
  out += '%';
  out += kHex[c >> 4];
  out += kHex[c & 15];
}

bool EqualsNoCaseAscii(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if ((a[i] | 0x20) != (b[i] | 0x20)) return false;
  }
  return true;
}

bool IsSingleDot(std::string_view s) { return s == "." || EqualsNoCaseAscii(s, "%2e"); }

bool IsDoubleDot(std::string_view s) {
  return s == ".." || EqualsNoCaseAscii(s, ".%2e") || EqualsNoCaseAscii(s, "%2e.") ||
         EqualsNoCaseAscii(s, "%2e%2e");
}

std::string_view DefaultPort(std::string_view scheme) {
  if (scheme == "http" || scheme == "ws") return "80";
  if (scheme == "https" || scheme == "wss") return "443";
  if (scheme == "ftp") return "21";
  return {};
}

void ShortenPath(std::string& path) {
  const size_t slash = path.rfind('/');
  path.erase(slash == std::string::npos ? 0 : slash);
}

// Leading and trailing blanks and controls go, and so does every TAB, CR and LF.
std::string CleanInput(std::string_view text) {
  size_t first = 0, last = text.size();
  while (first < last && static_cast<unsigned char>(text[first]) <= 0x20) ++first;
  while (last > first && static_cast<unsigned char>(text[last - 1]) <= 0x20) --last;
  std::string out;
  out.reserve(last - first);
  for (size_t i = first; i < last; ++i) {
    if (text[i] != '\t' && text[i] != '\n' && text[i] != '\r') out += text[i];
  }
  return out;
}

enum class State {
  SchemeStart,
  Scheme,
  NoScheme,
  SpecialRelativeOrAuthority,
  SpecialAuthoritySlashes,
  SpecialAuthorityIgnoreSlashes,
  Relative,
  RelativeSlash,
  Authority,
  Host,
  Port,
  PathStart,
  Path,
  Query,
  Fragment,
};

class Parser {
 public:
  Parser(std::string input, const WebUrl* base) : in_(std::move(input)), base_(base) {}

  std::optional<WebUrl> Run() {
    for (;; ++p_) {
      const int c = At(p_);
      if (!Step(c)) return std::nullopt;
      if (c == kEof && p_ >= static_cast<std::ptrdiff_t>(in_.size())) return std::move(url_);
    }
  }

 private:
  static constexpr int kEof = -1;

  int At(std::ptrdiff_t i) const {
    return i >= 0 && i < static_cast<std::ptrdiff_t>(in_.size())
               ? static_cast<unsigned char>(in_[static_cast<size_t>(i)])
               : kEof;
  }
  std::string_view Remaining() const {
    const auto next = static_cast<size_t>(p_ + 1);
    return next < in_.size() ? std::string_view(in_).substr(next) : std::string_view();
  }
  static bool IsSlash(int c) { return c == '/' || c == '\\'; }

  void CopyAuthorityFromBase() {
    url_.username = base_->username;
    url_.password = base_->password;
    url_.host = base_->host;
    url_.port = base_->port;
  }

  // One code point (byte) of the input in the current state; false on failure.
  bool Step(int c) {
    switch (state_) {
      case State::SchemeStart:
        if (c != kEof && IsAsciiAlpha(static_cast<unsigned char>(c))) {
          buffer_ += static_cast<char>(c | 0x20);
          state_ = State::Scheme;
        } else {
          state_ = State::NoScheme;
          --p_;
        }
        return true;
      case State::Scheme:
        if (c != kEof &&
            (IsAsciiAlpha(static_cast<unsigned char>(c)) ||
             IsAsciiDigit(static_cast<unsigned char>(c)) || c == '+' || c == '-' || c == '.')) {
          buffer_ += static_cast<char>(IsAsciiAlpha(static_cast<unsigned char>(c)) ? c | 0x20 : c);
          return true;
        }
        if (c == ':') {
          if (!IsWebScheme(buffer_)) return false;
          url_.scheme = std::move(buffer_);
          buffer_.clear();
          if (base_ != nullptr && base_->scheme == url_.scheme) {
            state_ = State::SpecialRelativeOrAuthority;
          } else {
            state_ = State::SpecialAuthoritySlashes;
          }
          return true;
        }
        buffer_.clear();
        state_ = State::NoScheme;
        p_ = -1;
        return true;
      case State::NoScheme:
        if (base_ == nullptr) return false;
        state_ = State::Relative;
        --p_;
        return true;
      case State::SpecialRelativeOrAuthority:
        if (c == '/' && Remaining().starts_with('/')) {
          state_ = State::SpecialAuthorityIgnoreSlashes;
          ++p_;
        } else {
          state_ = State::Relative;
          --p_;
        }
        return true;
      case State::SpecialAuthoritySlashes:
        state_ = State::SpecialAuthorityIgnoreSlashes;
        if (c == '/' && Remaining().starts_with('/')) {
          ++p_;
        } else {
          --p_;
        }
        return true;
      case State::SpecialAuthorityIgnoreSlashes:
        if (!IsSlash(c)) {
          state_ = State::Authority;
          --p_;
        }
        return true;
      case State::Relative:
        url_.scheme = base_->scheme;
        if (IsSlash(c)) {
          state_ = State::RelativeSlash;
          return true;
        }
        CopyAuthorityFromBase();
        url_.path = base_->path;
        url_.query = base_->query;
        if (c == '?') {
          url_.query = std::string();
          state_ = State::Query;
        } else if (c == '#') {
          url_.fragment = std::string();
          state_ = State::Fragment;
        } else if (c != kEof) {
          url_.query.reset();
          ShortenPath(url_.path);
          state_ = State::Path;
          --p_;
        }
        return true;
      case State::RelativeSlash:
        if (IsSlash(c)) {
          state_ = State::SpecialAuthorityIgnoreSlashes;
        } else {
          CopyAuthorityFromBase();
          state_ = State::Path;
          --p_;
        }
        return true;
      case State::Authority:
        if (c == '@') {
          if (atSignSeen_) buffer_.insert(0, "%40");
          atSignSeen_ = true;
          for (const char b : buffer_) {
            if (b == ':' && !passwordTokenSeen_) {
              passwordTokenSeen_ = true;
              continue;
            }
            AppendEncoded(passwordTokenSeen_ ? url_.password : url_.username, b, kUserinfoSet);
          }
          buffer_.clear();
        } else if (c == kEof || IsSlash(c) || c == '?' || c == '#') {
          if (atSignSeen_ && buffer_.empty()) return false;
          p_ -= static_cast<std::ptrdiff_t>(buffer_.size()) + 1;
          buffer_.clear();
          state_ = State::Host;
        } else {
          buffer_ += static_cast<char>(c);
        }
        return true;
      case State::Host:
        if (c == ':' && !insideBrackets_) {
          if (buffer_.empty()) return false;
          auto host = ParseWebHost(buffer_);
          if (!host) return false;
          url_.host = std::move(*host);
          buffer_.clear();
          state_ = State::Port;
        } else if (c == kEof || IsSlash(c) || c == '?' || c == '#') {
          --p_;
          if (buffer_.empty()) return false;
          auto host = ParseWebHost(buffer_);
          if (!host) return false;
          url_.host = std::move(*host);
          buffer_.clear();
          state_ = State::PathStart;
        } else {
          if (c == '[') insideBrackets_ = true;
          if (c == ']') insideBrackets_ = false;
          buffer_ += static_cast<char>(c);
        }
        return true;
      case State::Port:
        if (c != kEof && IsAsciiDigit(static_cast<unsigned char>(c))) {
          buffer_ += static_cast<char>(c);
          return true;
        }
        if (c == kEof || IsSlash(c) || c == '?' || c == '#') {
          if (!buffer_.empty()) {
            size_t digits = buffer_.find_first_not_of('0');
            std::string port = digits == std::string::npos ? "0" : buffer_.substr(digits);
            if (port.size() > 5 || std::stoul(port) > 65535) return false;
            url_.port = port == DefaultPort(url_.scheme) ? std::string() : std::move(port);
            buffer_.clear();
          }
          state_ = State::PathStart;
          --p_;
          return true;
        }
        return false;
      case State::PathStart:
        state_ = State::Path;
        if (!IsSlash(c)) --p_;
        return true;
      case State::Path:
        if (c == kEof || IsSlash(c) || c == '?' || c == '#') {
          if (IsDoubleDot(buffer_)) {
            ShortenPath(url_.path);
            if (!IsSlash(c)) url_.path += '/';
          } else if (IsSingleDot(buffer_)) {
            if (!IsSlash(c)) url_.path += '/';
          } else {
            url_.path += '/';
            url_.path += buffer_;
          }
          buffer_.clear();
          if (c == '?') {
            url_.query = std::string();
            state_ = State::Query;
          } else if (c == '#') {
            url_.fragment = std::string();
            state_ = State::Fragment;
          }
        } else {
          AppendEncoded(buffer_, static_cast<char>(c), kPathSet);
        }
        return true;
      case State::Query:
        if (c == '#') {
          url_.fragment = std::string();
          state_ = State::Fragment;
        } else if (c != kEof) {
          AppendEncoded(*url_.query, static_cast<char>(c), kQuerySet);
        }
        return true;
      case State::Fragment:
        if (c != kEof) AppendEncoded(*url_.fragment, static_cast<char>(c), kFragmentSet);
        return true;
    }
    return false;
  }

  std::string in_;
  const WebUrl* base_;
  WebUrl url_;
  State state_ = State::SchemeStart;
  std::ptrdiff_t p_ = 0;
  std::string buffer_;
  bool atSignSeen_ = false, insideBrackets_ = false, passwordTokenSeen_ = false;
};

}  // namespace

std::string UrlPrefix(const WebUrl& url) {
  std::string out;
  out.reserve(url.scheme.size() + url.host.size() + url.path.size() + 16);
  out.append(url.scheme).append("://");
  if (!url.username.empty() || !url.password.empty()) {
    out += url.username;
    if (!url.password.empty()) out.append(":").append(url.password);
    out += '@';
  }
  out += url.host;
  if (!url.port.empty()) out.append(":").append(url.port);
  return out;
}

PlainLinkBase::PlainLinkBase(const WebUrl& base) : root(UrlPrefix(base)), directory(root) {
  // The path of a web URL begins with "/"; the link replaces what follows its last "/".
  const size_t slash = base.path.rfind('/');
  directory.append(base.path, 0, slash == std::string::npos ? base.path.size() : slash);
  directory += '/';
}

bool ResolvePlainLink(const PlainLinkBase& base, std::string_view link, std::string& out) {
  if (link.empty() || link[0] == '?' || link.starts_with("//")) return false;
  // One look at each byte: what the path and the query may hold, and whether a segment may
  // be a dot segment ("." or "..", also percent-encoded), which only the segment walk below
  // resolves.
  const size_t size = link.size();
  const bool fromRoot = link[0] == '/';
  bool dotSegments = false;
  size_t segment = fromRoot ? 1 : 0;
  auto mayBeDots = [link](size_t from, size_t end) {
    return end > from && end - from <= 6 && (link[from] == '.' || link[from] == '%');
  };
  const char* const data = link.data();
  size_t at = segment;
  auto kindAt = [data](size_t i) { return kPlainLink.path[static_cast<unsigned char>(data[i])]; };
  for (;;) {
    // kPlain is 0: four plain bytes at a time, then one by one.
    while (at + 4 <= size && (kindAt(at) | kindAt(at + 1) | kindAt(at + 2) | kindAt(at + 3)) == 0) {
      at += 4;
    }
    while (at < size && kindAt(at) == kPlain) ++at;
    if (at == size) break;
    const uint8_t kind = kindAt(at);
    if (kind == kQuestionMark) break;
    if (kind != kSlash) return false;
    dotSegments = dotSegments || mayBeDots(segment, at);
    segment = ++at;
  }
  dotSegments = dotSegments || mayBeDots(segment, at);
  const size_t queryAt = at;
  for (; at < size; ++at) {
    if (!kPlainLink.query[static_cast<unsigned char>(link[at])]) return false;
  }
  if (!dotSegments) {
    // A link from the root keeps its "/"; any other follows the directory's.
    out.assign(fromRoot ? base.root : base.directory);
    out.append(link);
    return true;
  }
  // The path state of the full reading, for segments that need no encoding.
  out.assign(fromRoot ? base.root : base.directory);
  if (!fromRoot) out.pop_back();
  const size_t root = base.root.size();
  std::string_view path = link.substr(fromRoot ? 1 : 0, queryAt - (fromRoot ? 1 : 0));
  for (;;) {
    const size_t slash = path.find('/');
    const std::string_view part = path.substr(0, slash);
    const bool last = slash == std::string_view::npos;
    if (IsDoubleDot(part)) {
      const size_t cut = out.rfind('/');
      if (cut != std::string::npos && cut >= root) out.erase(cut);
      if (last) out += '/';
    } else if (IsSingleDot(part)) {
      if (last) out += '/';
    } else {
      out += '/';
      out.append(part);
    }
    if (last) break;
    path.remove_prefix(slash + 1);
  }
  out.append(link.substr(queryAt));
  return true;
}

std::string WebUrl::HrefWithoutFragment() const {
  std::string out = UrlPrefix(*this);
  out += path;
  if (query) out.append("?").append(*query);
  return out;
}

std::string WebUrl::Href() const {
  std::string out = HrefWithoutFragment();
  if (fragment) out.append("#").append(*fragment);
  return out;
}

std::string LinkScheme(std::string_view text) {
  size_t at = 0;
  while (at < text.size() && static_cast<unsigned char>(text[at]) <= 0x20) ++at;
  std::string scheme;
  for (; at < text.size(); ++at) {
    const auto c = static_cast<unsigned char>(text[at]);
    if (c == '\t' || c == '\n' || c == '\r') continue;
    if (c == ':') return scheme.empty() ? std::string() : scheme;
    const bool fits = IsAsciiAlpha(c) ||
                      (!scheme.empty() && (IsAsciiDigit(c) || c == '+' || c == '-' || c == '.'));
    if (!fits) return {};
    scheme += static_cast<char>(IsAsciiAlpha(c) ? c | 0x20 : c);
  }
  return {};
}

bool IsWebScheme(std::string_view s) {
  return s == "http" || s == "https" || s == "ftp" || s == "ws" || s == "wss";
}

std::optional<WebUrl> ParseWebUrl(std::string_view input, const WebUrl* base) {
  return Parser(CleanInput(input), base).Run();
}

}  // namespace vendil
