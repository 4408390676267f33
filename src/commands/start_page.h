// The start page window's part in the core: the page it shows and its position and size,
// kept in the settings file under "AdWindow" (twips).
#pragma once

#include <string>

#include "settings/settings_keys.h"
#include "state/form1.h"

namespace vendil {

// Its width where nothing is stored (twips).
inline constexpr int kStartPageWidth = setting::StartPageWidth.fallback;

// The page the window shows: help/start.html in the program's data folder.
std::string StartPagePath(const Form1& form);
// The stored position and size; where nothing is stored, a window right of the main one,
// as high as it.
WindowLayout ReadStartPageLayout(const Form1& form);
// False when the settings file could not be written.
bool SaveStartPageLayout(const Form1& form, const WindowLayout& layout);

}  // namespace vendil
