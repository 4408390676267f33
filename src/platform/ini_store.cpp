// The INI profile store: parsing that keeps every line's bytes, lookups as the Windows
// private-profile functions make them, and line-preserving changes written atomically.
#include "platform/ini_store.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <functional>
#include <mutex>

#include "platform/atomic_file.h"
#include "platform/casefold.h"
#include "platform/codec.h"

namespace vendil {

namespace {

constexpr std::string_view kBlanks = " \t\v\f";
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

std::string_view Trim(std::string_view text) {
  size_t begin = text.find_first_not_of(kBlanks);
  if (begin == std::string_view::npos) return {};
  size_t end = text.find_last_not_of(kBlanks);
  return text.substr(begin, end - begin + 1);
}

std::string_view TrimStart(std::string_view text) {
  size_t begin = text.find_first_not_of(kBlanks);
  return begin == std::string_view::npos ? std::string_view() : text.substr(begin);
}

bool HasLineBreak(std::string_view text) {
  return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

}  // namespace

IniDocument::Line IniDocument::MakeLine(std::string raw, std::string eol) const {
  Line line;
  line.raw = std::move(raw);
  line.eol = std::move(eol);
  const std::string decoded = bom_.empty() ? AnsiToUtf8(line.raw) : line.raw;
  std::string_view text = TrimStart(decoded);
  line.text = std::string(text);
  if (text.empty()) {
    line.kind = Kind::kBlank;
  } else if (text[0] == ';') {
    line.kind = Kind::kComment;
  } else if (size_t close = text.rfind(']'); text[0] == '[' && close != std::string_view::npos) {
    line.kind = Kind::kSection;
    line.name = std::string(Trim(text.substr(1, close - 1)));
  } else {
    line.kind = Kind::kEntry;
    size_t equals = text.find('=');
    line.name = std::string(Trim(text.substr(0, equals)));
    if (equals != std::string_view::npos) {
      line.hasValue = true;
      line.value = std::string(Trim(text.substr(equals + 1)));
    }
  }
  return line;
}

IniDocument::Line IniDocument::NewLine(std::string_view utf8) const {
  return MakeLine(bom_.empty() ? Utf8ToAnsi(utf8) : std::string(utf8), "\r\n");
}

IniDocument IniDocument::Parse(std::string_view bytes) {
  IniDocument document;
  if (bytes.starts_with(kUtf8Bom)) {
    document.bom_ = std::string(kUtf8Bom);
    bytes.remove_prefix(kUtf8Bom.size());
  }
  size_t at = 0;
  while (at < bytes.size()) {
    size_t end = bytes.find_first_of(std::string_view("\r\n\0", 3), at);
    if (end == std::string_view::npos) {
      document.lines_.push_back(document.MakeLine(std::string(bytes.substr(at)), ""));
      break;
    }
    size_t eolLength =
        bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n' ? 2 : 1;
    document.lines_.push_back(document.MakeLine(std::string(bytes.substr(at, end - at)),
                                                std::string(bytes.substr(end, eolLength))));
    at = end + eolLength;
  }
  return document;
}

std::string IniDocument::Serialize() const {
  std::string out = bom_;
  for (const Line& line : lines_) {
    out += line.raw;
    out += line.eol;
  }
  return out;
}

std::optional<size_t> IniDocument::FindSection(std::string_view section) const {
  const std::string wanted = FoldCase(Trim(section));
  for (size_t i = 0; i < lines_.size(); ++i)
    if (lines_[i].kind == Kind::kSection && FoldCase(lines_[i].name) == wanted) return i;
  return std::nullopt;
}

size_t IniDocument::SectionEnd(size_t header) const {
  size_t i = header + 1;
  while (i < lines_.size() && lines_[i].kind != Kind::kSection) ++i;
  return i;
}

std::optional<std::string> IniDocument::Value(std::string_view section,
                                              std::string_view key) const {
  auto header = FindSection(section);
  if (!header) return std::nullopt;
  const std::string wanted = FoldCase(Trim(key));
  for (size_t i = *header + 1, end = SectionEnd(*header); i < end; ++i) {
    const Line& line = lines_[i];
    if (line.kind != Kind::kEntry || FoldCase(line.name) != wanted) continue;
    if (!line.hasValue) return std::nullopt;
    std::string_view value = line.value;
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
      value = value.substr(1, value.size() - 2);
    return std::string(value);
  }
  return std::nullopt;
}

std::optional<std::vector<std::string>> IniDocument::SectionLines(std::string_view section) const {
  auto header = FindSection(section);
  if (!header) return std::nullopt;
  std::vector<std::string> result;
  for (size_t i = *header + 1, end = SectionEnd(*header); i < end; ++i)
    if (lines_[i].kind == Kind::kEntry) result.push_back(lines_[i].text);
  return result;
}

std::vector<std::string> IniDocument::SectionNames() const {
  std::vector<std::string> names;
  std::vector<std::string> folded;
  for (const Line& line : lines_) {
    if (line.kind != Kind::kSection || line.name.empty()) continue;
    std::string key = FoldCase(line.name);
    if (std::find(folded.begin(), folded.end(), key) != folded.end()) continue;
    folded.push_back(std::move(key));
    names.push_back(line.name);
  }
  return names;
}

void IniDocument::EndLastLine() {
  if (!lines_.empty() && lines_.back().eol.empty()) lines_.back().eol = "\r\n";
}

bool IniDocument::SetValue(std::string_view section, std::string_view key, std::string_view value) {
  if (HasLineBreak(section) || HasLineBreak(key) || HasLineBreak(value)) return false;
  if (key.find('=') != std::string_view::npos) return false;
  Line entry = NewLine(std::string(Trim(key)) + "=" + std::string(value));
  if (entry.kind != Kind::kEntry || !EqualsNoCase(entry.name, Trim(key))) return false;
  Line header = NewLine("[" + std::string(Trim(section)) + "]");
  if (header.kind != Kind::kSection || !EqualsNoCase(header.name, Trim(section))) return false;

  auto found = FindSection(section);
  if (!found) {
    EndLastLine();
    lines_.push_back(std::move(header));
    lines_.push_back(std::move(entry));
    return true;
  }
  const size_t end = SectionEnd(*found);
  size_t insertAt = *found + 1;
  for (size_t i = *found + 1; i < end; ++i) {
    Line& line = lines_[i];
    if (line.kind == Kind::kEntry && EqualsNoCase(line.name, Trim(key))) {
      // The key keeps its spelling and its line end.
      Line replaced = NewLine(line.name + "=" + std::string(value));
      replaced.eol = line.eol.empty() ? "" : line.eol;
      line = std::move(replaced);
      return true;
    }
    if (line.kind != Kind::kBlank) insertAt = i + 1;
  }
  if (insertAt == lines_.size()) EndLastLine();
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insertAt), std::move(entry));
  return true;
}

void IniDocument::DeleteKey(std::string_view section, std::string_view key) {
  auto found = FindSection(section);
  if (!found) return;
  const std::string wanted = FoldCase(Trim(key));
  for (size_t i = SectionEnd(*found); i-- > *found + 1;)
    if (lines_[i].kind == Kind::kEntry && FoldCase(lines_[i].name) == wanted)
      lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(i));
}

void IniDocument::DeleteSection(std::string_view section) {
  // Every section of that name goes, so no hidden duplicate takes the removed one's place.
  while (auto found = FindSection(section)) {
    lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(*found),
                 lines_.begin() + static_cast<std::ptrdiff_t>(SectionEnd(*found)));
  }
}

bool IniDocument::ReplaceSection(std::string_view section, const std::vector<std::string>& lines) {
  if (HasLineBreak(section)) return false;
  Line header = NewLine("[" + std::string(Trim(section)) + "]");
  if (header.kind != Kind::kSection || !EqualsNoCase(header.name, Trim(section))) return false;
  std::vector<Line> entries;
  for (const std::string& text : lines) {
    if (HasLineBreak(text)) return false;
    Line entry = NewLine(text);
    if (entry.kind == Kind::kBlank) continue;
    if (entry.kind == Kind::kSection) return false;
    entries.push_back(std::move(entry));
  }
  auto found = FindSection(section);
  if (!found) {
    EndLastLine();
    lines_.push_back(std::move(header));
    lines_.insert(lines_.end(), std::make_move_iterator(entries.begin()),
                  std::make_move_iterator(entries.end()));
    return true;
  }
  // The old entries and comments go; blank lines stay where they separate sections.
  for (size_t i = SectionEnd(*found); i-- > *found + 1;)
    if (lines_[i].kind != Kind::kBlank)
      lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(i));
  if (!entries.empty() && *found + 1 == lines_.size()) EndLastLine();
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(*found + 1),
                std::make_move_iterator(entries.begin()), std::make_move_iterator(entries.end()));
  return true;
}

bool IniDocument::HoldsPassword() const {
  constexpr std::string_view kPassword = "Password";
  for (const Line& line : lines_) {
    // Folding cannot make a much longer or shorter name equal; the size test spares the
    // fold on the many lines of a profile's links.
    if (line.kind == Kind::kEntry && !line.value.empty() && line.name.size() >= 6 &&
        line.name.size() <= 24 && EqualsNoCase(line.name, kPassword))
      return true;
  }
  return false;
}

int32_t ParseProfileInt(std::string_view value, int32_t fallback) {
  if (value.empty()) return fallback;
  size_t i = 0;
  while (i < value.size() && static_cast<unsigned char>(value[i]) <= ' ') ++i;
  bool negative = false;
  if (i < value.size() && (value[i] == '+' || value[i] == '-')) negative = value[i++] == '-';
  uint32_t number = 0;  // wraps on overflow, as the platform's reading does
  for (; i < value.size() && value[i] >= '0' && value[i] <= '9'; ++i)
    number = number * 10u + static_cast<uint32_t>(value[i] - '0');
  if (negative) number = 0u - number;
  return static_cast<int32_t>(number);
}

namespace {

// The last file read or written, kept parsed: a profile of 100,000 stored links took a
// tenth of a second to parse, and a check reads and writes it over a dozen times. The file
// is still read every time and compared byte for byte (reading is cheap; parsing is not),
// so a change made by another program is always seen, however close in time.
struct CachedFile {
  bool valid = false;
  std::string path;
  std::string bytes;
  IniDocument document;
};

std::mutex& CacheMutex() {
  static std::mutex mutex;
  return mutex;
}

CachedFile& Cache() {
  static CachedFile cache;
  return cache;
}

// Brings the cache to the file as it is now; false when it exists but cannot be read. A
// missing file is an empty document. The caller holds the cache's lock.
bool Refresh(const std::string& path, CachedFile& cache) {
  if (path.empty()) return false;
  std::string bytes;
  if (!ReadWholeFile(path, bytes)) {
    struct stat info {};
    if (stat(path.c_str(), &info) == 0 || errno != ENOENT) {
      cache.valid = false;
      return false;
    }
    bytes.clear();
  }
  if (cache.valid && cache.path == path && cache.bytes == bytes) return true;
  cache.valid = false;
  cache.document = IniDocument::Parse(bytes);
  cache.bytes = std::move(bytes);
  cache.path = path;
  cache.valid = true;
  return true;
}

template <class Read>
auto ReadDocument(const std::string& path, Read read) -> decltype(read(IniDocument{})) {
  std::lock_guard<std::mutex> lock(CacheMutex());
  CachedFile& cache = Cache();
  if (!Refresh(path, cache)) return {};
  return read(cache.document);
}

bool Change(const std::string& path, const std::function<bool(IniDocument&)>& change) {
  std::lock_guard<std::mutex> lock(CacheMutex());
  CachedFile& cache = Cache();
  if (!Refresh(path, cache)) return false;
  IniDocument& document = cache.document;
  if (!change(document)) {
    cache.valid = false;  // a refused change leaves the document as it was; reread to be sure
    return false;
  }
  std::string bytes = document.Serialize();
  if (bytes.empty() && cache.bytes.empty()) return true;  // nothing to store: no file created
  const bool secret = document.HoldsPassword();
  if (bytes == cache.bytes) {
    // The same text again: a password already in a file others can read is closed off now.
    if (secret) LimitToOwner(path);
    return true;
  }
  // From here the cached document holds the change; it stays only if the file does too.
  cache.valid = false;
  if (!WriteFileAtomically(path, bytes, nullptr, kIniFileMode, secret ? 07700 : 07777))
    return false;
  cache.bytes = std::move(bytes);
  cache.valid = true;
  return true;
}

}  // namespace

std::optional<std::string> IniGetString(const std::string& path, std::string_view section,
                                        std::string_view key) {
  return ReadDocument(path, [&](const IniDocument& d) -> std::optional<std::string> {
    return d.Value(section, key);
  });
}

int32_t IniGetInt(const std::string& path, std::string_view section, std::string_view key,
                  int32_t fallback) {
  auto value = IniGetString(path, section, key);
  return value ? ParseProfileInt(*value, fallback) : fallback;
}

std::vector<std::string> IniSectionNames(const std::string& path) {
  return ReadDocument(path, [](const IniDocument& d) { return d.SectionNames(); });
}

std::optional<std::vector<std::string>> IniSectionLines(const std::string& path,
                                                        std::string_view section) {
  return ReadDocument(path, [&](const IniDocument& d) { return d.SectionLines(section); });
}

bool IniWriteString(const std::string& path, std::string_view section, std::string_view key,
                    std::string_view value) {
  return Change(path, [&](IniDocument& d) { return d.SetValue(section, key, value); });
}

bool IniDeleteKey(const std::string& path, std::string_view section, std::string_view key) {
  return Change(path, [&](IniDocument& d) {
    d.DeleteKey(section, key);
    return true;
  });
}

bool IniDeleteSection(const std::string& path, std::string_view section) {
  return Change(path, [&](IniDocument& d) {
    d.DeleteSection(section);
    return true;
  });
}

bool IniWriteSection(const std::string& path, std::string_view section,
                     const std::vector<std::string>& lines) {
  return Change(path, [&](IniDocument& d) { return d.ReplaceSection(section, lines); });
}

}  // namespace vendil
