SetLocale 1031
x = CStr(1.5) & FormatCurrency(-2) & FormatDateTime(Now, 1) & CDate("2.3.2024")
SetLocale "en-us"
y = ChrB(65) & ChrB(66) & LeftB("abc", 3) & MidB(ChrB(1) & "ab", 2)
z = -3 ^ 2 + (CByte(0) Imp Null) + (Empty And 1)
a = Array(Array(1, 2), Array(3, 4))
a(0)(1) = 5
Const C = 5
If "10" = 10 Then w = C
