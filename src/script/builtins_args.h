// Small helpers the library built-ins share: optional arguments, compare modes and the
// memory limit on the strings they build.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "script/variant.h"

namespace vendil {

inline bool HasArg(std::span<Variant> args, size_t index) {
  return args.size() > index && !args[index].IsMissing();
}

// 0 (binary) or 1 (text); a missing argument is binary, anything else raises 5.
int CompareModeArg(std::span<Variant> args, size_t index);

// Raises 7 when a string of `length` UTF-16 units would pass the value limit.
void CheckStringLength(size_t length);

// Each unit folded on its own, so positions in the folded text match the original.
std::u16string FoldUnits(std::u16string_view text);

}  // namespace vendil
