Set r = New RegExp: r.Global = True: r.Pattern = "": s = r.Replace(Space(20000000), "ab")
