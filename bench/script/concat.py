# A 1 MiB string built by + in a loop, 16 characters at a time. In a function CPython
# appends in place; at module level it copies the string every time and takes 100 times as long.
def main():
    piece = "0123456789abcdef"
    s = ""
    for i in range(65536):
        s = s + piece
    print(len(s))


main()
