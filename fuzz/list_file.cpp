// Fuzz target: a list file of new-links profiles as it is read (CP932 text split at CR LF or
// LF alone), and the stored form of a link: the lines joined by LF must give the text with
// its CR LF pairs made LF, and every stored link must survive the CP932 profile unchanged.
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
    if (i > 0) joined += "\n";
    if ((*lines)[i].find('\n') != std::string::npos) std::abort();
    joined += (*lines)[i];
    const std::string stored = vendil::UrlForAnsiFile(vendil::TrimBlanks((*lines)[i]));
    if (vendil::AnsiToUtf8(vendil::Utf8ToAnsi(stored)) != stored) std::abort();
  }
  std::string lfText;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    lfText += text[i];
  }
  if (joined != lfText) std::abort();
  return 0;
}
