// The tokenizer of script text.
#include "script/lexer.h"

#include <cmath>

#include "script/compile_errors.h"
#include "script/script_error.h"
#include "script/script_locale.h"
#include "script/variant_convert.h"

namespace vendil {

namespace {

bool IsNameStart(char16_t c) {
  return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || c >= 0x80;
}
bool IsNameChar(char16_t c) { return IsNameStart(c) || (c >= u'0' && c <= u'9') || c == u'_'; }
bool IsSpace(char16_t c) { return c == u' ' || c == u'\t' || c == 0xA0 || c == 0x3000; }

class Lexer {
 public:
  explicit Lexer(std::u16string_view code) : code_(code) {}

  std::vector<Token> Run() {
    std::vector<Token> tokens;
    bool space = false;
    while (pos_ < code_.size()) {
      const char16_t c = code_[pos_];
      if (IsSpace(c)) {
        ++pos_;
        space = true;
        continue;
      }
      Token token;
      token.line = line_;
      token.column = static_cast<int>(pos_ - lineStart_) + 1;
      token.spaceBefore = space;
      space = false;
      if (c == u'\r' || c == u'\n' || c == u':') {
        if (c == u'\r' && pos_ + 1 < code_.size() && code_[pos_ + 1] == u'\n') ++pos_;
        ++pos_;
        if (c != u':') NewLine();
        token.kind = TokenKind::EndOfStatement;
        token.text = c == u':' ? u":" : u"\n";
        tokens.push_back(std::move(token));
        continue;
      }
      if (c == u'\'') {
        SkipToLineEnd();
        continue;
      }
      if (c == u'_' && ContinuationFollows()) continue;
      if (IsNameStart(c)) {
        const size_t start = pos_;
        while (pos_ < code_.size() && IsNameChar(code_[pos_])) ++pos_;
        token.text = std::u16string(code_.substr(start, pos_ - start));
        if (token.text.size() > 255) Fail(CompileError::IdentifierTooLong, token);
        // `obj.rem` names a member; anywhere else rem starts a comment.
        const bool afterDot = !tokens.empty() && tokens.back().kind == TokenKind::Operator &&
                              tokens.back().text == u".";
        if (!afterDot && EqualsNoCaseU16(token.text, u"rem")) {
          SkipToLineEnd();
          continue;
        }
        token.kind = TokenKind::Name;
        tokens.push_back(std::move(token));
        continue;
      }
      if (c == u'[') {  // [name with anything] is a name
        const size_t start = ++pos_;
        while (pos_ < code_.size() && code_[pos_] != u']' && code_[pos_] != u'\n') ++pos_;
        if (pos_ >= code_.size() || code_[pos_] != u']')
          Fail(CompileError::ExpectedCloseBracket, token);
        token.text = std::u16string(code_.substr(start, pos_ - start));
        ++pos_;
        token.kind = TokenKind::Name;
        token.bracketed = true;
        tokens.push_back(std::move(token));
        continue;
      }
      if ((c >= u'0' && c <= u'9') || (c == u'.' && pos_ + 1 < code_.size() &&
                                       code_[pos_ + 1] >= u'0' && code_[pos_ + 1] <= u'9')) {
        ReadNumber(token);
        tokens.push_back(std::move(token));
        continue;
      }
      if (c == u'&' && RadixNumberFollows()) {
        ReadRadixNumber(token);
        tokens.push_back(std::move(token));
        continue;
      }
      if (c == u'"') {
        ReadString(token);
        tokens.push_back(std::move(token));
        continue;
      }
      if (c == u'#') {
        ReadDate(token);
        tokens.push_back(std::move(token));
        continue;
      }
      token.kind = TokenKind::Operator;
      if (const char16_t* pair = ComparisonPair()) {
        token.text = pair;
        pos_ += 2;
      } else if (std::u16string_view(u"()=<>+-*/\\^&,.").find(c) != std::u16string_view::npos) {
        token.text = std::u16string(1, c);
        ++pos_;
      } else {
        Fail(CompileError::InvalidCharacter, token);
      }
      tokens.push_back(std::move(token));
    }
    Token end;
    end.kind = TokenKind::EndOfStatement;
    end.text = u"\n";
    end.line = line_;
    end.column = static_cast<int>(pos_ - lineStart_) + 1;
    tokens.push_back(end);
    end.kind = TokenKind::EndOfText;
    tokens.push_back(end);
    return tokens;
  }

 private:
  [[noreturn]] void Fail(CompileError compileError, const Token& at) {
    const auto number = static_cast<int32_t>(compileError);
    ScriptError error(number, StandardErrorMessage(number), kCompileErrorSource);
    error.line = at.line;
    error.column = at.column;
    throw error;
  }

  void NewLine() {
    ++line_;
    lineStart_ = pos_;
  }

  void SkipToLineEnd() {
    while (pos_ < code_.size() && code_[pos_] != u'\n' && code_[pos_] != u'\r') ++pos_;
  }

  // `_` then blanks then a line break joins the next line to this one.
  bool ContinuationFollows() {
    size_t p = pos_ + 1;
    while (p < code_.size() && IsSpace(code_[p])) ++p;
    if (p < code_.size() && code_[p] != u'\r' && code_[p] != u'\n') return false;
    if (p < code_.size() && code_[p] == u'\r') ++p;
    if (p < code_.size() && code_[p] == u'\n') ++p;
    pos_ = p;
    NewLine();
    return true;
  }

  // The two-character comparisons, with the spellings `=>`, `=<` and `><` read as the usual
  // ones; null when none starts here.
  const char16_t* ComparisonPair() const {
    if (pos_ + 1 >= code_.size()) return nullptr;
    const char16_t a = code_[pos_], b = code_[pos_ + 1];
    if ((a == u'<' && b == u'=') || (a == u'=' && b == u'<')) return u"<=";
    if ((a == u'>' && b == u'=') || (a == u'=' && b == u'>')) return u">=";
    if ((a == u'<' && b == u'>') || (a == u'>' && b == u'<')) return u"<>";
    return nullptr;
  }

  // `&H1F`, `&O17` (and `&H1F&`) are numbers when at least one digit of the radix follows the
  // letter; the literal ends at the first character that is no digit of its radix, so
  // `&h01or&h02` is two numbers around Or. Otherwise the `&` joins texts: `"x" &hi` joins "x"
  // and the variable hi.
  bool RadixNumberFollows() const {
    if (pos_ + 2 >= code_.size()) return false;
    const char16_t radix = code_[pos_ + 1] | 0x20;
    if (radix != u'h' && radix != u'o') return false;
    return RadixDigit(code_[pos_ + 2], radix == u'h' ? 16 : 8) >= 0;
  }

  // The value of a digit of base 16 or 8; -1 when `c` is none.
  static int RadixDigit(char16_t c, int base) {
    int digit = -1;
    if (c >= u'0' && c <= u'9') digit = c - u'0';
    if (base == 16 && (c | 0x20) >= u'a' && (c | 0x20) <= u'f') digit = (c | 0x20) - u'a' + 10;
    return digit < base ? digit : -1;
  }

  void ReadNumber(Token& token) {
    const size_t start = pos_;
    bool isFloat = false;
    while (pos_ < code_.size() && code_[pos_] >= u'0' && code_[pos_] <= u'9') ++pos_;
    if (pos_ < code_.size() && code_[pos_] == u'.') {
      isFloat = true;
      ++pos_;
      while (pos_ < code_.size() && code_[pos_] >= u'0' && code_[pos_] <= u'9') ++pos_;
    }
    if (pos_ < code_.size() && (code_[pos_] | 0x20) == u'e') {
      size_t p = pos_ + 1;
      if (p < code_.size() && (code_[p] == u'+' || code_[p] == u'-')) ++p;
      if (p < code_.size() && code_[p] >= u'0' && code_[p] <= u'9') {
        isFloat = true;
        pos_ = p;
        while (pos_ < code_.size() && code_[pos_] >= u'0' && code_[pos_] <= u'9') ++pos_;
      }
    }
    std::string ascii;
    for (size_t i = start; i < pos_; ++i) ascii.push_back(static_cast<char>(code_[i]));
    const double value = std::strtod(ascii.c_str(), nullptr);
    if (!std::isfinite(value)) Fail(CompileError::InvalidNumber, token);
    token.kind = TokenKind::Number;
    token.text = std::u16string(code_.substr(start, pos_ - start));
    // The number ends at its last digit, so a keyword may follow at once: `10mod 3`, `1to 5`.
    if (!isFloat && value <= 32767) {
      token.value = Variant::Integer(static_cast<int16_t>(value));
    } else if (!isFloat && value <= 2147483647.0) {
      token.value = Variant::Long(static_cast<int32_t>(value));
    } else {
      token.value = Variant::Double(value);
    }
  }

  void ReadRadixNumber(Token& token) {
    const int base = (code_[pos_ + 1] | 0x20) == u'h' ? 16 : 8;
    pos_ += 2;
    uint64_t value = 0;
    for (int digit; pos_ < code_.size() && (digit = RadixDigit(code_[pos_], base)) >= 0; ++pos_) {
      value = value * static_cast<unsigned>(base) + static_cast<unsigned>(digit);
      if (value > 0xFFFFFFFFull) Fail(CompileError::InvalidNumber, token);
    }
    // Without a trailing `&`, digits up to &HFFFF make a 16-bit number (`&HFFFF` is -1,
    // `&O177777` too); with it, or past &HFFFF, they make a 32-bit one (`&HFFFF&` is 65535,
    // `&HFFFFFFFF` is -1). The value is an Integer above -32768 up to 32767 and a Long
    // otherwise: `&H8000` is the Long -32768.
    bool wide = value > 0xFFFF;
    if (pos_ < code_.size() && code_[pos_] == u'&') {
      wide = true;
      ++pos_;
    }
    token.kind = TokenKind::Number;
    token.text = u"&";
    const int32_t number = wide ? static_cast<int32_t>(static_cast<uint32_t>(value))
                                : static_cast<int16_t>(static_cast<uint16_t>(value));
    if (number > -32768 && number <= 32767) {
      token.value = Variant::Integer(static_cast<int16_t>(number));
    } else {
      token.value = Variant::Long(number);
    }
  }

  void ReadString(Token& token) {
    ++pos_;
    std::u16string text;
    while (true) {
      if (pos_ >= code_.size() || code_[pos_] == u'\n' || code_[pos_] == u'\r')
        Fail(CompileError::UnterminatedStringConstant, token);
      if (code_[pos_] == u'"') {
        if (pos_ + 1 < code_.size() && code_[pos_ + 1] == u'"') {
          text.push_back(u'"');
          pos_ += 2;
          continue;
        }
        ++pos_;
        break;
      }
      text.push_back(code_[pos_++]);
    }
    token.kind = TokenKind::String;
    token.value = Variant::String(std::move(text));
  }

  void ReadDate(Token& token) {
    const size_t start = ++pos_;
    while (pos_ < code_.size() && code_[pos_] != u'#' && code_[pos_] != u'\n') ++pos_;
    if (pos_ >= code_.size() || code_[pos_] != u'#') Fail(CompileError::SyntaxError, token);
    // A date literal is read month first, whatever the locale.
    const auto date = ParseDateText(code_.substr(start, pos_ - start), LiteralLocale());
    ++pos_;
    if (!date) Fail(CompileError::SyntaxError, token);
    token.kind = TokenKind::Date;
    token.value = Variant::Date(*date);
  }

  std::u16string_view code_;
  size_t pos_ = 0;
  size_t lineStart_ = 0;
  int line_ = 1;
};

}  // namespace

std::vector<Token> Tokenize(std::u16string_view code) { return Lexer(code).Run(); }

}  // namespace vendil
