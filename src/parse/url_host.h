// The host of a web URL as browsers read it: IPv6 in brackets, IPv4 in any of its dotted,
// hexadecimal and octal forms, or a domain name in its ASCII, lower-case form.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vendil {

// The host as it is written out in a URL ("example.com", "xn--wgv71a.jp", "192.168.0.1",
// "[::1]"); nullopt when the text names no host (empty, a forbidden character, a bad
// address, a number too large for an IPv4 address).
std::optional<std::string> ParseWebHost(std::string_view written);

}  // namespace vendil
