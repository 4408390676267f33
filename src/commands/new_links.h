// The new-links check: a saved search repeated, leaving in the list only the links that the
// previous check of the same profile did not find; one profile or every profile of a list
// file, and the command that writes a profile from the current settings. They run the
// per-URL dispatch, so they live with the commands.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "newlinks/list_file.h"
#include "state/form1.h"

namespace vendil {

inline constexpr char kNewLinksProfileFilter[] =
    "「新しいリンクのチェック」ファイル(*.nlc)|*.nlc|すべてのファイル(*.*)|*.*";
inline constexpr char kNewLinksListFilter[] =
    "「新しいリンクのチェック」リスト(*.txt)|*.txt|すべてのファイル(*.*)|*.*";
inline constexpr char kNoLinksFoundText[] =
    "リンクが一つも見つかりませんでした。検索を終了します。";
inline constexpr char kNewLinksFoundText[] = " 個の新しいリンクを見つけました。";
inline constexpr char kNotAListText[] =
    "このファイルは「新しいリンクのチェック」リストではありません。";
inline constexpr char kFileNotFoundText[] = "ファイルが見つかりません。";
inline constexpr char kNoProfileInListText[] =
    "このリストに書かれたファイルは一つも見つかりません。";

// The three commands of the Go menu, with their file dialogs.
void CreateNewLinksFile(Form1& form);
bool StartNewLinks(Form1& form);
void StartNewLinksList(Form1& form);

// How one check ended.
enum class NewLinksResult {
  kDone,          // the profile was updated and the list holds the new links
  kNotAProfile,   // the file lacks "Version" "Major", or cannot be read at all
  kSearchFailed,  // the search was stopped or could not run; the profile is unchanged
  kNothingFound,  // the search added no rows; the profile is unchanged
  kNotSaved,      // the new links are listed, but the profile could not be written
};

// The commands after their dialog, for a path already chosen (the command line uses these).
// SaveNewLinksFile returns whether the profile was written.
bool SaveNewLinksFile(Form1& form, const std::string& strPath);
NewLinksResult CheckNewLinksFile(Form1& form, const std::string& strPath);
// The list run: the log shown (and returned), or nullopt when the file is not a list, names
// no existing file, or cannot be read (missing, a folder or device, too large), which a
// message box says.
std::optional<std::string> CheckNewLinksList(Form1& form, const std::string& strListPath);

// The message boxes of a profile written or not, and the note of a profile not updated.
std::string ProfileSavedText(const std::string& strPath);
std::string ProfileNotSavedText(const std::string& strPath);
std::string ProfileNotUpdatedText(const std::string& strPath);

// One check of one profile; true when it completed and the profile was updated.
bool RunNewLinksCheck(Form1& form, const std::string& strPath);
// The same check, telling how it ended.
NewLinksResult CheckProfile(Form1& form, const std::string& strPath);

// Three steps of a check, apart for the benchmark. The links of the rows after `base` in the
// form the profile stores them (what CP932 cannot hold percent-encoded), in list order.
std::vector<std::string> FoundLinks(const LinkList& list, size_t base);
// Replaces the profile's "Links" by `found` and dates the check; false when it cannot.
bool StoreFoundLinks(const std::string& strPath, const std::vector<std::string>& found);
// Removes the rows after `base` that the stored links name; `found` is FoundLinks of the
// same rows. One pass over the list's hash index. Returns how many rows went.
size_t RemoveStoredLinks(LinkList& list, size_t base, const std::vector<std::string>& storedLinks,
                         const std::vector<std::string>& found);

}  // namespace vendil
