// The link list's hash index: linear probing over a power-of-two table kept at most half
// full; growing re-places the stored hashes without hashing any URL again.
#include "list/url_index.h"

#include <sys/mman.h>

#include <algorithm>
#include <cstdlib>
#include <new>
#include <stdexcept>

#include "parse/text_hash.h"

namespace vendil {

namespace {
constexpr size_t kLargePage = size_t{2} << 20;
}  // namespace

void UrlIndex::FreeSlots::operator()(Slot* slots) const { std::free(slots); }

UrlIndex::SlotBlock UrlIndex::NewSlots(size_t count) {
  size_t bytes = count * sizeof(Slot);
  // Every lookup lands on a random slot: a large table is offered to the kernel in 2 MiB
  // pages, so that a lookup costs one cache miss and not a page-table walk as well.
  const bool large = bytes >= kLargePage;
  if (large) bytes = (bytes + kLargePage - 1) / kLargePage * kLargePage;
  void* block = std::aligned_alloc(large ? kLargePage : alignof(Slot), bytes);
  if (block == nullptr) throw std::bad_alloc();
#ifdef MADV_HUGEPAGE
  if (large) (void)madvise(block, bytes, MADV_HUGEPAGE);  // only a hint
#endif
  auto* slots = static_cast<Slot*>(block);
  std::uninitialized_fill_n(slots, count, Slot{});
  return SlotBlock(slots);
}

void UrlIndex::Clear() {
  slots_.reset();
  size_ = 0;
  used_ = 0;
}

uint32_t UrlIndex::Hash(std::string_view url) {
  const uint64_t full = HashText(url);
  return static_cast<uint32_t>(full ^ (full >> 32));
}

void UrlIndex::Insert(uint32_t hash, size_t row) {
  // Row numbers are kept in 32 bits; four thousand million rows would not fit in memory.
  if (row >= kEmpty) throw std::length_error("link list too long");
  if ((used_ + 1) * 2 > size_) Grow();
  const size_t mask = size_ - 1;
  size_t at = hash & mask;
  while (slots_[at].row != kEmpty) at = (at + 1) & mask;
  slots_[at] = {hash, static_cast<uint32_t>(row)};
  ++used_;
}

void UrlIndex::Grow() {
  const size_t size = size_ == 0 ? 64 : size_ * 2;
  SlotBlock fresh = NewSlots(size);  // the old table stays whole if this throws
  const size_t mask = size - 1;
  for (size_t k = 0; k < size_; ++k) {
    const Slot& slot = slots_[k];
    if (slot.row == kEmpty) continue;
    size_t at = slot.hash & mask;
    while (fresh[at].row != kEmpty) at = (at + 1) & mask;
    fresh[at] = slot;
  }
  slots_ = std::move(fresh);
  size_ = size;
}

}  // namespace vendil
