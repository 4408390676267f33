// The start page window's settings.
#include "commands/start_page.h"

#include "settings/c_ini.h"

namespace vendil {
std::string StartPagePath(const Form1& form) { return form.programFolder + "/help/start.html"; }

WindowLayout ReadStartPageLayout(const Form1& form) {
  cIni ini;
  ini.FileName(form.settingsFile);
  WindowLayout layout;
  layout.Left = ReadSetting(ini, setting::StartPageLeft, form.layout.Left + form.layout.Width);
  layout.Top = ReadSetting(ini, setting::StartPageTop, form.layout.Top);
  layout.Width = ReadSetting(ini, setting::StartPageWidth);
  layout.Height = ReadSetting(ini, setting::StartPageHeight, form.layout.Height);
  return layout;
}

bool SaveStartPageLayout(const Form1& form, const WindowLayout& layout) {
  cIni ini;
  ini.FileName(form.settingsFile);
  bool ok = WriteSetting(ini, setting::StartPageLeft, layout.Left);
  ok &= WriteSetting(ini, setting::StartPageTop, layout.Top);
  ok &= WriteSetting(ini, setting::StartPageWidth, layout.Width);
  ok &= WriteSetting(ini, setting::StartPageHeight, layout.Height);
  return ok;
}

}  // namespace vendil
