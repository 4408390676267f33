// The compilation errors of script text, each declared once: its number, the name the
// lexer and parser raise it by, and its message.
#pragma once

#include <cstdint>
#include <string_view>

namespace vendil {

enum class CompileError : int32_t {
  OutOfMemory = 1001,
  SyntaxError = 1002,
  ExpectedColon = 1003,
  ExpectedOpenParen = 1005,
  ExpectedCloseParen = 1006,
  ExpectedCloseBracket = 1007,
  ExpectedIdentifier = 1010,
  ExpectedEquals = 1011,
  ExpectedIf = 1012,
  ExpectedTo = 1013,
  ExpectedEnd = 1014,
  ExpectedFunction = 1015,
  ExpectedSub = 1016,
  ExpectedThen = 1017,
  ExpectedWend = 1018,
  ExpectedLoop = 1019,
  ExpectedNext = 1020,
  ExpectedCase = 1021,
  ExpectedSelect = 1022,
  ExpectedExpression = 1023,
  ExpectedStatement = 1024,
  ExpectedEndOfStatement = 1025,
  ExpectedIntegerConstant = 1026,
  ExpectedWhileOrUntil = 1027,
  ExpectedWhileUntilOrEndOfStatement = 1028,
  ExpectedWith = 1029,
  IdentifierTooLong = 1030,
  InvalidNumber = 1031,
  InvalidCharacter = 1032,
  UnterminatedStringConstant = 1033,
  UnterminatedComment = 1034,
  InvalidUseOfMeKeyword = 1037,
  LoopWithoutDo = 1038,
  InvalidExitStatement = 1039,
  InvalidForLoopControlVariable = 1040,
  NameRedefined = 1041,
  MustBeFirstStatementOnTheLine = 1042,
  CannotUseParenthesesWhenCallingASub = 1044,
  ExpectedLiteralConstant = 1045,
  ExpectedIn = 1046,
  ExpectedClass = 1047,
  MustBeDefinedInsideAClass = 1048,
  ExpectedLetOrSetOrGetInPropertyDeclaration = 1049,
  ExpectedProperty = 1050,
  InconsistentPropertyArguments = 1051,
  CannotHaveMultipleDefaultPropertyMethodInAClass = 1052,
  ClassInitializeOrTerminateDoNotHaveArguments = 1053,
  PropertySetOrLetMustHaveAtLeastOneArgument = 1054,
  UnexpectedNext = 1055,
  DefaultCanBeSpecifiedOnlyOnPropertyOrFunctionOrSub = 1056,
  DefaultMustGoWithPublic = 1057,
  DefaultCanOnlyBeOnPropertyGet = 1058,
};

struct CompileErrorText {
  CompileError error;
  std::u16string_view message;
};

inline constexpr CompileErrorText kCompileErrors[] = {
    {CompileError::OutOfMemory, u"Out of memory"},
    {CompileError::SyntaxError, u"Syntax error"},
    {CompileError::ExpectedColon, u"Expected ':'"},
    {CompileError::ExpectedOpenParen, u"Expected '('"},
    {CompileError::ExpectedCloseParen, u"Expected ')'"},
    {CompileError::ExpectedCloseBracket, u"Expected ']'"},
    {CompileError::ExpectedIdentifier, u"Expected identifier"},
    {CompileError::ExpectedEquals, u"Expected '='"},
    {CompileError::ExpectedIf, u"Expected 'If'"},
    {CompileError::ExpectedTo, u"Expected 'To'"},
    {CompileError::ExpectedEnd, u"Expected 'End'"},
    {CompileError::ExpectedFunction, u"Expected 'Function'"},
    {CompileError::ExpectedSub, u"Expected 'Sub'"},
    {CompileError::ExpectedThen, u"Expected 'Then'"},
    {CompileError::ExpectedWend, u"Expected 'Wend'"},
    {CompileError::ExpectedLoop, u"Expected 'Loop'"},
    {CompileError::ExpectedNext, u"Expected 'Next'"},
    {CompileError::ExpectedCase, u"Expected 'Case'"},
    {CompileError::ExpectedSelect, u"Expected 'Select'"},
    {CompileError::ExpectedExpression, u"Expected expression"},
    {CompileError::ExpectedStatement, u"Expected statement"},
    {CompileError::ExpectedEndOfStatement, u"Expected end of statement"},
    {CompileError::ExpectedIntegerConstant, u"Expected integer constant"},
    {CompileError::ExpectedWhileOrUntil, u"Expected 'While' or 'Until'"},
    {CompileError::ExpectedWhileUntilOrEndOfStatement,
     u"Expected 'While', 'Until' or end of statement"},
    {CompileError::ExpectedWith, u"Expected 'With'"},
    {CompileError::IdentifierTooLong, u"Identifier too long"},
    {CompileError::InvalidNumber, u"Invalid number"},
    {CompileError::InvalidCharacter, u"Invalid character"},
    {CompileError::UnterminatedStringConstant, u"Unterminated string constant"},
    {CompileError::UnterminatedComment, u"Unterminated comment"},
    {CompileError::InvalidUseOfMeKeyword, u"Invalid use of 'Me' keyword"},
    {CompileError::LoopWithoutDo, u"'loop' without 'do'"},
    {CompileError::InvalidExitStatement, u"Invalid 'exit' statement"},
    {CompileError::InvalidForLoopControlVariable, u"Invalid 'for' loop control variable"},
    {CompileError::NameRedefined, u"Name redefined"},
    {CompileError::MustBeFirstStatementOnTheLine, u"Must be first statement on the line"},
    {CompileError::CannotUseParenthesesWhenCallingASub,
     u"Cannot use parentheses when calling a Sub"},
    {CompileError::ExpectedLiteralConstant, u"Expected literal constant"},
    {CompileError::ExpectedIn, u"Expected 'In'"},
    {CompileError::ExpectedClass, u"Expected 'Class'"},
    {CompileError::MustBeDefinedInsideAClass, u"Must be defined inside a Class"},
    {CompileError::ExpectedLetOrSetOrGetInPropertyDeclaration,
     u"Expected Let or Set or Get in property declaration"},
    {CompileError::ExpectedProperty, u"Expected 'Property'"},
    {CompileError::InconsistentPropertyArguments,
     u"Number of arguments must be consistent across property procedures of one name"},
    {CompileError::CannotHaveMultipleDefaultPropertyMethodInAClass,
     u"Cannot have multiple default property/method in a Class"},
    {CompileError::ClassInitializeOrTerminateDoNotHaveArguments,
     u"Class initialize or terminate do not have arguments"},
    {CompileError::PropertySetOrLetMustHaveAtLeastOneArgument,
     u"Property set or let must have at least one argument"},
    {CompileError::UnexpectedNext, u"Unexpected 'Next'"},
    {CompileError::DefaultCanBeSpecifiedOnlyOnPropertyOrFunctionOrSub,
     u"'Default' can be specified only on 'Property' or 'Function' or 'Sub'"},
    {CompileError::DefaultMustGoWithPublic, u"'Default' must go with 'Public'"},
    {CompileError::DefaultCanOnlyBeOnPropertyGet, u"'Default' can only be on Property Get"},
};

// The message of a compilation error number; empty for a number that is none.
constexpr std::u16string_view CompileErrorMessage(int32_t number) {
  for (const CompileErrorText& e : kCompileErrors) {
    if (static_cast<int32_t>(e.error) == number) return e.message;
  }
  return {};
}

}  // namespace vendil
