// The start page window's settings.
#include "commands/start_page.h"

#include "settings/c_ini.h"

namespace vendil {

std::string StartPagePath(const Form1& form) { return form.programFolder + "/help/start.html"; }

WindowLayout ReadStartPageLayout(const Form1& form) {
  cIni ini;
  ini.FileName(form.settingsFile);
  ini.Section(kStartPageSection);
  WindowLayout layout;
  layout.Left = ini.GetValue("Left", form.layout.Left + form.layout.Width);
  layout.Top = ini.GetValue("Top", form.layout.Top);
  layout.Width = ini.GetValue("Width", kStartPageWidth);
  layout.Height = ini.GetValue("Height", form.layout.Height);
  return layout;
}

bool SaveStartPageLayout(const Form1& form, const WindowLayout& layout) {
  cIni ini;
  ini.FileName(form.settingsFile);
  ini.Section(kStartPageSection);
  bool ok = ini.SetValue("Left", layout.Left);
  ok &= ini.SetValue("Top", layout.Top);
  ok &= ini.SetValue("Width", layout.Width);
  ok &= ini.SetValue("Height", layout.Height);
  return ok;
}

}  // namespace vendil
