// Building and hashing dictionary keys.
#include "script/dictionary_key.h"

#include <functional>

#include "script/builtins_args.h"
#include "script/script_error.h"
#include "script/variant_convert.h"

namespace vendil {

DictionaryKey DictionaryKey::From(const Variant& value, bool textCompare) {
  DictionaryKey key;
  if (IsNumericSubtype(value)) {
    key.kind = Kind::kNumber;
    key.number = ToDouble(value);
    if (key.number == 0) key.number = 0;  // -0 and 0 are one key
    return key;
  }
  switch (value.Type()) {
    case VarType::Empty:
      break;
    case VarType::Null:
      key.kind = Kind::kNull;
      break;
    case VarType::Date:
      key.kind = Kind::kDate;
      key.number = value.DateValue();
      break;
    case VarType::String:
      key.kind = Kind::kText;
      key.text = textCompare ? FoldUnits(value.StringValue()) : value.StringValue();
      break;
    case VarType::Object:
      key.kind = Kind::kObject;
      key.object = value.ObjectValue().get();
      break;
    default:
      RaiseScriptError(script_errors::kTypeMismatch);
  }
  return key;
}

size_t DictionaryKeyHash::operator()(const DictionaryKey& key) const {
  size_t hash = static_cast<size_t>(key.kind);
  switch (key.kind) {
    case DictionaryKey::Kind::kNumber:
    case DictionaryKey::Kind::kDate:
      hash ^= std::hash<double>()(key.number) * 31;
      break;
    case DictionaryKey::Kind::kText:
      hash ^= std::hash<std::u16string>()(key.text) * 31;
      break;
    case DictionaryKey::Kind::kObject:
      hash ^= std::hash<const void*>()(key.object) * 31;
      break;
    default:
      break;
  }
  return hash;
}

}  // namespace vendil
