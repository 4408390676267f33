// The script engine's value type: a Variant with the subtypes of VBScript (Empty, Null,
// Boolean, Byte, Integer, Long, Single, Double, Currency, Date, String, Object, Error) and
// arrays of Variants with any number of dimensions. Strings are UTF-16 so that lengths and
// positions count as scripts expect.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "script/value_limit.h"

namespace vendil {

class ScriptObject;
class ScriptArray;

// The numbers VarType() returns; an array is 0x2000 + vbVariant (12).
enum class VarType : uint16_t {
  Empty = 0,
  Null = 1,
  Integer = 2,
  Long = 3,
  Single = 4,
  Double = 5,
  Currency = 6,
  Date = 7,
  String = 8,
  Object = 9,
  Error = 10,
  Boolean = 11,
  Variant = 12,
  Byte = 17,
  Array = 0x2000,
};

// A missing optional argument (`MsgBox "x", , "t"`) is an Error value with this code.
inline constexpr int32_t kParamNotFound = static_cast<int32_t>(0x80020004u);

class Variant {
 public:
  struct EmptyTag {};
  struct NullTag {};
  struct CurrencyTag {
    int64_t scaled;  // the amount times 10000
  };
  struct DateTag {
    double days;  // days since 1899-12-30, the fraction is the time of day
  };
  struct ErrorTag {
    int32_t code;
  };
  // Arrays have value semantics: copying a Variant copies the array, as assignment does.
  class ArrayHolder {
   public:
    explicit ArrayHolder(std::unique_ptr<ScriptArray> array);
    ArrayHolder(const ArrayHolder& other);
    ArrayHolder(ArrayHolder&&) noexcept = default;
    ArrayHolder& operator=(const ArrayHolder& other);
    ArrayHolder& operator=(ArrayHolder&&) noexcept = default;
    ~ArrayHolder();
    ScriptArray& Get() const { return *array_; }

   private:
    std::unique_ptr<ScriptArray> array_;
  };
  using Storage =
      std::variant<EmptyTag, NullTag, bool, uint8_t, int16_t, int32_t, float, double, CurrencyTag,
                   DateTag, std::u16string, std::shared_ptr<ScriptObject>, ErrorTag, ArrayHolder>;

  Variant() = default;  // Empty
  // A copy of a long string is a new value the engine's memory budget counts.
  Variant(const Variant& other) : value_(other.value_) { ChargeCopy(); }
  Variant(Variant&&) noexcept = default;
  Variant& operator=(const Variant& other) {
    value_ = other.value_;
    ChargeCopy();
    return *this;
  }
  Variant& operator=(Variant&&) noexcept = default;
  ~Variant() = default;

  static Variant Null() { return Variant(NullTag{}); }
  static Variant Boolean(bool value) { return Variant(value); }
  static Variant Byte(uint8_t value) { return Variant(value); }
  static Variant Integer(int16_t value) { return Variant(value); }
  static Variant Long(int32_t value) { return Variant(value); }
  static Variant Single(float value) { return Variant(value); }
  static Variant Double(double value) { return Variant(value); }
  static Variant Currency(int64_t scaled) { return Variant(CurrencyTag{scaled}); }
  static Variant Date(double days) { return Variant(DateTag{days}); }
  static Variant String(std::u16string value) { return Variant(std::move(value)); }
  static Variant String(std::u16string_view value) { return Variant(std::u16string(value)); }
  // A null pointer is Nothing (subtype Object).
  static Variant Object(std::shared_ptr<ScriptObject> object) { return Variant(std::move(object)); }
  static Variant Nothing() { return Variant(std::shared_ptr<ScriptObject>()); }
  static Variant Error(int32_t code) { return Variant(ErrorTag{code}); }
  static Variant Missing() { return Error(kParamNotFound); }
  static Variant Array(std::unique_ptr<ScriptArray> array);
  // A one-dimensional array 0..n-1 of these values (what Array(...) and Split give).
  static Variant ArrayOf(std::vector<Variant> values);

  VarType Type() const {
    static constexpr VarType kTypes[] = {
        VarType::Empty,  VarType::Null,   VarType::Boolean, VarType::Byte,     VarType::Integer,
        VarType::Long,   VarType::Single, VarType::Double,  VarType::Currency, VarType::Date,
        VarType::String, VarType::Object, VarType::Error,   VarType::Array};
    return kTypes[value_.index()];
  }
  bool IsEmpty() const { return std::holds_alternative<EmptyTag>(value_); }
  bool IsNull() const { return std::holds_alternative<NullTag>(value_); }
  bool IsString() const { return std::holds_alternative<std::u16string>(value_); }
  bool IsObject() const { return std::holds_alternative<std::shared_ptr<ScriptObject>>(value_); }
  bool IsNothing() const { return IsObject() && !ObjectValue(); }
  bool IsArray() const { return std::holds_alternative<ArrayHolder>(value_); }
  bool IsError() const { return std::holds_alternative<ErrorTag>(value_); }
  bool IsMissing() const { return IsError() && ErrorCode() == kParamNotFound; }
  bool IsBoolean() const { return std::holds_alternative<bool>(value_); }
  // Byte, Integer, Long, Single, Double, Currency, Date or Boolean: arithmetic takes it as is.
  bool IsNumber() const { return value_.index() >= 2 && value_.index() <= 9; }
  bool IsIntegral() const {  // Byte, Integer, Long or Boolean
    return value_.index() >= 2 && value_.index() <= 5;
  }

  // Raw access; valid only for the matching subtype.
  bool BoolValue() const { return std::get<bool>(value_); }
  uint8_t ByteValue() const { return std::get<uint8_t>(value_); }
  int16_t IntegerValue() const { return std::get<int16_t>(value_); }
  int32_t LongValue() const { return std::get<int32_t>(value_); }
  float SingleValue() const { return std::get<float>(value_); }
  double DoubleValue() const { return std::get<double>(value_); }
  int64_t CurrencyValue() const { return std::get<CurrencyTag>(value_).scaled; }
  double DateValue() const { return std::get<DateTag>(value_).days; }
  int32_t ErrorCode() const { return std::get<ErrorTag>(value_).code; }
  const std::u16string& StringValue() const { return std::get<std::u16string>(value_); }
  std::u16string& MutableString() { return std::get<std::u16string>(value_); }
  const std::shared_ptr<ScriptObject>& ObjectValue() const {
    return std::get<std::shared_ptr<ScriptObject>>(value_);
  }
  ScriptArray& ArrayValue() const { return std::get<ArrayHolder>(value_).Get(); }

  const Storage& storage() const { return value_; }

 private:
  template <typename T>
  explicit Variant(T value) : value_(std::move(value)) {}
  void ChargeCopy() const {
    constexpr size_t kStringIndex = 10;
    if (value_.index() == kStringIndex) ChargeStringCopy();
  }
  void ChargeStringCopy() const;
  Storage value_;
};

static_assert(std::variant_size_v<Variant::Storage> == 14, "Type() maps every alternative");

// Column-major storage (the first index runs fastest), so `ReDim Preserve` of the last
// dimension keeps every element where it was. Lower bounds are always 0.
class ScriptArray {
 public:
  ScriptArray() = default;  // a dynamic array not yet dimensioned: `Dim a()`
  explicit ScriptArray(std::vector<int32_t> upperBounds);  // raises 7 past the memory limit

  size_t Dimensions() const { return upper_.size(); }
  int32_t UpperBound(size_t dimension) const { return upper_[dimension]; }  // 0-based dim
  const std::vector<int32_t>& UpperBounds() const { return upper_; }
  size_t Size() const { return data_.size(); }
  // Element by indexes, one per dimension; raises 9 "Subscript out of range".
  Variant& At(std::span<const int32_t> indexes);
  std::vector<Variant>& Elements() { return data_; }
  const std::vector<Variant>& Elements() const { return data_; }

  // ReDim: new bounds, contents dropped unless `preserve` (then only the last dimension may
  // change; raises 9 otherwise). Raises 10 on a fixed or locked array, 7 past the limit.
  void Redimension(std::vector<int32_t> upperBounds, bool preserve);
  // Erase: a fixed array keeps its size with every element reset; a dynamic one empties.
  void Erase();
  // An array of the same bounds whose elements are still to be filled in.
  std::unique_ptr<ScriptArray> EmptyCopy() const;

  bool fixed = false;  // declared with sizes (`Dim a(3)`): ReDim refuses it
  int locks = 0;       // For Each or a ByRef element holds it: ReDim and Erase refuse it

 private:
  std::vector<int32_t> upper_;
  std::vector<Variant> data_;
};

// Raises 10 when the slot holds an array that a ByRef argument holds an element of:
// replacing the array would pull the element from under the running procedure.
// Lets go of the values and of all they hold without a native frame per level of nesting:
// arrays of arrays and chains of objects a million deep end as flat ones do.
void ReleaseValues(std::vector<Variant>& values);

void RaiseIfLocked(const ScriptArray& array);
inline void CheckReplaceable(const Variant& slot) {
  if (slot.IsArray()) RaiseIfLocked(slot.ArrayValue());
}

}  // namespace vendil
