// The crawl queue with its case-blind key index: an open-addressing table of hashes and
// entry numbers over the folded URLs, so a duplicate link costs one fold and one probe.
#include "crawl/link_queue.h"

#include <stdexcept>
#include <string_view>
#include <utility>

#include "parse/text_hash.h"
#include "platform/casefold.h"

namespace vendil {

namespace {
uint64_t HashKey(const std::string& folded) { return HashText(folded); }
}  // namespace

size_t LinkQueue::FindSlot(uint64_t hash, const std::string& folded) const {
  const size_t mask = slots_.size() - 1;
  for (size_t at = hash & mask;; at = (at + 1) & mask) {
    const Slot& slot = slots_[at];
    if (slot.entry == kEmpty) return at;
    if (slot.hash == hash && Key(slot.entry) == folded) return at;
  }
}

const std::string& LinkQueue::Key(uint32_t entry) const {
  const std::string& key = keys_[entry];
  return key.empty() ? entries_[entry].Url : key;
}

void LinkQueue::Grow() {
  std::vector<Slot> old = std::move(slots_);
  slots_.assign(old.empty() ? 256 : old.size() * 2, Slot{});
  const size_t mask = slots_.size() - 1;
  for (const Slot& slot : old) {
    if (slot.entry == kEmpty) continue;
    size_t at = slot.hash & mask;
    while (slots_[at].entry != kEmpty) at = (at + 1) & mask;
    slots_[at] = slot;
  }
}

bool LinkQueue::Add(cLinkQue entry) {
  if (!Add(entry.Url, std::string(), std::string(), std::string(), entry.Lebel)) return false;
  entries_.back() = std::move(entry);
  return true;
}

bool LinkQueue::Add(const std::string& url, const std::string& referer, const std::string& name,
                    const std::string& fileName, int32_t level) {
  if ((entries_.size() + 1) * 2 > slots_.size()) Grow();
  std::string folded = FoldCase(url);
  const uint64_t hash = HashKey(folded);
  const size_t at = FindSlot(hash, folded);
  if (slots_[at].entry != kEmpty) return false;
  if (entries_.size() >= kEmpty) throw std::length_error("crawl queue is full");
  slots_[at] = {hash, static_cast<uint32_t>(entries_.size())};
  entries_.push_back(cLinkQue{url, referer, name, fileName, level});
  keys_.push_back(folded == url ? std::string() : std::move(folded));
  return true;
}

bool LinkQueue::Contains(const std::string& url) const {
  if (slots_.empty()) return false;
  const std::string folded = FoldCase(url);
  return slots_[FindSlot(HashKey(folded), folded)].entry != kEmpty;
}

}  // namespace vendil
