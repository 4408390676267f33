// The link list's hash index: linear probing over a power-of-two table kept at most half
// full; growing re-places the stored hashes without hashing any tag again.
#include "list/url_index.h"

#include <functional>

namespace vendil {

void UrlIndex::Clear() {
  slots_.clear();
  used_ = 0;
}

uint64_t UrlIndex::Hash(std::string_view url) { return std::hash<std::string_view>{}(url); }

size_t UrlIndex::Find(std::string_view url, const std::deque<LinkRow>& rows) const {
  return FindHashed(Hash(url), url, rows);
}

size_t UrlIndex::FindHashed(uint64_t hash, std::string_view url,
                            const std::deque<LinkRow>& rows) const {
  if (slots_.empty()) return kNone;
  const size_t mask = slots_.size() - 1;
  for (size_t at = hash & mask;; at = (at + 1) & mask) {
    const Slot& slot = slots_[at];
    if (slot.row == kNone) return kNone;
    if (slot.hash == hash && rows[slot.row].Tag == url) return slot.row;
  }
}

void UrlIndex::Insert(std::string_view url, size_t row) { InsertHashed(Hash(url), row); }

void UrlIndex::InsertHashed(uint64_t hash, size_t row) {
  if ((used_ + 1) * 2 > slots_.size()) Grow();
  const size_t mask = slots_.size() - 1;
  size_t at = hash & mask;
  while (slots_[at].row != kNone) at = (at + 1) & mask;
  slots_[at] = {hash, row};
  ++used_;
}

void UrlIndex::Grow() {
  std::vector<Slot> old = std::move(slots_);
  slots_.assign(old.empty() ? 64 : old.size() * 2, Slot{});
  const size_t mask = slots_.size() - 1;
  for (const Slot& slot : old) {
    if (slot.row == kNone) continue;
    size_t at = slot.hash & mask;
    while (slots_[at].row != kNone) at = (at + 1) & mask;
    slots_[at] = slot;
  }
}

}  // namespace vendil
