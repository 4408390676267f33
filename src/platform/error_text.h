// The reasons the system gives for a failed file operation, in the program's language: a
// person reading "ファイルを保存できません。" should not meet "Permission denied" below it.
#pragma once

#include <string>

namespace vendil {

// The reason for an errno value in Japanese; a value without a text of its own gives the
// system's text and its number.
std::string SystemErrorText(int err);

}  // namespace vendil
