// Fuzz target for reading a file's size from a response's Content-Length and Content-Range:
// any bytes give -1 or a size that is not negative, and the error word of any transfer
// number is a word.
#include <cstddef>
#include <cstdint>
#include <string>

#include "net/link_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  const size_t half = size / 2;
  const std::string length = input.substr(0, half), range = input.substr(half);
  for (const int status : {200, 206, 416}) {
    const int64_t bytes = vendil::ResponseSize(status, length, range);
    if (bytes < -1) __builtin_trap();
  }
  if (size >= 4) {
    const int code = static_cast<int>(data[0]) | static_cast<int>(data[1]) << 8;
    if (code != 0 && vendil::TransferErrorWord(code).empty()) __builtin_trap();
  }
  return 0;
}
