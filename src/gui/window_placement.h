// Puts a top-level window on screen at a stored or first-start place, fitted into the
// available area of the screen it mostly lies on (the primary screen when it lies on none,
// as after a screen was removed), with room for the window manager's frame.
#pragma once

#include <QMargins>
#include <QRect>
#include <QWidget>

namespace vendil::gui {

// The frame the window manager adds around the window: the real one once known, else an
// allowance for a title bar and borders.
QMargins FrameAllowance(const QWidget* window);
// The available area (without panels) of the screen `frame` mostly lies on.
QRect AvailableAreaFor(const QRect& frame);
// Moves and resizes `window` so that its frame lies inside the available area: `pos` is
// the frame's top left, `size` the inner size, as they are stored.
void PlaceWindow(QWidget* window, const QPoint& pos, const QSize& size);
// The first start: two thirds of the primary screen's available area, at least
// `contentWidth` inner pixels wide where the screen allows, centred with room for a window
// `besideWidth` wide at its right where the screen has it.
void PlaceWindowFirstTime(QWidget* window, int contentWidth, int besideWidth);

}  // namespace vendil::gui
