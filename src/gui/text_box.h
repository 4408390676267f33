// The multi-line text box of the several-URLs and log windows: no wrapping, both scroll
// bars always shown.
#pragma once

#include <QPlainTextEdit>

namespace vendil::gui {

inline QPlainTextEdit* MakeScrollingTextBox(QWidget* parent, const char* name) {
  auto* box = new QPlainTextEdit(parent);
  box->setObjectName(QString::fromLatin1(name));
  box->setLineWrapMode(QPlainTextEdit::NoWrap);
  box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  return box;
}

}  // namespace vendil::gui
