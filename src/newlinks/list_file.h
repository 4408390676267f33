// A list file of new-links profiles: its text read from CP932, its lines, and the test that
// a line names something on disk.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/atomic_file.h"

namespace vendil {

// Why a file the user named cannot be read, as the status text or a message box says it;
// empty for a readable file and for a missing one (callers treat that case themselves).
std::string FileProblemText(FileKind kind);

// The whole file converted from CP932; empty on any error (missing, unreadable, empty).
std::string ReadTextFile(const std::string& strPath);
// True when the path is not empty and names something that exists (a folder too).
bool FileExists(const std::string& strPath);
// Calls `visit` with each line of a list file's text, split at LF (a CR before it is no part
// of the line), in order; stops when it returns false. A huge list is walked without holding all
// its lines at once.
void ForEachListLine(std::string_view text, const std::function<bool(std::string_view)>& visit);
// Whether a text can be a list file at all: a NUL never occurs in a text file.
bool IsListText(std::string_view text);
// The lines of a list file, split as ForEachListLine splits them; nullopt when the text is not a
// text file.
std::optional<std::vector<std::string>> SplitListLines(const std::string& text);

}  // namespace vendil
