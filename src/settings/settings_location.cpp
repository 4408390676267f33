// Where the settings file lives, and the folder part of a chosen path.
#include "platform/program_folder.h"
#include "settings/c_ini.h"

namespace vendil {

std::string GetParentFolder(const std::string& strPath) {
  size_t last = strPath.find_last_of("\\/");
  if (last == std::string::npos) return "";
  return strPath.substr(0, last + 1);
}

std::string SettingsFilePath(const std::string& programFolder) {
  if (IsFolderWritable(programFolder)) return programFolder + "/vendil.ini";
  return UserConfigFolder() + "/vendil.ini";
}

}  // namespace vendil
