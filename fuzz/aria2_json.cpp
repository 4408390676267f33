// Fuzz target: the JSON reader that takes aria2's answers, the readers of its transfer
// status and multicall entries, the file names taken from URLs, and the string writer,
// whose output must always read back as the same valid text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "download/aria2_status.h"
#include "download/download_plan.h"
#include "export/file_text.h"
#include "export/json_value.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  if (const auto value = vendil::ParseJson(text)) {
    for (const auto& t : vendil::ReadAria2Transfers(*value)) {
      if (t.gid.empty() || t.totalLength < 0 || t.completedLength < 0) std::abort();
      (void)vendil::Aria2ErrorText(t.errorCode, t.errorMessage);
    }
    std::string fault;
    (void)vendil::MulticallGid(*value, fault);
    for (const auto& item : value->items) (void)vendil::MulticallGid(item, fault);
  }
  const auto quoted = vendil::ParseJson(vendil::JsonQuote(text));
  if (!quoted || quoted->kind != vendil::JsonValue::Kind::String) std::abort();
  (void)vendil::UrlForAnsiFile(text);
  const std::string name = vendil::OutputFileName(std::string(text), "");
  if (name.find('/') != std::string::npos || name == "..") std::abort();
  return 0;
}
