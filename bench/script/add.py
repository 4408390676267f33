# Ten million integer additions in a loop.
s = 0
for i in range(1, 10000001):
    s = s + i
print(s)
