a = Split(Space(100000000), " ")
