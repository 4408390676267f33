// The three new-links commands of the Go menu: writing a profile, checking one, and checking
// every profile a list file names, each behind its file dialog.
#include "commands/new_links.h"

#include "commands/main_commands.h"
#include "commands/one_search.h"
#include "newlinks/search_profile.h"
#include "parse/mod_string.h"
#include "settings/c_ini.h"

namespace vendil {

namespace {

enum class NewLinksDialog { kCreate, kCheckOne, kCheckList };

// The file dialog of one command, opening in the folder chosen last; the chosen path, or
// nullopt when cancelled. The chosen folder is remembered for the next dialog.
std::optional<std::string> AskNewLinksFile(Form1& form, NewLinksDialog kind) {
  cIni ini;
  ini.FileName(form.settingsFile);
  FileDialogRequest request;
  request.save = kind == NewLinksDialog::kCreate;
  request.overwritePrompt = request.save;
  request.fileMustExist = !request.save;
  request.filter =
      kind == NewLinksDialog::kCheckList ? kNewLinksListFilter : kNewLinksProfileFilter;
  request.defaultExt = kind == NewLinksDialog::kCheckList ? ".txt" : ".nlc";
  request.fileName = kind == NewLinksDialog::kCheckList ? "list.txt" : "new.nlc";
  request.initialDir = ReadSetting(ini, setting::NewLinksFolder);
  std::optional<std::string> chosen = form.ui().FileDialog(request);
  if (!chosen) return std::nullopt;
  WriteSetting(ini, setting::NewLinksFolder, GetParentFolder(*chosen));
  return chosen;
}

}  // namespace

std::string ProfileSavedText(const std::string& strPath) {
  return "ファイル\"" + strPath + "\"に保存されました。";
}

std::string ProfileNotSavedText(const std::string& strPath) {
  return "ファイル\"" + strPath + "\"に保存できませんでした。";
}

std::string ProfileNotUpdatedText(const std::string& strPath) {
  return "ファイル\"" + strPath + "\"を更新できませんでした。";
}

bool SaveNewLinksFile(Form1& form, const std::string& strPath) {
  // A profile that could not be written must not be reported as saved.
  const bool saved = SaveProfile(form, strPath, false);
  if (saved) {
    form.ui().MessageBox(ProfileSavedText(strPath), kProductTitle, vb::OKOnly);
  } else {
    form.ui().MessageBox(ProfileNotSavedText(strPath), kProductTitle, vb::OKOnly | vb::Exclamation);
  }
  return saved;
}

void CreateNewLinksFile(Form1& form) {
  std::optional<std::string> path = AskNewLinksFile(form, NewLinksDialog::kCreate);
  if (!path) return;
  SaveNewLinksFile(form, *path);
}

NewLinksResult CheckNewLinksFile(Form1& form, const std::string& strPath) {
  form.lvwUrls.Clear();
  form.ForgetSkippedLinks();
  form.m_blnMultiCheck = false;
  const NewLinksResult result = CheckProfile(form, strPath);
  form.ui().MessageBox(form.StatusText(), kProductTitle, vb::OKOnly);
  return result;
}

bool StartNewLinks(Form1& form) {
  const SearchSlot slot(form);
  if (!slot.Taken()) return false;
  std::optional<std::string> path = AskNewLinksFile(form, NewLinksDialog::kCheckOne);
  if (!path || path->empty()) return false;
  return CheckNewLinksFile(form, *path) == NewLinksResult::kDone;
}

std::optional<std::string> CheckNewLinksList(Form1& form, const std::string& strListPath) {
  // A list that cannot be read is said so, never run as an empty one.
  const FileKind kind = KindOfFileToRead(strListPath);
  std::string problem =
      kind == FileKind::kMissing ? std::string(kFileNotFoundText) : FileProblemText(kind);
  const std::string text = problem.empty() ? ReadTextFile(strListPath) : std::string();
  if (problem.empty() && !IsListText(text)) problem = kNotAListText;
  // A list whose lines name nothing on disk would run nothing and show an empty log.
  if (problem.empty()) {
    bool namesAFile = false;
    ForEachListLine(text, [&namesAFile](std::string_view raw) {
      namesAFile = FileExists(TrimBlanks(std::string(raw)));
      return !namesAFile;
    });
    if (!namesAFile) problem = kNoProfileInListText;
  }
  if (!problem.empty()) {
    form.ui().MessageBox(strListPath + "\r\n" + "\r\n" + problem, kProductTitle, vb::OKOnly);
    return std::nullopt;
  }
  form.lvwUrls.Clear();
  form.ForgetSkippedLinks();
  form.m_blnMultiCheck = true;
  // A Stop pressed while nothing ran must not end this run at its first failing profile.
  form.m_blnStop = false;
  std::string log;
  ForEachListLine(text, [&](std::string_view raw) {
    const std::string line = TrimBlanks(std::string(raw));
    if (!FileExists(line)) return true;
    log += line + "\r\n";
    const bool ok = RunNewLinksCheck(form, line);
    log += ">" + form.StatusText() + "\r\n";
    return ok || !form.m_blnStop;
  });
  form.ui().ShowLog(LogTextForDisplay(log));
  form.m_blnMultiCheck = false;
  return log;
}

void StartNewLinksList(Form1& form) {
  const SearchSlot slot(form);
  if (!slot.Taken()) return;
  std::optional<std::string> path = AskNewLinksFile(form, NewLinksDialog::kCheckList);
  if (!path) return;
  CheckNewLinksList(form, *path);
}

}  // namespace vendil
