// The per-thread value size limit.
#include "script/value_limit.h"

#include "script/script_error.h"
#include "script/variant.h"

namespace vendil {

namespace {
thread_local size_t currentLimit = kMaxValueBytes;
}  // namespace

size_t MaxValueBytes() { return currentLimit; }

void CheckValueSize(size_t count, size_t itemBytes) {
  if (itemBytes != 0 && count > currentLimit / itemBytes) {
    RaiseScriptError(script_errors::kOutOfMemory);
  }
}

ValueLimitScope::ValueLimitScope(size_t bytes) : saved_(currentLimit) { currentLimit = bytes; }

ValueLimitScope::~ValueLimitScope() { currentLimit = saved_; }

}  // namespace vendil
