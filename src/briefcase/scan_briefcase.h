// The briefcase folder scan: reads a folder page by page, lists its files with their folder
// paths, visits the subfolders breadth first, and signs in when a folder asks for it.
#pragma once

#include <cstdint>

#include "app/form1.h"

namespace vendil {

bool ScanBriefcase(Form1& form);
void SetBriefcaseMarkers(Form1& form, int32_t site);

}  // namespace vendil
