// The English messages of the standard error numbers and the helpers that raise them.
#include "script/script_error.h"

#include <utility>

namespace vendil {

std::u16string StandardErrorMessage(int32_t number) {
  switch (number) {
    case 5:
      return u"Invalid procedure call or argument";
    case 6:
      return u"Overflow";
    case 7:
      return u"Out of memory";
    case 9:
      return u"Subscript out of range";
    case 10:
      return u"This array is fixed or temporarily locked";
    case 11:
      return u"Division by zero";
    case 13:
      return u"Type mismatch";
    case 14:
      return u"Out of string space";
    case 17:
      return u"Can't perform requested operation";
    case 28:
      return u"Out of stack space";
    case 35:
      return u"Sub or Function not defined";
    case 48:
      return u"Error in loading DLL";
    case 51:
      return u"Internal error";
    case 52:
      return u"Bad file name or number";
    case 53:
      return u"File not found";
    case 70:
      return u"Permission denied";
    case 76:
      return u"Path not found";
    case 91:
      return u"Object variable not set";
    case 92:
      return u"For loop not initialized";
    case 94:
      return u"Invalid use of Null";
    case 322:
      return u"Can't create necessary temporary file";
    case 424:
      return u"Object required";
    case 429:
      return u"ActiveX component can't create object";
    case 430:
      return u"Class doesn't support Automation";
    case 432:
      return u"File name or class name not found during Automation operation";
    case 438:
      return u"Object doesn't support this property or method";
    case 440:
      return u"Automation error";
    case 445:
      return u"Object doesn't support this action";
    case 446:
      return u"Object doesn't support named arguments";
    case 447:
      return u"Object doesn't support current locale setting";
    case 448:
      return u"Named argument not found";
    case 449:
      return u"Argument not optional";
    case 450:
      return u"Wrong number of arguments or invalid property assignment";
    case 451:
      return u"Object not a collection";
    case 453:
      return u"Specified DLL function not found";
    case 455:
      return u"Code resource lock error";
    case 457:
      return u"This key is already associated with an element of this collection";
    case 458:
      return u"Variable uses an Automation type not supported in VBScript";
    case 462:
      return u"The remote server machine does not exist or is unavailable";
    case 481:
      return u"Invalid picture";
    case 500:
      return u"Variable is undefined";
    case 501:
      return u"Illegal assignment";
    case 502:
      return u"Object not safe for scripting";
    case 503:
      return u"Object not safe for initializing";
    case 504:
      return u"Object not safe for creating";
    case 505:
      return u"Invalid or unqualified reference";
    case 506:
      return u"Class not defined";
    case 507:
      return u"An exception occurred";
    case 1001:
      return u"Out of memory";
    case 1002:
      return u"Syntax error";
    case 1003:
      return u"Expected ':'";
    case 1005:
      return u"Expected '('";
    case 1006:
      return u"Expected ')'";
    case 1007:
      return u"Expected ']'";
    case 1010:
      return u"Expected identifier";
    case 1011:
      return u"Expected '='";
    case 1012:
      return u"Expected 'If'";
    case 1013:
      return u"Expected 'To'";
    case 1014:
      return u"Expected 'End'";
    case 1015:
      return u"Expected 'Function'";
    case 1016:
      return u"Expected 'Sub'";
    case 1017:
      return u"Expected 'Then'";
    case 1018:
      return u"Expected 'Wend'";
    case 1019:
      return u"Expected 'Loop'";
    case 1020:
      return u"Expected 'Next'";
    case 1021:
      return u"Expected 'Case'";
    case 1022:
      return u"Expected 'Select'";
    case 1023:
      return u"Expected expression";
    case 1024:
      return u"Expected statement";
    case 1025:
      return u"Expected end of statement";
    case 1026:
      return u"Expected integer constant";
    case 1027:
      return u"Expected 'While' or 'Until'";
    case 1028:
      return u"Expected 'While', 'Until' or end of statement";
    case 1029:
      return u"Expected 'With'";
    case 1030:
      return u"Identifier too long";
    case 1031:
      return u"Invalid number";
    case 1032:
      return u"Invalid character";
    case 1033:
      return u"Unterminated string constant";
    case 1034:
      return u"Unterminated comment";
    case 1037:
      return u"Invalid use of 'Me' keyword";
    case 1038:
      return u"'loop' without 'do'";
    case 1039:
      return u"Invalid 'exit' statement";
    case 1040:
      return u"Invalid 'for' loop control variable";
    case 1041:
      return u"Name redefined";
    case 1042:
      return u"Must be first statement on the line";
    case 1044:
      return u"Cannot use parentheses when calling a Sub";
    case 1045:
      return u"Expected literal constant";
    case 1046:
      return u"Expected 'In'";
    case 1047:
      return u"Expected 'Class'";
    case 1048:
      return u"Must be defined inside a Class";
    case 1049:
      return u"Expected Let or Set or Get in property declaration";
    case 1050:
      return u"Expected 'Property'";
    case 1051:
      return u"Number of arguments must be consistent across property procedures of one name";
    case 1052:
      return u"Cannot have multiple default property/method in a Class";
    case 1053:
      return u"Class initialize or terminate do not have arguments";
    case 1054:
      return u"Property set or let must have at least one argument";
    case 1055:
      return u"Unexpected 'Next'";
    case 1056:
      return u"'Default' can be specified only on 'Property' or 'Function' or 'Sub'";
    case 1057:
      return u"'Default' must go with 'Public'";
    case 1058:
      return u"'Default' can only be on Property Get";
    case 32766:
      return u"True";
    case 32767:
      return u"False";
    default:
      return u"Unknown runtime error";
  }
}

void RaiseScriptError(int32_t number) { throw ScriptError(number, StandardErrorMessage(number)); }

void RaiseScriptError(int32_t number, std::u16string description) {
  throw ScriptError(number, std::move(description));
}

}  // namespace vendil
