// The per-URL dispatch: briefcase folders to the folder scan, everything else to the crawl.
#include "app/commands/dispatch.h"

#include "briefcase/scan_briefcase.h"
#include "crawl/crawl_links.h"
#include "parse/mod_url.h"
#include "platform/casefold.h"

namespace vendil {

bool IsBriefcaseUrl(const Form1& form) {
  const std::string host = GetHostName(form.txtUrl.Text());
  return (ContainsNoCase(host, "briefcase") && ContainsNoCase(host, "yahoo")) ||
         form.mnuOption_OnlyUseYahooBriefcase.Checked();
}

bool DispatchSearch(Form1& form) {
  return IsBriefcaseUrl(form) ? ScanBriefcase(form) : CrawlLinks(form);
}

}  // namespace vendil
