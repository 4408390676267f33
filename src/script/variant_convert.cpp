// Conversions between Variant subtypes, number and date texts, and UTF-16 helpers.
#include "script/variant_convert.h"

#include <cmath>
#include <cstdio>
#include <limits>

#include "platform/casefold.h"
#include "platform/codec.h"
#include "script/script_error.h"
#include "script/script_locale.h"
#include "script/script_object.h"

namespace vendil {

namespace {

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; }

std::u16string AsciiToU16(const char* text) {
  std::u16string out;
  for (; *text; ++text) out.push_back(static_cast<char16_t>(*text));
  return out;
}

}  // namespace

std::optional<double> ParseNumericString(std::u16string_view text) {
  size_t i = 0;
  size_t end = text.size();
  while (i < end && IsBlank(text[i])) ++i;
  while (end > i && IsBlank(text[end - 1])) --end;
  if (i == end) return std::nullopt;
  bool negative = false;
  if (text[i] == u'+' || text[i] == u'-') {
    negative = text[i] == u'-';
    ++i;
    while (i < end && IsBlank(text[i])) ++i;
  }
  if (i + 1 < end && text[i] == u'&') {
    const char16_t kind = text[i + 1] | 0x20;
    int base = kind == u'h' ? 16 : kind == u'o' ? 8 : 0;
    if (base == 0) return std::nullopt;
    i += 2;
    if (i == end) return std::nullopt;
    uint64_t value = 0;
    for (; i < end; ++i) {
      const char16_t c = text[i];
      int digit = -1;
      if (c >= u'0' && c <= u'9') digit = c - u'0';
      if (base == 16 && (c | 0x20) >= u'a' && (c | 0x20) <= u'f') digit = (c | 0x20) - u'a' + 10;
      if (digit < 0 || digit >= base) return std::nullopt;
      value = value * base + digit;
      if (value > 0xFFFFFFFFull) return std::nullopt;
    }
    // Hexadecimal text up to 32 bits is a Long: &HFFFFFFFF is -1.
    double result = static_cast<double>(value);
    if (value > 0x7FFFFFFFull) result = static_cast<double>(static_cast<int32_t>(value));
    return negative ? -result : result;
  }
  const ScriptLocale& locale = CurrentLocale();
  std::string ascii;
  bool digits = false;
  bool point = false;
  for (; i < end; ++i) {
    const char16_t c = text[i];
    if (c >= u'0' && c <= u'9') {
      digits = true;
      ascii.push_back(static_cast<char>(c));
    } else if (c == locale.decimalPoint && !point) {
      point = true;
      ascii.push_back('.');
    } else if (c == locale.groupSeparator && digits && !point) {
      continue;  // thousands separator
    } else {
      break;
    }
  }
  if (!digits) return std::nullopt;
  if (i < end && (text[i] | 0x20) == u'e') {
    std::string exponent = "e";
    size_t j = i + 1;
    if (j < end && (text[j] == u'+' || text[j] == u'-'))
      exponent.push_back(static_cast<char>(text[j++]));
    bool expDigits = false;
    for (; j < end && text[j] >= u'0' && text[j] <= u'9'; ++j) {
      expDigits = true;
      if (exponent.size() < 8) exponent.push_back(static_cast<char>(text[j]));
    }
    if (!expDigits) return std::nullopt;
    ascii += exponent;
    i = j;
  }
  if (i != end) return std::nullopt;
  double value = std::strtod(ascii.c_str(), nullptr);
  if (!std::isfinite(value)) return std::nullopt;
  return negative ? -value : value;
}

Variant ValueOf(const Variant& value) {
  if (!value.IsObject()) return value;
  if (!value.ObjectValue()) RaiseScriptError(script_errors::kObjectVariableNotSet);
  Variant result = value.ObjectValue()->Get(u"", {});
  if (result.IsObject()) RaiseScriptError(script_errors::kTypeMismatch);
  return result;
}

double ToDouble(const Variant& value) {
  switch (value.Type()) {
    case VarType::Empty:
      return 0;
    case VarType::Null:
      RaiseScriptError(script_errors::kInvalidUseOfNull);
    case VarType::Boolean:
      return value.BoolValue() ? -1 : 0;
    case VarType::Byte:
      return value.ByteValue();
    case VarType::Integer:
      return value.IntegerValue();
    case VarType::Long:
      return value.LongValue();
    case VarType::Single:
      return value.SingleValue();
    case VarType::Double:
      return value.DoubleValue();
    case VarType::Currency:
      return static_cast<double>(value.CurrencyValue()) / 10000.0;
    case VarType::Date:
      return value.DateValue();
    case VarType::String: {
      if (auto number = ParseNumericString(value.StringValue())) return *number;
      if (auto date = ParseDateText(value.StringValue())) return *date;
      RaiseScriptError(script_errors::kTypeMismatch);
    }
    case VarType::Object:
      return ToDouble(ValueOf(value));
    default:
      RaiseScriptError(script_errors::kTypeMismatch);
  }
}

double RoundHalfEven(double value) {
  const double floor = std::floor(value);
  const double diff = value - floor;
  if (diff > 0.5) return floor + 1;
  if (diff < 0.5) return floor;
  return std::fmod(floor, 2.0) == 0 ? floor : floor + 1;
}

float ToSingle(const Variant& value) {
  const double number = ToDouble(value);
  if (std::fabs(number) > std::numeric_limits<float>::max()) {
    RaiseScriptError(script_errors::kOverflow);
  }
  return static_cast<float>(number);
}

int32_t ToLong(const Variant& value) {
  switch (value.Type()) {
    case VarType::Boolean:
      return value.BoolValue() ? -1 : 0;
    case VarType::Byte:
      return value.ByteValue();
    case VarType::Integer:
      return value.IntegerValue();
    case VarType::Long:
      return value.LongValue();
    case VarType::Empty:
      return 0;
    default:
      break;
  }
  const double rounded = RoundHalfEven(ToDouble(value));
  if (!(rounded >= -2147483648.0 && rounded <= 2147483647.0)) {
    RaiseScriptError(script_errors::kOverflow);
  }
  return static_cast<int32_t>(rounded);
}

int16_t ToInteger(const Variant& value) {
  const int32_t number = ToLong(value);
  if (number < -32768 || number > 32767) RaiseScriptError(script_errors::kOverflow);
  return static_cast<int16_t>(number);
}

uint8_t ToByte(const Variant& value) {
  const int32_t number = ToLong(value);
  if (number < 0 || number > 255) RaiseScriptError(script_errors::kOverflow);
  return static_cast<uint8_t>(number);
}

int64_t ToCurrency(const Variant& value) {
  if (value.Type() == VarType::Currency) return value.CurrencyValue();
  const double scaled = RoundHalfEven(ToDouble(value) * 10000.0);
  if (!(std::fabs(scaled) < 9.2233720368547e18)) RaiseScriptError(script_errors::kOverflow);
  return static_cast<int64_t>(scaled);
}

double ToDate(const Variant& value) {
  if (value.Type() == VarType::Date) return value.DateValue();
  if (value.IsString()) {
    if (auto date = ParseDateText(value.StringValue())) return *date;
    if (auto number = ParseNumericString(value.StringValue())) return *number;
    RaiseScriptError(script_errors::kTypeMismatch);
  }
  return ToDouble(value);
}

bool ToBool(const Variant& value) {
  switch (value.Type()) {
    case VarType::Boolean:
      return value.BoolValue();
    case VarType::Empty:
      return false;
    case VarType::Null:
      RaiseScriptError(script_errors::kInvalidUseOfNull);
    case VarType::String: {
      const std::u16string& text = value.StringValue();
      if (EqualsNoCaseU16(text, u"True") || EqualsNoCaseU16(text, u"#TRUE#")) return true;
      if (EqualsNoCaseU16(text, u"False") || EqualsNoCaseU16(text, u"#FALSE#")) return false;
      if (auto number = ParseNumericString(text)) return *number != 0;
      RaiseScriptError(script_errors::kTypeMismatch);
    }
    case VarType::Object:
      return ToBool(ValueOf(value));
    default:
      return ToDouble(value) != 0;
  }
}

std::u16string FormatNumberText(double value, int digits) {
  if (value == 0) return u"0";
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.*G", digits, value);
  return AsciiToU16(buffer);
}

std::u16string FormatCurrencyText(int64_t scaled) {
  const bool negative = scaled < 0;
  const uint64_t magnitude =
      negative ? static_cast<uint64_t>(-(scaled + 1)) + 1 : static_cast<uint64_t>(scaled);
  std::string text = std::to_string(magnitude / 10000);
  uint64_t fraction = magnitude % 10000;
  if (fraction != 0) {
    std::string digits = std::to_string(fraction + 10000).substr(1);
    while (!digits.empty() && digits.back() == '0') digits.pop_back();
    text += "." + digits;
  }
  if (negative) text = "-" + text;
  return AsciiToU16(text.c_str());
}

double DaysFromCivil(int year, int month, int day) {
  // Days from 1970-01-01 (Howard Hinnant's algorithm), then shifted to 1899-12-30.
  year -= month <= 2;
  const int era = (year >= 0 ? year : year - 399) / 400;
  const int yoe = year - era * 400;
  const int doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  const long long unixDays = static_cast<long long>(era) * 146097 + doe - 719468;
  return static_cast<double>(unixDays + 25569);
}

void CivilFromDays(double days, int& year, int& month, int& day, int& hour, int& minute,
                   int& second) {
  double whole = std::trunc(days);
  long long seconds = std::llround(std::fabs(days - whole) * 86400.0);
  if (seconds >= 86400) {
    seconds -= 86400;
    whole += days < 0 ? -1 : 1;
  }
  hour = static_cast<int>(seconds / 3600);
  minute = static_cast<int>(seconds / 60 % 60);
  second = static_cast<int>(seconds % 60);
  long long z = static_cast<long long>(whole) - 25569 + 719468;
  const long long era = (z >= 0 ? z : z - 146096) / 146097;
  const long long doe = z - era * 146097;
  const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const long long mp = (5 * doy + 2) / 153;
  day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  year = static_cast<int>(yoe + era * 400 + (month <= 2));
}

std::u16string ToString(const Variant& value) {
  switch (value.Type()) {
    case VarType::Empty:
      return std::u16string();
    case VarType::Null:
      RaiseScriptError(script_errors::kInvalidUseOfNull);
    case VarType::Boolean:
      return value.BoolValue() ? u"True" : u"False";
    case VarType::Byte:
      return AsciiToU16(std::to_string(value.ByteValue()).c_str());
    case VarType::Integer:
      return AsciiToU16(std::to_string(value.IntegerValue()).c_str());
    case VarType::Long:
      return AsciiToU16(std::to_string(value.LongValue()).c_str());
    case VarType::Single:
      return LocalizeDecimalPoint(FormatNumberText(value.SingleValue(), 7), CurrentLocale());
    case VarType::Double:
      return LocalizeDecimalPoint(FormatNumberText(value.DoubleValue(), 15), CurrentLocale());
    case VarType::Currency:
      return LocalizeDecimalPoint(FormatCurrencyText(value.CurrencyValue()), CurrentLocale());
    case VarType::Date:
      return FormatDateText(value.DateValue());
    case VarType::String:
      return value.StringValue();
    case VarType::Object:
      return ToString(ValueOf(value));
    default:
      RaiseScriptError(script_errors::kTypeMismatch);
  }
}

std::u16string TypeNameOf(const Variant& value) {
  switch (value.Type()) {
    case VarType::Empty:
      return u"Empty";
    case VarType::Null:
      return u"Null";
    case VarType::Boolean:
      return u"Boolean";
    case VarType::Byte:
      return u"Byte";
    case VarType::Integer:
      return u"Integer";
    case VarType::Long:
      return u"Long";
    case VarType::Single:
      return u"Single";
    case VarType::Double:
      return u"Double";
    case VarType::Currency:
      return u"Currency";
    case VarType::Date:
      return u"Date";
    case VarType::String:
      return u"String";
    case VarType::Object:
      return value.ObjectValue() ? value.ObjectValue()->TypeName() : u"Nothing";
    case VarType::Error:
      return u"Error";
    default:
      return u"Variant()";
  }
}

// Both conversions write into a buffer sized for the worst case and cut it to length: page
// texts of hundreds of kilobytes pass through here on every crawled page.
std::u16string Utf8ToUtf16(std::string_view utf8) {
  // Every unit written consumes at least one byte, so the size of the input is enough.
  std::u16string out(utf8.size(), u'\0');
  char16_t* to = out.data();
  size_t i = 0;
  while (i < utf8.size()) {
    const unsigned char c = static_cast<unsigned char>(utf8[i]);
    if (c < 0x80) {
      *to++ = c;
      ++i;
      continue;
    }
    // A byte that starts no character becomes U+FFFD on its own.
    size_t length = Utf8SequenceLength(utf8, i);
    uint32_t code = 0xFFFD;
    if (length > 0) {
      code = Utf8CodePoint(utf8, i, length);
    } else {
      length = 1;
    }
    i += length;
    if (code >= 0x10000) {
      code -= 0x10000;
      *to++ = static_cast<char16_t>(0xD800 + (code >> 10));
      *to++ = static_cast<char16_t>(0xDC00 + (code & 0x3FF));
    } else {
      *to++ = static_cast<char16_t>(code);
    }
  }
  out.resize(static_cast<size_t>(to - out.data()));
  return out;
}

std::string Utf16ToUtf8(std::u16string_view utf16) {
  // At most three bytes per unit: a pair of two units makes four.
  std::string out(utf16.size() * 3, '\0');
  char* to = out.data();
  const auto put = [&to](uint32_t byte) { *to++ = static_cast<char>(byte); };
  for (size_t i = 0; i < utf16.size(); ++i) {
    uint32_t code = utf16[i];
    if (code < 0x80) {
      put(code);
      continue;
    }
    if (code >= 0xD800 && code <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 &&
        utf16[i + 1] <= 0xDFFF) {
      code = 0x10000 + ((code - 0xD800) << 10) + (utf16[i + 1] - 0xDC00);
      ++i;
    } else if (code >= 0xD800 && code <= 0xDFFF) {
      code = 0xFFFD;
    }
    if (code < 0x800) {
      put(0xC0 | (code >> 6));
      put(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
      put(0xE0 | (code >> 12));
      put(0x80 | ((code >> 6) & 0x3F));
      put(0x80 | (code & 0x3F));
    } else {
      put(0xF0 | (code >> 18));
      put(0x80 | ((code >> 12) & 0x3F));
      put(0x80 | ((code >> 6) & 0x3F));
      put(0x80 | (code & 0x3F));
    }
  }
  out.resize(static_cast<size_t>(to - out.data()));
  return out;
}

std::u16string FoldCaseU16(std::u16string_view text) {
  std::u16string out(text);
  bool ascii = true;
  for (char16_t& c : out) {
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + 32);
    if (c >= 0x80) ascii = false;
  }
  if (ascii) return out;
  return Utf8ToUtf16(FoldCase(Utf16ToUtf8(text)));
}

bool EqualsNoCaseU16(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) {
    bool ascii = true;
    for (char16_t c : a) ascii = ascii && c < 0x80;
    for (char16_t c : b) ascii = ascii && c < 0x80;
    if (ascii) return false;
    return FoldCaseU16(a) == FoldCaseU16(b);
  }
  for (size_t i = 0; i < a.size(); ++i) {
    char16_t x = a[i];
    char16_t y = b[i];
    if (x == y) continue;
    if (x >= 0x80 || y >= 0x80) return FoldCaseU16(a) == FoldCaseU16(b);
    if (x >= u'A' && x <= u'Z') x = static_cast<char16_t>(x + 32);
    if (y >= u'A' && y <= u'Z') y = static_cast<char16_t>(y + 32);
    if (x != y) return false;
  }
  return true;
}

}  // namespace vendil
