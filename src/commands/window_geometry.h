// Where a window goes on screen: a stored position and size fitted into the screen's
// available area (a position stored at an edge, or on a screen that is gone, must not open
// the window mostly off screen), and the size of a first start.
#pragma once

#include "state/form1.h"

namespace vendil {

// A rectangle in pixels; for a window, its outer frame.
struct ScreenRect {
  int left = 0, top = 0, width = 0, height = 0;
  bool operator==(const ScreenRect&) const = default;
};

// `wanted` moved and, if need be, shrunk so that it lies wholly inside `area`; never smaller
// than the minimum unless the area itself is.
ScreenRect FitIntoArea(const ScreenRect& wanted, const ScreenRect& area, int minWidth,
                       int minHeight);

// The window of a first start: two thirds of the area each way, widened to `contentWidth`
// where the area allows (so every column of the list shows), centred in the area together
// with a window `besideWidth` wide at its right (the start page) when both fit, else alone.
ScreenRect FirstStartRect(const ScreenRect& area, int contentWidth, int besideWidth, int minWidth,
                          int minHeight);

// Whether the settings file holds a main-window size (false on a first start).
bool HasStoredWindowLayout(const Form1& form);

}  // namespace vendil
