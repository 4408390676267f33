// The folder of the running executable, and the user's configuration folder.
#pragma once

#include <string>

namespace vendil {

std::string ProgramFolder();  // no closing slash
// The folder that holds help/ and scripts/: the program's own folder (a portable copy, the
// build tree), or PREFIX/share/vendil beside PREFIX/bin for an installed copy.
std::string ProgramDataFolder();
std::string ProgramDataFolder(const std::string& programFolder);
std::string UserConfigFolder();  // $XDG_CONFIG_HOME/vendil or ~/.config/vendil, created
bool IsFolderWritable(const std::string& folder);

}  // namespace vendil
