// Where the program lives and where a user's own settings go.
#include "platform/program_folder.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

namespace vendil {

namespace {

// Creates every missing folder of `path`; the folders it creates get `mode`.
void MakeFolders(const std::string& path, mode_t mode) {
  for (size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
    std::string part = path.substr(0, slash);
    if (!part.empty()) mkdir(part.c_str(), mode);
    if (slash == std::string::npos) break;
  }
}

std::string HomeFolder() {
  const char* home = std::getenv("HOME");
  if (home != nullptr && home[0] == '/') return home;
  std::vector<char> buffer(16384);
  passwd entry{};
  passwd* found = nullptr;
  if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr &&
      found->pw_dir != nullptr)
    return found->pw_dir;
  return "/tmp";
}

}  // namespace

std::string ProgramFolder() {
  std::vector<char> buffer(4096);
  while (true) {
    ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (length < 0) return ".";
    if (static_cast<size_t>(length) < buffer.size()) {
      std::string path(buffer.data(), static_cast<size_t>(length));
      size_t slash = path.rfind('/');
      if (slash == std::string::npos) return ".";
      return slash == 0 ? "/" : path.substr(0, slash);
    }
    buffer.resize(buffer.size() * 2);
  }
}

std::string ProgramDataFolder(const std::string& programFolder) {
  struct stat info {};
  auto isFolder = [&info](const std::string& path) {
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
  };
  if (isFolder(programFolder + "/help") || isFolder(programFolder + "/scripts"))
    return programFolder;
  const std::string installed = programFolder + "/../share/vendil";
  if (isFolder(installed + "/help") || isFolder(installed + "/scripts")) return installed;
  return programFolder;
}

std::string ProgramDataFolder() { return ProgramDataFolder(ProgramFolder()); }

std::string UserConfigFolder() {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  // A relative XDG_CONFIG_HOME is to be ignored.
  std::string base = xdg != nullptr && xdg[0] == '/' ? xdg : HomeFolder() + "/.config";
  while (base.size() > 1 && base.back() == '/') base.pop_back();
  std::string folder = base + "/vendil";
  MakeFolders(folder, 0700);
  return folder;
}

bool IsFolderWritable(const std::string& folder) {
  struct stat info {};
  if (stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) return false;
  return access(folder.c_str(), W_OK | X_OK) == 0;
}

}  // namespace vendil
