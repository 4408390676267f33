// The INI profile store: the Windows private-profile behaviour over files of our own. Names
// are found without regard to case, the first of duplicate sections and keys wins, and a
// change rewrites only the lines it touches. Text in memory is UTF-8; the file is CP932 (or
// UTF-8 when it starts with a UTF-8 byte-order mark), with CR LF for new lines.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vendil {

// Files the store creates hold settings, one with a password: only their owner reads them.
inline constexpr unsigned kIniFileMode = 0600;

class IniDocument {
 public:
  static IniDocument Parse(std::string_view bytes);
  std::string Serialize() const;

  // The value of a key: trimmed, and without one pair of enclosing quotes. None when the
  // section or key is absent or the line has no "=".
  std::optional<std::string> Value(std::string_view section, std::string_view key) const;
  // The entries of a section as they stand, without blank and comment lines; none when absent.
  std::optional<std::vector<std::string>> SectionLines(std::string_view section) const;
  // Every section's name once, in file order.
  std::vector<std::string> SectionNames() const;
  // Whether any section holds a key "Password" with a value: such a file is written
  // readable by its owner only.
  bool HoldsPassword() const;

  // Each change returns false and changes nothing when the text cannot be stored as given
  // (a line break or NUL in it, or a line that would read back as something else).
  bool SetValue(std::string_view section, std::string_view key, std::string_view value);
  void DeleteKey(std::string_view section, std::string_view key);
  void DeleteSection(std::string_view section);
  bool ReplaceSection(std::string_view section, const std::vector<std::string>& lines);

 private:
  enum class Kind { kBlank, kComment, kSection, kEntry };
  struct Line {
    std::string raw;  // the bytes as in the file, without the line end
    std::string eol;  // the line end as in the file ("\r\n", "\n", "\r", NUL or none)
    Kind kind = Kind::kBlank;
    std::string name;  // section or key name, trimmed, UTF-8
    std::string text;  // the whole line trimmed at its start, UTF-8
    bool hasValue = false;
    std::string value;  // after the first "=", trimmed
  };

  Line MakeLine(std::string raw, std::string eol) const;
  Line NewLine(std::string_view utf8) const;
  std::optional<size_t> FindSection(std::string_view section) const;
  size_t SectionEnd(size_t header) const;
  void EndLastLine();

  std::vector<Line> lines_;
  std::string bom_;
};

// Whole numbers as Windows reads them from a value: leading blanks, a sign, digits, up to
// the first other character. An empty value gives `fallback`.
int32_t ParseProfileInt(std::string_view value, int32_t fallback);

// File operations. Reads of a missing or unreadable file find nothing; writes create the
// file (mode kIniFileMode) and its sections as needed and return false on any failure. A
// file left holding a password loses any access by group and others as it is written.
std::optional<std::string> IniGetString(const std::string& path, std::string_view section,
                                        std::string_view key);
int32_t IniGetInt(const std::string& path, std::string_view section, std::string_view key,
                  int32_t fallback);
std::vector<std::string> IniSectionNames(const std::string& path);
std::optional<std::vector<std::string>> IniSectionLines(const std::string& path,
                                                        std::string_view section);
bool IniWriteString(const std::string& path, std::string_view section, std::string_view key,
                    std::string_view value);
bool IniDeleteKey(const std::string& path, std::string_view section, std::string_view key);
bool IniDeleteSection(const std::string& path, std::string_view section);
bool IniWriteSection(const std::string& path, std::string_view section,
                     const std::vector<std::string>& lines);

}  // namespace vendil
