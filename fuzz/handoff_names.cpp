// Fuzz target: what the hand-offs make of a row's URL and referer (the save name handed to
// aria2, a Click'n'Load package name and urls field) and of a listener's check answer.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "download/handoff_clicknload.h"
#include "export/aria2_rpc.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  // A save name never leaves the folder it is saved in.
  const std::string name = vendil::SaveNameFromUrl(text);
  if (name.find('/') != std::string::npos || name == "." || name == "..") std::abort();
  for (char c : name) {
    if (static_cast<unsigned char>(c) < 0x20) std::abort();
  }
  (void)vendil::PackageNameOfPage(text);
  (void)vendil::IsClickNLoadCheckAnswer(text);
  // Two URLs give exactly two lines, whatever they hold.
  const std::string field = vendil::ClickNLoadUrlsField({text, text});
  size_t breaks = 0;
  for (char c : field) breaks += c == '\n' ? 1 : 0;
  if (breaks != 1) std::abort();
  return 0;
}
