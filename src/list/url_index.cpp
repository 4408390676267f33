// The link list's hash index: linear probing over a power-of-two table kept at most half
// full; growing re-places the stored hashes without hashing any URL again.
#include "list/url_index.h"

#include <functional>
#include <stdexcept>

namespace vendil {

void UrlIndex::Clear() {
  slots_.clear();
  slots_.shrink_to_fit();
  used_ = 0;
}

uint32_t UrlIndex::Hash(std::string_view url) {
  const uint64_t full = std::hash<std::string_view>{}(url);
  return static_cast<uint32_t>(full ^ (full >> 32));
}

void UrlIndex::Insert(uint32_t hash, size_t row) {
  // Row numbers are kept in 32 bits; four thousand million rows would not fit in memory.
  if (row >= kEmpty) throw std::length_error("link list too long");
  if ((used_ + 1) * 2 > slots_.size()) Grow();
  const size_t mask = slots_.size() - 1;
  size_t at = hash & mask;
  while (slots_[at].row != kEmpty) at = (at + 1) & mask;
  slots_[at] = {hash, static_cast<uint32_t>(row)};
  ++used_;
}

void UrlIndex::Grow() {
  std::vector<Slot> old = std::move(slots_);
  slots_.assign(old.empty() ? 64 : old.size() * 2, Slot{});
  const size_t mask = slots_.size() - 1;
  for (const Slot& slot : old) {
    if (slot.row == kEmpty) continue;
    size_t at = slot.hash & mask;
    while (slots_[at].row != kEmpty) at = (at + 1) & mask;
    slots_[at] = slot;
  }
}

}  // namespace vendil
