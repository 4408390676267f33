// The section "Internet" of the settings file: proxy, time-outs and retries of the HTTP
// control, and the politeness keys ("Connections", "Delay"), which ".nlc" profiles carry too.
#pragma once

#include <string>

#include "platform/internet_options.h"

namespace vendil {

// Reads the keys present; a missing key leaves its value as it is, and values are brought
// into their ranges. Without `allKeys` only "Connections" and "Delay" are read.
void ReadInternetSettings(InternetOptions& options, const std::string& strPath, bool allKeys);
// False when a value could not be written. Without `allKeys` only "Connections" and "Delay".
bool WriteInternetSettings(const InternetOptions& options, const std::string& strPath,
                           bool allKeys);

// The ranges the keys and the command line keep to.
inline constexpr int kMaxConnections = 32;
inline constexpr int kMaxDelayMs = 600000;

}  // namespace vendil
