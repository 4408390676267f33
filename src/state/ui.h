// The one way the core reaches a person: status text, message and input boxes, the
// small dialogs, file dialogs, clipboard, opening a URL, and letting the event loop run.
#pragma once

#include <optional>
#include <string>

namespace vendil {

// The program's name: the title of its message boxes and windows.
inline constexpr char kProductTitle[] = "Vendil";

// Button and icon bits of a message box, with the values VBScript's MsgBox uses.
namespace vb {
inline constexpr int OKOnly = 0;
inline constexpr int OKCancel = 1;
inline constexpr int AbortRetryIgnore = 2;
inline constexpr int YesNoCancel = 3;
inline constexpr int YesNo = 4;
inline constexpr int RetryCancel = 5;
inline constexpr int Critical = 16;
inline constexpr int Question = 32;
inline constexpr int Exclamation = 48;
inline constexpr int Information = 64;
// Answers.
inline constexpr int OK = 1;
inline constexpr int Cancel = 2;
inline constexpr int Abort = 3;
inline constexpr int Retry = 4;
inline constexpr int Ignore = 5;
inline constexpr int Yes = 6;
inline constexpr int No = 7;
}  // namespace vb

// What a file dialog is asked to show. `filter` is in the "description|pattern|..." form.
struct FileDialogRequest {
  bool save = true;
  std::string title;
  std::string filter;
  std::string defaultExt;  // with its dot, e.g. ".nlc"
  std::string initialDir;  // may be empty
  std::string fileName;    // initial file name
  bool overwritePrompt = false;
  bool fileMustExist = false;
};

class Ui {
 public:
  virtual ~Ui() = default;

  // The status text changed (Form1 keeps the text itself).
  virtual void StatusChanged(const std::string& text) = 0;
  // A message box. `style` holds vb:: button and icon bits; the result is a vb:: answer.
  virtual int MessageBox(const std::string& text, const std::string& title, int style) = 0;
  // An input box; nullopt when cancelled.
  virtual std::optional<std::string> InputBox(const std::string& prompt, const std::string& title,
                                              const std::string& defaultText) = 0;
  // The several-URLs dialog: the whole text typed, or nullopt when cancelled.
  virtual std::optional<std::string> ShowMultiUrlDialog() = 0;
  // The log window, shown modally with the text given (already cut to its length rule).
  virtual void ShowLog(const std::string& text) = 0;
  // The sign-in dialog. `id` and `password` hold the values to show on entry and what the
  // boxes hold when the dialog closes, whatever button closed it. Returns true for OK.
  // `attempt` counts the dialogs shown by one sign-in request, from 0.
  virtual bool ShowSignIn(std::string& id, std::string& password, int attempt) = 0;
  // A file dialog; the chosen full path, or nullopt when cancelled.
  virtual std::optional<std::string> FileDialog(const FileDialogRequest& request) = 0;
  virtual void SetClipboardText(const std::string& text) = 0;
  virtual void OpenUrl(const std::string& url) = 0;
  // Let the event loop run once (handles Stop and other commands during long work).
  virtual void Yield() = 0;
  // The about box, shown modally; a front end without one shows nothing.
  virtual void ShowAbout() {}
  // Progress of a long search, for front ends that show it apart from the status text.
  virtual void Progress(int pagesRead, int pagesQueued, int rowsFound) {
    (void)pagesRead;
    (void)pagesQueued;
    (void)rowsFound;
  }
};

}  // namespace vendil
