// The table hash: every byte of a text counts, length counts, and the low bits (the ones
// a table of a power-of-two size uses) spread URLs that differ in a digit or two.
#include "parse/text_hash.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <unordered_set>
#include <vector>

namespace vendil {
namespace {

TEST(TextHash, EveryByteAndTheLengthCount) {
  for (size_t size = 0; size <= 48; ++size) {
    const std::string text(size, 'u');
    const uint64_t whole = HashText(text);
    EXPECT_EQ(HashText(std::string(text)), whole);
    for (size_t at = 0; at < size; ++at) {
      std::string changed = text;
      changed[at] = 'v';
      EXPECT_NE(HashText(changed), whole) << "byte " << at << " of " << size << " not read";
    }
  }
  std::unordered_set<uint64_t> zeros;
  for (size_t size = 0; size <= 48; ++size) zeros.insert(HashText(std::string(size, '\0')));
  EXPECT_EQ(zeros.size(), 49u);
}

TEST(TextHash, LowBitsSpreadNumberedUrls) {
  constexpr size_t kBuckets = size_t{1} << 16;
  std::vector<int> load(kBuckets);
  for (size_t i = 0; i < kBuckets; ++i) {
    const std::string url = "http://h.example/m/f" + std::to_string(i) + ".zip";
    ++load[HashText(url) & (kBuckets - 1)];
  }
  // One key a bucket on average; a random spread puts at most about ten in the fullest.
  EXPECT_LE(*std::max_element(load.begin(), load.end()), 12);
}

}  // namespace
}  // namespace vendil
