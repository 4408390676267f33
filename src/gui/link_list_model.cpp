// The table model over the link list and its batching of new rows.
#include "gui/link_list_model.h"

#include <QLocale>
#include <algorithm>

namespace vendil::gui {
namespace {

constexpr int kDefaultBatchMs = 50;
// A change of more rows than this is published as a new layout instead of a dataChanged
// range, whose cost in the view grows with the range.

const std::string& Field(const LinkRow& row, int column) {
  switch (column) {
    case 0:
      return row.FileName;
    case 1:
      return row.Url;
    case 2:
      return row.Referer;
    case 3:
      return row.Title;
    case 4:
      return row.Folder;
    case 5:
      return row.DownloadFolder;
    default:
      return row.Depth;
  }
}

}  // namespace

QString LinkListModel::ColumnCaption(int column) {
  static const char* const kCaptions[kColumnCount] = {
      "ファイル名",   "URL",  "Referer", "タイトル", "フォルダ",
      "保存フォルダ", "深さ", "サイズ",  "種類",     "状態"};
  return column >= 0 && column < kColumnCount ? QString::fromUtf8(kCaptions[column]) : QString();
}

LinkListModel::LinkListModel(LinkList& list, QObject* parent)
    : QAbstractTableModel(parent), list_(list), published_(list.Count()) {
  flushTimer_.setSingleShot(true);
  flushTimer_.setInterval(kDefaultBatchMs);
  connect(&flushTimer_, &QTimer::timeout, this, &LinkListModel::FlushInsertedRows);
  list_.SetObserver(this);
}

LinkListModel::~LinkListModel() { list_.SetObserver(nullptr); }

int LinkListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(published_);
}

int LinkListModel::columnCount(const QModelIndex& parent) const {
  if (parent.isValid()) return 0;
  return downloadText_ ? kColumnCount + 1 : kColumnCount;
}

QVariant LinkListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || static_cast<size_t>(index.row()) >= published_) return {};
  const size_t position = static_cast<size_t>(index.row()) + 1;
  if (index.column() == kDownloadColumn) {
    if (!downloadText_ || (role != Qt::DisplayRole && role != Qt::ToolTipRole)) return {};
    return QString::fromStdString(downloadText_(position));
  }
  if (index.column() >= kSizeColumn) return CheckData(position, index.column(), role);
  const LinkRow& row = list_.Row(position);
  switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
      return QString::fromStdString(Field(row, index.column()));
    case Qt::CheckStateRole:
      if (index.column() == 0) return row.Checked ? Qt::Checked : Qt::Unchecked;
      return {};
    case Qt::TextAlignmentRole:
      if (index.column() == kDepthColumn)
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
      return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    default:
      return {};
  }
}

QVariant LinkListModel::CheckData(size_t position, int column, int role) const {
  if (role == Qt::TextAlignmentRole) {
    return QVariant::fromValue((column == kSizeColumn ? Qt::AlignRight : Qt::AlignLeft) |
                               Qt::AlignVCenter);
  }
  if (role != Qt::DisplayRole && role != Qt::ToolTipRole) return {};
  const RowCheck* check = list_.Check(position);
  if (check == nullptr) return {};
  switch (column) {
    case kSizeColumn:
      if (check->size < 0) return {};
      if (role == Qt::ToolTipRole)
        return QLocale(QLocale::Japanese).toString(static_cast<qlonglong>(check->size)) +
               QString::fromUtf8(" バイト");
      return QString::fromStdString(ByteSizeText(check->size));
    case kTypeColumn:
      return QString::fromStdString(check->type);
    default:
      return QString::fromStdString(CheckStateText(*check));
  }
}

bool LinkListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (role != Qt::CheckStateRole || !index.isValid() || index.column() != 0 ||
      static_cast<size_t>(index.row()) >= published_)
    return false;
  // The list tells us about the change (RowsChanged), which repaints the row.
  list_.SetChecked(static_cast<size_t>(index.row()) + 1, value.toInt() == Qt::Checked);
  return true;
}

Qt::ItemFlags LinkListModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
  if (index.column() == 0) f |= Qt::ItemIsUserCheckable;
  return f;
}

QVariant LinkListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal) return {};
  if (role == Qt::DisplayRole && section == kDownloadColumn && downloadText_)
    return QString::fromUtf8("ダウンロード");
  if (role == Qt::DisplayRole) return ColumnCaption(section);
  if (role == Qt::TextAlignmentRole) {
    const bool numbers = section == kDepthColumn || section == kSizeColumn;
    return QVariant::fromValue((numbers ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
  }
  return {};
}

void LinkListModel::ShowDownloadColumn(std::function<std::string(size_t)> text) {
  if (downloadText_) {
    downloadText_ = std::move(text);
    return;
  }
  beginInsertColumns(QModelIndex(), kDownloadColumn, kDownloadColumn);
  downloadText_ = std::move(text);
  endInsertColumns();
}

void LinkListModel::DownloadStatesChanged(const std::vector<size_t>& positions) {
  if (!downloadText_ || positions.empty() || published_ == 0) return;
  // One range over the column: a poll changes many rows, and a one-column range is cheap
  // for the view.
  const auto [low, high] = std::minmax_element(positions.begin(), positions.end());
  const size_t first = std::max<size_t>(*low, 1);
  const size_t last = std::min(*high, published_);
  if (first > last) return;
  emit dataChanged(index(static_cast<int>(first - 1), kDownloadColumn),
                   index(static_cast<int>(last - 1), kDownloadColumn), {Qt::DisplayRole});
}

void LinkListModel::FlushInsertedRows() {
  flushTimer_.stop();
  const size_t count = list_.Count();
  if (count <= published_) return;
  beginInsertRows(QModelIndex(), static_cast<int>(published_), static_cast<int>(count - 1));
  published_ = count;
  endInsertRows();
  emit RowsAppended();
}

void LinkListModel::RowsInserted(size_t, size_t) {
  // Rows are only ever appended; the batch is everything past what the view knows.
  if (!flushTimer_.isActive()) flushTimer_.start();
}

void LinkListModel::RowsRemoved(size_t first, size_t count) {
  // Positions are 1-based and refer to the list before the removal. Only the part of the
  // range the view knows of is announced; rows past it were never shown, and the rows that
  // move down stay past what the view knows.
  const size_t from = first - 1;
  if (from >= published_) return;
  const size_t shownCount = std::min(count, published_ - from);
  beginRemoveRows(QModelIndex(), static_cast<int>(from), static_cast<int>(from + shownCount - 1));
  published_ -= shownCount;
  endRemoveRows();
}

void LinkListModel::RowsChanged(size_t first, size_t last) {
  if (published_ == 0 || first > published_) return;
  last = std::min(last, published_);
  // Only the check column changes; one range however many rows it spans.
  emit dataChanged(index(static_cast<int>(first - 1), 0), index(static_cast<int>(last - 1), 0),
                   {Qt::CheckStateRole});
}

void LinkListModel::RowsReordered(const std::vector<size_t>& oldPositions) {
  // Rows waiting for their batch join first, so every row has a place before and after.
  FlushInsertedRows();
  if (published_ == 0) return;
  emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
  std::vector<int> newRowOf(oldPositions.size());
  for (size_t i = 0; i < oldPositions.size(); ++i) newRowOf[oldPositions[i]] = static_cast<int>(i);
  // A selected or current row follows its link to its new place.
  const QModelIndexList before = persistentIndexList();
  QModelIndexList after;
  after.reserve(before.size());
  for (const QModelIndex& old : before) {
    const auto row = static_cast<size_t>(old.row());
    after.append(row < newRowOf.size() ? index(newRowOf[row], old.column()) : QModelIndex());
  }
  changePersistentIndexList(before, after);
  emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void LinkListModel::ListReset() {
  flushTimer_.stop();
  beginResetModel();
  published_ = list_.Count();
  endResetModel();
}

}  // namespace vendil::gui
