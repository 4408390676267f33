' Dates: literals, serials, parts, arithmetic, DateAdd, DateDiff, DatePart and Weekday.
Option Explicit

' Times are fractions of a day; two ways to reach one time may differ in the last bit.
Function Near(a, b)
  Near = Abs(CDbl(a) - CDbl(b)) < 0.1 / 86400
End Function

Dim d
d = DateSerial(2020, 2, 29)
Check Year(d) = 2020 And Month(d) = 2 And Day(d) = 29, "DateSerial and its parts"
Check DateSerial(2020, 13, 1) = DateSerial(2021, 1, 1), "DateSerial carries months"
Check DateSerial(2020, 3, 0) = DateSerial(2020, 2, 29), "day 0 is the last of the month before"
Check DateSerial(2021, 1, -1) = DateSerial(2020, 12, 30), "negative days"
Check #1/2/2020# = DateSerial(2020, 1, 2), "a date literal is month/day/year"
Check #2020-01-02# = DateSerial(2020, 1, 2), "an ISO date literal"
d = #1/2/2020 1:04:05 PM#
Check Hour(d) = 13 And Minute(d) = 4 And Second(d) = 5, "a literal with a time"
Check Near(TimeSerial(13, 45, 30), #1:45:30 PM#), "TimeSerial"
Check Hour(TimeSerial(13, 45, 30)) = 13 And Minute(TimeSerial(0, 90, 0)) = 30, "TimeSerial carries minutes"
Check CDbl(#12/30/1899#) = 0 And CDbl(#1/1/1900#) = 2, "the day count starts at 30 December 1899"
Check Near(#12/30/1899 6:00:00 AM#, 0.25), "the time is the fraction of a day"
Check DateSerial(2020, 1, 31) + 1 = DateSerial(2020, 2, 1), "adding a number adds days"
Check TypeName(DateSerial(2020, 1, 1) + 1) = "Date", "date plus number is a date"
Check DateSerial(2020, 3, 1) - DateSerial(2020, 2, 1) = 29, "subtracting dates gives days"
Check DateSerial(2019, 12, 31) < DateSerial(2020, 1, 1), "dates compare in order"

' DateAdd.
Check DateAdd("d", 1, #2/28/2020#) = #2/29/2020#, "DateAdd days"
Check DateAdd("m", 1, #1/31/2020#) = #2/29/2020#, "DateAdd months clamps the day"
Check DateAdd("yyyy", 1, #2/29/2020#) = #2/28/2021#, "DateAdd years from 29 February"
Check DateAdd("ww", 2, #1/1/2020#) = #1/15/2020#, "DateAdd weeks"
Check Near(DateAdd("h", 25, #1/1/2020#), #1/2/2020 1:00:00 AM#), "DateAdd hours"
Check Near(DateAdd("n", -1, #1/1/2020#), #12/31/2019 11:59:00 PM#), "DateAdd negative minutes"
Check DateAdd("q", 1, #11/30/2020#) = #2/28/2021#, "DateAdd quarters"

' DateDiff counts boundaries crossed.
Check DateDiff("d", #1/1/2020#, #12/31/2020#) = 365, "DateDiff days"
Check DateDiff("m", #1/31/2020#, #2/1/2020#) = 1, "DateDiff months counts the boundary"
Check DateDiff("yyyy", #12/31/2020#, #1/1/2021#) = 1, "DateDiff years counts the boundary"
Check DateDiff("d", #1/2/2020#, #1/1/2020#) = -1, "DateDiff backwards is negative"
Check DateDiff("h", #1/1/2020#, #1/2/2020 6:00:00 AM#) = 30, "DateDiff hours"
Check DateDiff("s", #1/1/2020#, #1/1/2020 12:01:00 AM#) = 60, "DateDiff seconds"

' DatePart and Weekday.
Check DatePart("q", #5/1/2020#) = 2 And DatePart("y", #3/1/2020#) = 61, "DatePart quarter and day of year"
Check DatePart("yyyy", #5/1/2020#) = 2020 And DatePart("m", #5/1/2020#) = 5, "DatePart year and month"
Check Weekday(#1/1/2020#) = 4 And Weekday(#1/5/2020#) = vbSunday, "Weekday counts from Sunday"
Check Weekday(#1/1/2020#, vbMonday) = 3, "Weekday from another first day"
Check DatePart("w", #1/1/2020#) = 4, "DatePart w"

' Conversions to and from text round-trip whatever the format.
d = #1/2/2020 1:04:05 PM#
Check Near(CDate(CStr(d)), d), "CStr of a date converts back"
Check CDate("2020-01-02") = #1/2/2020#, "CDate of an ISO text"
Check IsDate(FormatDateTime(d, vbShortDate)) And CDate(FormatDateTime(d, vbShortDate)) = #1/2/2020#, "FormatDateTime short date"
Check InStr(FormatDateTime(d, vbLongTime), "04") > 0, "FormatDateTime long time"
Check CStr(#1/2/2020#) = FormatDateTime(#1/2/2020#, vbGeneralDate), "a date without time prints as its date"

' The clock.
Check TypeName(Now) = "Date" And IsDate(Now), "Now"
Check Date <= Now And Now < Date + 1, "Now is today"
Check Time >= 0 And Time < 1, "Time is a time of day"
Check Year(Now) >= 2020, "the clock is set"

Dim x
On Error Resume Next
x = CDate("not a date")
Check Err.Number = 13, "CDate of a word raises 13"
Err.Clear
x = DateAdd("zz", 1, Now)
Check Err.Number = 5, "an unknown interval raises 5"
On Error GoTo 0
