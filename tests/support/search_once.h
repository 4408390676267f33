// One crawl or folder scan as a command runs it: a SearchRun of its own, gone when the call
// returns, so nothing one search prepares is seen by the next.
#pragma once

#include "briefcase/scan_briefcase.h"
#include "crawl/crawl_links.h"
#include "state/search_run.h"

namespace vendil::test {

inline bool CrawlOnce(Form1& form) {
  SearchRun run(form);
  return CrawlLinks(run);
}

inline bool ScanOnce(Form1& form) {
  SearchRun run(form);
  return ScanBriefcase(run);
}

}  // namespace vendil::test
