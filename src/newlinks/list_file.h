// A list file of new-links profiles: its text read from CP932, its lines, and the test that
// a line names something on disk.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace vendil {

// The whole file converted from CP932; empty on any error (missing, unreadable, empty).
std::string ReadTextFile(const std::string& strPath);
// True when the path is not empty and names something that exists (a folder too).
bool FileExists(const std::string& strPath);
// The lines of a list file, split at CR LF only; nullopt when the text is not a text file.
std::optional<std::vector<std::string>> SplitListLines(const std::string& text);

}  // namespace vendil
