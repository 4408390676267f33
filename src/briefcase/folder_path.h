// The folder path a scan gives the files of its start folder.
#pragma once

#include <string>

namespace vendil {

// The last segment of the URL (a trailing "/" dropped) followed by "\", or empty when the
// URL holds no "/" at all.
std::string StartFolderPath(std::string url);

}  // namespace vendil
