// The row target folder.
#include "export/target_folder.h"

namespace vendil {

namespace {
void EnsureTrailingBackslash(std::string& folder) {
  if (folder.empty() || folder.back() != '\\') folder += '\\';
}
}  // namespace

std::string RowTargetFolder(const LinkRow& row, const std::string& saveFolder,
                            bool useBriefcaseDirectory, bool alwaysTrailingBackslash) {
  std::string folder = row.DownloadFolder.empty() ? saveFolder : row.DownloadFolder;
  if (useBriefcaseDirectory) {
    EnsureTrailingBackslash(folder);
    folder += row.Folder;
  }
  // The file name follows: a Folder without its closing "\" must not glue onto it.
  if (alwaysTrailingBackslash) EnsureTrailingBackslash(folder);
  return folder;
}

}  // namespace vendil
