# A 1 MiB string built by + in a loop, 16 characters at a time.
piece = "0123456789abcdef"
s = ""
for i in range(65536):
    s = s + piece
print(len(s))
