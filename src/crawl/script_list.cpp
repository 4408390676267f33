// The script list of the main window: an empty entry (no script), then the ordinary files
// of the scripts folder. Folders and hidden files are left out; names are sorted so the
// list reads the same on every file system.
#include <algorithm>
#include <filesystem>
#include <system_error>

#include "crawl/add_url_script.h"

namespace vendil {

void FillScriptList(Form1& form) {
  form.cmbScript.Clear();
  form.cmbScript.AddItem("");
  std::vector<std::string> names;
  std::error_code error;
  for (std::filesystem::directory_iterator it(form.programFolder + "/scripts", error), end;
       !error && it != end; it.increment(error)) {
    std::string name = it->path().filename().string();
    std::error_code typeError;
    if (name.empty() || name.front() == '.' || !it->is_regular_file(typeError)) continue;
    names.push_back(std::move(name));
  }
  std::sort(names.begin(), names.end());
  for (auto& name : names) form.cmbScript.AddItem(std::move(name));
  form.cmbScript.SetListIndex(0);
}

void RefreshScriptList(Form1& form) {
  const std::string chosen = form.cmbScript.Text();
  FillScriptList(form);
  // A script deleted meanwhile leaves the empty entry (no script) chosen.
  form.cmbScript.SetText(chosen);
}

}  // namespace vendil
