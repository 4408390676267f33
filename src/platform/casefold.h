// Comparisons "without regard to letter case" by Unicode case folding (full-width Ａ
// equals ａ), on UTF-8 text. Positions are 1-based byte positions; 0 means not found.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vendil {

std::string FoldCase(std::string_view utf8);  // simple (one-to-one) folding
bool EqualsNoCase(std::string_view a, std::string_view b);
bool StartsWithNoCase(std::string_view text, std::string_view prefix);
bool EndsWithNoCase(std::string_view text, std::string_view suffix);
// The first position at or after `start` where `needle` occurs, folded; 0 when none.
size_t FindNoCase(std::string_view haystack, std::string_view needle, size_t start = 1);
bool ContainsNoCase(std::string_view haystack, std::string_view needle);
std::string UpperAscii(std::string_view text);
std::string LowerAscii(std::string_view text);

}  // namespace vendil
