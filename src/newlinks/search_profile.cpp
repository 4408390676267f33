// Writing and reading the search settings of the settings file and of ".nlc" profiles.
#include "newlinks/search_profile.h"

#include <vector>

#include "crawl/depth_value.h"
#include "newlinks/internet_settings.h"
#include "newlinks/list_file.h"
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
  // The number the crawl reads from the field, so that "0.6" or "&H1" stores the 1 searched.
  ok &= ini.SetValue("SearchLebel", DepthLimitFromText(form.txtDepth.Text()));
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

namespace {

// The search settings into the form, each value looked up by section, key and its
// first-start default.
template <class GetString, class GetValue>
void ApplySearchSettings(Form1& form, const GetString& text, const GetValue& number) {
  form.txtUrl.SetText(text("General", "Url", ""));
  form.txtSaveFolder.SetText(text("General", "Folder", ""));
  form.txtMask.SetText(text("General", "Mask", "*"));

  form.mnuOption_UseBriefcaseDirectory.SetChecked(number("Options", "UseBriefcaseDirectory", 0) !=
                                                  0);
  form.mnuOption_DifferentServer.SetChecked(number("Options", "SearchDifferentServers", 0) != 0);
  form.mnuOption_ParentDirectory.SetChecked(number("Options", "SearchUpperDirectories", 0) != 0);
  form.txtDepth.SetText(std::to_string(number("Options", "SearchLebel", 0)));
  form.m_lngSearchTags = number("Options", "SearchTags", 1);
  form.m_strCustomTags = text("Options", "CustomTags", "");
  form.RefreshTagMenu();
  form.mnuOption_OnlyUseYahooBriefcase.SetChecked(number("Options", "OnlyUseYBC", 0) != 0);
  if (!form.cmbScript.SetText(text("Options", "AddUrlScript", ""))) form.cmbScript.SetListIndex(0);
  form.txtGetUrls.SetText(text("Options", "UrlFilter", ""));
  form.txtContentType.SetText(text("Options", "ContentType", ""));
}

}  // namespace

void ReadSearchSettings(Form1& form, const std::string& strPath) {
  cIni ini;
  ini.FileName(strPath);
  ApplySearchSettings(
      form,
      [&ini](const char* section, const char* key, const char* fallback) {
        ini.Section(section);
        return ini.GetString(key, fallback);
      },
      [&ini](const char* section, const char* key, int32_t fallback) {
        ini.Section(section);
        return ini.GetValue(key, fallback);
      });
}

void ApplyFirstStartSettings(Form1& form) {
  ApplySearchSettings(
      form, [](const char*, const char*, const char* fallback) { return std::string(fallback); },
      [](const char*, const char*, int32_t fallback) { return fallback; });
}

bool LoadProfile(Form1& form, const std::string& strPath, bool isSettingsFile, int32_t& lngCount) {
  // A device, FIFO or huge file is not read at all; the user learns why.
  const std::string problem = FileProblemText(KindOfFileToRead(strPath));
  if (!problem.empty()) {
    form.SetStatusText(strPath + "\r\n" + "\r\n" + problem);
    return false;
  }
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
