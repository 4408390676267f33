// Fuzz target for the login page readers: the input as one input tag, and as a whole login
// page whose hidden fields become form data.
#include <cstddef>
#include <cstdint>
#include <string>

#include "briefcase/form_data.h"
#include "briefcase/input_tag.h"
#include "briefcase/sign_in.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  std::string type, name, value;
  (void)vendil::ParseInputTag(input, type, name, value);
  // What is read comes out of the tag itself.
  if (type.size() + name.size() + value.size() > input.size()) __builtin_trap();

  const std::string formData =
      vendil::BuildLoginFormData(input, static_cast<int64_t>(size), "id&", "pw ä");
  // Encoded data holds no character that would split or end a field by itself.
  if (formData.find_first_of(" #\r\n") != std::string::npos) __builtin_trap();
  if (formData.size() < sizeof("login=id%26&passwd=pw+%C3%A4") - 1) __builtin_trap();
  return 0;
}
