// The files of a download: target folders kept inside their base, names decoded when they
// are text.
#include "download/download_plan.h"

#include <cstdint>
#include <filesystem>
#include <set>

namespace vendil {

namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool IsValidUtf8Text(const std::string& s) {
  size_t i = 0;
  while (i < s.size()) {
    const auto c = static_cast<unsigned char>(s[i]);
    if (c < 0x20 || c == 0x7f) return false;
    size_t len = 0;
    uint32_t cp = 0;
    if (c < 0x80) {
      ++i;
      continue;
    } else if ((c & 0xe0) == 0xc0) {
      len = 2;
      cp = c & 0x1f;
    } else if ((c & 0xf0) == 0xe0) {
      len = 3;
      cp = c & 0x0f;
    } else if ((c & 0xf8) == 0xf0) {
      len = 4;
      cp = c & 0x07;
    } else {
      return false;
    }
    if (i + len > s.size()) return false;
    for (size_t k = 1; k < len; ++k) {
      const auto cc = static_cast<unsigned char>(s[i + k]);
      if ((cc & 0xc0) != 0x80) return false;
      cp = (cp << 6) | (cc & 0x3f);
    }
    const uint32_t minimum = len == 2 ? 0x80 : len == 3 ? 0x800 : 0x10000;
    if (cp < minimum || cp > 0x10ffff || (cp >= 0xd800 && cp <= 0xdfff)) return false;
    if (cp >= 0x80 && cp < 0xa0) return false;  // C1 controls
    i += len;
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
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%') {
      out += text[i];
      continue;
    }
    if (i + 2 >= text.size()) return text;
    const int hi = HexValue(text[i + 1]), lo = HexValue(text[i + 2]);
    if (hi < 0 || lo < 0) return text;
    out += static_cast<char>(hi * 16 + lo);
    i += 2;
  }
  return IsValidUtf8Text(out) ? out : text;
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
