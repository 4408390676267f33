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

// Strings and arrays past this many bytes raise error 7 "Out of memory".
inline constexpr size_t kMaxValueBytes = size_t{256} * 1024 * 1024;
// All the values one engine holds together, past which error 7 is raised too.
inline constexpr size_t kMaxHeldBytes = size_t{1024} * 1024 * 1024;

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
extern thread_local ValueMeter* currentValueMeter;
inline ValueMeter* CurrentValueMeter() { return currentValueMeter; }

// Bytes one value may reach before error 7 "Out of memory".
inline size_t MaxValueBytes() {
  return currentValueMeter ? currentValueMeter->maxValueBytes : kMaxValueBytes;
}

[[noreturn]] void RaiseOutOfMemory();

// Raises 7 "Out of memory" when `count` items of `itemBytes` each would pass the limit.
inline void CheckValueSize(size_t count, size_t itemBytes) {
  if (itemBytes != 0 && count > MaxValueBytes() / itemBytes) RaiseOutOfMemory();
}

// What a string of `units` kept outside its value takes, with the allocator's own share.
inline size_t HeapStringBytes(size_t units) { return (units + 1) * 2 + 16; }

// Bytes of values made that count as the work of one statement, for the host's Tick.
inline constexpr size_t kBytesPerStatement = 8192;

// What ChargeValueBytes does for a large value or past the budget.
void ChargeLargeValue(ValueMeter& meter, size_t bytes);

// A value of `bytes` was made or copied. Raises 7 when it takes the engine past its budget.
inline void ChargeValueBytes(size_t bytes) {
  ValueMeter* meter = currentValueMeter;
  if (!meter) return;
  meter->charged += bytes;
  if (bytes >= kBytesPerStatement || meter->charged > meter->budgetBytes) {
    ChargeLargeValue(*meter, bytes);
  }
}

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
