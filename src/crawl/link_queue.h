// The crawl's queue of pages to read: cLinkQue entries in order of insertion, keyed by URL
// without regard to letter case. Entries are never removed during a crawl.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace vendil {

// One queued page: the link that leads to it and the level of the page it was found on.
struct cLinkQue {
  std::string Url;
  std::string Referer;
  std::string Name;
  std::string FileName;
  int32_t Lebel = 0;
};

class LinkQueue {
 public:
  // Adds `entry` under its URL; false (nothing changed) when the key is already queued.
  bool Add(cLinkQue entry);
  bool Contains(const std::string& url) const;
  size_t Count() const { return entries_.size(); }
  // 1-based, as the crawl walks it.
  const cLinkQue& Item(size_t index) const { return entries_.at(index - 1); }

 private:
  std::vector<cLinkQue> entries_;
  std::unordered_map<std::string, size_t> keys_;
};

}  // namespace vendil
