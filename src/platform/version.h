// The program's version, revision (the Build number of the about box) and source revision.
#pragma once

#include <string>

namespace vendil {

std::string ProgramVersion();  // "0.0.26"
int ProgramRevision();         // 26
std::string ProgramGitHash();  // short commit hash of the build, or "unknown"
std::string ProgramCopyright();

}  // namespace vendil
