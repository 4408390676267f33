// The crawl's queue of pages to read: cLinkQue entries in order of insertion, keyed by URL
// without regard to letter case. Entries are never removed during a crawl.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
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
  // The same, building the entry only when its URL is new: most links of a crawl point to
  // pages already queued.
  bool Add(const std::string& url, const std::string& referer, const std::string& name,
           const std::string& fileName, int32_t level);
  bool Contains(const std::string& url) const;
  size_t Count() const { return entries_.size(); }
  // 1-based, as the crawl walks it.
  const cLinkQue& Item(size_t index) const { return entries_.at(index - 1); }

 private:
  static constexpr uint32_t kEmpty = UINT32_MAX;
  struct Slot {
    uint64_t hash = 0;
    uint32_t entry = kEmpty;
  };
  // The slot holding `folded`, or the empty slot where it belongs.
  size_t FindSlot(uint64_t hash, const std::string& folded) const;
  const std::string& Key(uint32_t entry) const;
  void Grow();

  std::deque<cLinkQue> entries_;  // a deque: growing never moves the entries
  // The folded URL of every entry, left empty where folding leaves the URL as it is (most
  // URLs are lower case already).
  std::vector<std::string> keys_;
  std::vector<Slot> slots_;  // linear probing, at most half full
};

}  // namespace vendil
