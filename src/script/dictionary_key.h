// The key of a Scripting.Dictionary entry, compared by value as the dictionary does: numbers
// of any subtype by their value, texts by their characters (folded in text compare mode),
// objects by identity. A number and a text are never the same key.
#pragma once

#include <cstddef>
#include <string>

#include "script/variant.h"

namespace vendil {

struct DictionaryKey {
  enum class Kind { kEmpty, kNull, kNumber, kDate, kText, kObject };
  Kind kind = Kind::kEmpty;
  double number = 0;
  std::u16string text;
  const void* object = nullptr;

  // Raises 13 for arrays and other values that cannot be keys.
  static DictionaryKey From(const Variant& value, bool textCompare);
  bool operator==(const DictionaryKey& other) const = default;
};

struct DictionaryKeyHash {
  size_t operator()(const DictionaryKey& key) const;
};

}  // namespace vendil
