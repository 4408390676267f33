// The run session of vendil-cli: the form built and set up from the settings file and the
// command line, and the list printed at the end.
#include "cli/session.h"

#include <algorithm>
#include <charconv>
#include <iostream>
#include <limits>
#include <ostream>
#include <string_view>

#include "cli/download_after_run.h"
#include "cli/handoff.h"
#include "commands/check_links.h"
#include "commands/main_commands.h"
#include "commands/new_links.h"
#include "export/json_value.h"
#include "net/user_agent.h"
#include "newlinks/internet_settings.h"
#include "newlinks/search_profile.h"
#include "platform/atomic_file.h"
#include "platform/program_folder.h"
#include "settings/c_ini.h"

namespace vendil::cli {

namespace {

// A whole decimal number within [low, high], else nullopt.
std::optional<int32_t> ParseNumber(const std::string& text, int32_t low, int32_t high) {
  int32_t value = 0;
  const char* first = text.data();
  const char* last = text.data() + text.size();
  auto [end, ec] = std::from_chars(first, last, value);
  if (ec != std::errc() || end != last || value < low || value > high) return std::nullopt;
  return value;
}

std::optional<int32_t> ParseTags(const std::string& text) {
  return ParseNumber(text, 0, std::numeric_limits<int32_t>::max());
}

// "none", or [http://][USER[:PASSWORD]@]HOST[:PORT] (port 8080 when not given).
std::optional<std::string> ApplyProxy(InternetOptions& o, const std::string& text) {
  if (text == "none") {
    o.proxyMode = InternetOptions::ProxyMode::None;
    return std::nullopt;
  }
  std::string rest = text;
  if (rest.rfind("http://", 0) == 0) rest = rest.substr(7);
  if (rest.find("://") != std::string::npos || rest.find('/') != std::string::npos)
    return "--proxy wants none or [http://][USER[:PASSWORD]@]HOST[:PORT], not " + text;
  std::string user, password;
  if (const size_t at = rest.rfind('@'); at != std::string::npos) {
    const std::string credentials = rest.substr(0, at);
    rest = rest.substr(at + 1);
    const size_t colon = credentials.find(':');
    user = credentials.substr(0, colon);
    if (colon != std::string::npos) password = credentials.substr(colon + 1);
  }
  int32_t port = 8080;
  if (const size_t colon = rest.rfind(':'); colon != std::string::npos) {
    const auto parsed = ParseNumber(rest.substr(colon + 1), 1, 65535);
    if (!parsed) return "--proxy: no port in " + text;
    port = *parsed;
    rest = rest.substr(0, colon);
  }
  if (rest.empty()) return "--proxy: no host in " + text;
  o.proxyMode = InternetOptions::ProxyMode::Manual;
  o.proxyHost = rest;
  o.proxyPort = port;
  o.proxyUser = user;
  o.proxyPassword = password;
  return std::nullopt;
}

std::optional<std::string> ApplyInternetOptions(InternetOptions& o, const Options& options) {
  if (options.proxy) {
    if (auto error = ApplyProxy(o, *options.proxy)) return error;
  }
  if (options.connections) {
    const auto n = ParseNumber(*options.connections, 1, kMaxConnections);
    if (!n)
      return "--connections wants a number from 1 to " + std::to_string(kMaxConnections) +
             ", not " + *options.connections;
    o.connections = *n;
  }
  if (options.delay) {
    const auto ms = ParseNumber(*options.delay, 0, kMaxDelayMs);
    if (!ms)
      return "--delay wants milliseconds from 0 to " + std::to_string(kMaxDelayMs) + ", not " +
             *options.delay;
    o.delayMs = *ms;
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::string> SettingsFileProblem(const std::string& file, bool mayBeMissing) {
  switch (KindOfFileToRead(file)) {
    case FileKind::kRegular:
      return std::nullopt;
    case FileKind::kMissing:
      if (mayBeMissing) return std::nullopt;
      return "cannot read the settings file " + file + ": no such file";
    case FileKind::kNotRegular:
      return "cannot read the settings file " + file + ": not a regular file";
    case FileKind::kTooLarge:
      return "cannot read the settings file " + file + ": larger than " +
             std::to_string(kMaxWholeFileBytes >> 20) + " MiB";
    case FileKind::kNoAccess:
      break;
  }
  return "cannot read the settings file " + file + ": it cannot be opened";
}

std::optional<std::string> ApplySettingsFile(Form1& form, const std::string& file) {
  if (auto problem = SettingsFileProblem(file, false)) return problem;
  ReadSearchSettings(form, file);
  ReadInternetSettings(form.internetOptions, file, true);
  return std::nullopt;
}

std::optional<std::string> ApplyCommandLine(Form1& form, const Options& o) {
  if (o.url) form.txtUrl.SetText(*o.url);
  if (o.mask) form.txtMask.SetText(*o.mask);
  if (o.depth) form.txtDepth.SetText(*o.depth);
  if (o.urlFilter) form.txtGetUrls.SetText(*o.urlFilter);
  if (o.contentType) form.txtContentType.SetText(*o.contentType);
  if (o.saveFolder) form.txtSaveFolder.SetText(*o.saveFolder);
  if (o.customTags) form.m_strCustomTags = *o.customTags;
  if (o.tags) {
    std::optional<int32_t> tags = ParseTags(*o.tags);
    if (!tags)
      return "--tags wants a number (1 a href, 2 frame, 4 iframe, 8 img, 16 area, 32 "
             "custom), not " +
             *o.tags;
    form.m_lngSearchTags = *tags;
    form.RefreshTagMenu();
  }
  if (o.script) {
    if (!form.cmbScript.SetText(*o.script)) return "no script named " + *o.script;
  }
  if (o.otherServers) form.mnuOption_DifferentServer.SetChecked(true);
  if (o.upperDirs) form.mnuOption_ParentDirectory.SetChecked(true);
  if (o.briefcaseDirs) form.mnuOption_UseBriefcaseDirectory.SetChecked(true);
  if (o.alwaysBriefcase) form.mnuOption_OnlyUseYahooBriefcase.SetChecked(true);
  return ApplyInternetOptions(form.internetOptions, o);
}

void AppendTsvField(std::string& line, std::string_view text) {
  const size_t from = line.size();
  line += text;
  unsigned char low = 0xFF;  // the smallest byte: TAB, CR and LF are all below 0x20
  for (const char c : text) low = std::min(low, static_cast<unsigned char>(c));
  if (low >= 0x20) return;
  for (size_t k = from; k < line.size(); ++k) {
    char& c = line[k];
    if (c == '\t' || c == '\r' || c == '\n') c = ' ';
  }
}

void PrintRowsTsv(const Form1& form, std::ostream& out, bool withChecks) {
  // Rows go out in large blocks: a stream insertion per cell cost more than the crawl's
  // own bookkeeping on a big list.
  constexpr size_t kBlock = size_t{1} << 16;
  std::string block;
  block.reserve(kBlock + 4096);
  auto cell = [&block](std::string_view text) { AppendTsvField(block, text); };
  const LinkList& list = form.lvwUrls;
  // The texts are read in place rather than copied into a row.
  constexpr LinkColumn kColumns[] = {LinkColumn::FileName, LinkColumn::Url,
                                     LinkColumn::Referer,  LinkColumn::Title,
                                     LinkColumn::Folder,   LinkColumn::DownloadFolder,
                                     LinkColumn::Depth};
  for (size_t i = 1; i <= list.Count(); ++i) {
    block += list.Checked(i) ? '1' : '0';
    for (const LinkColumn column : kColumns) {
      block += '\t';
      cell(list.Text(i, column));
    }
    if (withChecks) {
      // Size, type and state; empty where the check learnt nothing.
      const RowCheck* check = list.Check(i);
      block += '\t';
      if (check != nullptr && check->size >= 0) block += std::to_string(check->size);
      block += '\t';
      if (check != nullptr) cell(check->type);
      block += '\t';
      if (check != nullptr) cell(CheckStateWord(*check));
    }
    block += '\n';
    if (block.size() >= kBlock) {
      out.write(block.data(), static_cast<std::streamsize>(block.size()));
      block.clear();
    }
  }
  out.write(block.data(), static_cast<std::streamsize>(block.size()));
}

void PrintRowsJson(const Form1& form, std::ostream& out, bool withChecks) {
  const LinkList& list = form.lvwUrls;
  out << '[';
  for (size_t i = 1; i <= list.Count(); ++i) {
    const LinkRow& r = list.Row(i);
    out << (i > 1 ? ",\n " : "\n ") << "{\"checked\": " << (list.Checked(i) ? "true" : "false");
    const std::pair<const char*, const std::string*> fields[] = {
        {"FileName", &r.FileName}, {"Url", &r.Url},       {"Referer", &r.Referer},
        {"Title", &r.Title},       {"Folder", &r.Folder}, {"DownloadFolder", &r.DownloadFolder},
        {"Depth", &r.Depth}};
    for (const auto& [key, value] : fields) {
      out << ", \"" << key << "\": ";
      out << JsonQuote(*value);
    }
    if (withChecks) {
      const RowCheck* check = list.Check(i);
      out << ", \"size\": ";
      if (check != nullptr && check->size >= 0) {
        out << check->size;
      } else {
        out << "null";
      }
      out << ", \"type\": " << (check ? JsonQuote(check->type) : std::string("null"));
      out << ", \"state\": " << (check ? JsonQuote(CheckStateWord(*check)) : std::string("null"));
    }
    out << '}';
  }
  out << (list.Count() ? "\n]\n" : "]\n");
}

void PrintRows(const Form1& form, const std::string& format, std::ostream& out, bool withChecks) {
  if (format == "json") {
    PrintRowsJson(form, out, withChecks);
  } else {
    PrintRowsTsv(form, out, withChecks);
  }
}

Session::Session(const Options& options) : options_(options), form_(ui_) {}

Session::~Session() = default;

std::optional<std::string> Session::Prepare() {
  form_.programFolder = ProgramDataFolder();
  form_.settingsFile = SettingsFilePath(form_.programFolder);
  form_.userAgent = BuildUserAgent();
  // Only --save-settings reads and writes the settings file as the window does, so a
  // scripted run never changes a user's settings by surprise.
  // A settings file that cannot be read would be taken for an empty one, and the save at
  // the end would fail: say so before anything runs.
  if (options_.saveSettings) {
    if (auto problem = SettingsFileProblem(form_.settingsFile, true)) return problem;
  }
  LoadMainWindow(form_, options_.saveSettings);
  if (options_.settingsFile) {
    if (auto error = ApplySettingsFile(form_, *options_.settingsFile)) return error;
  }
  if (auto error = ApplyCommandLine(form_, options_)) return error;
  form_.Inet1.SetConnectTo(options_.connectTo);

  // Without --save-settings the stored ID and password still answer the dialog, but what
  // this run types or is given stays in the run.
  cIni signIn;
  signIn.FileName(form_.settingsFile);
  signIn.Section(setting::SignInId.section);
  if (!options_.saveSettings)
    form_.signInForRun = Form1::SignInValues{ReadSetting(signIn, setting::SignInId),
                                             ReadSetting(signIn, setting::SignInPassword)};
  if (options_.id) {
    if (form_.signInForRun)
      form_.signInForRun->id = *options_.id;
    else
      WriteSetting(signIn, setting::SignInId, *options_.id);
  }
  if (options_.passwordStdin) {
    std::string password;
    std::getline(std::cin, password);
    if (!password.empty() && password.back() == '\r') password.pop_back();
    if (form_.signInForRun)
      form_.signInForRun->password = password;
    else
      WriteSetting(signIn, setting::SignInPassword, password);
  }
  ui_.SetSignInWithoutTerminal(options_.signIn);
  ui_.SetStopFlag(&form_.m_blnStop);
  ui_.CatchInterrupt();
  return std::nullopt;
}

int Session::Finish(std::ostream& out) {
  // A Ctrl+C that came after the search's last look at it still counts as Stop.
  ui_.Yield();
  if (options_.head && !form_.m_blnStop) CheckRowsBeforePrinting();
  PrintRows(form_, options_.format, out, options_.head);
  out.flush();
  const bool stopped = form_.m_blnStop;
  int status = HandOffAfterRun(form_, options_);
  // --download: after the rows are printed, so stdout is what it is without it.
  if (options_.download && !stopped && !DownloadAfterRun(form_, ui_)) status = 1;
  const bool downloadStopped = options_.download && form_.m_blnStop && !stopped;
  if (!SaveSettingsIfAsked() && status == kExitRan) status = kExitFailed;
  ui_.FinishStatus(form_.StatusText());
  if (stopped || downloadStopped) return kExitStopped;
  if (status != kExitRan) return status;
  return form_.startPageFailed ? kExitStartPageUnread : kExitRan;
}

void Session::CheckRowsBeforePrinting() {
  // The search's last status was said when it ended; the check's is the run's last word.
  CheckListRows(form_, RowsToCheck::All);
}

bool Session::SaveSettingsIfAsked() {
  if (!options_.saveSettings || UnloadMainWindow(form_)) return true;
  ui_.MessageBox(ProfileNotSavedText(form_.settingsFile), kProductTitle,
                 vb::OKOnly | vb::Exclamation);
  return false;
}

}  // namespace vendil::cli
