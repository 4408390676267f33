// The list view's settings and its right-button release.
#include "gui/link_list_view.h"

#include <QEvent>
#include <QHeaderView>
#include <QMouseEvent>

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
  horizontalHeader()->setStretchLastSection(false);
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

void LinkListView::changeEvent(QEvent* event) {
  QTableView::changeEvent(event);
  if (event->type() == QEvent::FontChange) ApplyRowHeight();
}

void LinkListView::ApplyRowHeight() {
  verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
  verticalHeader()->setMinimumSectionSize(fontMetrics().height());
}

}  // namespace vendil::gui
