// The list view's settings, its right-button release, its keys and its focus frame.
#include "gui/link_list_view.h"

#include <QEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "gui/header_style.h"

namespace vendil::gui {

LinkListView::LinkListView(QWidget* parent) : QTableView(parent) {
  setObjectName(QStringLiteral("lvwUrls"));
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setShowGrid(false);
  setWordWrap(false);
  setTextElideMode(Qt::ElideRight);
  setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  setAcceptDrops(false);
  // The menu opens on the release of the button (see mouseReleaseEvent), not on the press
  // that the window system reports as a context-menu request.
  setContextMenuPolicy(Qt::PreventContextMenu);
  verticalHeader()->hide();
  // Every row the same height: the view never asks the rows for their sizes.
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  horizontalHeader()->setSectionsClickable(true);
  horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  // The last column reaches the right edge: no empty strip beside it.
  horizontalHeader()->setStretchLastSection(true);
  // Tab and Shift+Tab leave the list for the next field instead of walking its cells.
  setTabKeyNavigation(false);
  horizontalHeader()->setHighlightSections(false);
  // Stored widths may be narrow (the depth column is 500 twips).
  horizontalHeader()->setMinimumSectionSize(8);
  // The style object belongs to the header (Qt parent ownership) and leans on the
  // application's style for everything else.
  auto* headerStyle = new SortArrowAboveCaptionStyle();
  headerStyle->setParent(horizontalHeader());
  horizontalHeader()->setStyle(headerStyle);
  ApplyRowHeight();
}

size_t LinkListView::SelectedPosition() const {
  const QItemSelectionModel* selection = selectionModel();
  if (selection == nullptr) return 0;
  const QModelIndex current = currentIndex();
  if (current.isValid() && selection->isRowSelected(current.row(), QModelIndex()))
    return static_cast<size_t>(current.row()) + 1;
  const QModelIndexList rows = selection->selectedRows();
  if (rows.isEmpty()) return 0;
  return static_cast<size_t>(rows.first().row()) + 1;
}

void LinkListView::mouseReleaseEvent(QMouseEvent* event) {
  QTableView::mouseReleaseEvent(event);
  if (event->button() == Qt::RightButton)
    emit ContextMenuRequested(event->globalPosition().toPoint());
}

void LinkListView::keyPressEvent(QKeyEvent* event) {
  const bool menuKey = event->key() == Qt::Key_Menu ||
                       (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier);
  if (menuKey) {
    // The row menu opens under the current row, as the right button opens it under the mouse.
    const QRect row = visualRect(currentIndex());
    const QPoint at = row.isValid() ? row.bottomLeft() : QPoint(0, 0);
    emit ContextMenuRequested(viewport()->mapToGlobal(at));
    event->accept();
    return;
  }
  if (event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier) {
    ToggleCurrentCheck();
    event->accept();
    return;
  }
  QTableView::keyPressEvent(event);
}

void LinkListView::ToggleCurrentCheck() {
  const QModelIndex current = currentIndex();
  if (!current.isValid() || model() == nullptr) return;
  const QModelIndex check = model()->index(current.row(), 0);
  const Qt::CheckState now = static_cast<Qt::CheckState>(check.data(Qt::CheckStateRole).toInt());
  const Qt::CheckState next = now == Qt::Checked ? Qt::Unchecked : Qt::Checked;
  // The selected rows follow the current one when it is among them; else only the current.
  QModelIndexList rows;
  if (selectionModel() != nullptr && selectionModel()->isRowSelected(current.row(), QModelIndex()))
    rows = selectionModel()->selectedRows(0);
  if (rows.isEmpty()) rows.push_back(check);
  for (const QModelIndex& row : rows) model()->setData(row, next, Qt::CheckStateRole);
}

bool LinkListView::event(QEvent* event) {
  const bool handled = QTableView::event(event);
  if (event->type() == QEvent::Paint && hasFocus()) {
    // The style draws no focus on the list's own frame: the frame takes the highlight colour,
    // so a keyboard user sees where the keys go.
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::Active, QPalette::Highlight));
    const int width = std::max(frameWidth(), 1);
    for (int i = 0; i < width; ++i) painter.drawRect(rect().adjusted(i, i, -1 - i, -1 - i));
  }
  return handled;
}

void LinkListView::focusInEvent(QFocusEvent* event) {
  QTableView::focusInEvent(event);
  update();
}

void LinkListView::focusOutEvent(QFocusEvent* event) {
  QTableView::focusOutEvent(event);
  update();
}

void LinkListView::changeEvent(QEvent* event) {
  QTableView::changeEvent(event);
  if (event->type() == QEvent::FontChange) ApplyRowHeight();
}

void LinkListView::ApplyRowHeight() {
  verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
  verticalHeader()->setMinimumSectionSize(fontMetrics().height());
}

}  // namespace vendil::gui
