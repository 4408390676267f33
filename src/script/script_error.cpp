// The English messages of the standard error numbers and the helpers that raise them.
#include "script/script_error.h"

#include "script/compile_errors.h"

#include <utility>

namespace vendil {

std::u16string StandardErrorMessage(int32_t number) {
  if (const std::u16string_view text = CompileErrorMessage(number); !text.empty())
    return std::u16string(text);
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
