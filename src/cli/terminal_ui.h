// The Ui of the command-line front end: message boxes as lines on stderr, dialogs answered
// from the terminal (or their defaults without one), the status text on stderr, and
// Ctrl+C as the Stop command.
#pragma once

#include <cstdio>
#include <optional>
#include <string>

#include "state/ui.h"

namespace vendil::cli {

class TerminalUi : public Ui {
 public:
  // Looks at stdin and stderr to decide whether to ask questions and redraw the status.
  TerminalUi();
  // For tests: explicit streams and terminal flags.
  TerminalUi(std::FILE* in, std::FILE* err, bool inIsTerminal, bool errIsTerminal);
  ~TerminalUi() override;
  TerminalUi(const TerminalUi&) = delete;
  TerminalUi& operator=(const TerminalUi&) = delete;

  // Where Ctrl+C sets the stop flag (form.m_blnStop); polled in Yield. Null: none.
  void SetStopFlag(bool* stop) { stopFlag_ = stop; }
  // Installs the SIGINT handler for the life of this object (the first Ctrl+C asks for a
  // stop, a second one ends the process at once).
  void CatchInterrupt();
  // --sign-in: without a terminal, the first sign-in dialog is answered OK with the
  // values shown; otherwise it is cancelled.
  void SetSignInWithoutTerminal(bool allowed) { signInWithoutTerminal_ = allowed; }
  // Ends the in-place status line and writes the final status text as the last line.
  void FinishStatus(const std::string& finalStatus);
  // One line of its own on stderr (a download's per-file progress), above the status line.
  void PrintLine(const std::string& line);

  void StatusChanged(const std::string& text) override;
  int MessageBox(const std::string& text, const std::string& title, int style) override;
  std::optional<std::string> InputBox(const std::string& prompt, const std::string& title,
                                      const std::string& defaultText) override;
  std::optional<std::string> ShowMultiUrlDialog() override;
  void ShowLog(const std::string& text) override;
  bool ShowSignIn(std::string& id, std::string& password, int attempt) override;
  std::optional<std::string> FileDialog(const FileDialogRequest& request) override;
  void SetClipboardText(const std::string& text) override;
  void OpenUrl(const std::string& url) override;
  void Yield() override;
  void Progress(int pagesRead, int pagesQueued, int rowsFound) override;

  bool InIsTerminal() const { return inTerminal_; }
  bool ErrIsTerminal() const { return errTerminal_; }

 private:
  std::optional<std::string> ReadLine(bool echo);
  void ClearStatusLine();
  void DrawStatusLine();

  std::FILE* in_;
  std::FILE* err_;
  bool inTerminal_;
  bool errTerminal_;
  bool* stopFlag_ = nullptr;
  int interruptsSeen_ = 0;  // Ctrl+C presses already turned into a Stop
  bool signInWithoutTerminal_ = false;
  bool handlerInstalled_ = false;
  bool statusLineShown_ = false;
  std::string status_;
  std::string lastLine_;  // the last message line written, to avoid repeating it
  int pagesRead_ = 0, pagesQueued_ = 0, rowsFound_ = 0;
  bool haveProgress_ = false;
};

}  // namespace vendil::cli
