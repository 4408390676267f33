// Splits script text into tokens: names, numbers, strings, #date# literals, operators and
// statement ends (line breaks and ':'), dropping comments and `_` line continuations.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "script/variant.h"

namespace vendil {

enum class TokenKind { Name, Number, String, Date, Operator, EndOfStatement, EndOfText };

struct Token {
  TokenKind kind = TokenKind::EndOfText;
  std::u16string text;  // names as written; operators as written ("<=", "(")
  Variant value;        // numbers, strings and dates
  int line = 1;         // 1-based
  int column = 1;       // 1-based, in UTF-16 units
  bool spaceBefore = false;
  bool bracketed = false;  // written `[name]`: a name even when it spells a keyword
};

// Raises ScriptError (compilation source) with line and column for bad characters,
// unterminated strings and bad numbers or dates.
std::vector<Token> Tokenize(std::u16string_view code);

}  // namespace vendil
