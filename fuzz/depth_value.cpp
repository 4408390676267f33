// Fuzz target: the depth field's number reader takes any text from settings files and the
// command line.
#include <cstddef>
#include <cstdint>
#include <string>

#include "crawl/depth_value.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  (void)vendil::ValOfText(text);
  (void)vendil::DepthLimitFromText(text);
  return 0;
}
