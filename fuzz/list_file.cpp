// Fuzz target: a list file of new-links profiles as it is read (CP932 text split at CR LF),
// and the stored form of a link: the lines must join back to the text, and every stored
// link must survive the CP932 profile unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "export/file_text.h"
#include "newlinks/list_file.h"
#include "parse/mod_string.h"
#include "platform/codec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text =
      vendil::AnsiToUtf8(std::string(reinterpret_cast<const char*>(data), size));
  const auto lines = vendil::SplitListLines(text);
  if (!lines) {
    if (text.find('\0') == std::string::npos) std::abort();
    return 0;
  }
  std::string joined;
  for (size_t i = 0; i < lines->size(); ++i) {
    if (i > 0) joined += "\r\n";
    joined += (*lines)[i];
    const std::string stored = vendil::UrlForAnsiFile(vendil::TrimBlanks((*lines)[i]));
    if (vendil::AnsiToUtf8(vendil::Utf8ToAnsi(stored)) != stored) std::abort();
  }
  if (joined != text) std::abort();
  return 0;
}
