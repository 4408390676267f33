// The crawl queue with its case-blind key index.
#include "crawl/link_queue.h"

#include <utility>

#include "platform/casefold.h"

namespace vendil {

bool LinkQueue::Add(cLinkQue entry) {
  auto [it, inserted] = keys_.emplace(FoldCase(entry.Url), entries_.size());
  if (!inserted) return false;
  entries_.push_back(std::move(entry));
  return true;
}

bool LinkQueue::Contains(const std::string& url) const { return keys_.count(FoldCase(url)) != 0; }

}  // namespace vendil
