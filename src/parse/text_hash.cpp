// The process's key for the text hash, from the system's random source.
#include "parse/text_hash.h"

#include <random>

namespace vendil {

uint64_t RandomHashKey() {
  std::random_device source;
  return (static_cast<uint64_t>(source()) << 32) ^ source();
}

}  // namespace vendil
