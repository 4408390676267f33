// The replacement text of RegExp.Replace: `$1`..`$99` (two digits when that group exists),
// `$&` the match, `` $` `` the text before it, `$'` the text after it, `$$` a dollar sign;
// any other `$` stays as written, and a group that took no part gives the empty text.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "script/regexp_pattern.h"

namespace vendil {

std::u16string ReplaceMatches(std::u16string_view subject, const std::vector<RegExpMatch>& matches,
                              std::u16string_view replacement, size_t groupCount);

}  // namespace vendil
