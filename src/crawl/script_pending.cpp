// Until the script engine is part of the build, the script list is filled but no script
// runs: the engine slot stays empty and every crawl goes without a script.
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
    if (it->is_regular_file(error)) names.push_back(it->path().filename().string());
  }
  std::sort(names.begin(), names.end());
  for (auto& name : names) form.cmbScript.AddItem(std::move(name));
  form.cmbScript.SetListIndex(0);
}

void CreateScriptEngine(Form1& form) { form.m_objScript.reset(); }

std::unique_ptr<PageScript> PrepareScript(Form1&) { return nullptr; }

}  // namespace vendil
