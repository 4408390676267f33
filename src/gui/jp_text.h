// The window's texts: the core's UTF-8 literals as Qt strings, and the program's title.
#pragma once

#include <QString>

#include "state/ui.h"

namespace vendil {

inline QString Jp(const char* text) { return QString::fromUtf8(text); }
inline QString ProgramTitle() { return QString::fromUtf8(kProductTitle); }

}  // namespace vendil
