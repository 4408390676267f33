// The link list's text blocks: small texts share 1 MiB blocks; a text of more than a
// quarter block gets a block of its own, so the space left unused at a block's end stays
// small.
#include "list/text_store.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace vendil {
namespace {
constexpr size_t kBlockSize = size_t{1} << 20;
}  // namespace

char* TextStore::AddWritable(std::string_view text, TextRef& ref) {
  const size_t size = std::min<size_t>(text.size(), std::numeric_limits<uint32_t>::max());
  ref = {};
  if (size == 0) return nullptr;
  char* at = nullptr;
  if (size > kBlockSize / 4) {
    blocks_.push_back(std::make_unique_for_overwrite<char[]>(size));
    at = blocks_.back().get();
    held_ += size;
  } else {
    if (size > left_) {
      blocks_.push_back(std::make_unique_for_overwrite<char[]>(kBlockSize));
      free_ = blocks_.back().get();
      left_ = kBlockSize;
      held_ += kBlockSize;
    }
    at = free_;
    free_ += size;
    left_ -= size;
  }
  std::memcpy(at, text.data(), size);
  ref = {at, static_cast<uint32_t>(size)};
  return at;
}

TextRef TextStore::Add(std::string_view text) {
  TextRef ref;
  AddWritable(text, ref);
  return ref;
}

void TextStore::Clear() {
  blocks_.clear();
  free_ = nullptr;
  left_ = 0;
  held_ = 0;
}

}  // namespace vendil
