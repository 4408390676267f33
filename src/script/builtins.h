// How the built-in functions and constants are registered and called. The engine fills one
// BuiltinTable at creation from the Register* entry points below; a call checks the argument
// count against the entry, then passes the arguments by value.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>

#include "script/script_object.h"
#include "script/variant.h"

namespace vendil {

class HostCallbacks;

// State of Rnd/Randomize, one per engine.
struct RandomState {
  uint32_t seed = 0x50000;             // the 24-bit generator state
  float last = 0x50000 / 16777216.0f;  // the last number Rnd returned, or the seed's (Rnd(0))
};

// The locale identifier GetLocale gives until SetLocale changes it: Japanese, the language
// everything else the program shows is in.
inline constexpr int32_t kDefaultLocale = 1041;

struct CallContext {
  HostCallbacks& host;  // MsgBox, InputBox
  RandomState& random;
  int32_t& locale;  // GetLocale, SetLocale
};

// Arguments arrive evaluated; a missing optional argument in the middle (`MsgBox "a", , "t"`)
// is Variant::Missing(). The function may change the span's elements (they are copies).
using BuiltinFunction = Variant (*)(CallContext& context, std::span<Variant> args);

struct BuiltinEntry {
  std::u16string name;  // as registered
  int minArgs = 0;
  int maxArgs = 0;  // < 0: any number
  BuiltinFunction function = nullptr;
  bool isConstant = false;   // a named constant (vbCrLf): `constant` is its value
  bool isStatement = false;  // has no value (Randomize): using it in an expression is 13
  Variant constant;
};

class BuiltinTable {
 public:
  // A later entry of the same name replaces the earlier one.
  void Add(BuiltinEntry entry);
  // Case-insensitive; null when unknown. Entries stay where they are for the table's life.
  const BuiltinEntry* Find(std::u16string_view name) const;

 private:
  std::unordered_map<std::u16string, BuiltinEntry> entries_;  // key: folded name
};

void RegisterBuiltin(BuiltinTable& table, std::u16string_view name, int minArgs, int maxArgs,
                     BuiltinFunction function);
void RegisterConstant(BuiltinTable& table, std::u16string_view name, Variant value);
// A built-in that is a statement: it runs as one, and gives error 13 where a value is needed.
void RegisterStatement(BuiltinTable& table, std::u16string_view name, int minArgs, int maxArgs,
                       BuiltinFunction function);

// The engine core: Array, UBound, LBound, IsArray, CreateObject (Scripting.Dictionary,
// else 429). Eval, Execute and ExecuteGlobal are part of the interpreter itself.
void RegisterCoreBuiltins(BuiltinTable& table);

// The library (each in its own builtins_*.cpp):
void RegisterStringBuiltins(BuiltinTable& table);      // Len, Mid, InStr, Replace, Split, ...
void RegisterByteStringBuiltins(BuiltinTable& table);  // LeftB, MidB, InStrB, ... (with the above)
void RegisterConversionBuiltins(BuiltinTable& table);  // CStr, CInt, CLng, CDbl, Hex, ...
void RegisterMathBuiltins(BuiltinTable& table);        // Int, Fix, Abs, Sgn, Round, Rnd, ...
void RegisterLocaleBuiltins(BuiltinTable& table);      // GetLocale, SetLocale
void RegisterInspectionBuiltins(BuiltinTable& table);  // IsEmpty, IsNull, TypeName, VarType, ...
void RegisterDateBuiltins(BuiltinTable& table);        // Now, DateAdd, DateSerial, ...
void RegisterFormatBuiltins(BuiltinTable& table);      // FormatNumber, FormatDateTime, ...
void RegisterUiBuiltins(BuiltinTable& table);          // MsgBox, InputBox through the host
void RegisterConstants(BuiltinTable& table);           // vbCrLf, vbOKOnly, vbTextCompare, ...

// `New RegExp` and `CreateObject("Scripting.Dictionary")`.
std::shared_ptr<ScriptObject> CreateRegExp();
std::shared_ptr<ScriptObject> CreateDictionary();

}  // namespace vendil
