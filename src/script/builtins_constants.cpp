// The named constants scripts may use: message box styles and answers, text characters,
// compare modes, VarType numbers, weekdays, date formats, colours and the Booleans.
#include <string>

#include "script/builtins.h"

namespace vendil {

namespace {

struct IntegerConstant {
  const char16_t* name;
  int32_t value;
};

constexpr IntegerConstant kIntegers[] = {
    {u"vbOKOnly", 0},
    {u"vbOKCancel", 1},
    {u"vbAbortRetryIgnore", 2},
    {u"vbYesNoCancel", 3},
    {u"vbYesNo", 4},
    {u"vbRetryCancel", 5},
    {u"vbCritical", 16},
    {u"vbQuestion", 32},
    {u"vbExclamation", 48},
    {u"vbInformation", 64},
    {u"vbDefaultButton1", 0},
    {u"vbDefaultButton2", 256},
    {u"vbDefaultButton3", 512},
    {u"vbDefaultButton4", 768},
    {u"vbApplicationModal", 0},
    {u"vbSystemModal", 4096},
    {u"vbOK", 1},
    {u"vbCancel", 2},
    {u"vbAbort", 3},
    {u"vbRetry", 4},
    {u"vbIgnore", 5},
    {u"vbYes", 6},
    {u"vbNo", 7},
    {u"vbBinaryCompare", 0},
    {u"vbTextCompare", 1},
    {u"vbDatabaseCompare", 2},
    {u"vbEmpty", 0},
    {u"vbNull", 1},
    {u"vbInteger", 2},
    {u"vbLong", 3},
    {u"vbSingle", 4},
    {u"vbDouble", 5},
    {u"vbCurrency", 6},
    {u"vbDate", 7},
    {u"vbString", 8},
    {u"vbObject", 9},
    {u"vbError", 10},
    {u"vbBoolean", 11},
    {u"vbVariant", 12},
    {u"vbDataObject", 13},
    {u"vbDecimal", 14},
    {u"vbByte", 17},
    {u"vbArray", 8192},
    {u"vbUseSystemDayOfWeek", 0},
    {u"vbSunday", 1},
    {u"vbMonday", 2},
    {u"vbTuesday", 3},
    {u"vbWednesday", 4},
    {u"vbThursday", 5},
    {u"vbFriday", 6},
    {u"vbSaturday", 7},
    {u"vbUseSystem", 0},
    {u"vbFirstJan1", 1},
    {u"vbFirstFourDays", 2},
    {u"vbFirstFullWeek", 3},
    {u"vbGeneralDate", 0},
    {u"vbLongDate", 1},
    {u"vbShortDate", 2},
    {u"vbLongTime", 3},
    {u"vbShortTime", 4},
    {u"vbUseDefault", -2},
    {u"vbTrue", -1},
    {u"vbFalse", 0},
};

// Long values whatever their size: the vbMsgBox flags, and colours (red + green * 256 +
// blue * 65536).
constexpr IntegerConstant kLongs[] = {
    {u"vbMsgBoxHelpButton", 16384},
    {u"vbMsgBoxSetForeground", 65536},
    {u"vbMsgBoxRight", 524288},
    {u"vbMsgBoxRtlReading", 1048576},
};
constexpr IntegerConstant kColours[] = {
    {u"vbBlack", 0x000000},  {u"vbRed", 0x0000FF},   {u"vbGreen", 0x00FF00},
    {u"vbYellow", 0x00FFFF}, {u"vbBlue", 0xFF0000},  {u"vbMagenta", 0xFF00FF},
    {u"vbCyan", 0xFFFF00},   {u"vbWhite", 0xFFFFFF},
};

}  // namespace

void RegisterConstants(BuiltinTable& table) {
  for (const IntegerConstant& constant : kIntegers) {
    const bool fitsInteger = constant.value >= -32768 && constant.value <= 32767;
    RegisterConstant(table, constant.name,
                     fitsInteger ? Variant::Integer(static_cast<int16_t>(constant.value))
                                 : Variant::Long(constant.value));
  }
  for (const IntegerConstant& constant : kLongs) {
    RegisterConstant(table, constant.name, Variant::Long(constant.value));
  }
  for (const IntegerConstant& colour : kColours) {
    RegisterConstant(table, colour.name, Variant::Long(colour.value));
  }
  RegisterConstant(table, u"vbObjectError", Variant::Long(static_cast<int32_t>(0x80040000u)));
  RegisterConstant(table, u"vbCrLf", Variant::String(std::u16string(u"\r\n")));
  RegisterConstant(table, u"vbNewLine", Variant::String(std::u16string(u"\r\n")));
  RegisterConstant(table, u"vbCr", Variant::String(std::u16string(u"\r")));
  RegisterConstant(table, u"vbLf", Variant::String(std::u16string(u"\n")));
  RegisterConstant(table, u"vbTab", Variant::String(std::u16string(u"\t")));
  RegisterConstant(table, u"vbFormFeed", Variant::String(std::u16string(u"\f")));
  RegisterConstant(table, u"vbVerticalTab", Variant::String(std::u16string(u"\v")));
  RegisterConstant(table, u"vbNullChar", Variant::String(std::u16string(1, u'\0')));
  RegisterConstant(table, u"vbNullString", Variant::String(std::u16string()));
}

}  // namespace vendil
