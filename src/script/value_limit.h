// What the values of the engine running on this thread may take: one string, array or match
// list at most 256 MiB, and all the values the engine holds together at most 1 GiB (each
// unless its host chose less). Past either, error 7 "Out of memory".
//
// Values are charged as they are made or copied; when the charges pass the budget, the engine
// counts what it really holds (what went out of use is no longer there) and raises 7 only
// when that, with the value being made, is still past it. Large values also bring the host's
// next Tick nearer, so Stop is seen soon when every statement is heavy.
#pragma once

#include <cstddef>

namespace vendil {

class ValueMeter {
 public:
  virtual ~ValueMeter() = default;
  // The bytes of every value the engine holds now.
  virtual size_t CountHeldBytes() = 0;

  size_t maxValueBytes = 0;
  size_t budgetBytes = 0;
  size_t charged = 0;            // since the last count
  int* tickCountdown = nullptr;  // statements until the host's next Tick
};

// The meter of the engine running on this thread, or null.
ValueMeter* CurrentValueMeter();

// Bytes one value may reach before error 7 "Out of memory".
size_t MaxValueBytes();

// Raises 7 "Out of memory" when `count` items of `itemBytes` each would pass the limit.
void CheckValueSize(size_t count, size_t itemBytes);

// What a string of `units` kept outside its value takes, with the allocator's own share.
inline size_t HeapStringBytes(size_t units) { return (units + 1) * 2 + 16; }

// A value of `bytes` was made or copied. Raises 7 when it takes the engine past its budget.
void ChargeValueBytes(size_t bytes);

// Puts a meter in force on this thread while it lives and restores the one before.
class ValueMeterScope {
 public:
  explicit ValueMeterScope(ValueMeter* meter);
  ~ValueMeterScope();
  ValueMeterScope(const ValueMeterScope&) = delete;
  ValueMeterScope& operator=(const ValueMeterScope&) = delete;

 private:
  ValueMeter* saved_;
};

}  // namespace vendil
