// Search profiles: the main window's search settings written to and read from an INI file,
// either the settings file (with the window layout) or a ".nlc" new-links profile (with its
// stored links).
#pragma once

#include <cstdint>
#include <string>

#include "app/form1.h"

namespace vendil {

void SaveProfile(Form1& form, const std::string& strPath, bool isSettingsFile);
// False when a profile lacks "Version" "Major" (the status text then says so). `lngCount`
// receives the number of stored links, only when a profile is read.
bool LoadProfile(Form1& form, const std::string& strPath, bool isSettingsFile, int32_t& lngCount);

// The leading decimal number of a text as a 32-bit integer (blanks and a sign allowed before
// it); 0 when the text does not start with a number, clamped at the 32-bit limits.
int32_t LeadingInteger(const std::string& text);

}  // namespace vendil
