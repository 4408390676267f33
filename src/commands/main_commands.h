// The main window's commands that need no window of their own: Start, Stop, the
// several-URLs search, the tag items, the custom tags input, the log length rule, and the
// load sequence of the window.
#pragma once

#include <string>

#include "state/form1.h"

namespace vendil {

// The dialog titles and texts the commands show.
inline constexpr char kCustomTagsTitle[] = "カスタムタグの設定";
inline constexpr char kCustomTagsPrompt[] =
    "カスタムタグを入力してください。複数のタグを指定する時は;で区切ってください。\r\n\r\n"
    "例: object src;img dynsrc alt";

// Whether the URL in txtUrl goes to the briefcase scan.
bool IsBriefcaseUrl(const Form1& form);

// Clears the list and the flags, runs the dispatch, then shows the status text.
void StartSearch(Form1& form);
// Start without its message box: the list and the flags cleared, then the dispatch.
bool SearchTypedUrl(Form1& form);
// Asks for several URLs, searches each, and shows the log.
void SearchSeveralUrls(Form1& form);
// The several-URLs search on a text already typed (lines separated by CR LF); returns the
// log text. SearchSeveralUrls is this plus the two dialogs.
std::string SearchUrlLines(Form1& form, const std::string& strUrls);
void StopSearch(Form1& form);

// Toggles bit `index` (0..5) of the tag set and refreshes the check marks.
void ClickTagItem(Form1& form, int index);
void SetCustomTags(Form1& form);

// The text the log window shows: at most 64000 characters, a longer one cut to 63997
// characters and "...".
std::string LogTextForDisplay(const std::string& strMessage);

// The part of the window's load that concerns the core: the signed-in flag, the script
// list, the search settings, layout and column widths from the settings file (when
// `withSettingsFile`; else the search settings of a first start), and the script engine.
// False when the settings file is there but cannot be read (a folder, device or oversized
// file); the status text says why.
bool LoadMainWindow(Form1& form, bool withSettingsFile = true);
// The part of the window's unload that concerns the core: the search settings, layout and
// column widths written to the settings file. False when the file could not be written.
bool UnloadMainWindow(Form1& form);

}  // namespace vendil
