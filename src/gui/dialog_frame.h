// The frame of a small fixed dialog: a title and a close box, no minimize or maximize.
#pragma once

#include <QWidget>

namespace vendil::gui {

inline void UseFixedDialogFrame(QWidget* dialog) {
  dialog->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
}

}  // namespace vendil::gui
