// The per-URL dispatch: briefcase folders to the folder scan, everything else to the crawl.
#include "commands/dispatch.h"

#include "briefcase/scan_briefcase.h"
#include "crawl/crawl_links.h"
#include "parse/mod_url.h"
#include "platform/casefold.h"
#include "state/search_run.h"

namespace vendil {

bool IsBriefcaseUrl(const Form1& form) {
  const std::string host = GetHostName(form.txtUrl.Text());
  return (ContainsNoCase(host, "briefcase") && ContainsNoCase(host, "yahoo")) ||
         form.mnuOption_OnlyUseYahooBriefcase.Checked();
}

bool DispatchSearch(Form1& form) {
  // The Internet options as they are now: a change in the dialog counts from the next search.
  form.Inet1.SetOptions(form.internetOptions);
  // Everything this search prepares lives in `run` and goes with it, however it ends.
  SearchRun run(form);
  const bool completed = IsBriefcaseUrl(form) ? ScanBriefcase(run) : CrawlLinks(run);
  if (run.startPageFailed) form.startPageFailed = true;
  return completed;
}

}  // namespace vendil
