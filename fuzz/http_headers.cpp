// Fuzz target for the response header reader: the input is split into lines at line feeds
// (each line keeps its end, as the transfer hands them over) and fed one by one; after each
// line the lookups run on whatever the reader holds.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/http_headers.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  vendil::ResponseHeaders headers;
  size_t start = 0;
  while (start < input.size()) {
    size_t end = input.find('\n', start);
    end = end == std::string_view::npos ? input.size() : end + 1;
    const std::string_view line = input.substr(start, end - start);
    start = end;

    const vendil::ResponseHeaders::LineKind kind = headers.Feed(line);
    if (kind == vendil::ResponseHeaders::LineKind::Header && headers.Count() == 0) __builtin_trap();
    for (const std::string_view name : {"Content-Type", "location", "SET-COOKIE", ""}) {
      const std::string value = headers.Get(name);
      // A value is a part of a line already fed, so it can never outgrow the input.
      if (value.size() > size) __builtin_trap();
      if (!value.empty() && !headers.Has(name)) __builtin_trap();
    }
    (void)headers.IsFinal();
    (void)headers.Status();
  }
  return 0;
}
