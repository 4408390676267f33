// The few text operations the program's parsers are built from. Positions are 1-based and
// count bytes of the UTF-8 text; a search that finds nothing gives 0.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vendil {

std::string MidRange(const std::string& strSource, int64_t start, int64_t end);
std::string GetBetween(const std::string& strSource, const std::string& strOpen,
                       const std::string& strClose, bool blnBackward, int16_t intMode,
                       int64_t& lngPosition);
int64_t FindFirstOf(int64_t start, const std::string& strSource,
                    const std::vector<std::string>& list);
std::string RemoveAll(const std::string& strSource, const std::vector<std::string>& list);

// Splits at every occurrence of `delimiter`; an empty text gives no parts.
std::vector<std::string> SplitText(const std::string& text, const std::string& delimiter);
// Trims blanks (spaces only) at both ends, as VB's Trim does.
std::string TrimBlanks(const std::string& text);
// The value of a hexadecimal digit, or -1 for any other character.
int HexDigitValue(char ch);
// The text of a link or title as a page shows it: removes tags ("<" through the next ">"),
// decodes character references, optionally removes CR and LF, optionally trims blanks.
std::string StripTags(const std::string& strHtml, bool blnRemoveCrLf, bool blnTrim);

}  // namespace vendil
