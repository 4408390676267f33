// One link found on the page being crawled, as the crawl and the add-URL scripts see it.
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace vendil {

struct AddLinkClass {
  std::string Url;
  std::string Title;
  std::string Referer;
  std::string Folder;
  std::string FileName;
  // True while `Url` is the link as the page wrote it (not as a script set or added it):
  // the crawl then drops its fragment before the queue and the list.
  bool UrlFromPage = false;
};

// The page's link collection; entries are shared so a script can change them in place.
using LinkCollection = std::vector<std::shared_ptr<AddLinkClass>>;

}  // namespace vendil
