// The interface of every object a script can hold: host objects, RegExp and its matches,
// Dictionary, and instances of the script's own classes. Members are found by name without
// regard to letter case; an empty name is the object's default member (`obj(1)`).
#pragma once

#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "script/variant.h"

namespace vendil {

class ValueCounter;

class ScriptObject : public std::enable_shared_from_this<ScriptObject> {
 public:
  virtual ~ScriptObject() = default;

  // What TypeName reports ("RegExp", "Dictionary", the class name, ...).
  virtual std::u16string TypeName() const = 0;

  // `obj.Name(args)` read as a value or called as a method (scripts do not tell the two
  // apart); a method without a result returns Empty. Unknown names raise 438, a wrong
  // argument count 450. The default implementation raises 438.
  virtual Variant Get(std::u16string_view name, std::span<Variant> args);
  // `obj.Name(args) = value`. The default raises 438.
  virtual void Let(std::u16string_view name, std::span<Variant> args, const Variant& value);
  // `Set obj.Name(args) = object`; by default the same as Let.
  virtual void Set(std::u16string_view name, std::span<Variant> args, const Variant& value);
  // For Each: the items in order, taken when the loop starts. The default raises 438.
  virtual std::vector<Variant> Enumerate();
  // Adds what the object holds to the engine's count of its memory; objects of the host
  // hold nothing the engine counts.
  virtual void CountHeld(ValueCounter&) const {}
};

// Raises 438 "Object doesn't support this property or method" naming nothing more.
[[noreturn]] void RaiseNoSuchMember(std::u16string_view name);
// Raises 450 unless min <= args.size() <= max.
void CheckArgumentCount(std::span<Variant> args, size_t min, size_t max);

}  // namespace vendil
