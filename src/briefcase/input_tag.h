// Reading the type, name and value attributes of one <input ...> tag of a login page.
#pragma once

#include <string>

namespace vendil {

// False when the text is not a readable input tag; the outputs hold what was read so far.
bool ParseInputTag(const std::string& strTag, std::string& strType, std::string& strName,
                   std::string& strValue);

}  // namespace vendil
