// The User-Agent header line every request's header text begins with.
#pragma once

#include <string>

namespace vendil {

std::string BuildUserAgent();

}  // namespace vendil
