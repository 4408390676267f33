// The breadth-first link crawl of ordinary web pages.
#pragma once

#include <string>

#include "state/search_run.h"

namespace vendil {

bool CrawlLinks(SearchRun& run);
bool IsUrlToFollow(SearchRun& run, const std::string& strUrl, const std::string& strBaseUrl);
// Whether a redirect of a link found on `linkedFrom` may be followed to `nextUrl`: the
// server and folder rules, as for a link to that place on that page.
bool IsRedirectAllowed(const SearchRun& run, const std::string& nextUrl,
                       const std::string& linkedFrom);

}  // namespace vendil
