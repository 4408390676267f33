// Sending the checked rows to Iria, Irvine, FlashGet and ReGet by automation.
#include "commands/send_commands.h"

#include <memory>
#include <vector>

#include "export/target_folder.h"
#include "platform/casefold.h"
#include "settings/c_ini.h"

namespace vendil {

namespace {

void ShowFailure(Form1& form, const std::string& text) {
  form.ui().MessageBox(text, kProductTitle, vb::OKOnly | vb::Exclamation);
}

std::shared_ptr<AutomationObject> CreateOrReport(Form1& form, const AutomationFactory& factory,
                                                 const char* progId, const char* notInstalled) {
  std::string error;
  auto object = factory.Create(progId, &error);
  if (!object) ShowFailure(form, notInstalled);
  return object;
}

// A call the server refused: the manager's name and the error, then the operation stops.
HandOffResult ReportCallFailure(Form1& form, const std::string& manager, const AutomationError& e) {
  ShowFailure(form, manager + "への送信に失敗しました。\r\n" + e.what());
  return HandOffResult::Failed;
}

}  // namespace

AutomationFactory AutomationFactoryFromSettings(const std::string& settingsFile) {
  AutomationFactory factory;
  if (settingsFile.empty()) return factory;
  cIni ini;
  ini.FileName(settingsFile);
  std::string recordFile = ReadSetting(ini, setting::AutomationRecordFile);
  if (recordFile.empty()) return factory;
  if (recordFile.front() != '/') recordFile = GetParentFolder(settingsFile) + recordFile;
  RegisterRecordingServers(factory, recordFile, ReadSetting(ini, setting::IrvineQueueFolder));
  return factory;
}

std::string ManagerListText(const LinkList& list, const std::string& strFolder,
                            bool useBriefcaseDirectory) {
  std::string text;
  for (size_t i = 1; i <= list.Count(); ++i) {
    if (!list.Checked(i)) continue;
    const LinkRow& row = list.Row(i);
    text += "Url=" + row.Url + "\r\n";
    text += "Comment=" + row.Title + "\r\n";
    text += "Folder=" + RowTargetFolder(row, strFolder, useBriefcaseDirectory) + "\r\n";
    text += "ID=1\r\n";
    text += "HttpRefererType=4\r\n";
    text += "HttpRefererStr=" + row.Referer + "\r\n";
    text += "\r\n";
  }
  return text;
}

HandOffResult SendToIria(Form1& form, const std::string& strFolder,
                         const AutomationFactory& factory) {
  if (ReportEmptyList(form)) return HandOffResult::NoData;
  auto iria =
      CreateOrReport(form, factory, kProgIdIria, "Iriaが正常にインストールされていません。");
  if (!iria) return HandOffResult::Failed;
  const std::string text =
      ManagerListText(form.lvwUrls, strFolder, form.mnuOption_UseBriefcaseDirectory.Checked());
  try {
    iria->Call("AddIRI", {AutomationValue(text)});
  } catch (const AutomationError& e) {
    return ReportCallFailure(form, "Iria", e);
  }
  return HandOffResult::Done;
}

HandOffResult SendToIrvine(Form1& form, const std::string& strFolder,
                           const AutomationFactory& factory) {
  if (ReportEmptyList(form)) return HandOffResult::NoData;
  auto irvine =
      CreateOrReport(form, factory, kProgIdIrvine, "Irvineが正常にインストールされていません。");
  if (!irvine) return HandOffResult::Failed;
  // Links added while the trash queue is current would go straight to the trash.
  try {
    const AutomationValue queue = irvine->Get("CurrentQueueFolder");
    if (queue.AsString() && EqualsNoCase(*queue.AsString(), "/Trash")) {
      irvine->Set("CurrentQueueFolder", AutomationValue("/Default"));
    }
  } catch (const AutomationError&) {
    // The queue folder is a courtesy: the list goes in all the same.
  }
  const std::string text =
      ManagerListText(form.lvwUrls, strFolder, form.mnuOption_UseBriefcaseDirectory.Checked());
  try {
    irvine->Call("AddIRI", {AutomationValue(text)});
  } catch (const AutomationError& e) {
    return ReportCallFailure(form, "Irvine", e);
  }
  return HandOffResult::Done;
}

HandOffResult SendToFlashGet(Form1& form, const std::string& strFolder,
                             const AutomationFactory& factory) {
  (void)strFolder;
  if (ReportEmptyList(form)) return HandOffResult::NoData;
  auto jetcar = CreateOrReport(form, factory, kProgIdFlashGet,
                               "FlashGetが正常にインストールされていません。");
  if (!jetcar) return HandOffResult::Failed;
  AutomationValue::Array urls;
  urls.emplace_back(form.txtUrl.Text());
  for (size_t i = 1; i <= form.lvwUrls.Count(); ++i) {
    if (!form.lvwUrls.Checked(i)) continue;
    urls.emplace_back(form.lvwUrls.Row(i).Url);
    urls.emplace_back(form.lvwUrls.Row(i).Title);
  }
  try {
    jetcar->Call("AddUrlList", {AutomationValue(std::move(urls))});
  } catch (const AutomationError& e) {
    return ReportCallFailure(form, "FlashGet", e);
  }
  return HandOffResult::Done;
}

HandOffResult SendToReget(Form1& form, const std::string& strFolder,
                          const AutomationFactory& factory) {
  (void)strFolder;
  if (ReportEmptyList(form)) return HandOffResult::NoData;
  auto list = CreateOrReport(form, factory, kProgIdRegetList,
                             "ReGet(ClickCatcher)が正常にインストールされていません。");
  if (!list) return HandOffResult::Failed;
  try {
    for (size_t i = 1; i <= form.lvwUrls.Count(); ++i) {
      if (!form.lvwUrls.Checked(i)) continue;
      const LinkRow& row = form.lvwUrls.Row(i);
      std::string error;
      auto download = factory.Create(kProgIdRegetDownload, &error);
      if (!download) throw AutomationError(error);
      download->Set("Url", AutomationValue(row.Url));
      download->Set("Info", AutomationValue(row.Title));
      download->Set("Referer", AutomationValue(row.Referer));
      list->Call("AddDownloadToList", {AutomationValue(download)});
    }
    list->Call("UrlList", {});
  } catch (const AutomationError& e) {
    return ReportCallFailure(form, "ReGet", e);
  }
  return HandOffResult::Done;
}

void SendToIria(Form1& form, const std::string& strFolder) {
  SendToIria(form, strFolder, AutomationFactoryFromSettings(form.settingsFile));
}
void SendToIrvine(Form1& form, const std::string& strFolder) {
  SendToIrvine(form, strFolder, AutomationFactoryFromSettings(form.settingsFile));
}
void SendToFlashGet(Form1& form, const std::string& strFolder) {
  SendToFlashGet(form, strFolder, AutomationFactoryFromSettings(form.settingsFile));
}
void SendToReget(Form1& form, const std::string& strFolder) {
  SendToReget(form, strFolder, AutomationFactoryFromSettings(form.settingsFile));
}

}  // namespace vendil
