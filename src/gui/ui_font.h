// The font every window of the program uses.
#pragma once

#include <QFont>

namespace vendil::gui {

// "MS UI Gothic" 9 pt where the system has it, else a sans-serif font of the system that
// covers Japanese, at 9 pt; the system's own font when none does.
QFont ProgramFont();

}  // namespace vendil::gui
