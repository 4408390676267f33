// An open-addressing hash index from a row's tag to its row number, for the link list.
// The table stores only hashes and row numbers; tags are read from the rows themselves.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string_view>
#include <vector>

#include "list/link_list.h"

namespace vendil {

class UrlIndex {
 public:
  static constexpr size_t kNone = static_cast<size_t>(-1);

  void Clear();
  // The 0-based row whose tag equals `url`; kNone when there is none.
  size_t Find(std::string_view url, const std::deque<LinkRow>& rows) const;
  // Adds a tag that is not in the index yet.
  void Insert(std::string_view url, size_t row);
  // The same two with the tag's hash computed once by the caller.
  static uint64_t Hash(std::string_view url);
  size_t FindHashed(uint64_t hash, std::string_view url, const std::deque<LinkRow>& rows) const;
  void InsertHashed(uint64_t hash, size_t row);

 private:
  struct Slot {
    uint64_t hash = 0;
    size_t row = kNone;
  };
  void Grow();

  std::vector<Slot> slots_;
  size_t used_ = 0;
};

}  // namespace vendil
