// The breadth-first link crawl of ordinary web pages.
#pragma once

#include <string>

#include "state/search_run.h"

namespace vendil {

bool CrawlLinks(SearchRun& run);
bool IsUrlToFollow(SearchRun& run, const std::string& strUrl, const std::string& strBaseUrl);

}  // namespace vendil
