// Opening a URL or file with the desktop's own handler.
#pragma once

#include <string>

namespace vendil {

// Starts `xdg-open URL` without waiting for it; false when it cannot be started.
bool OpenWithDesktop(const std::string& url);

}  // namespace vendil
