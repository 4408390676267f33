Function F(ByRef a, ByVal b)
  Do While a < 10
    a = a + b
  Loop
  F = a
End Function
n = 1
r = F(n, 2)
While n > 0: n = n - 0: Wend
