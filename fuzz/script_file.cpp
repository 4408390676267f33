// Script file bytes of any kind decode to well-formed UTF-8 text without a crash, and
// well-formed UTF-8 input, after a byte-order mark or without one, comes back unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "crawl/script_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::string text = vendil::ScriptBytesToText(bytes);
  if (!vendil::IsWellFormedUtf8(text)) std::abort();
  std::string_view body = bytes;
  if (body.starts_with("\xEF\xBB\xBF")) body.remove_prefix(3);
  if (vendil::IsWellFormedUtf8(body) && text != body) std::abort();
  return 0;
}
