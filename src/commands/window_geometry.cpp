// Fitting windows into the screen's available area.
#include "commands/window_geometry.h"

#include <algorithm>

#include "settings/c_ini.h"

namespace vendil {

ScreenRect FitIntoArea(const ScreenRect& wanted, const ScreenRect& area, int minWidth,
                       int minHeight) {
  ScreenRect fitted;
  fitted.width = std::min(std::max(wanted.width, minWidth), area.width);
  fitted.height = std::min(std::max(wanted.height, minHeight), area.height);
  // Right and bottom edges first, so that a window larger than the area keeps its top left.
  fitted.left = std::max(std::min(wanted.left, area.left + area.width - fitted.width), area.left);
  fitted.top = std::max(std::min(wanted.top, area.top + area.height - fitted.height), area.top);
  return fitted;
}

ScreenRect FirstStartRect(const ScreenRect& area, int contentWidth, int besideWidth, int minWidth,
                          int minHeight) {
  ScreenRect rect;
  rect.width = std::max(area.width * 2 / 3, contentWidth);
  rect.height = area.height * 2 / 3;
  const int block = rect.width + besideWidth <= area.width ? rect.width + besideWidth : rect.width;
  rect.left = area.left + (area.width - std::min(block, area.width)) / 2;
  rect.top = area.top + (area.height - std::min(rect.height, area.height)) / 2;
  return FitIntoArea(rect, area, minWidth, minHeight);
}

bool HasStoredWindowLayout(const Form1& form) {
  cIni ini;
  ini.FileName(form.settingsFile);
  const auto stored = [&ini](const NumberSetting& key) {
    return !ReadSetting(ini, TextSetting{key.section, key.key, ""}).empty();
  };
  return stored(setting::WindowWidth) && stored(setting::WindowHeight);
}

}  // namespace vendil
