// Temporary stand-ins for the parts of the built-in library that have not landed yet. Each
// is weak, but a static library does not pull an object file to replace a weak symbol that
// is already defined: whoever adds the real one deletes its stand-in here in the same commit
// (and this file when it is empty).
#include "script/builtins.h"
#include "script/script_error.h"

namespace vendil {}  // namespace vendil
