// The files of a download: target folders kept inside their base, names decoded when they
// are text.
#include "download/download_plan.h"
#include "parse/decoded_name.h"
#include "platform/codec.h"

#include <cstdint>
#include <filesystem>
#include <set>

namespace vendil {

namespace {

// Valid UTF-8 without C0 or C1 controls: a name a file system, a terminal and a record
// take as it is.
bool IsValidUtf8Text(const std::string& s) {
  if (!IsValidUtf8(s)) return false;
  for (size_t i = 0; i < s.size(); ++i) {
    const auto c = static_cast<unsigned char>(s[i]);
    if (c < 0x20 || c == 0x7f) return false;
    // U+0080 to U+009F are the two bytes C2 80 to C2 9F.
    if (c == 0xc2 && i + 1 < s.size() && static_cast<unsigned char>(s[i + 1]) < 0xa0) return false;
  }
  return true;
}

// Folder parts from a page, joined with "/"; nothing that climbs or roots the path.
std::string SafeRelativeFolder(const std::string& folder) {
  std::string out, part;
  auto flush = [&] {
    if (!part.empty() && part != "." && part != "..") {
      if (!out.empty()) out += '/';
      out += part;
    }
    part.clear();
  };
  for (char c : folder) {
    if (c == '/' || c == '\\') {
      flush();
    } else if (c != '\0') {
      part += c;
    }
  }
  flush();
  return out;
}

std::string AbsoluteFolder(std::string folder) {
  for (char& c : folder) {
    if (c == '\\') c = '/';
  }
  std::error_code ec;
  std::filesystem::path p = std::filesystem::absolute(folder, ec);
  if (ec) return folder;
  std::string text = p.lexically_normal().string();
  while (text.size() > 1 && text.back() == '/') text.pop_back();
  return text;
}

// The last segment of the URL's path, without query or fragment.
std::string LastPathSegment(const std::string& url) {
  size_t start = 0;
  if (const size_t scheme = url.find("://"); scheme != std::string::npos) {
    start = url.find('/', scheme + 3);
    if (start == std::string::npos) return "";
  }
  size_t end = url.find_first_of("?#", start);
  if (end == std::string::npos) end = url.size();
  const std::string path = url.substr(start, end - start);
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

std::string PercentDecodedName(const std::string& text) {
  const std::optional<std::string> decoded = PercentDecoded(text);
  return decoded && IsValidUtf8Text(*decoded) ? *decoded : text;
}

std::string OutputFileName(const std::string& url, const std::string& fileName) {
  const std::string segment = LastPathSegment(url);
  if (segment.empty()) return "";
  std::string name = PercentDecodedName(fileName.empty() ? segment : fileName);
  for (char& c : name) {
    if (c == '/' || c == '\\' || c == '\0') c = '_';
  }
  if (name == "." || name == ".." || !IsValidUtf8Text(name)) return "";
  return name;
}

// `name` with ".N" before its extension ("a.zip" -> "a.1.zip"), as aria2 renames.
std::string NumberedName(const std::string& name, int n) {
  const size_t dot = name.rfind('.');
  if (dot == std::string::npos || dot == 0) return name + "." + std::to_string(n);
  return name.substr(0, dot) + "." + std::to_string(n) + name.substr(dot);
}

std::vector<PlannedFile> PlanDownloads(const LinkList& list, const std::string& saveFolder,
                                       bool useBriefcaseDirectory) {
  std::vector<PlannedFile> files;
  // Two rows of one download never share a file: with --continue aria2 would take the
  // second for the rest of the first. The same order gives the same names next time, so
  // a resumed download finds its partial files.
  std::set<std::string> taken;
  const std::string save = AbsoluteFolder(saveFolder);
  for (size_t i = 1; i <= list.Count(); ++i) {
    if (!list.Checked(i)) continue;
    const LinkRow& row = list.Row(i);
    PlannedFile f;
    f.row = i;
    f.url = row.Url;
    f.referer = row.Referer;
    f.dir = row.DownloadFolder.empty() ? save : AbsoluteFolder(row.DownloadFolder);
    if (useBriefcaseDirectory) {
      const std::string sub = SafeRelativeFolder(row.Folder);
      if (!sub.empty()) f.dir += (f.dir == "/" ? "" : "/") + sub;
    }
    f.out = OutputFileName(row.Url, row.FileName);
    if (!f.out.empty()) {
      const std::string base = f.out;
      for (int n = 1; !taken.insert(f.dir + "/" + f.out).second; ++n) f.out = NumberedName(base, n);
    }
    files.push_back(std::move(f));
  }
  return files;
}

}  // namespace vendil
