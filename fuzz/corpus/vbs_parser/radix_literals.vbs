x = (&h01or&h02) + &h1mod 2 + &o7or 1 + 10mod 3
If &h7then x = &HFFFF + &H8000 + &O177777 - &HFFF0 + &HFFFF& + &h8000& + &HFFFFFFFF
For i = &h1to &h3step 1 : x = x & "x" &hi & &h : Next
y = "x" &o8 &oops
