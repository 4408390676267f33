// Fuzzes the INI store through cIni: any bytes as a settings file, every read, and a write.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>

#include "settings/c_ini.h"

namespace {

const std::string& TempPath() {
  static const std::string path = [] {
    std::string pattern = "/tmp/vendil-fuzz-ini-XXXXXX";
    int fd = mkstemp(pattern.data());
    if (fd >= 0) close(fd);
    return pattern;
  }();
  return path;
}

std::string Slice(const std::string& text, size_t from, size_t length) {
  return from < text.size() ? text.substr(from, length) : std::string();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  std::ofstream(TempPath(), std::ios::binary | std::ios::trunc) << bytes;

  vendil::cIni ini;
  ini.FileName(TempPath());
  std::vector<std::string> names;
  ini.GetAllSection(names);
  names.push_back("General");
  names.push_back("");
  for (const std::string& section : names) {
    ini.Section(section);
    std::vector<std::string> lines;
    ini.GetAllKey(lines);
    std::vector<std::array<std::string, 2>> pairs;
    ini.GetAllKeyEx(pairs);
    for (const auto& pair : pairs) {
      ini.GetString(pair[0], "d");
      ini.GetValue(pair[0], 1);
    }
    ini.GetProfileSection(section);
    ini.GetMultiLine(section, "d");
  }
  // A write from the input's own text, then the file must still read.
  ini.Section(Slice(bytes, 0, 8));
  ini.SetString(Slice(bytes, 8, 8), Slice(bytes, 16, 32));
  ini.SetMultiLine("Multi", Slice(bytes, 0, 64));
  ini.GetString(Slice(bytes, 8, 8));
  ini.GetAllSection(names);
  return 0;
}
