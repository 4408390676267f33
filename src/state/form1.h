// The main-window state: what the window shows and the user sets (text fields, option check
// items, tag items, the link list, layout, the status text), read by searches and commands
// at the time of use; the state of one search lives in its SearchRun. It knows nothing of widgets;
// a window or a terminal front end drives it through the `Ui` it was made with.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "list/link_list.h"
#include "platform/http_control.h"
#include "platform/internet_options.h"
#include "settings/settings_keys.h"
#include "state/fields.h"
#include "state/skipped_links.h"
#include "state/ui.h"

namespace vendil {

// The engine object a window creates at load; concrete type lives with the script host.
class ScriptSlot {
 public:
  virtual ~ScriptSlot() = default;
};

// Twelve texts by which the briefcase scan knows one site of the service.
struct BriefcaseMarkerSet {
  std::string SignInText, SignOutText, CheckAllText, ShowAllText, LastModifiedText, EmptyFolderText,
      DisabledText, NotFoundText, VerifyPasswordText, SignedInTitle, BriefcaseTitle, SiteRoot;
};

// Position and size in twips, and the state the window was in when last seen.
struct WindowLayout {
  int Left = setting::WindowLeft.fallback, Top = setting::WindowTop.fallback,
      Width = setting::WindowWidth.fallback, Height = setting::WindowHeight.fallback;
  bool Minimized = false, Maximized = false;
};

inline constexpr int kTagItemCount = 6;

class Form1 {
 public:
  explicit Form1(Ui& ui);
  ~Form1();
  Form1(const Form1&) = delete;
  Form1& operator=(const Form1&) = delete;

  Ui& ui() { return ui_; }

  // Status text of StatusBar1.
  const std::string& StatusText() const { return status_; }
  void SetStatusText(std::string text);

  // Tag items 0..5 follow the bits of m_lngSearchTags.
  void RefreshTagMenu();

  // Fields.
  TextField txtUrl, txtSaveFolder, txtMask, txtDepth, txtGetUrls, txtContentType;
  ComboField cmbScript;
  // The four option switches: the check marks are the options.
  CheckItem mnuOption_UseBriefcaseDirectory, mnuOption_DifferentServer, mnuOption_ParentDirectory,
      mnuOption_OnlyUseYahooBriefcase;
  std::array<CheckItem, kTagItemCount> mnuOption_Tag_Tags;

  // Members.
  bool m_blnStop = false;
  int32_t m_lngSearchTags = 1;
  std::string m_strCustomTags;
  bool m_blnMultiCheck = false;
  bool m_blnSignedIn = false;
  // A search of the running command could not read its start page (set from each search's
  // own state when it ends, cleared when a command starts): an unreachable page is not an
  // empty one.
  bool startPageFailed = false;
  // What the searches since the list was last cleared met and did not read, gathered from
  // each search's own record when it ends. Replaced, never changed in place: a window
  // showing it keeps the one it took.
  std::shared_ptr<const SkippedLinks> skippedLinks = std::make_shared<const SkippedLinks>();
  void ForgetSkippedLinks() { skippedLinks = std::make_shared<const SkippedLinks>(); }
  void KeepSkippedLinks(SkippedLinks&& ofOneSearch);
  // A command's searches are running: a second command that would start a search inside
  // them is refused (one search at a time, one finish box per search).
  bool searchRunning = false;
  std::unique_ptr<ScriptSlot> m_objScript;

  // Briefcase marker set loaded last (0: none yet).
  BriefcaseMarkerSet m_markers;
  int32_t m_lngLoadedMarkerSet = 0;

  // Stored-links list of the profile loaded last.
  std::vector<std::string> m_astrStoredLinks;

  // Window layout and list column widths (twips), restored and saved with the settings.
  WindowLayout layout;
  std::array<int, setting::kColumnCount> columnWidths = [] {
    std::array<int, setting::kColumnCount> widths{};
    for (size_t i = 0; i < widths.size(); ++i) widths[i] = setting::ColumnWidths[i].fallback;
    return widths;
  }();

  // Proxy, time-outs and politeness of the HTTP control, applied when a search starts.
  InternetOptions internetOptions;

  // The User-Agent header line, built once for the run.
  std::string userAgent;
  // Folder of help/ and scripts/ (the executable's own, or the installed data folder) and
  // of the settings file when it is writable; without a closing slash.
  std::string programFolder;
  // Path of the settings file.
  std::string settingsFile;
  // The sign-in dialog's ID and password when they live for this run only instead of in
  // the settings file's "SignIn" keys (a command-line run that leaves the file alone).
  struct SignInValues {
    std::string id, password;
  };
  std::optional<SignInValues> signInForRun;

  LinkList lvwUrls;
  HttpControl Inet1;

 private:
  Ui& ui_;
  std::string status_;
};

}  // namespace vendil
