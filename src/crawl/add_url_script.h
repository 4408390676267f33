// The add-URL scripts as the crawl and the main window use them: the script list, the
// engine made at load, and the script chosen once per crawl and run on every page.
#pragma once

#include <memory>
#include <string>

#include "crawl/add_link_class.h"
#include "state/search_run.h"

namespace vendil {

// Fills cmbScript: an empty entry, then every ordinary file of programFolder/scripts.
void FillScriptList(Form1& form);
// Reads the scripts folder again (scripts added while the program runs appear), keeping the
// chosen script when it is still there.
void RefreshScriptList(Form1& form);
// Creates the engine with its VendilInfo object into form.m_objScript (left empty on failure).
void CreateScriptEngine(Form1& form);

class PageScript {
 public:
  virtual ~PageScript() = default;
  // Runs the script on one page; it may change and extend `links`. Errors are shown to the
  // user and absorbed.
  virtual void RunOnPage(const std::string& pageUrl, const std::string& pageHtml,
                         LinkCollection& links) = 0;
};

// Reads the script chosen in cmbScript once for a crawl; null when no script runs.
std::unique_ptr<PageScript> PrepareScript(SearchRun& run);

}  // namespace vendil
