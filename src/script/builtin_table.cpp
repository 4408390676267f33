// The table of built-in functions and constants, looked up without regard to letter case.
#include "script/builtins.h"

#include "script/variant_convert.h"

namespace vendil {

void BuiltinTable::Add(BuiltinEntry entry) {
  std::u16string key = FoldCaseU16(entry.name);
  entries_.insert_or_assign(std::move(key), std::move(entry));
}

const BuiltinEntry* BuiltinTable::Find(std::u16string_view name) const {
  const auto it = entries_.find(FoldCaseU16(name));
  return it == entries_.end() ? nullptr : &it->second;
}

namespace {

BuiltinEntry FunctionEntry(std::u16string_view name, int minArgs, int maxArgs,
                           BuiltinFunction function) {
  BuiltinEntry entry;
  entry.name = std::u16string(name);
  entry.minArgs = minArgs;
  entry.maxArgs = maxArgs;
  entry.function = function;
  return entry;
}

}  // namespace

void RegisterBuiltin(BuiltinTable& table, std::u16string_view name, int minArgs, int maxArgs,
                     BuiltinFunction function) {
  table.Add(FunctionEntry(name, minArgs, maxArgs, function));
}

void RegisterStatement(BuiltinTable& table, std::u16string_view name, int minArgs, int maxArgs,
                       BuiltinFunction function) {
  BuiltinEntry entry = FunctionEntry(name, minArgs, maxArgs, function);
  entry.isStatement = true;
  table.Add(std::move(entry));
}

void RegisterConstant(BuiltinTable& table, std::u16string_view name, Variant value) {
  BuiltinEntry entry;
  entry.name = std::u16string(name);
  entry.isConstant = true;
  entry.constant = std::move(value);
  table.Add(std::move(entry));
}

}  // namespace vendil
