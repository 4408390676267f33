// The size limit on one string, array or match list, set by the engine that runs on this
// thread: 256 MiB unless its host chose less (a fuzzing host does, to stay quick).
#pragma once

#include <cstddef>

namespace vendil {

// Bytes one value may reach before error 7 "Out of memory".
size_t MaxValueBytes();

// Raises 7 "Out of memory" when `count` items of `itemBytes` each would pass the limit.
void CheckValueSize(size_t count, size_t itemBytes);

// Sets the limit while it lives and restores the one before.
class ValueLimitScope {
 public:
  explicit ValueLimitScope(size_t bytes);
  ~ValueLimitScope();
  ValueLimitScope(const ValueLimitScope&) = delete;
  ValueLimitScope& operator=(const ValueLimitScope&) = delete;

 private:
  size_t saved_;
};

}  // namespace vendil
