// Start, Stop, several URLs, tag items, custom tags and the log rule.
#include "commands/main_commands.h"

#include <cstdint>

#include "commands/dispatch.h"
#include "commands/one_search.h"
#include "crawl/add_url_script.h"
#include "newlinks/search_profile.h"
#include "parse/mod_string.h"
#include "platform/casefold.h"

namespace vendil {

namespace {

// Lines that are searched: http:// and https:// URLs, letter case aside.
bool IsSearchableLine(const std::string& line) {
  return StartsWithNoCase(line, "http://") || StartsWithNoCase(line, "https://");
}

bool IsUtf8Continuation(unsigned char c) { return (c & 0xC0) == 0x80; }

}  // namespace

bool SearchTypedUrl(Form1& form) {
  form.lvwUrls.Clear();
  form.ForgetSkippedLinks();
  form.m_blnStop = false;
  form.m_blnMultiCheck = false;
  form.startPageFailed = false;
  return DispatchSearch(form);
}

void StartSearch(Form1& form) {
  const SearchSlot slot(form);
  if (!slot.Taken()) return;
  SearchTypedUrl(form);
  form.ui().MessageBox(form.StatusText(), kProductTitle, vb::OKOnly);
}

std::string SearchUrlLines(Form1& form, const std::string& strUrls) {
  const std::vector<std::string> lines = SplitText(strUrls, "\r\n");
  form.lvwUrls.Clear();
  form.ForgetSkippedLinks();
  form.m_blnStop = false;
  form.m_blnMultiCheck = false;
  form.startPageFailed = false;
  std::string log;
  for (const std::string& raw : lines) {
    const std::string line = TrimBlanks(raw);
    if (!IsSearchableLine(line)) continue;
    form.txtUrl.SetText(line);
    log += line + "\r\n";
    const bool ok = DispatchSearch(form);
    log += ">" + form.StatusText() + "\r\n";
    if (!ok && form.m_blnStop) break;
  }
  return log;
}

void SearchSeveralUrls(Form1& form) {
  const SearchSlot slot(form);
  if (!slot.Taken()) return;
  std::optional<std::string> text = form.ui().ShowMultiUrlDialog();
  if (!text) return;
  const std::string log = SearchUrlLines(form, *text);
  form.ui().ShowLog(LogTextForDisplay(log));
}

void StopSearch(Form1& form) { form.m_blnStop = true; }

void ClickTagItem(Form1& form, int index) {
  if (index < 0 || index >= kTagItemCount) return;
  form.m_lngSearchTags ^= int32_t{1} << index;
  form.RefreshTagMenu();
}

void SetCustomTags(Form1& form) {
  std::optional<std::string> answer =
      form.ui().InputBox(kCustomTagsPrompt, kCustomTagsTitle, form.m_strCustomTags);
  if (answer && !answer->empty()) form.m_strCustomTags = *answer;
}

std::string LogTextForDisplay(const std::string& strMessage) {
  constexpr size_t kMaxCharacters = 64000;
  constexpr size_t kKeptCharacters = 63997;
  // Characters, not bytes: count the starts of UTF-8 sequences.
  size_t characters = 0;
  size_t cut = std::string::npos;
  for (size_t i = 0; i < strMessage.size(); ++i) {
    if (IsUtf8Continuation(static_cast<unsigned char>(strMessage[i]))) continue;
    if (characters == kKeptCharacters) cut = i;
    ++characters;
    if (characters > kMaxCharacters) return strMessage.substr(0, cut) + "...";
  }
  return strMessage;
}

bool LoadMainWindow(Form1& form, bool withSettingsFile) {
  form.m_blnSignedIn = false;
  FillScriptList(form);
  // After the script list: the stored script name is looked up in it.
  bool read = true;
  if (withSettingsFile) {
    int32_t unused = 0;
    read = LoadProfile(form, form.settingsFile, true, unused);
  } else {
    ApplyFirstStartSettings(form);
  }
  CreateScriptEngine(form);
  return read;
}

bool UnloadMainWindow(Form1& form) { return SaveProfile(form, form.settingsFile, true); }

}  // namespace vendil
