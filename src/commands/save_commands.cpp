// The save dialog, the list file exports and the clipboard copy.
#include "commands/save_commands.h"

#include <exception>

#include "platform/atomic_file.h"
#include "platform/date_text.h"
#include "settings/c_ini.h"

namespace vendil {

namespace {}

bool ReportEmptyList(Form1& form) {
  if (form.lvwUrls.Count() != 0) return false;
  form.ui().MessageBox("データがありません。", kProductTitle, vb::OKOnly | vb::Exclamation);
  return true;
}

void RememberSaveFolder(Form1& form, const std::string& savedPath) {
  cIni ini;
  ini.FileName(form.settingsFile);
  // The folder is a convenience for the next dialog; the file itself is saved, so a
  // settings file that cannot take it changes nothing the user has.
  WriteSetting(ini, setting::SaveFolder, GetParentFolder(savedPath));
}

bool AskSaveFileName(Form1& form, const std::string& strFilter, const std::string& strDefaultExt,
                     std::string& strFileName) {
  try {
    cIni ini;
    ini.FileName(form.settingsFile);
    FileDialogRequest request;
    request.save = true;
    request.initialDir = ReadSetting(ini, setting::SaveFolder);
    request.defaultExt = strDefaultExt;
    request.fileName = strFileName;
    request.title = "ファイルの保存";
    request.filter = strFilter + "|すべてのファイル(*.*)|*.*";
    request.overwritePrompt = true;
    const auto chosen = form.ui().FileDialog(request);
    if (!chosen || chosen->empty()) return false;
    strFileName = *chosen;
    return true;
  } catch (const std::exception& e) {
    // The settings file could not be read or written (or memory ran out): say so rather
    // than act as if the user had cancelled.
    form.ui().MessageBox(std::string("ファイルの保存先を選べません。\r\n") + e.what(),
                         kProductTitle, vb::OKOnly | vb::Exclamation);
    return false;
  }
}

HandOffResult SaveListFile(Form1& form, ListFormat format, const std::string& strFolder,
                           const std::string& path, const std::string& dateText) {
  if (ReportEmptyList(form)) return HandOffResult::NoData;
  const bool useBriefcaseDirectory = form.mnuOption_UseBriefcaseDirectory.Checked();
  const std::string bytes =
      ListFileBytes(format, form.lvwUrls, strFolder, useBriefcaseDirectory, dateText);
  std::string error;
  if (!WriteFileAtomically(path, bytes, &error)) {
    form.ui().MessageBox("ファイルを保存できません。\r\n" + path + "\r\n" + error, kProductTitle,
                         vb::OKOnly | vb::Exclamation);
    return HandOffResult::Failed;
  }
  form.ui().MessageBox(path + "\r\nに保存しました。", kProductTitle, vb::OKOnly);
  return HandOffResult::Done;
}

HandOffResult SaveListFileAsk(Form1& form, ListFormat format, const std::string& strFolder) {
  if (ReportEmptyList(form)) return HandOffResult::NoData;
  const ListFormatInfo& info = FormatInfo(format);
  // Taken once, before the dialog, so every record carries the same moment.
  const std::string dateText = info.usesDate ? GeneralDateTextNow() : std::string();
  std::string fileName = info.defaultName;
  if (!AskSaveFileName(form, info.filter, info.defaultExt, fileName)) {
    return HandOffResult::Cancelled;
  }
  const HandOffResult result = SaveListFile(form, format, strFolder, fileName, dateText);
  // Only a folder the file went into is where the next dialog opens, not one that failed.
  if (result == HandOffResult::Done) RememberSaveFolder(form, fileName);
  return result;
}

void SaveToText(Form1& form) { SaveListFileAsk(form, ListFormat::Text, ""); }
void SaveToIri(Form1& form, const std::string& strFolder) {
  SaveListFileAsk(form, ListFormat::Iri, strFolder);
}
void SaveToIrv(Form1& form, const std::string& strFolder) {
  SaveListFileAsk(form, ListFormat::Irv, strFolder);
}
void SaveToWrg(Form1& form, const std::string& strFolder) {
  SaveListFileAsk(form, ListFormat::Wrg, strFolder);
}
void SaveToGrx(Form1& form, const std::string& strFolder) {
  SaveListFileAsk(form, ListFormat::Grx, strFolder);
}
void SaveToAria2(Form1& form, const std::string& strFolder) {
  SaveListFileAsk(form, ListFormat::Aria2, strFolder);
}

HandOffResult CopyUrls(Form1& form) {
  if (ReportEmptyList(form)) return HandOffResult::NoData;
  std::string text;
  size_t copied = 0;
  for (size_t i = 1; i <= form.lvwUrls.Count(); ++i) {
    if (!form.lvwUrls.Checked(i)) continue;
    text += form.lvwUrls.Row(i).Url + "\r\n";
    ++copied;
  }
  form.ui().SetClipboardText(text);
  form.SetStatusText(std::to_string(copied) + kCopiedUrlsText);
  return HandOffResult::Done;
}

}  // namespace vendil
