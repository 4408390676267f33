// Script file bytes of any kind decode to text without a crash, and UTF-8 input that is
// well-formed comes back unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "crawl/script_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::string text = vendil::ScriptBytesToText(bytes);
  if (!vendil::IsWellFormedUtf8(text)) std::abort();
  if (!bytes.starts_with("\xEF\xBB\xBF") && vendil::IsWellFormedUtf8(bytes) && text != bytes)
    std::abort();
  return 0;
}
