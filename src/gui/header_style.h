// The list header's sort arrow drawn above the caption, as desktop list views do, so a
// narrow column (the depth column is 500 twips) keeps its caption readable when sorted.
#pragma once

#include <QProxyStyle>

namespace vendil::gui {

class SortArrowAboveCaptionStyle : public QProxyStyle {
 public:
  using QProxyStyle::QProxyStyle;

  void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                   const QWidget* widget) const override;
  QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                         const QWidget* widget) const override;
};

}  // namespace vendil::gui
