// The toolbar dispatch, select matching items, the help pages, the list's context menu, the
// drop rules and the resize rule.
#include "commands/window_commands.h"

#include "commands/main_commands.h"
#include "commands/save_commands.h"
#include "commands/send_commands.h"
#include "platform/casefold.h"

namespace vendil {
namespace {

const std::vector<ToolbarButton> kButtons = {
    {"go", "開始", false},
    {"urls", "複数のURLを巡回", false},
    {"stop", "中止", false},
    {"", "", false},
    {"copy", "クリップボードへコピー", false},
    {"text", "URLリストの保存", false},
    {"iria", "Iria形式で保存", true},
    {"reget", "Reget形式で保存", true},
    {"irvine", "Irvine形式で保存", true},
    {"flashget", "FlashGetへ送る", false},
    {"getright", "GetRight形式で保存", false},
    {"", "", false},
    {"search", "フィルタと一致するアイテムの選択", false},
    {"", "", false},
    {"about", "バージョン情報", false},
};

const std::vector<ToolbarButton> kIriaItems = {{"iria_save", "Iria形式で保存", false},
                                               {"iria_send", "Iriaへ送る", false}};
const std::vector<ToolbarButton> kRegetItems = {{"reget_save", "Reget形式で保存", false},
                                                {"reget_send", "Regetへ送る", false}};
const std::vector<ToolbarButton> kIrvineItems = {{"irvine_save", "Irvine形式で保存", false},
                                                 {"irvine_send", "Irvineへ送る", false}};
const std::vector<ToolbarButton> kNoItems;

// What a row may hand to the desktop: pages on the web. A link a page wrote as file: or
// any other scheme must not open local files or programs.
bool IsWebAddress(const std::string& url) {
  return StartsWithNoCase(url, "http://") || StartsWithNoCase(url, "https://") ||
         StartsWithNoCase(url, "ftp://");
}

void OpenRowAddress(Form1& form, const std::string& url) {
  if (IsWebAddress(url)) form.ui().OpenUrl(url);
}

}  // namespace

const std::vector<ToolbarButton>& ToolbarButtons() { return kButtons; }

const std::vector<ToolbarButton>& ToolbarMenuItems(const std::string& buttonKey) {
  if (buttonKey == "iria") return kIriaItems;
  if (buttonKey == "reget") return kRegetItems;
  if (buttonKey == "irvine") return kIrvineItems;
  return kNoItems;
}

bool RunToolbarKey(Form1& form, const std::string& key) {
  const std::string k = FoldCase(key);
  // The save folder is read at the moment of the click.
  const std::string folder = form.txtSaveFolder.Text();
  if (k == "go") {
    StartSearch(form);
  } else if (k == "urls") {
    SearchSeveralUrls(form);
  } else if (k == "stop") {
    StopSearch(form);
  } else if (k == "copy") {
    CopyUrls(form);
  } else if (k == "text") {
    SaveToText(form);
  } else if (k == "iria" || k == "iria_save") {
    SaveToIri(form, folder);
  } else if (k == "iria_send") {
    SendToIria(form, folder);
  } else if (k == "reget" || k == "reget_save") {
    SaveToWrg(form, folder);
  } else if (k == "reget_send") {
    SendToReget(form, folder);
  } else if (k == "irvine" || k == "irvine_save") {
    SaveToIrv(form, folder);
  } else if (k == "irvine_send") {
    SendToIrvine(form, folder);
  } else if (k == "flashget") {
    SendToFlashGet(form, folder);
  } else if (k == "getright") {
    SaveToGrx(form, folder);
  } else if (k == "search") {
    SelectMatchingItems(form);
  } else if (k == "about") {
    form.ui().ShowAbout();
  } else {
    return false;
  }
  return true;
}

void SelectMatchingItems(Form1& form) {
  const std::optional<size_t> matched = form.lvwUrls.SelectMatchingItems();
  if (matched) form.SetStatusText(std::to_string(*matched) + kMatchedItemsText);
}

void OpenHelp(Form1& form) { form.ui().OpenUrl(form.programFolder + "/help/index.html"); }

void OpenOnlineHelp(Form1& form) { form.ui().OpenUrl(kOnlineHelpUrl); }

void OpenHomePage(Form1& form) { form.ui().OpenUrl(kHomePageUrl); }

void OpenThisUrl(Form1& form, size_t selectedPosition) {
  if (selectedPosition < 1 || selectedPosition > form.lvwUrls.Count()) return;
  OpenRowAddress(form, form.lvwUrls.Row(selectedPosition).Url);
}

void OpenThisReferer(Form1& form, size_t selectedPosition) {
  if (selectedPosition < 1 || selectedPosition > form.lvwUrls.Count()) return;
  OpenRowAddress(form, form.lvwUrls.Row(selectedPosition).Referer);
}

bool DropOnUrlField(Form1& form, const std::string& text) {
  // https:// counts as the several-URLs command counts it.
  if (!StartsWithNoCase(text, "http://") && !StartsWithNoCase(text, "https://")) return false;
  form.txtUrl.SetText(text);
  return true;
}

bool DropOnSaveFolder(Form1& form, const std::vector<std::string>& paths) {
  if (paths.empty()) return false;
  form.txtSaveFolder.SetText(paths.front());
  return true;
}

ListArea ListAreaForWindow(int innerWidth, int innerHeight, int coolBarHeight,
                           int statusBarHeight) {
  constexpr int kSmallest = 1000;
  ListArea area;
  area.top = coolBarHeight;
  area.width = innerWidth;
  area.height = innerHeight - coolBarHeight - statusBarHeight;
  if (area.width < kSmallest || area.height < kSmallest) {
    area.width = kSmallest;
    area.height = kSmallest;
  }
  return area;
}

}  // namespace vendil
