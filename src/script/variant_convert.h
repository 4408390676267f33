// Coercions between the Variant subtypes as VBScript performs them: to numbers (banker's
// rounding, overflow error 6), to text (numbers, dates and Booleans formatted as CStr does),
// to Boolean, and the numeric reading of strings that IsNumeric and arithmetic use. Each
// raises a ScriptError: 13 "Type mismatch" for values without a meaning as the target,
// 94 "Invalid use of Null" for Null where a value is required.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "script/variant.h"

namespace vendil {

struct ScriptLocale;

// Reads a string as a number the way conversions do: optional blanks, sign, digits with
// a decimal point and exponent, or &H / &O literals. nullopt when it is not a number.
std::optional<double> ParseNumericString(std::u16string_view text);

// The value of an object's default member (objects met where a value is needed); raises 438
// when the object has none and 91 for Nothing. Other values come back unchanged.
Variant ValueOf(const Variant& value);

double ToDouble(const Variant& value);
float ToSingle(const Variant& value);      // 6 past the Single range
int32_t ToLong(const Variant& value);      // rounds half to even; 6 outside the Long range
int16_t ToInteger(const Variant& value);   // rounds half to even; 6 outside the Integer range
uint8_t ToByte(const Variant& value);      // 6 outside 0..255
int64_t ToCurrency(const Variant& value);  // scaled by 10000; 6 outside the Currency range
double ToDate(const Variant& value);       // numbers as days; strings through ParseDateText
bool ToBool(const Variant& value);         // numbers: nonzero; "True"/"False" or numeric text
// Text as CStr gives it: Empty -> "", Boolean -> "True"/"False", numbers in the shortest
// form (at most 15 significant digits for Double, 7 for Single, "1E+20" style exponents),
// dates through FormatDateText. Null raises 94, objects use their default member.
std::u16string ToString(const Variant& value);

// Rounds half to even (CInt, CLng and Round with no digits do this).
double RoundHalfEven(double value);
// Shortest text of a double with at most `digits` significant digits, as VBScript writes it.
std::u16string FormatNumberText(double value, int digits = 15);
std::u16string FormatCurrencyText(int64_t scaled);

// Dates in the short date and long time of the locale in force ("yyyy/MM/dd H:mm:ss" on a
// Japanese system): the date part alone when the time is midnight, the time alone on day 0.
std::u16string FormatDateText(double days);
// Reads a date and/or time text ("2024/1/5", "1/5/2024", "13:04", "2024-01-05 1:04:05 PM")
// in the order of day and month of the locale in force, or of the one given; nullopt when
// it is not a date.
std::optional<double> ParseDateText(std::u16string_view text);
std::optional<double> ParseDateText(std::u16string_view text, const ScriptLocale& locale);
// Days since 1899-12-30 of a calendar date and back (proleptic Gregorian).
double DaysFromCivil(int year, int month, int day);
void CivilFromDays(double days, int& year, int& month, int& day, int& hour, int& minute,
                   int& second);

// Name of the subtype as TypeName reports it ("Long", "String", "Variant()", "Nothing",
// the class name of objects, ...).
std::u16string TypeNameOf(const Variant& value);
// Boolean and the number subtypes, not Date: what IsNumeric and a dictionary key take as a
// number without reading text.
inline bool IsNumericSubtype(const Variant& value) {
  return value.IsNumber() && value.Type() != VarType::Date;
}

// UTF-8 <-> UTF-16 at the host boundary; invalid input becomes U+FFFD.
std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view utf16);
// Case-insensitive equality of names and texts (Unicode simple folding).
bool EqualsNoCaseU16(std::u16string_view a, std::u16string_view b);
std::u16string FoldCaseU16(std::u16string_view text);

}  // namespace vendil
