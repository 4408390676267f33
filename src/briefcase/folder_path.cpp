// The start folder path of a scan.
#include "briefcase/folder_path.h"

namespace vendil {

std::string StartFolderPath(std::string url) {
  if (!url.empty() && url.back() == '/') url.pop_back();
  const size_t slash = url.rfind('/');
  if (slash == std::string::npos) return "";
  return url.substr(slash + 1) + "\\";
}

}  // namespace vendil
