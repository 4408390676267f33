// An open-addressing hash index from a row's URL to its row number, for the link list.
// A slot holds 32 bits of the URL's hash and the row number; the URL itself is read from
// the row, so the index keeps no copy of it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

namespace vendil {

class UrlIndex {
 public:
  static constexpr size_t kNone = static_cast<size_t>(-1);

  void Clear();
  static uint32_t Hash(std::string_view url);
  // The 0-based row whose URL (as `urlOf(row)` gives it) equals `url`; kNone when none.
  template <typename UrlOf>
  size_t Find(uint32_t hash, std::string_view url, const UrlOf& urlOf) const {
    if (size_ == 0) return kNone;
    const size_t mask = size_ - 1;
    for (size_t at = hash & mask;; at = (at + 1) & mask) {
      const Slot& slot = slots_[at];
      if (slot.row == kEmpty) return kNone;
      if (slot.hash == hash && urlOf(slot.row) == url) return slot.row;
    }
  }
  // Adds a URL that is not in the index yet.
  void Insert(uint32_t hash, size_t row);
  size_t BytesHeld() const { return size_ * sizeof(Slot); }

 private:
  static constexpr uint32_t kEmpty = UINT32_MAX;
  struct Slot {
    uint32_t hash = 0;
    uint32_t row = kEmpty;
  };
  struct FreeSlots {
    void operator()(Slot* slots) const;
  };
  using SlotBlock = std::unique_ptr<Slot[], FreeSlots>;
  static SlotBlock NewSlots(size_t count);
  void Grow();

  SlotBlock slots_;
  size_t size_ = 0;  // a power of two, or 0
  size_t used_ = 0;
};

}  // namespace vendil
