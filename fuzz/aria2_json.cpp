// Fuzz target: the JSON reader that takes aria2's answers, and the string writer's output
// must always read back as the same valid text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "export/file_text.h"
#include "export/json_value.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  (void)vendil::ParseJson(text);
  const auto quoted = vendil::ParseJson(vendil::JsonQuote(text));
  if (!quoted || quoted->kind != vendil::JsonValue::Kind::String) std::abort();
  (void)vendil::UrlForAnsiFile(text);
  return 0;
}
