// A fast hash of a text for the in-memory tables (the link list's index, the crawl queue):
// 16 bytes per step folded by one 64x64->128 multiplication, keyed once per process by a
// random number, so that a page cannot be written in advance to pile its links onto one
// slot. Never stored: values differ from run to run.
#pragma once

#include <cstdint>
#include <cstring>
#include <string_view>

namespace vendil {

uint64_t RandomHashKey();

// Random, and fixed for the life of the process.
inline uint64_t ProcessHashKey() {
  static const uint64_t key = RandomHashKey();
  return key;
}

namespace text_hash_detail {

constexpr uint64_t kOdd0 = 0xa0761d6478bd642fULL;
constexpr uint64_t kOdd1 = 0xe7037ed1a0b428dbULL;

__extension__ using Wide = unsigned __int128;  // GCC and Clang on 64-bit targets

inline uint64_t FoldMultiply(uint64_t a, uint64_t b) {
  const Wide product = static_cast<Wide>(a) * b;
  return static_cast<uint64_t>(product) ^ static_cast<uint64_t>(product >> 64);
}

inline uint64_t Load64(const char* at) {
  uint64_t value;
  std::memcpy(&value, at, sizeof value);
  return value;
}

inline uint64_t Load32(const char* at) {
  uint32_t value;
  std::memcpy(&value, at, sizeof value);
  return value;
}

}  // namespace text_hash_detail

inline uint64_t HashText(std::string_view text) {
  using namespace text_hash_detail;
  const char* at = text.data();
  const size_t size = text.size();
  uint64_t state = ProcessHashKey() ^ kOdd0;
  uint64_t a = 0;
  uint64_t b = 0;
  if (size <= 16) {
    // Every byte is read at least once by loads that stay inside the text.
    if (size >= 4) {
      const size_t step = (size >> 3) << 2;
      a = (Load32(at) << 32) | Load32(at + step);
      b = (Load32(at + size - 4) << 32) | Load32(at + size - 4 - step);
    } else if (size > 0) {
      const auto byte = [at](size_t k) {
        return static_cast<uint64_t>(static_cast<uint8_t>(at[k]));
      };
      a = (byte(0) << 16) | (byte(size >> 1) << 8) | byte(size - 1);
    }
  } else {
    size_t left = size;
    for (; left > 16; left -= 16, at += 16) {
      state = FoldMultiply(Load64(at) ^ kOdd1, Load64(at + 8) ^ state);
    }
    // The last 16 bytes of the text, overlapping what the loop read.
    a = Load64(at + left - 16);
    b = Load64(at + left - 8);
  }
  return FoldMultiply(kOdd1 ^ size, FoldMultiply(a ^ kOdd1, b ^ state));
}

}  // namespace vendil
