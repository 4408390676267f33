// The folder of the running executable, and the user's configuration folder.
#pragma once

#include <string>

namespace vendil {

std::string ProgramFolder();     // no closing slash
std::string UserConfigFolder();  // $XDG_CONFIG_HOME/vendil or ~/.config/vendil, created
bool IsFolderWritable(const std::string& folder);

}  // namespace vendil
