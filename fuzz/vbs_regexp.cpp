// Fuzz target: a pattern and a subject (split at the first NUL) through a script RegExp:
// compile, Test, Execute with its groups, and Replace with every template form.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "script/builtins.h"
#include "script/script_error.h"
#include "script/variant_convert.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vendil;
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const size_t split = input.find('\0');
  const std::string_view pattern = input.substr(0, split);
  const std::string_view subject = split == std::string_view::npos ? "" : input.substr(split + 1);
  auto re = CreateRegExp();
  const bool flag = !pattern.empty() && (pattern[0] & 1) != 0;
  try {
    re->Let(u"Pattern", {}, Variant::String(Utf8ToUtf16(pattern)));
    re->Let(u"Global", {}, Variant::Boolean(true));
    re->Let(u"IgnoreCase", {}, Variant::Boolean(flag));
    re->Let(u"MultiLine", {}, Variant::Boolean(!flag));
    std::vector<Variant> args{Variant::String(Utf8ToUtf16(subject))};
    re->Get(u"Test", args);
    auto matches = re->Get(u"Execute", args).ObjectValue();
    for (Variant& match : matches->Enumerate()) {
      match.ObjectValue()->Get(u"FirstIndex", {});
      match.ObjectValue()->Get(u"SubMatches", {}).ObjectValue()->Enumerate();
    }
    std::vector<Variant> replaceArgs{args[0], Variant::String(std::u16string(u"$1$&$`$'$$$10"))};
    re->Get(u"Replace", replaceArgs);
  } catch (const ScriptError&) {
  }
  return 0;
}
