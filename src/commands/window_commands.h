// The main window's commands that the window only dispatches: the toolbar keys, the select
// matching items command with its status text, the help pages, the context menu of the
// list, the drop rules of the two fields that accept drops, and the resize rule.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "state/form1.h"

namespace vendil {

// Our own addresses and the name the home page item carries.
inline constexpr char kMakerName[] = "Vendil";
inline constexpr char kHomePageUrl[] = "https://www.vendil.org/";
inline constexpr char kOnlineHelpUrl[] = "https://www.vendil.org/help/";
inline constexpr char kMatchedItemsText[] = " 個のアイテムと一致しました。";
// Said, with the address or path below it, when the desktop has no browser or launcher to
// open a page with.
inline constexpr char kNoBrowserText[] =
    "ブラウザを起動できませんでした。次のアドレスを手動で開いてください。";

// One toolbar button or drop-down item, in toolbar order; an empty key is a separator.
struct ToolbarButton {
  const char* key;
  const char* tooltip;
  bool dropDown;
};
// The buttons of Toolbar1 in order, and the items of each drop-down button.
const std::vector<ToolbarButton>& ToolbarButtons();
const std::vector<ToolbarButton>& ToolbarMenuItems(const std::string& buttonKey);

// Runs the command of a toolbar button or drop-down item (keys compared without regard to
// case); false when the key names no command.
bool RunToolbarKey(Form1& form, const std::string& key);

// Re-applies the mask to every row and shows how many matched; a malformed mask stops it
// silently, leaving the status text as it was.
void SelectMatchingItems(Form1& form);

// Help, online help, home page: opened with the desktop.
void OpenHelp(Form1& form);
void OpenOnlineHelp(Form1& form);
void OpenHomePage(Form1& form);

// The context menu of the list: the URL or referer of the selected row (1-based; 0 when no
// row is selected, which does nothing). Only web addresses (http, https, ftp) are opened.
void OpenThisUrl(Form1& form, size_t selectedPosition);
void OpenThisReferer(Form1& form, size_t selectedPosition);

// Drops: a text beginning with http:// or https:// replaces txtUrl; the first path of a
// dropped file list becomes txtSaveFolder. False when the drop is ignored.
bool DropOnUrlField(Form1& form, const std::string& text);
bool DropOnSaveFolder(Form1& form, const std::vector<std::string>& paths);

// The resize rule, in twips: where the list goes in a window of this inner size.
struct ListArea {
  int left = 0, top = 0, width = 0, height = 0;
};
ListArea ListAreaForWindow(int innerWidth, int innerHeight, int coolBarHeight, int statusBarHeight);

}  // namespace vendil
