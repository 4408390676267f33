// Character references of HTML (&amp;, &#64;, &#x40;, and the legacy forms without ";"),
// decoded to UTF-8 text as a browser reads them in running text and in attribute values.
#pragma once

#include <string>
#include <string_view>

namespace vendil {

// In an attribute value a legacy name without ";" followed by "=", a letter or a digit is
// left as written ("?a=1&copy=2" keeps "&copy"); in running text it is decoded.
enum class ReferenceContext { Text, AttributeValue };

// Decodes every character reference; an "&" that starts none stays as it is. Linear in the
// length of `text`.
std::string DecodeCharacterReferences(std::string_view text, ReferenceContext context);

}  // namespace vendil
