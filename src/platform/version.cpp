// Version information compiled into the program.
#include "platform/version.h"

namespace vendil {

std::string ProgramVersion() { return VENDIL_VERSION; }
int ProgramRevision() { return VENDIL_REVISION; }
std::string ProgramGitHash() { return VENDIL_GIT_HASH; }
std::string ProgramCopyright() { return "Copyright (C) 2026 the Vendil developers"; }

}  // namespace vendil
