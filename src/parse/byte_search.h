// `text.find(ch, from)` in line, 16 bytes at a time: the tag scanner looks for the next "<"
// and ">" once per tag, and for "=", quotes and "&" inside it, mostly a few dozen bytes
// away, where the call to memchr costs more than the search itself.
#pragma once

#include <bit>
#include <cstddef>
#include <string_view>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace vendil {

inline size_t FindByte(std::string_view text, char ch, size_t from) {
  const char* const data = text.data();
  const size_t size = text.size();
  size_t at = from;
#ifdef __SSE2__
  const __m128i wanted = _mm_set1_epi8(ch);
  for (; at + 16 <= size; at += 16) {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + at));
    const auto hits = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, wanted)));
    if (hits != 0) return at + static_cast<size_t>(std::countr_zero(hits));
  }
#endif
  for (; at < size; ++at) {
    if (data[at] == ch) return at;
  }
  return std::string_view::npos;
}

}  // namespace vendil
