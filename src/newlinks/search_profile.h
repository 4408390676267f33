// Search profiles: the main window's search settings written to and read from an INI file,
// either the settings file (with the window layout) or a ".nlc" new-links profile (with its
// stored links).
#pragma once

#include <cstdint>
#include <string>

#include "state/form1.h"

namespace vendil {

// False when any value could not be written (a read-only file, a full disk).
bool SaveProfile(Form1& form, const std::string& strPath, bool isSettingsFile);
// False when a profile lacks "Version" "Major", or when the file is there but cannot be read
// (a folder, device, FIFO, an oversized or unreadable file); the status text then says so.
// `lngCount` receives the number of stored links, only when a profile is read.
bool LoadProfile(Form1& form, const std::string& strPath, bool isSettingsFile, int32_t& lngCount);

// The search settings of a file (sections "General" and "Options") into the form's fields,
// option items and tag members; a missing key gives its first-start default.
void ReadSearchSettings(Form1& form, const std::string& strPath);
// The search settings of a first start without a settings file (mask "*", depth 0, the
// first tag, every switch off), as ReadSearchSettings gives them for a file without keys.
void ApplyFirstStartSettings(Form1& form);

}  // namespace vendil
