// Text codecs over glibc iconv: CP932 (with the single bytes Windows maps beyond glibc's
// table), EUC-JP as code page 51932, UTF-8 and the charsets pages declare.
#include "platform/codec.h"

#include <iconv.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <map>
#include <optional>

#include "platform/casefold.h"

namespace vendil {

namespace {

constexpr const char* kReplacement = "\xEF\xBF\xBD";  // U+FFFD

struct IconvCloser {
  void operator()(void* handle) const { iconv_close(static_cast<iconv_t>(handle)); }
};
using IconvHandle = std::unique_ptr<void, IconvCloser>;

IconvHandle OpenIconv(const std::string& to, const std::string& from) {
  iconv_t handle = iconv_open(to.c_str(), from.c_str());
  if (handle == reinterpret_cast<iconv_t>(-1)) return IconvHandle();
  return IconvHandle(handle);
}

// Opening a converter costs far more than a short conversion, and the INI store converts
// line by line: keep one converter per direction for each thread.
iconv_t CachedIconv(const std::string& to, const std::string& from) {
  thread_local std::map<std::string, IconvHandle> cache;
  const std::string key = to + "<" + from;
  auto found = cache.find(key);
  if (found == cache.end()) found = cache.emplace(key, OpenIconv(to, from)).first;
  iconv_t handle = static_cast<iconv_t>(found->second.get());
  if (handle != nullptr) iconv(handle, nullptr, nullptr, nullptr, nullptr);  // reset state
  return handle;
}

bool IsCp932(const std::string& name) { return name == "CP932"; }

// Windows gives these lone CP932 bytes code points; glibc rejects them.
std::optional<const char*> Cp932SingleByte(unsigned char byte) {
  switch (byte) {
    case 0x80:
      return "\xC2\x80";
    case 0xA0:
      return "\xEF\xA3\xB0";  // U+F8F0
    case 0xFD:
      return "\xEF\xA3\xB1";
    case 0xFE:
      return "\xEF\xA3\xB2";
    case 0xFF:
      return "\xEF\xA3\xB3";
    default:
      return std::nullopt;
  }
}

// Converts `in` to UTF-8. Invalid bytes become U+FFFD. When `carry` is given, an incomplete
// sequence at the end is not decoded but left there for the next chunk.
std::string DecodeWith(iconv_t handle, const std::string& charset, std::string_view in,
                       std::string* carry) {
  std::string out;
  if (handle == nullptr) {  // no converter at all: keep ASCII, mark the rest
    for (unsigned char c : in)
      out += c < 0x80 ? std::string(1, static_cast<char>(c)) : kReplacement;
    return out;
  }
  char* src = const_cast<char*>(in.data());
  size_t srcLeft = in.size();
  std::string buffer(in.size() * 4 + 16, '\0');
  while (true) {
    char* dst = buffer.data();
    size_t dstLeft = buffer.size();
    size_t result = iconv(handle, &src, &srcLeft, &dst, &dstLeft);
    int err = errno;
    out.append(buffer.data(), buffer.size() - dstLeft);
    if (result != static_cast<size_t>(-1)) break;
    if (err == E2BIG) continue;
    if (err == EINVAL && carry != nullptr && srcLeft <= 8) {
      carry->assign(src, srcLeft);
      return out;
    }
    if (err != EILSEQ && err != EINVAL) {
      out += kReplacement;
      break;
    }
    auto single = IsCp932(charset) ? Cp932SingleByte(static_cast<unsigned char>(*src))
                                   : std::optional<const char*>();
    out += single ? *single : kReplacement;
    ++src;
    --srcLeft;
    iconv(handle, nullptr, nullptr, nullptr, nullptr);
  }
  if (carry != nullptr) {  // a stateful charset keeps its shift state for the next chunk
    carry->clear();
    return out;
  }
  char* dst = buffer.data();
  size_t dstLeft = buffer.size();
  iconv(handle, nullptr, nullptr, &dst, &dstLeft);
  out.append(buffer.data(), buffer.size() - dstLeft);
  return out;
}

bool IsAscii(std::string_view text) {
  // Blocks of 64 bytes OR-ed together (the compiler vectorises this), so a whole page is
  // tested at memory speed.
  constexpr size_t kBlock = 64;
  size_t at = 0;
  for (; at + kBlock <= text.size(); at += kBlock) {
    unsigned char any = 0;
    for (size_t k = 0; k < kBlock; ++k) any |= static_cast<unsigned char>(text[at + k]);
    if (any >= 0x80) return false;
  }
  for (; at < text.size(); ++at) {
    if (static_cast<unsigned char>(text[at]) >= 0x80) return false;
  }
  return true;
}

std::optional<char> Cp932FromPrivateUse(std::string_view sequence) {
  if (sequence == "\xC2\x80") return '\x80';
  if (sequence == "\xEF\xA3\xB0") return '\xA0';
  if (sequence == "\xEF\xA3\xB1") return '\xFD';
  if (sequence == "\xEF\xA3\xB2") return '\xFE';
  if (sequence == "\xEF\xA3\xB3") return '\xFF';
  return std::nullopt;
}

std::string TrimmedLower(std::string_view name) {
  size_t begin = name.find_first_not_of(" \t\r\n\"'");
  if (begin == std::string_view::npos) return "";
  size_t end = name.find_last_not_of(" \t\r\n\"'");
  return LowerAscii(name.substr(begin, end - begin + 1));
}

// The iconv name for a charset as a page declares it; CP932 when unknown.
std::string IconvNameFor(std::string_view charsetName) {
  static const std::map<std::string, std::string, std::less<>> known = {
      {"shift_jis", "CP932"},     {"shift-jis", "CP932"},          {"sjis", "CP932"},
      {"x-sjis", "CP932"},        {"windows-31j", "CP932"},        {"cp932", "CP932"},
      {"ms932", "CP932"},         {"ms_kanji", "CP932"},           {"csshiftjis", "CP932"},
      {"x-ms-cp932", "CP932"},    {"euc-jp", "EUC-JP-MS"},         {"x-euc-jp", "EUC-JP-MS"},
      {"eucjp", "EUC-JP-MS"},     {"euc_jp", "EUC-JP-MS"},         {"utf-8", "UTF-8"},
      {"utf8", "UTF-8"},          {"iso-8859-1", "CP1252"},        {"latin1", "CP1252"},
      {"iso_8859-1", "CP1252"},   {"us-ascii", "CP1252"},          {"ascii", "CP1252"},
      {"windows-1252", "CP1252"}, {"iso-2022-jp", "ISO-2022-JP-3"}};
  const std::string name = TrimmedLower(charsetName);
  if (name.empty()) return "CP932";
  auto found = known.find(name);
  if (found != known.end()) return found->second;
  // Any other name iconv knows, if it looks like a charset name at all.
  if (name.size() > 40) return "CP932";
  for (char c : name)
    if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_' || c == '.' ||
          c == ':'))
      return "CP932";
  if (OpenIconv("UTF-8", name)) return name;
  return "CP932";
}

}  // namespace

std::string AnsiToUtf8(std::string_view cp932Bytes) {
  if (IsAscii(cp932Bytes)) return std::string(cp932Bytes);
  return DecodeWith(CachedIconv("UTF-8", "CP932"), "CP932", cp932Bytes, nullptr);
}

std::string Utf8ToAnsi(std::string_view utf8, bool* lossy) {
  if (lossy != nullptr) *lossy = false;
  if (IsAscii(utf8)) return std::string(utf8);
  iconv_t handle = CachedIconv("CP932", "UTF-8");
  std::string out;
  std::string buffer(utf8.size() + 16, '\0');
  char* src = const_cast<char*>(utf8.data());
  size_t srcLeft = utf8.size();
  while (true) {
    char* dst = buffer.data();
    size_t dstLeft = buffer.size();
    size_t result =
        handle != nullptr ? iconv(handle, &src, &srcLeft, &dst, &dstLeft) : static_cast<size_t>(-1);
    int err = handle != nullptr ? errno : EILSEQ;
    out.append(buffer.data(), buffer.size() - dstLeft);
    if (result != static_cast<size_t>(-1) || srcLeft == 0) break;
    if (err == E2BIG) continue;
    // A byte that starts no character is passed over alone, as one "?".
    size_t length = std::max<size_t>(1, Utf8SequenceLength(std::string_view(src, srcLeft)));
    auto single = Cp932FromPrivateUse(std::string_view(src, length));
    if (single) {
      out += *single;
    } else {
      out += '?';
      if (lossy != nullptr) *lossy = true;
    }
    src += length;
    srcLeft -= length;
    if (handle != nullptr) iconv(handle, nullptr, nullptr, nullptr, nullptr);
  }
  return out;
}

bool AnsiCanHold(std::string_view utf8) {
  bool lossy = false;
  Utf8ToAnsi(utf8, &lossy);
  return !lossy;
}

std::string EucJpToUtf8(std::string_view eucBytes) {
  if (IsAscii(eucBytes)) return std::string(eucBytes);
  return DecodeWith(CachedIconv("UTF-8", "EUC-JP-MS"), "EUC-JP-MS", eucBytes, nullptr);
}

std::string DecodeCharset(std::string_view bytes, std::string_view charsetName) {
  const std::string name = IconvNameFor(charsetName);
  if (name == "CP932") return AnsiToUtf8(bytes);
  return DecodeWith(CachedIconv("UTF-8", name), name, bytes, nullptr);
}

std::optional<std::string> EncodeCharacter(std::string_view utf8Character,
                                           std::string_view charsetName) {
  const std::string name = LowerAscii(IconvNameFor(charsetName));
  if (name == "utf-8" || name.rfind("utf-16", 0) == 0 || name.rfind("utf-32", 0) == 0 ||
      name.rfind("ucs", 0) == 0)
    return std::string(utf8Character);
  if (name == "cp932") {
    bool lossy = false;
    std::string bytes = Utf8ToAnsi(utf8Character, &lossy);
    if (lossy) return std::nullopt;
    return bytes;
  }
  iconv_t handle = CachedIconv(IconvNameFor(charsetName), "UTF-8");
  if (handle == nullptr) return std::nullopt;
  char* src = const_cast<char*>(utf8Character.data());
  size_t srcLeft = utf8Character.size();
  std::string buffer(utf8Character.size() * 4 + 16, '\0');
  char* dst = buffer.data();
  size_t dstLeft = buffer.size();
  if (iconv(handle, &src, &srcLeft, &dst, &dstLeft) == static_cast<size_t>(-1)) return std::nullopt;
  iconv(handle, nullptr, nullptr, &dst, &dstLeft);  // back to the initial shift state
  buffer.resize(buffer.size() - dstLeft);
  return buffer;
}

std::string CharsetFromContentType(std::string_view contentType) {
  size_t at = 1;
  while ((at = FindNoCase(contentType, "charset", at)) != 0) {
    size_t i = at - 1 + 7;
    at += 7;
    while (i < contentType.size() && (contentType[i] == ' ' || contentType[i] == '\t')) ++i;
    if (i >= contentType.size() || contentType[i] != '=') continue;
    ++i;
    while (i < contentType.size() && (contentType[i] == ' ' || contentType[i] == '\t')) ++i;
    if (i < contentType.size() && (contentType[i] == '"' || contentType[i] == '\'')) ++i;
    size_t end = contentType.find_first_of(" \t;\"'>/,", i);
    if (end == std::string_view::npos) end = contentType.size();
    if (end > i) return std::string(contentType.substr(i, end - i));
  }
  return "";
}

namespace {

// A two- or four-byte Unicode form: a <meta> found by reading the page as bytes cannot be
// right about it, and browsers then read the page as UTF-8.
bool NamesWideUnicode(std::string_view charset) {
  const std::string name = TrimmedLower(charset);
  for (const std::string_view prefix : {"utf-16", "utf16", "utf-32", "utf32", "ucs-2", "ucs2",
                                        "ucs-4", "ucs4", "iso-10646-ucs-", "unicode"}) {
    if (name.starts_with(prefix)) return true;
  }
  return name == "csunicode";
}

}  // namespace

std::string CharsetFromMeta(std::string_view html) {
  constexpr size_t kHeadBytes = 4096;
  std::string_view head = html.substr(0, kHeadBytes);
  // "<meta" is ASCII and no other character folds to its letters, so an ASCII search is the
  // case-blind one, without folding the head again for every tag.
  auto findMeta = [head](size_t from) -> size_t {
    static constexpr std::string_view kMeta = "<meta";
    for (size_t i = from - 1; i + kMeta.size() <= head.size(); ++i) {
      i = head.find('<', i);
      if (i == std::string_view::npos || i + kMeta.size() > head.size()) return 0;
      size_t k = 0;
      while (k < kMeta.size()) {
        const char c = head[i + k];
        if ((c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c) != kMeta[k]) break;
        ++k;
      }
      if (k == kMeta.size()) return i + 1;
    }
    return 0;
  };
  size_t at = 1;
  while ((at = findMeta(at)) != 0) {
    size_t close = head.find('>', at - 1);
    std::string_view tag = head.substr(
        at - 1, close == std::string_view::npos ? std::string_view::npos : close - (at - 1));
    std::string charset = CharsetFromContentType(tag);
    if (!charset.empty()) return NamesWideUnicode(charset) ? "utf-8" : charset;
    at += 5;
  }
  return "";
}

struct StreamingDecoder::Impl {
  std::string charset;
  IconvHandle handle;
  std::string carry;
};

StreamingDecoder::StreamingDecoder(std::string_view charsetName) : impl_(std::make_unique<Impl>()) {
  impl_->charset = IconvNameFor(charsetName);
  impl_->handle = OpenIconv("UTF-8", impl_->charset);
}

StreamingDecoder::~StreamingDecoder() = default;

std::string StreamingDecoder::Feed(std::string_view chunk) {
  std::string input = impl_->carry + std::string(chunk);
  std::string carry;
  std::string out =
      DecodeWith(static_cast<iconv_t>(impl_->handle.get()), impl_->charset, input, &carry);
  impl_->carry = std::move(carry);
  return out;
}

std::string StreamingDecoder::Finish() {
  std::string rest = std::move(impl_->carry);
  impl_->carry.clear();
  if (rest.empty()) return "";
  return DecodeWith(static_cast<iconv_t>(impl_->handle.get()), impl_->charset, rest, nullptr);
}

bool IsValidUtf8(std::string_view text) {
  for (size_t at = 0; at < text.size();) {
    const size_t length = Utf8SequenceLength(text, at);
    if (length == 0) return false;
    at += length;
  }
  return true;
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

}  // namespace vendil
