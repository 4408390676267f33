// One folder still to visit in a briefcase scan: its page URL and its folder path relative
// to the start folder, each level followed by a backslash.
#pragma once

#include <string>

namespace vendil {

class cFolderQue {
 public:
  std::string strUrl;
  std::string strFolder;
};

}  // namespace vendil
