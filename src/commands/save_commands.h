// The export commands of the main window: list files for the managers and the clipboard.
// Each file export has a core form that takes the path (the command line and tests use it)
// and the command form that asks for the file first.
#pragma once

#include <string>

#include "export/list_formats.h"
#include "state/form1.h"

namespace vendil {

// What an export or hand-off came to, for callers that need an exit status.
enum class HandOffResult { Done, NoData, Cancelled, Failed };

inline constexpr char kCopiedUrlsText[] = " 個のURLをコピーしました。";

// The save dialog, opening in the remembered "SaveFolder"; true with `strFileName` set to
// the chosen path. False (and `strFileName` unchanged) when cancelled or failing.
bool AskSaveFileName(Form1& form, const std::string& strFilter, const std::string& strDefaultExt,
                     std::string& strFileName);
// The folder of a file just saved becomes the remembered "SaveFolder"; call it only once the
// file is written, so that a failed save is not where the next dialog opens.
void RememberSaveFolder(Form1& form, const std::string& savedPath);

// Writes the checked rows to `path` and reports the outcome in a message box: "データが
// ありません。" for a list without rows, the system's error text when the file cannot be
// written (an older file stays as it was), else the saved message.
HandOffResult SaveListFile(Form1& form, ListFormat format, const std::string& strFolder,
                           const std::string& path, const std::string& dateText);

// The command forms.
HandOffResult SaveListFileAsk(Form1& form, ListFormat format, const std::string& strFolder);
void SaveToText(Form1& form);
void SaveToIri(Form1& form, const std::string& strFolder);
void SaveToIrv(Form1& form, const std::string& strFolder);
void SaveToWrg(Form1& form, const std::string& strFolder);
void SaveToGrx(Form1& form, const std::string& strFolder);
void SaveToAria2(Form1& form, const std::string& strFolder);

// The URLs of the checked rows on the clipboard, each followed by CR LF; the status text
// says how many.
HandOffResult CopyUrls(Form1& form);

// Shows "データがありません。" and gives true when the list has no rows at all.
bool ReportEmptyList(Form1& form);

}  // namespace vendil
