// The walk of ValueCounter and the engine's count of what it holds.
#include "script/held_values.h"

#include "script/interpreter.h"

namespace vendil {

namespace {

// What an object costs beside what it holds: its control block and bookkeeping.
constexpr size_t kObjectBytes = 64;

}  // namespace

size_t ValueCounter::Total() {
  while (!pending_.empty() || !objects_.empty()) {
    if (!objects_.empty()) {
      const ScriptObject* object = objects_.back();
      objects_.pop_back();
      if (seen_.insert(object).second) {
        total_ += kObjectBytes;
        object->CountHeld(*this);
      }
      continue;
    }
    const Variant& value = *pending_.back();
    pending_.pop_back();
    if (value.IsString()) {
      const std::u16string& text = value.StringValue();
      if (text.capacity() > 7) total_ += HeapStringBytes(text.capacity());
    } else if (value.IsArray()) {
      const std::vector<Variant>& elements = value.ArrayValue().Elements();
      total_ += elements.capacity() * sizeof(Variant);
      for (const Variant& element : elements) {
        if (element.IsString() || element.IsArray() || element.IsObject()) Add(element);
      }
    } else if (value.IsObject()) {
      AddObject(value.ObjectValue().get());
    }
  }
  return total_;
}

size_t Interpreter::CountHeldBytes() {
  ValueCounter counter;
  for (const GlobalEntry& entry : globals_) counter.Add(entry.value);
  for (const Frame* frame = frame_; frame; frame = frame->caller) {
    for (const Variant& value : frame->storage) counter.Add(value);
    for (const Variant& value : frame->addedStorage) counter.Add(value);
    for (const Variant& value : frame->withObjects) counter.Add(value);
  }
  if (frame_ != &globalFrame_) {
    for (const Variant& value : globalFrame_.withObjects) counter.Add(value);
  }
  for (const PendingTerminate& pending : pending_) {
    for (const Variant& value : pending.fields) counter.Add(value);
  }
  // Code that Execute kept, at about the size of its syntax tree.
  for (const auto& program : programs_) counter.AddBytes(program->sourceUnits * 32);
  return counter.Total();
}

}  // namespace vendil
