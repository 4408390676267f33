// The login form data as a browser submits a form: every name and value percent-encoded as
// application/x-www-form-urlencoded (UTF-8 bytes, a blank as "+").
#pragma once

#include <string>

namespace vendil {

std::string FormUrlEncode(const std::string& text);

// Appends name=value, with "&" before it when the data is not empty.
void AppendFormField(std::string& data, const std::string& name, const std::string& value);

}  // namespace vendil
