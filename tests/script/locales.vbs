' SetLocale changes how numbers, currency and dates are written and read.
Option Explicit
Dim d, previous
d = DateSerial(2024, 1, 5) + TimeSerial(13, 4, 5)

' Japanese, the default.
Check GetLocale() = 1041, "the locale starts Japanese"
Check CStr(1.5) = "1.5" And CStr(d) = "2024/01/05 13:04:05", "Japanese CStr"
Check FormatNumber(1234.5) = "1,234.50" And FormatCurrency(1234.5) = "¥1,235", "Japanese numbers and currency"
Check FormatPercent(0.125) = "12.50%", "Japanese percent"
Check FormatDateTime(d, vbLongDate) = "2024年1月5日" And FormatDateTime(d, vbShortDate) = "2024/01/05", "Japanese dates"
Check FormatDateTime(d, vbLongTime) = "13:04:05" And FormatDateTime(d, vbShortTime) = "13:04", "Japanese times"
Check MonthName(1) = "1月" And WeekdayName(1) = "日曜日", "Japanese names"

' United States.
previous = SetLocale(1033)
Check previous = 1041 And GetLocale() = 1033, "SetLocale(1033)"
Check CStr(1.5) = "1.5" And CStr(d) = "1/5/2024 1:04:05 PM", "US CStr of a date"
Check CStr(DateSerial(2024, 1, 5)) = "1/5/2024" And CStr(TimeSerial(9, 0, 0)) = "9:00:00 AM", "US date and time alone"
Check FormatNumber(1234.5) = "1,234.50" And FormatCurrency(1234.5) = "$1,234.50", "US currency"
Check FormatCurrency(-2) = "($2.00)", "US negative currency in brackets"
Check FormatDateTime(d, vbLongDate) = "Friday, January 5, 2024", "US long date"
Check FormatDateTime(d, vbLongTime) = "1:04:05 PM" And FormatDateTime(d, vbShortTime) = "13:04", "US times"
Check CDate("2/3/2024") = DateSerial(2024, 2, 3) And Month("2/3/2024") = 2, "US dates read month first"
Check CDate("1:30 PM") = TimeSerial(13, 30, 0), "US times with PM"
Check MonthName(2) = "February" And MonthName(2, True) = "Feb" And WeekdayName(6) = "Friday", "US names"

' Germany.
SetLocale "1031"
Check GetLocale() = 1031, "SetLocale(""1031"") is accepted"
Check CStr(1.5) = "1,5" And CStr(CCur(2.25)) = "2,25" And CStr(CSng(0.5)) = "0,5", "German decimal comma"
Check CStr(d) = "05.01.2024 13:04:05", "German CStr of a date"
Check FormatNumber(1234.5) = "1.234,50" And FormatCurrency(1234.5) = "1.234,50 €", "German numbers and currency"
Check FormatCurrency(-2) = "-2,00 €" And FormatPercent(0.5) = "50,00%", "German negative currency and percent"
Check FormatDateTime(d, vbLongDate) = "Freitag, 5. Januar 2024" And FormatDateTime(d, vbShortDate) = "05.01.2024", "German dates"
Check CDate("2.3.2024") = DateSerial(2024, 3, 2) And CDate("02/03/2024") = DateSerial(2024, 3, 2), "German dates read day first"
Check CDbl("1,5") = 1.5 And CDbl("1.234,5") = 1234.5, "German numbers are read with the comma"
Check 1.5 & "" = "1,5", "concatenation writes the German way"
Check MonthName(3) = "März" And WeekdayName(1, True) = "So", "German names"
Check Weekday(DateSerial(2024, 1, 8), vbUseSystemDayOfWeek) = 1, "a German week starts on Monday"
Check #1/2/2024# = DateSerial(2024, 1, 2), "a date literal is read month first in any locale"

' Tags, the default and unknown identifiers.
SetLocale "en-gb"
Check GetLocale() = 2057 And CStr(DateSerial(2024, 1, 5)) = "05/01/2024" And FormatCurrency(1) = "£1.00", "en-gb"
SetLocale 0
Check GetLocale() = 1041 And CStr(1.5) = "1.5", "SetLocale 0 is the default"
On Error Resume Next
SetLocale 99999
Check Err.Number = 447 And GetLocale() = 1041, "an unknown LCID is 447"
Err.Clear
On Error GoTo 0

' Dots part a date only in a locale whose short date has them, or with the year first.
SetLocale 1033
On Error Resume Next
Dim dotted
dotted = Day("15.03.2026")
Check Err.Number = 13 And IsEmpty(dotted), "after SetLocale 1033, Day(""15.03.2026"") is 13"
Err.Clear
dotted = CDate("3.15.2026")
Check Err.Number = 13, "month.day.year is no date in English either"
Err.Clear
On Error GoTo 0
Check Not IsDate("15.03.2026") And IsDate("3/15/2026") And Day("3/15/2026") = 15, "1033 reads month/day/year"
Check IsDate("2026.03.15") And Day("2026.03.15") = 15, "year.month.day is a date"
SetLocale 1031
Check IsDate("15.03.2026") And Day("15.03.2026") = 15 And Month("15.03.2026") = 3, "German reads day.month.year"
SetLocale 1041
Check Not IsDate("15.03.2026") And IsDate("2026/03/15") And IsDate("2026.3.15"), "Japanese: slashes, or dots after the year"
SetLocale 0
