// The locale table, the locale in force on this thread, and dates written by pattern.
#include "script/script_locale.h"

#include <array>

#include "script/date_math.h"
#include "script/variant_convert.h"

namespace vendil {

namespace {

constexpr const char16_t* kEnglishMonths[] = {u"January",   u"February", u"March",    u"April",
                                              u"May",       u"June",     u"July",     u"August",
                                              u"September", u"October",  u"November", u"December"};
constexpr const char16_t* kEnglishMonthsShort[] = {u"Jan", u"Feb", u"Mar", u"Apr", u"May", u"Jun",
                                                   u"Jul", u"Aug", u"Sep", u"Oct", u"Nov", u"Dec"};
constexpr const char16_t* kEnglishDays[] = {u"Sunday",   u"Monday", u"Tuesday", u"Wednesday",
                                            u"Thursday", u"Friday", u"Saturday"};
constexpr const char16_t* kEnglishDaysShort[] = {u"Sun", u"Mon", u"Tue", u"Wed",
                                                 u"Thu", u"Fri", u"Sat"};

constexpr const char16_t* kGermanMonths[] = {u"Januar",    u"Februar", u"März",     u"April",
                                             u"Mai",       u"Juni",    u"Juli",     u"August",
                                             u"September", u"Oktober", u"November", u"Dezember"};
constexpr const char16_t* kGermanMonthsShort[] = {u"Jan", u"Feb", u"Mär", u"Apr", u"Mai", u"Jun",
                                                  u"Jul", u"Aug", u"Sep", u"Okt", u"Nov", u"Dez"};
constexpr const char16_t* kGermanDays[] = {u"Sonntag",    u"Montag",  u"Dienstag", u"Mittwoch",
                                           u"Donnerstag", u"Freitag", u"Samstag"};
constexpr const char16_t* kGermanDaysShort[] = {u"So", u"Mo", u"Di", u"Mi", u"Do", u"Fr", u"Sa"};

constexpr const char16_t* kFrenchMonths[] = {u"janvier",   u"février", u"mars",     u"avril",
                                             u"mai",       u"juin",    u"juillet",  u"août",
                                             u"septembre", u"octobre", u"novembre", u"décembre"};
constexpr const char16_t* kFrenchMonthsShort[] = {u"janv.", u"févr.", u"mars",  u"avr.",
                                                  u"mai",   u"juin",  u"juil.", u"août",
                                                  u"sept.", u"oct.",  u"nov.",  u"déc."};
constexpr const char16_t* kFrenchDays[] = {u"dimanche", u"lundi",    u"mardi", u"mercredi",
                                           u"jeudi",    u"vendredi", u"samedi"};
constexpr const char16_t* kFrenchDaysShort[] = {u"dim.", u"lun.", u"mar.", u"mer.",
                                                u"jeu.", u"ven.", u"sam."};

constexpr const char16_t* kSpanishMonths[] = {
    u"enero", u"febrero", u"marzo",      u"abril",   u"mayo",      u"junio",
    u"julio", u"agosto",  u"septiembre", u"octubre", u"noviembre", u"diciembre"};
constexpr const char16_t* kSpanishMonthsShort[] = {u"ene.", u"feb.", u"mar.", u"abr.",
                                                   u"may.", u"jun.", u"jul.", u"ago.",
                                                   u"sep.", u"oct.", u"nov.", u"dic."};
constexpr const char16_t* kSpanishDays[] = {u"domingo", u"lunes",   u"martes", u"miércoles",
                                            u"jueves",  u"viernes", u"sábado"};
constexpr const char16_t* kSpanishDaysShort[] = {u"dom.", u"lun.", u"mar.", u"mié.",
                                                 u"jue.", u"vie.", u"sáb."};

// Japanese, Chinese and Korean months are numbered: the same written out or short.
constexpr const char16_t* kJapaneseMonths[] = {u"1月", u"2月", u"3月", u"4月",  u"5月",  u"6月",
                                               u"7月", u"8月", u"9月", u"10月", u"11月", u"12月"};
constexpr const char16_t* kJapaneseDays[] = {u"日曜日", u"月曜日", u"火曜日", u"水曜日",
                                             u"木曜日", u"金曜日", u"土曜日"};
constexpr const char16_t* kJapaneseDaysShort[] = {u"日", u"月", u"火", u"水", u"木", u"金", u"土"};
constexpr const char16_t* kChineseMonths[] = {u"一月", u"二月", u"三月",   u"四月",
                                              u"五月", u"六月", u"七月",   u"八月",
                                              u"九月", u"十月", u"十一月", u"十二月"};
constexpr const char16_t* kChineseDays[] = {u"星期日", u"星期一", u"星期二", u"星期三",
                                            u"星期四", u"星期五", u"星期六"};
constexpr const char16_t* kChineseDaysShort[] = {u"周日", u"周一", u"周二", u"周三",
                                                 u"周四", u"周五", u"周六"};
constexpr const char16_t* kTaiwanDaysShort[] = {u"週日", u"週一", u"週二", u"週三",
                                                u"週四", u"週五", u"週六"};
constexpr const char16_t* kKoreanMonths[] = {u"1월", u"2월", u"3월", u"4월",  u"5월",  u"6월",
                                             u"7월", u"8월", u"9월", u"10월", u"11월", u"12월"};
constexpr const char16_t* kKoreanDays[] = {u"일요일", u"월요일", u"화요일", u"수요일",
                                           u"목요일", u"금요일", u"토요일"};
constexpr const char16_t* kKoreanDaysShort[] = {u"일", u"월", u"화", u"수", u"목", u"금", u"토"};

constexpr std::array<ScriptLocale, 9> kLocales{{
    {1041, u"ja-jp", u'.', u',', u"yyyy/MM/dd", u"yyyy'年'M'月'd'日'", u"H:mm:ss", u"午前", u"午後",
     kJapaneseMonths, kJapaneseMonths, kJapaneseDays, kJapaneseDaysShort, 1, u"¥", true, false, 0,
     false},
    {1033, u"en-us", u'.', u',', u"M/d/yyyy", u"dddd, MMMM d, yyyy", u"h:mm:ss tt", u"AM", u"PM",
     kEnglishMonths, kEnglishMonthsShort, kEnglishDays, kEnglishDaysShort, 1, u"$", true, false, 2,
     true},
    {2057, u"en-gb", u'.', u',', u"dd/MM/yyyy", u"dd MMMM yyyy", u"HH:mm:ss", u"AM", u"PM",
     kEnglishMonths, kEnglishMonthsShort, kEnglishDays, kEnglishDaysShort, 2, u"£", true, false, 2,
     false},
    {1031, u"de-de", u',', u'.', u"dd.MM.yyyy", u"dddd, d. MMMM yyyy", u"HH:mm:ss", u"", u"",
     kGermanMonths, kGermanMonthsShort, kGermanDays, kGermanDaysShort, 2, u"€", false, true, 2,
     false},
    {1036, u"fr-fr", u',', u'\u00A0', u"dd/MM/yyyy", u"dddd d MMMM yyyy", u"HH:mm:ss", u"", u"",
     kFrenchMonths, kFrenchMonthsShort, kFrenchDays, kFrenchDaysShort, 2, u"€", false, true, 2,
     false},
    {3082, u"es-es", u',', u'.', u"dd/MM/yyyy", u"dddd, d' de 'MMMM' de 'yyyy", u"H:mm:ss", u"",
     u"", kSpanishMonths, kSpanishMonthsShort, kSpanishDays, kSpanishDaysShort, 2, u"€", false,
     true, 2, false},
    {2052, u"zh-cn", u'.', u',', u"yyyy/M/d", u"yyyy'年'M'月'd'日'", u"H:mm:ss", u"上午", u"下午",
     kChineseMonths, kJapaneseMonths, kChineseDays, kChineseDaysShort, 2, u"¥", true, false, 2,
     false},
    {1028, u"zh-tw", u'.', u',', u"yyyy/M/d", u"yyyy'年'M'月'd'日'", u"tt hh:mm:ss", u"上午",
     u"下午", kChineseMonths, kJapaneseMonths, kChineseDays, kTaiwanDaysShort, 1, u"NT$", true,
     false, 2, false},
    {1042, u"ko-kr", u'.', u',', u"yyyy-MM-dd", u"yyyy'년' M'월' d'일' dddd", u"tt h:mm:ss",
     u"오전", u"오후", kKoreanMonths, kKoreanMonths, kKoreanDays, kKoreanDaysShort, 1, u"₩", true,
     false, 0, false},
}};

thread_local const ScriptLocale* current = &kLocales[0];

void AppendNumber(std::u16string& out, int value, size_t width) {
  std::u16string digits;
  do {
    digits.insert(digits.begin(), static_cast<char16_t>(u'0' + value % 10));
    value /= 10;
  } while (value > 0);
  if (digits.size() < width) out.append(width - digits.size(), u'0');
  out += digits;
}

}  // namespace

const ScriptLocale* FindLocale(int32_t id) {
  for (const ScriptLocale& locale : kLocales) {
    if (locale.id == id) return &locale;
  }
  return nullptr;
}

const ScriptLocale* FindLocale(std::u16string_view tag) {
  const std::u16string folded = FoldCaseU16(tag);
  for (const ScriptLocale& locale : kLocales) {
    // "de" names the locale of "de-de": the first of its language.
    if (locale.tag == folded || locale.tag.substr(0, 3) == folded + u"-") return &locale;
  }
  return nullptr;
}

const ScriptLocale& CurrentLocale() { return *current; }

const ScriptLocale& LiteralLocale() { return kLocales[1]; }

void SetCurrentLocale(const ScriptLocale& locale) { current = &locale; }

LocaleScope::LocaleScope(int32_t id) : saved_(current) {
  if (const ScriptLocale* locale = FindLocale(id)) current = locale;
}

LocaleScope::~LocaleScope() { current = saved_; }

std::u16string FormatDatePattern(double date, std::u16string_view pattern,
                                 const ScriptLocale& locale) {
  const DateParts parts = SplitDate(date);
  const int weekday = WeekdayOf(parts.dayNumber, 1) - 1;
  std::u16string out;
  size_t i = 0;
  while (i < pattern.size()) {
    const char16_t c = pattern[i];
    size_t run = 1;
    while (i + run < pattern.size() && pattern[i + run] == c) ++run;
    switch (c) {
      case u'\'': {
        const size_t close = pattern.find(u'\'', i + 1);
        const size_t end = close == std::u16string_view::npos ? pattern.size() : close;
        out += pattern.substr(i + 1, end - i - 1);
        i = end + 1;
        continue;
      }
      case u'y':
        if (run >= 4) {
          AppendNumber(out, parts.year, 4);
        } else {
          AppendNumber(out, parts.year % 100, 2);
        }
        break;
      case u'M':
        if (run >= 4) {
          out += locale.monthNames[parts.month - 1];
        } else if (run == 3) {
          out += locale.monthAbbreviations[parts.month - 1];
        } else {
          AppendNumber(out, parts.month, run);
        }
        break;
      case u'd':
        if (run >= 4) {
          out += locale.dayNames[weekday];
        } else if (run == 3) {
          out += locale.dayAbbreviations[weekday];
        } else {
          AppendNumber(out, parts.day, run);
        }
        break;
      case u'H':
        AppendNumber(out, parts.hour, run);
        break;
      case u'h':
        AppendNumber(out, parts.hour % 12 == 0 ? 12 : parts.hour % 12, run);
        break;
      case u'm':
        AppendNumber(out, parts.minute, run);
        break;
      case u's':
        AppendNumber(out, parts.second, run);
        break;
      case u't':
        out += parts.hour < 12 ? locale.am : locale.pm;
        break;
      default:
        out.append(run, c);
    }
    i += run;
  }
  return out;
}

std::u16string LocalizeDecimalPoint(std::u16string text, const ScriptLocale& locale) {
  if (locale.decimalPoint != u'.') {
    for (char16_t& c : text) {
      if (c == u'.') c = locale.decimalPoint;
    }
  }
  return text;
}

}  // namespace vendil
