// The per-URL dispatch: briefcase folders to the folder scan, everything else to the crawl.
#include "commands/dispatch.h"

#include <utility>

#include "briefcase/scan_briefcase.h"
#include "crawl/crawl_links.h"
#include "net/fetch_page.h"
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
  // The links it did not read stay for the window and the command line, after the run.
  form.KeepSkippedLinks(std::move(run.skipped));
  if (run.startPageFailed && !form.m_blnStop) {
    form.startPageFailed = true;
    // "0/0 links found" would make a dead server, a refusing proxy or an unusable URL look
    // like an empty page: the status, the finish box and the log say what happened.
    form.SetStatusText(kFetchFailedText);
    return false;
  }
  return completed;
}

}  // namespace vendil
