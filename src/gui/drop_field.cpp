// Drops on a field go to its handler as a whole; nothing is inserted at the cursor.
#include "gui/drop_field.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>

namespace vendil::gui {

DropField::DropField(QWidget* parent) : QLineEdit(parent) { setAcceptDrops(false); }

void DropField::SetDropHandler(Offers offers, Drop drop) {
  offers_ = std::move(offers);
  drop_ = std::move(drop);
  setAcceptDrops(static_cast<bool>(drop_));
}

void DropField::dragEnterEvent(QDragEnterEvent* event) {
  if (offers_ && event->mimeData() != nullptr && offers_(*event->mimeData())) {
    event->acceptProposedAction();
  } else {
    event->ignore();
  }
}

void DropField::dragMoveEvent(QDragMoveEvent* event) {
  if (offers_ && event->mimeData() != nullptr && offers_(*event->mimeData())) {
    event->acceptProposedAction();
  } else {
    event->ignore();
  }
}

void DropField::dropEvent(QDropEvent* event) {
  if (drop_ && event->mimeData() != nullptr && drop_(*event->mimeData())) {
    event->acceptProposedAction();
  } else {
    event->ignore();
  }
}

}  // namespace vendil::gui
