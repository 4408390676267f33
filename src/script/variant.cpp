// Variant subtypes and the multi-dimensional arrays of Variants.
#include "script/variant.h"

#include <limits>

#include "script/script_error.h"
#include "script/value_limit.h"

namespace vendil {

Variant::ArrayHolder::ArrayHolder(std::unique_ptr<ScriptArray> array) : array_(std::move(array)) {}

void Variant::ChargeStringCopy() const {
  // Strings this short live inside the value and cost no allocation.
  constexpr size_t kInlineUnits = 7;
  const size_t units = StringValue().size();
  if (units > kInlineUnits) ChargeValueBytes(HeapStringBytes(units));
}

namespace {

// Arrays copied or let go while an outer copy or release runs: that one's list takes them,
// so nesting costs list entries instead of native frames.
thread_local std::vector<std::pair<ScriptArray*, const ScriptArray*>>* pendingCopies = nullptr;
thread_local std::vector<Variant>* pendingReleases = nullptr;

bool HoldsOtherValues(const Variant& value) {
  return value.IsArray() || (value.IsObject() && value.ObjectValue());
}

// A copy is a new array, not held by the original's loops; its elements count against the
// engine's budget (its strings as they are copied).
std::unique_ptr<ScriptArray> CopyOf(const ScriptArray& array) {
  ChargeValueBytes(array.Size() * sizeof(Variant));
  std::unique_ptr<ScriptArray> copy = array.EmptyCopy();
  if (pendingCopies) {
    pendingCopies->emplace_back(copy.get(), &array);
    return copy;
  }
  std::vector<std::pair<ScriptArray*, const ScriptArray*>> work{{copy.get(), &array}};
  struct Reset {
    ~Reset() { pendingCopies = nullptr; }
  } reset;
  pendingCopies = &work;
  while (!work.empty()) {
    const auto [to, from] = work.back();
    work.pop_back();
    to->Elements() = from->Elements();  // arrays among them join `work`
  }
  return copy;
}

}  // namespace

void ReleaseValues(std::vector<Variant>& values) {
  if (pendingReleases) {
    for (Variant& value : values) {
      if (HoldsOtherValues(value)) pendingReleases->push_back(std::move(value));
    }
    values.clear();
    return;
  }
  std::vector<Variant> queue;
  for (Variant& value : values) {
    if (HoldsOtherValues(value)) queue.push_back(std::move(value));
  }
  values.clear();
  pendingReleases = &queue;
  while (!queue.empty()) {
    Variant last = std::move(queue.back());
    queue.pop_back();
    last = Variant();  // what it held joins `queue`
  }
  pendingReleases = nullptr;
}

Variant::ArrayHolder::ArrayHolder(const ArrayHolder& other) : array_(CopyOf(*other.array_)) {}

Variant::ArrayHolder& Variant::ArrayHolder::operator=(const ArrayHolder& other) {
  if (this != &other) array_ = CopyOf(*other.array_);
  return *this;
}

Variant::ArrayHolder::~ArrayHolder() {
  if (array_) ReleaseValues(array_->Elements());
}

Variant Variant::Array(std::unique_ptr<ScriptArray> array) {
  return Variant(ArrayHolder(std::move(array)));
}

Variant Variant::ArrayOf(std::vector<Variant> values) {
  auto array =
      std::make_unique<ScriptArray>(std::vector<int32_t>{static_cast<int32_t>(values.size()) - 1});
  array->Elements() = std::move(values);
  return Array(std::move(array));
}

namespace {

size_t CountElements(const std::vector<int32_t>& upperBounds) {
  if (upperBounds.empty()) return 0;
  size_t count = 1;
  for (const int32_t upper : upperBounds) {
    if (upper < -1) RaiseScriptError(script_errors::kSubscriptOutOfRange);
    const size_t length = static_cast<size_t>(upper) + 1;
    if (length != 0 && count > MaxValueBytes() / sizeof(Variant) / length) {
      RaiseScriptError(script_errors::kOutOfMemory);
    }
    count *= length;
  }
  CheckValueSize(count, sizeof(Variant));
  ChargeValueBytes(count * sizeof(Variant));
  return count;
}

}  // namespace

ScriptArray::ScriptArray(std::vector<int32_t> upperBounds)
    : upper_(std::move(upperBounds)), data_(CountElements(upper_)) {}

Variant& ScriptArray::At(std::span<const int32_t> indexes) {
  if (indexes.size() != upper_.size()) RaiseScriptError(script_errors::kSubscriptOutOfRange);
  size_t offset = 0;
  size_t stride = 1;
  for (size_t d = 0; d < indexes.size(); ++d) {
    if (indexes[d] < 0 || indexes[d] > upper_[d]) {
      RaiseScriptError(script_errors::kSubscriptOutOfRange);
    }
    offset += static_cast<size_t>(indexes[d]) * stride;
    stride *= static_cast<size_t>(upper_[d]) + 1;
  }
  return data_[offset];
}

void ScriptArray::Redimension(std::vector<int32_t> upperBounds, bool preserve) {
  if (fixed || locks > 0) RaiseScriptError(script_errors::kArrayLocked);
  const size_t count = CountElements(upperBounds);
  if (preserve && !upper_.empty()) {
    if (upperBounds.size() != upper_.size()) RaiseScriptError(script_errors::kSubscriptOutOfRange);
    for (size_t d = 0; d + 1 < upper_.size(); ++d) {
      if (upperBounds[d] != upper_[d]) RaiseScriptError(script_errors::kSubscriptOutOfRange);
    }
    data_.resize(count);
  } else {
    data_.assign(count, Variant());
  }
  upper_ = std::move(upperBounds);
}

std::unique_ptr<ScriptArray> ScriptArray::EmptyCopy() const {
  auto copy = std::make_unique<ScriptArray>();
  copy->upper_ = upper_;
  copy->fixed = fixed;
  return copy;
}

void RaiseIfLocked(const ScriptArray& array) {
  if (array.locks > 0) RaiseScriptError(script_errors::kArrayLocked);
}

void ScriptArray::Erase() {
  if (locks > 0) RaiseScriptError(script_errors::kArrayLocked);
  if (fixed) {
    for (Variant& element : data_) element = Variant();
  } else {
    data_.clear();
    upper_.clear();
  }
}

}  // namespace vendil
