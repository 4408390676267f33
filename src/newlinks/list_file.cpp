// Reading a list file of profiles: the text in CP932, its lines, and which lines name a file.
#include <sys/stat.h>

#include "newlinks/list_file.h"
#include "platform/atomic_file.h"
#include "platform/codec.h"

namespace vendil {

std::string FileProblemText(FileKind kind) {
  switch (kind) {
    case FileKind::kNotRegular:
      return "通常のファイルではないため読み込めません。";
    case FileKind::kTooLarge:
      return "ファイルが大きすぎるため読み込めません。";
    case FileKind::kNoAccess:
      return "ファイルを読み込めません。";
    case FileKind::kRegular:
    case FileKind::kMissing:
      break;
  }
  return "";
}

std::string ReadTextFile(const std::string& strPath) {
  std::string bytes;
  if (strPath.empty() || !ReadWholeFile(strPath, bytes)) return "";
  return AnsiToUtf8(bytes);
}

bool FileExists(const std::string& strPath) {
  struct stat info {};
  return !strPath.empty() && ::stat(strPath.c_str(), &info) == 0;
}

void ForEachListLine(std::string_view text, const std::function<bool(std::string_view)>& visit) {
  size_t start = 0;
  while (true) {
    // A list written on Linux ends its lines in LF alone; one from Windows in CR LF.
    const size_t end = text.find('\n', start);
    std::string_view line = text.substr(start, end == std::string_view::npos ? end : end - start);
    if (end != std::string_view::npos && !line.empty() && line.back() == '\r')
      line.remove_suffix(1);
    if (!visit(line)) return;
    if (end == std::string_view::npos) return;
    start = end + 1;
  }
}

bool IsListText(std::string_view text) { return text.find('\0') == std::string_view::npos; }

std::optional<std::vector<std::string>> SplitListLines(const std::string& text) {
  if (!IsListText(text)) return std::nullopt;
  std::vector<std::string> lines;
  if (text.empty()) return lines;
  ForEachListLine(text, [&lines](std::string_view line) {
    lines.emplace_back(line);
    return true;
  });
  return lines;
}

}  // namespace vendil
