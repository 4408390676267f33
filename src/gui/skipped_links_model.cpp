// The rows of the skipped-links dialog, read from the core's record as the view asks.
#include "gui/skipped_links_model.h"

#include <limits>

#include "gui/jp_text.h"

namespace vendil::gui {

SkippedLinksModel::SkippedLinksModel(std::shared_ptr<const SkippedLinks> record, QObject* parent)
    : QAbstractTableModel(parent), record_(std::move(record)) {}

int SkippedLinksModel::rowCount(const QModelIndex& parent) const {
  if (parent.isValid()) return 0;
  return static_cast<int>(std::min<size_t>(record_->Count(), std::numeric_limits<int>::max()));
}

int SkippedLinksModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kColumnCount;
}

QVariant SkippedLinksModel::data(const QModelIndex& index, int role) const {
  if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
    return {};
  if (role != Qt::DisplayRole && role != Qt::ToolTipRole) return {};
  const SkippedLink entry = record_->At(static_cast<size_t>(index.row()));
  switch (index.column()) {
    case 0:
      return QString::fromUtf8(entry.link.data(), static_cast<qsizetype>(entry.link.size()));
    case 1:
      return QString::fromUtf8(entry.referer.data(), static_cast<qsizetype>(entry.referer.size()));
    default:
      return QString::fromStdString(SkipReasonText(entry));
  }
}

QVariant SkippedLinksModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  static const char* const kCaptions[kColumnCount] = {"リンク", "参照元", "理由"};
  if (section < 0 || section >= kColumnCount) return {};
  return Jp(kCaptions[section]);
}

}  // namespace vendil::gui
