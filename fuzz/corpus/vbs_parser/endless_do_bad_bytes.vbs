Function F(ByRef a, ByVal b)
  Do While a < 10
    a = a + ÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿÿb
  Loop
  F = a
End Function
n = 1
r = F(n, 2)
While n > 0: n = n - 1: Wend
