// Window placement over the core's fitting rule.
#include "gui/window_placement.h"

#include <QGuiApplication>
#include <QScreen>

#include "commands/window_geometry.h"

namespace vendil::gui {
namespace {

ScreenRect ToScreenRect(const QRect& r) { return {r.x(), r.y(), r.width(), r.height()}; }

void ApplyFrameRect(QWidget* window, const ScreenRect& frame, const QMargins& m) {
  window->move(frame.left, frame.top);
  window->resize(frame.width - m.left() - m.right(), frame.height - m.top() - m.bottom());
}

}  // namespace

QMargins FrameAllowance(const QWidget* window) {
  const QRect frame = window->frameGeometry();
  const QRect inner = window->geometry();
  if (window->isVisible() && frame != inner) {
    return {inner.left() - frame.left(), inner.top() - frame.top(), frame.right() - inner.right(),
            frame.bottom() - inner.bottom()};
  }
  // Not shown yet: a title bar of a line of text and thin borders.
  const int border = 4;
  return {border, window->fontMetrics().height() + 2 * border + 2, border, border};
}

QRect AvailableAreaFor(const QRect& frame) {
  QScreen* best = nullptr;
  qint64 bestArea = 0;
  for (QScreen* screen : QGuiApplication::screens()) {
    const QRect common = screen->geometry().intersected(frame);
    const qint64 area = static_cast<qint64>(common.width()) * common.height();
    if (area > bestArea) {
      bestArea = area;
      best = screen;
    }
  }
  if (best == nullptr) best = QGuiApplication::primaryScreen();
  return best != nullptr ? best->availableGeometry() : QRect(0, 0, 800, 600);
}

void PlaceWindow(QWidget* window, const QPoint& pos, const QSize& size) {
  const QMargins m = FrameAllowance(window);
  const QRect wanted(pos, size.grownBy(m));
  const QSize least = window->minimumSize().grownBy(m);
  ApplyFrameRect(window,
                 FitIntoArea(ToScreenRect(wanted), ToScreenRect(AvailableAreaFor(wanted)),
                             least.width(), least.height()),
                 m);
}

void PlaceWindowFirstTime(QWidget* window, int contentWidth, int besideWidth) {
  const QMargins m = FrameAllowance(window);
  QScreen* screen = QGuiApplication::primaryScreen();
  const QRect area = screen != nullptr ? screen->availableGeometry() : QRect(0, 0, 800, 600);
  const QSize least = window->minimumSize().grownBy(m);
  ApplyFrameRect(window,
                 FirstStartRect(ToScreenRect(area), contentWidth + m.left() + m.right(),
                                besideWidth + m.left() + m.right(), least.width(), least.height()),
                 m);
}

}  // namespace vendil::gui
