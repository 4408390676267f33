// The per-thread value meter.
#include "script/value_limit.h"

#include <algorithm>

#include "script/script_error.h"
#include "script/variant.h"

namespace vendil {

thread_local ValueMeter* currentValueMeter = nullptr;

void RaiseOutOfMemory() { RaiseScriptError(script_errors::kOutOfMemory); }

void ChargeLargeValue(ValueMeter& meter, size_t bytes) {
  if (meter.tickCountdown && bytes >= kBytesPerStatement) {
    const size_t statements = std::min<size_t>(bytes / kBytesPerStatement, 1 << 20);
    *meter.tickCountdown = std::max(*meter.tickCountdown - static_cast<int>(statements), 1);
  }
  if (meter.charged <= meter.budgetBytes) return;
  // Most of what was charged may be gone by now: count what is really held.
  meter.charged = meter.CountHeldBytes() + bytes;
  if (meter.charged > meter.budgetBytes) {
    meter.charged -= bytes;
    RaiseScriptError(script_errors::kOutOfMemory);
  }
}

ValueMeterScope::ValueMeterScope(ValueMeter* meter) : saved_(currentValueMeter) {
  currentValueMeter = meter;
}

ValueMeterScope::~ValueMeterScope() { currentValueMeter = saved_; }

}  // namespace vendil
