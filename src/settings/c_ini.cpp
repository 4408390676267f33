// cIni over the INI store: values cut as the fixed read buffer cuts them, whole sections as
// NUL-separated blocks, and multi-line texts stored as sections of ">" lines.
#include "settings/c_ini.h"

#include "platform/codec.h"
#include "platform/ini_store.h"

namespace vendil {

namespace {

// The read buffer holds 32767 bytes of the CP932 form, its terminator included.
constexpr size_t kBufferBytes = 32767;

// `text` as the buffer returns it: at most kBufferBytes - 1 bytes of its CP932 form, never
// half of a double-byte character.
std::string CutToBuffer(const std::string& text) {
  // A character never takes more bytes in CP932 than in UTF-8.
  if (text.size() < kBufferBytes) return text;
  std::string ansi = Utf8ToAnsi(text);
  if (ansi.size() < kBufferBytes) return text;
  size_t keep = 0;
  while (keep < ansi.size()) {
    unsigned char c = static_cast<unsigned char>(ansi[keep]);
    size_t width = (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC) ? 2 : 1;
    if (keep + width > kBufferBytes - 1) break;
    keep += width;
  }
  return AnsiToUtf8(std::string_view(ansi).substr(0, keep));
}

std::string JoinBlock(const std::vector<std::string>& lines) {
  std::string block;
  for (const std::string& line : lines) {
    block += line;
    block += '\0';
  }
  if (lines.empty()) block += '\0';
  block += '\0';
  return block;
}

// The lines of a block, up to its first empty entry.
std::vector<std::string> SplitBlock(const std::string& block) {
  std::vector<std::string> lines;
  size_t at = 0;
  while (at < block.size()) {
    size_t end = block.find('\0', at);
    if (end == std::string::npos) end = block.size();
    if (end == at) break;
    lines.push_back(block.substr(at, end - at));
    at = end + 1;
  }
  return lines;
}

size_t FirstCharacterLength(const std::string& text) {
  if (text.empty()) return 0;
  size_t length = 1;
  while (length < text.size() && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80 &&
         (static_cast<unsigned char>(text[0]) & 0xC0) == 0xC0 && length < 4)
    ++length;
  return length;
}

}  // namespace

std::string cIni::GetString(const std::string& strKey, const std::string& strDefault) const {
  auto value = IniGetString(fileName_, section_, strKey);
  if (!value) {
    // The platform returns its default with trailing blanks removed.
    size_t end = strDefault.find_last_not_of(' ');
    if (end == std::string::npos) return strDefault;
    return CutToBuffer(strDefault.substr(0, end + 1));
  }
  if (value->empty()) return strDefault;
  return CutToBuffer(*value);
}

int32_t cIni::GetValue(const std::string& strKey, int32_t lngDefault) const {
  return IniGetInt(fileName_, section_, strKey, lngDefault);
}

bool cIni::SetString(const std::string& strKey, const std::string& strValue) const {
  return IniWriteString(fileName_, section_, strKey, strValue);
}

bool cIni::SetValue(const std::string& strKey, int32_t lngValue) const {
  return SetString(strKey, std::to_string(lngValue));
}

bool cIni::SetAllKey(const std::string& strKey) const {
  return IniWriteSection(fileName_, section_, SplitBlock(strKey));
}

bool cIni::DeleteKey(const std::string& strKey) const {
  return IniDeleteKey(fileName_, section_, strKey);
}

bool cIni::DeleteSection() const { return IniDeleteSection(fileName_, section_); }

int32_t cIni::GetAllSection(std::vector<std::string>& names) const {
  std::vector<std::string> found = IniSectionNames(fileName_);
  if (found.empty()) return 0;
  names = std::move(found);
  return static_cast<int32_t>(names.size());
}

std::string cIni::GetProfileSection(const std::string& strSection) const {
  auto lines = IniSectionLines(fileName_, strSection);
  return JoinBlock(lines ? *lines : std::vector<std::string>());
}

int32_t cIni::GetAllKey(std::vector<std::string>& lines) const {
  auto found = IniSectionLines(fileName_, section_);
  if (!found || found->empty()) return 0;
  lines = std::move(*found);
  return static_cast<int32_t>(lines.size());
}

int32_t cIni::GetAllKeyEx(std::vector<std::array<std::string, 2>>& pairs) const {
  std::vector<std::string> lines;
  int32_t count = GetAllKey(lines);
  if (count == 0) return 0;
  std::vector<std::array<std::string, 2>> result;
  result.reserve(lines.size());
  for (const std::string& line : lines) {
    size_t equals = line.find('=');
    if (equals == std::string::npos) {
      result.push_back({line, ""});
    } else {
      result.push_back({line.substr(0, equals), line.substr(equals + 1)});
    }
  }
  pairs = std::move(result);
  return count;
}

std::string cIni::GetMultiLine(const std::string& strSection, const std::string& strDefault) const {
  auto lines = IniSectionLines(fileName_, strSection);
  if (!lines || lines->empty()) return strDefault;
  std::string block = JoinBlock(*lines);
  block.erase(0, FirstCharacterLength(block));
  std::string text;
  for (size_t i = 0; i < block.size(); ++i) {
    if (block[i] != '\0') {
      text += block[i];
    } else if (i + 1 < block.size() && block[i + 1] == '>') {
      text += "\r\n";
      ++i;
    } else {
      break;
    }
  }
  return text;
}

bool cIni::SetMultiLine(const std::string& strSection, const std::string& strValue) const {
  if (strValue.empty()) return false;
  // A lone CR or LF also ends a line: stored raw it would break the file's lines.
  std::vector<std::string> lines;
  size_t start = 0;
  while (true) {
    size_t end = strValue.find_first_of("\r\n", start);
    lines.push_back(">" + strValue.substr(start, end == std::string::npos ? end : end - start));
    if (end == std::string::npos) break;
    start = end + (strValue.compare(end, 2, "\r\n") == 0 ? 2 : 1);
  }
  return IniWriteSection(fileName_, strSection, lines);
}

bool cIni::Flush() const {
  // Nothing is cached between calls: every write is already in the file.
  return !fileName_.empty();
}

namespace {

cIni InSection(const cIni& file, const char* section) {
  cIni ini;
  ini.FileName(file.FileName());
  ini.Section(section);
  return ini;
}

}  // namespace

std::string ReadSetting(const cIni& file, const TextSetting& setting) {
  return InSection(file, setting.section).GetString(setting.key, setting.fallback);
}
int32_t ReadSetting(const cIni& file, const NumberSetting& setting) {
  return InSection(file, setting.section).GetValue(setting.key, setting.fallback);
}
int32_t ReadSetting(const cIni& file, const KeyName& setting, int32_t current) {
  return InSection(file, setting.section).GetValue(setting.key, current);
}
std::string ReadSetting(const cIni& file, const KeyName& setting, const std::string& current) {
  return InSection(file, setting.section).GetString(setting.key, current);
}
bool WriteSetting(const cIni& file, const TextSetting& setting, const std::string& value) {
  return InSection(file, setting.section).SetString(setting.key, value);
}
bool WriteSetting(const cIni& file, const NumberSetting& setting, int32_t value) {
  return InSection(file, setting.section).SetValue(setting.key, value);
}
bool WriteSetting(const cIni& file, const KeyName& setting, int32_t value) {
  return InSection(file, setting.section).SetValue(setting.key, value);
}
bool WriteSetting(const cIni& file, const KeyName& setting, const std::string& value) {
  return InSection(file, setting.section).SetString(setting.key, value);
}

}  // namespace vendil
