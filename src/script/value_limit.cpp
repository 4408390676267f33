// The per-thread value meter.
#include "script/value_limit.h"

#include <algorithm>

#include "script/script_error.h"
#include "script/variant.h"

namespace vendil {

namespace {

thread_local ValueMeter* currentMeter = nullptr;

// Bytes of values made that count as the work of one statement, for the host's Tick.
constexpr size_t kBytesPerStatement = 8192;

}  // namespace

ValueMeter* CurrentValueMeter() { return currentMeter; }

size_t MaxValueBytes() { return currentMeter ? currentMeter->maxValueBytes : kMaxValueBytes; }

void CheckValueSize(size_t count, size_t itemBytes) {
  if (itemBytes != 0 && count > MaxValueBytes() / itemBytes) {
    RaiseScriptError(script_errors::kOutOfMemory);
  }
}

void ChargeValueBytes(size_t bytes) {
  ValueMeter* meter = currentMeter;
  if (!meter) return;
  if (meter->tickCountdown && bytes >= kBytesPerStatement) {
    const size_t statements = std::min<size_t>(bytes / kBytesPerStatement, 1 << 20);
    *meter->tickCountdown = std::max(*meter->tickCountdown - static_cast<int>(statements), 1);
  }
  meter->charged += bytes;
  if (meter->charged <= meter->budgetBytes) return;
  // Most of what was charged may be gone by now: count what is really held.
  meter->charged = meter->CountHeldBytes() + bytes;
  if (meter->charged > meter->budgetBytes) {
    meter->charged -= bytes;
    RaiseScriptError(script_errors::kOutOfMemory);
  }
}

ValueMeterScope::ValueMeterScope(ValueMeter* meter) : saved_(currentMeter) { currentMeter = meter; }

ValueMeterScope::~ValueMeterScope() { currentMeter = saved_; }

}  // namespace vendil
