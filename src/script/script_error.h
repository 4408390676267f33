// The error that unwinds the engine when a script fails: VBScript's error number, its English
// description and the source text Err.Source reports, plus where it happened once known.
#pragma once

#include <cstdint>
#include <exception>
#include <string>

namespace vendil {

inline constexpr char16_t kRuntimeErrorSource[] = u"Microsoft VBScript runtime error";
inline constexpr char16_t kCompileErrorSource[] = u"Microsoft VBScript compilation error";

class ScriptError : public std::exception {
 public:
  ScriptError(int32_t number, std::u16string description,
              std::u16string source = kRuntimeErrorSource)
      : number(number), description(std::move(description)), source(std::move(source)) {}
  const char* what() const noexcept override { return "script error"; }

  int32_t number;
  std::u16string description;
  std::u16string source;
  int line = 0;    // 1-based; 0 until the engine knows the statement
  int column = 0;  // 1-based
  std::u16string lineText;
  std::u16string helpFile;  // what Err.Raise gave, for Err.HelpFile
  int32_t helpContext = 0;
};

// Thrown when the host's Tick asks to stop: no On Error handler of the script catches it.
struct ScriptAbort {};

// The English message of a standard run-time or compilation error number (e.g. 13 ->
// "Type mismatch", 1002 -> "Syntax error"); "Unknown runtime error" for others.
std::u16string StandardErrorMessage(int32_t number);
// Throws ScriptError with the standard message of `number`.
[[noreturn]] void RaiseScriptError(int32_t number);
[[noreturn]] void RaiseScriptError(int32_t number, std::u16string description);

// The numbers the engine and the built-ins raise.
namespace script_errors {
inline constexpr int32_t kInvalidProcedureCall = 5;  // "Invalid procedure call or argument"
inline constexpr int32_t kOverflow = 6;
inline constexpr int32_t kOutOfMemory = 7;
inline constexpr int32_t kSubscriptOutOfRange = 9;
inline constexpr int32_t kArrayLocked = 10;  // "This array is fixed or temporarily locked"
inline constexpr int32_t kDivisionByZero = 11;
inline constexpr int32_t kTypeMismatch = 13;
inline constexpr int32_t kOutOfStack = 28;
inline constexpr int32_t kObjectVariableNotSet = 91;
inline constexpr int32_t kInvalidUseOfNull = 94;
inline constexpr int32_t kCannotCreateObject = 429;  // "ActiveX component can't create object"
inline constexpr int32_t kObjectRequired = 424;
inline constexpr int32_t kNotACollection = 451;   // For Each over what is no array or object
inline constexpr int32_t kUnsupportedType = 458;  // a Byte result thrown away by Call
inline constexpr int32_t kForNotInitialized = 92;
inline constexpr int32_t kNoSuchMember = 438;
inline constexpr int32_t kWrongArguments = 450;
inline constexpr int32_t kVariableUndefined = 500;
inline constexpr int32_t kIllegalAssignment = 501;
inline constexpr int32_t kUnqualifiedReference = 505;  // `.name` outside a With block
}  // namespace script_errors

}  // namespace vendil
