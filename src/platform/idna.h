// Internationalised domain names: a host as written in a link turned into the ASCII form
// that DNS and the rules on servers see (lower case, "xn--" labels), as browsers map it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vendil {

// The ASCII form of a domain given as UTF-8 (UTS #46 mapping, non-transitional, no hyphen or
// DNS length checks, as browsers apply it). Nullopt when the name holds what no domain may
// (a disallowed character, a bad "xn--" label, broken bidirectional text, ill-formed UTF-8).
std::optional<std::string> DomainToAscii(std::string_view utf8Domain);

}  // namespace vendil
