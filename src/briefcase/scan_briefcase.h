// The briefcase folder scan: reads a folder page by page, lists its files with their folder
// paths, visits the subfolders breadth first, and signs in when a folder asks for it.
#pragma once

#include <cstdint>

#include "state/search_run.h"

namespace vendil {

bool ScanBriefcase(SearchRun& run);
void SetBriefcaseMarkers(Form1& form, int32_t site);

}  // namespace vendil
