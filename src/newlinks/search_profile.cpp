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

}  // namespace

bool SaveProfile(Form1& form, const std::string& strPath, bool isSettingsFile) {
  cIni ini;
  ini.FileName(strPath);
  bool ok = WriteSetting(ini, setting::VersionMajor, "1");

  ok &= WriteSetting(ini, setting::Url, form.txtUrl.Text());
  ok &= WriteSetting(ini, setting::Folder, form.txtSaveFolder.Text());
  ok &= WriteSetting(ini, setting::Mask, form.txtMask.Text());

  ok &= WriteSetting(ini, setting::UseBriefcaseDirectory,
                     form.mnuOption_UseBriefcaseDirectory.Checked() ? 1 : 0);
  ok &= WriteSetting(ini, setting::SearchDifferentServers,
                     form.mnuOption_DifferentServer.Checked() ? -1 : 0);
  ok &= WriteSetting(ini, setting::SearchUpperDirectories,
                     form.mnuOption_ParentDirectory.Checked() ? -1 : 0);
  // The number the crawl reads from the field, so that "0.6" or "&H1" stores the 1 searched.
  ok &= WriteSetting(ini, setting::SearchLebel, DepthLimitFromText(form.txtDepth.Text()));
  ok &= WriteSetting(ini, setting::SearchTags, form.m_lngSearchTags);
  ok &= WriteSetting(ini, setting::CustomTags, form.m_strCustomTags);
  ok &= WriteSetting(ini, setting::OnlyUseYBC,
                     form.mnuOption_OnlyUseYahooBriefcase.Checked() ? -1 : 0);
  ok &= WriteSetting(ini, setting::AddUrlScript, form.cmbScript.Text());
  ok &= WriteSetting(ini, setting::UrlFilter, form.txtGetUrls.Text());
  ok &= WriteSetting(ini, setting::ContentType, form.txtContentType.Text());
  ok &= WriteInternetSettings(form.internetOptions, strPath, isSettingsFile);

  if (!isSettingsFile) return ok;
  // A minimized or maximized window keeps the last normal position and size on file.
  if (!form.layout.Minimized && !form.layout.Maximized) {
    ok &= WriteSetting(ini, setting::WindowLeft, form.layout.Left);
    ok &= WriteSetting(ini, setting::WindowTop, form.layout.Top);
    ok &= WriteSetting(ini, setting::WindowWidth, form.layout.Width);
    ok &= WriteSetting(ini, setting::WindowHeight, form.layout.Height);
  }
  for (size_t i = 0; i < setting::ColumnWidths.size(); ++i)
    ok &= WriteSetting(ini, setting::ColumnWidths[i], form.columnWidths[i]);
  return ok;
}

namespace {

// The search settings into the form, each value looked up by section, key and its
// first-start default.
template <class GetText, class GetNumber>
void ApplySearchSettings(Form1& form, const GetText& text, const GetNumber& number) {
  form.txtUrl.SetText(text(setting::Url));
  form.txtSaveFolder.SetText(text(setting::Folder));
  form.txtMask.SetText(text(setting::Mask));

  form.mnuOption_UseBriefcaseDirectory.SetChecked(number(setting::UseBriefcaseDirectory) != 0);
  form.mnuOption_DifferentServer.SetChecked(number(setting::SearchDifferentServers) != 0);
  form.mnuOption_ParentDirectory.SetChecked(number(setting::SearchUpperDirectories) != 0);
  form.txtDepth.SetText(std::to_string(number(setting::SearchLebel)));
  form.m_lngSearchTags = number(setting::SearchTags);
  form.m_strCustomTags = text(setting::CustomTags);
  form.RefreshTagMenu();
  form.mnuOption_OnlyUseYahooBriefcase.SetChecked(number(setting::OnlyUseYBC) != 0);
  if (!form.cmbScript.SetText(text(setting::AddUrlScript))) form.cmbScript.SetListIndex(0);
  form.txtGetUrls.SetText(text(setting::UrlFilter));
  form.txtContentType.SetText(text(setting::ContentType));
}

}  // namespace

void ReadSearchSettings(Form1& form, const std::string& strPath) {
  cIni ini;
  ini.FileName(strPath);
  ApplySearchSettings(
      form, [&ini](const TextSetting& key) { return ReadSetting(ini, key); },
      [&ini](const NumberSetting& key) { return ReadSetting(ini, key); });
}

void ApplyFirstStartSettings(Form1& form) {
  ApplySearchSettings(
      form, [](const TextSetting& key) { return std::string(key.fallback); },
      [](const NumberSetting& key) { return key.fallback; });
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
    if (ReadSetting(ini, setting::VersionMajor).empty()) {
      form.SetStatusText(strPath + "\r\n" + "\r\n" + kNotAProfile);
      return false;
    }
  }

  ReadSearchSettings(form, strPath);
  ReadInternetSettings(form.internetOptions, strPath, isSettingsFile);

  if (isSettingsFile) {
    form.layout.Left = ReadSetting(ini, setting::WindowLeft);
    form.layout.Top = ReadSetting(ini, setting::WindowTop);
    form.layout.Width = ReadSetting(ini, setting::WindowWidth);
    form.layout.Height = ReadSetting(ini, setting::WindowHeight);
    for (size_t i = 0; i < setting::ColumnWidths.size(); ++i)
      form.columnWidths[i] = ReadSetting(ini, setting::ColumnWidths[i]);
    return true;
  }

  ini.Section(setting::kLinksSection);
  std::vector<std::string> lines;
  ini.GetAllKey(lines);
  form.m_astrStoredLinks = std::move(lines);
  lngCount = static_cast<int32_t>(form.m_astrStoredLinks.size());
  return true;
}

}  // namespace vendil
