// The breadth-first link crawl of ordinary web pages.
#pragma once

#include <string>

#include "app/form1.h"

namespace vendil {

bool CrawlLinks(Form1& form);
bool IsUrlToFollow(Form1& form, const std::string& strUrl, const std::string& strBaseUrl);

}  // namespace vendil
