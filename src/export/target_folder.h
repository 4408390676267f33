// The row target folder: the folder a manager's file or hand-off gives one row.
#pragma once

#include <string>

#include "list/link_list.h"

namespace vendil {

// The row's DownloadFolder when it is not empty, else `saveFolder`; with
// `useBriefcaseDirectory` a trailing "\" is ensured and the row's Folder appended. With
// `alwaysTrailingBackslash` (the GetRight file, where the file name follows) the trailing
// "\" is ensured also when the option is off. Folders keep "\" because Windows peers read
// these files.
std::string RowTargetFolder(const LinkRow& row, const std::string& saveFolder,
                            bool useBriefcaseDirectory, bool alwaysTrailingBackslash = false);

}  // namespace vendil
