// Twips (1/1440 inch) to pixels and back, at the logical DPI of the widget's screen: the
// stored layout is in twips, so it keeps its real size on any screen.
#pragma once

#include <QWidget>
#include <cmath>

namespace vendil::gui {

inline double LogicalDpi(const QWidget* widget) {
  const int dpi = widget != nullptr ? widget->logicalDpiX() : 96;
  return dpi > 0 ? dpi : 96;
}

inline int TwipsToPixels(int twips, const QWidget* widget) {
  return static_cast<int>(std::lround(twips * LogicalDpi(widget) / 1440.0));
}

inline int PixelsToTwips(int pixels, const QWidget* widget) {
  return static_cast<int>(std::lround(pixels * 1440.0 / LogicalDpi(widget)));
}

}  // namespace vendil::gui
