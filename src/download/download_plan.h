// Which files a download of the checked rows asks for: for each checked row its URL, the
// folder it goes to (the save folder or the row's download folder, plus the row's folder
// when the briefcase-folder option is on) and its file name when the URL has one.
#pragma once

#include <string>
#include <vector>

#include "list/link_list.h"

namespace vendil {

struct PlannedFile {
  size_t row = 0;  // 1-based list position when the download started
  std::string url;
  std::string dir;  // absolute, with "/"
  std::string out;  // empty: aria2 names the file
  std::string referer;
};

// The checked rows of `list`, in list order. A row's folder from a page can never lead
// outside its base folder: empty, "." and ".." parts are dropped.
std::vector<PlannedFile> PlanDownloads(const LinkList& list, const std::string& saveFolder,
                                       bool useBriefcaseDirectory);

// The file name to save `url` under: `fileName` (or else the URL's last path segment)
// percent-decoded when that gives valid UTF-8 text, made safe as one path component.
// Empty when the URL's path ends in "/" or names no file.
std::string OutputFileName(const std::string& url, const std::string& fileName);

// `text` with %XX sequences decoded, or `text` itself when a sequence is malformed or
// the result is not valid UTF-8 or holds control characters.
std::string PercentDecodedName(const std::string& text);

}  // namespace vendil
