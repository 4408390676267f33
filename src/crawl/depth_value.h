// The depth field read as the number at the start of its text, the way the classic BASIC
// Val function reads one, and rounded to a whole level.
#pragma once

#include <cstdint>
#include <string>

namespace vendil {

// The number at the start of `text`: blanks, TABs and line feeds are skipped wherever they
// stand; decimal digits with sign, point and exponent, or "&H" hex / "&O" octal; no number
// gives 0.
double ValOfText(const std::string& text);

// ValOfText rounded half to even and held to the 32-bit range.
int32_t DepthLimitFromText(const std::string& text);

}  // namespace vendil
