# Ten million integer additions in a loop. The work sits in a function because CPython
# runs locals faster than module globals: the peer is timed at its best.
def main():
    s = 0
    for i in range(1, 10000001):
        s = s + i
    print(s)


main()
