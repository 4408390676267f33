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
};

// The page's link collection; entries are shared so a script can change them in place.
using LinkCollection = std::vector<std::shared_ptr<AddLinkClass>>;

}  // namespace vendil
