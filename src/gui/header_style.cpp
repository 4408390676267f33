// The section and caption are drawn as if unsorted, so the caption keeps the whole width;
// the arrow goes into a thin strip at the section's top, the captions a little below it.
#include "gui/header_style.h"

#include <QPainter>
#include <QStyleOptionHeaderV2>

namespace vendil::gui {
namespace {

constexpr int kArrowHeight = 6;
// How far the caption sits below where the base style would centre it.
constexpr int kCaptionDrop = kArrowHeight / 2 + 1;

// The base style draws the arrow 2 pixels above the rectangle it is given, centred in it.
QRect ArrowStrip(const QRect& section) {
  return {section.center().x() - kArrowHeight, section.top() + 2, kArrowHeight * 2, kArrowHeight};
}

}  // namespace

void SortArrowAboveCaptionStyle::drawControl(ControlElement element, const QStyleOption* option,
                                             QPainter* painter, const QWidget* widget) const {
  const auto* header = qstyleoption_cast<const QStyleOptionHeaderV2*>(option);
  if (element != CE_Header || header == nullptr || header->orientation != Qt::Horizontal) {
    QProxyStyle::drawControl(element, option, painter, widget);
    return;
  }
  // Section and caption as if unsorted, the caption below the arrow's strip.
  QStyleOptionHeaderV2 plain = *header;
  plain.sortIndicator = QStyleOptionHeader::None;
  painter->save();
  QProxyStyle::drawControl(CE_HeaderSection, &plain, painter, widget);
  const int margin = pixelMetric(PM_HeaderMargin, option, widget);
  plain.rect = header->rect.adjusted(margin, margin + kCaptionDrop, -margin, -margin);
  QProxyStyle::drawControl(CE_HeaderLabel, &plain, painter, widget);
  painter->restore();
  if (header->sortIndicator == QStyleOptionHeader::None) return;
  QStyleOptionHeaderV2 arrow = *header;
  arrow.rect = ArrowStrip(header->rect);
  drawPrimitive(PE_IndicatorHeaderArrow, &arrow, painter, widget);
}

QSize SortArrowAboveCaptionStyle::sizeFromContents(ContentsType type, const QStyleOption* option,
                                                   const QSize& size, const QWidget* widget) const {
  QSize result = QProxyStyle::sizeFromContents(type, option, size, widget);
  // Room for the strip above the caption, in every section, so sorting never moves the row.
  if (type == CT_HeaderSection) result.rheight() += kCaptionDrop;
  return result;
}

}  // namespace vendil::gui
