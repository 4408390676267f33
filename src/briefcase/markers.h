// The marker sets by which the folder scan and the sign-in recognise the pages of the
// Japanese site (2) and the international site (any other value).
#pragma once

#include <cstdint>

#include "state/form1.h"

namespace vendil {

inline constexpr int32_t kInternationalSite = 1;
inline constexpr int32_t kJapaneseSite = 2;

BriefcaseMarkerSet BriefcaseMarkersFor(int32_t site);

}  // namespace vendil
