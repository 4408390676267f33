// Writing and reading the search settings of the settings file and of ".nlc" profiles.
#include "newlinks/search_profile.h"

#include <limits>
#include <vector>

#include "newlinks/internet_settings.h"
#include "settings/c_ini.h"

namespace vendil {
namespace {

constexpr const char* kNotAProfile = "これは「新しいリンクのチェック」ファイルではありません。";

struct ColumnKey {
  const char* key;
  int fallback;
};
// Stored in the order of the list's columns; "Depth" falls back to a narrower width than
// the list starts with, as the stored layout always did.
constexpr ColumnKey kColumns[7] = {{"FileName", 1440}, {"Url", 3000},    {"Referer", 3000},
                                   {"Title", 1440},    {"Folder", 1440}, {"DownloadFolder", 1440},
                                   {"Depth", 500}};

}  // namespace

int32_t LeadingInteger(const std::string& text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  int64_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > int64_t{1} << 32) break;  // already past either limit
  }
  if (negative) value = -value;
  if (value > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  if (value < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(value);
}

bool SaveProfile(Form1& form, const std::string& strPath, bool isSettingsFile) {
  cIni ini;
  ini.FileName(strPath);
  bool ok = true;
  ini.Section("Version");
  ok &= ini.SetValue("Major", 1);

  ini.Section("General");
  ok &= ini.SetString("Url", form.txtUrl.Text());
  ok &= ini.SetString("Folder", form.txtSaveFolder.Text());
  ok &= ini.SetString("Mask", form.txtMask.Text());

  ini.Section("Options");
  ok &=
      ini.SetValue("UseBriefcaseDirectory", form.mnuOption_UseBriefcaseDirectory.Checked() ? 1 : 0);
  ok &= ini.SetValue("SearchDifferentServers", form.mnuOption_DifferentServer.Checked() ? -1 : 0);
  ok &= ini.SetValue("SearchUpperDirectories", form.mnuOption_ParentDirectory.Checked() ? -1 : 0);
  ok &= ini.SetValue("SearchLebel", LeadingInteger(form.txtDepth.Text()));
  ok &= ini.SetValue("SearchTags", form.m_lngSearchTags);
  ok &= ini.SetString("CustomTags", form.m_strCustomTags);
  ok &= ini.SetValue("OnlyUseYBC", form.mnuOption_OnlyUseYahooBriefcase.Checked() ? -1 : 0);
  ok &= ini.SetString("AddUrlScript", form.cmbScript.Text());
  ok &= ini.SetString("UrlFilter", form.txtGetUrls.Text());
  ok &= ini.SetString("ContentType", form.txtContentType.Text());
  ok &= WriteInternetSettings(form.internetOptions, strPath, isSettingsFile);

  if (!isSettingsFile) return ok;
  // A minimized or maximized window keeps the last normal position and size on file.
  if (!form.layout.Minimized && !form.layout.Maximized) {
    ini.Section("Window");
    ok &= ini.SetValue("Left", form.layout.Left);
    ok &= ini.SetValue("Top", form.layout.Top);
    ok &= ini.SetValue("Width", form.layout.Width);
    ok &= ini.SetValue("Height", form.layout.Height);
  }
  ini.Section("Column");
  for (size_t i = 0; i < 7; ++i) ok &= ini.SetValue(kColumns[i].key, form.columnWidths[i]);
  return ok;
}

void ReadSearchSettings(Form1& form, const std::string& strPath) {
  cIni ini;
  ini.FileName(strPath);
  ini.Section("General");
  form.txtUrl.SetText(ini.GetString("Url", ""));
  form.txtSaveFolder.SetText(ini.GetString("Folder", ""));
  form.txtMask.SetText(ini.GetString("Mask", "*"));

  ini.Section("Options");
  form.mnuOption_UseBriefcaseDirectory.SetChecked(ini.GetValue("UseBriefcaseDirectory", 0) != 0);
  form.mnuOption_DifferentServer.SetChecked(ini.GetValue("SearchDifferentServers", 0) != 0);
  form.mnuOption_ParentDirectory.SetChecked(ini.GetValue("SearchUpperDirectories", 0) != 0);
  form.txtDepth.SetText(std::to_string(ini.GetValue("SearchLebel", 0)));
  form.m_lngSearchTags = ini.GetValue("SearchTags", 1);
  form.m_strCustomTags = ini.GetString("CustomTags", "");
  form.RefreshTagMenu();
  form.mnuOption_OnlyUseYahooBriefcase.SetChecked(ini.GetValue("OnlyUseYBC", 0) != 0);
  if (!form.cmbScript.SetText(ini.GetString("AddUrlScript", ""))) form.cmbScript.SetListIndex(0);
  form.txtGetUrls.SetText(ini.GetString("UrlFilter", ""));
  form.txtContentType.SetText(ini.GetString("ContentType", ""));
}

bool LoadProfile(Form1& form, const std::string& strPath, bool isSettingsFile, int32_t& lngCount) {
  cIni ini;
  ini.FileName(strPath);
  if (!isSettingsFile) {
    ini.Section("Version");
    if (ini.GetString("Major", "").empty()) {
      form.SetStatusText(strPath + "\r\n" + "\r\n" + kNotAProfile);
      return false;
    }
  }

  ReadSearchSettings(form, strPath);
  ReadInternetSettings(form.internetOptions, strPath, isSettingsFile);

  if (isSettingsFile) {
    ini.Section("Window");
    form.layout.Left = ini.GetValue("Left", 0);
    form.layout.Top = ini.GetValue("Top", 0);
    form.layout.Width = ini.GetValue("Width", 7000);
    form.layout.Height = ini.GetValue("Height", 5000);
    ini.Section("Column");
    for (size_t i = 0; i < 7; ++i)
      form.columnWidths[i] = ini.GetValue(kColumns[i].key, kColumns[i].fallback);
    return true;
  }

  ini.Section("Links");
  std::vector<std::string> lines;
  ini.GetAllKey(lines);
  form.m_astrStoredLinks = std::move(lines);
  lngCount = static_cast<int32_t>(form.m_astrStoredLinks.size());
  return true;
}

}  // namespace vendil
