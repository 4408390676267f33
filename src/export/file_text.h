// How row fields go into the managers' list files: text fields lose line breaks and TABs
// (they would split a record), URLs keep working even where CP932 has no character.
#pragma once

#include <string>
#include <string_view>

namespace vendil {

// A text field for a list file: CR, LF and TAB become blanks. Characters CP932 cannot
// hold are left for the codec, which writes "?" as Windows does.
std::string FieldForListFile(std::string_view text);
// A URL (or referer) for a CP932 list file: every character CP932 cannot hold, every byte
// that is not valid UTF-8, and CR, LF and TAB are percent-encoded as UTF-8 bytes, so the
// link still works after the conversion.
std::string UrlForAnsiFile(std::string_view url);
// A URL for a UTF-8 file or message: only CR, LF and TAB are percent-encoded.
std::string UrlForUtf8File(std::string_view url);

}  // namespace vendil
