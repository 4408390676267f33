// A single-line field that takes drops only through a handler of its owner; without one it
// takes none (Qt's line edits accept dropped text by default).
#pragma once

#include <QLineEdit>
#include <functional>

class QMimeData;

namespace vendil::gui {

class DropField : public QLineEdit {
  Q_OBJECT

 public:
  // `offers` tells whether dragged data is of the kind the field takes; `drop` applies a
  // drop and returns false when it ignored it.
  using Offers = std::function<bool(const QMimeData&)>;
  using Drop = std::function<bool(const QMimeData&)>;

  explicit DropField(QWidget* parent = nullptr);
  void SetDropHandler(Offers offers, Drop drop);

 protected:
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  Offers offers_;
  Drop drop_;
};

}  // namespace vendil::gui
