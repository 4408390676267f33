// A scripted Ui for tests: records every call, answers dialogs from queues, and can run an
// action (press Stop, answer later) at a chosen Yield.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "state/ui.h"

namespace vendil::test {

struct RecordedMessage {
  std::string text, title;
  int style = 0;
};

struct SignInAnswer {
  bool ok = false;
  std::optional<std::string> id, password;  // typed into the boxes; nullopt keeps the shown value
};

class FakeUi : public Ui {
 public:
  void StatusChanged(const std::string& text) override { statuses.push_back(text); }
  int MessageBox(const std::string& text, const std::string& title, int style) override;
  std::optional<std::string> InputBox(const std::string& prompt, const std::string& title,
                                      const std::string& defaultText) override;
  std::optional<std::string> ShowMultiUrlDialog() override;
  void ShowLog(const std::string& text) override { logs.push_back(text); }
  bool ShowSignIn(std::string& id, std::string& password, int attempt) override;
  std::optional<std::string> FileDialog(const FileDialogRequest& request) override;
  void SetClipboardText(const std::string& text) override { clipboard = text; }
  void OpenUrl(const std::string& url) override { openedUrls.push_back(url); }
  void Yield() override;
  void ShowAbout() override { ++aboutBoxes; }

  // What happened.
  std::vector<std::string> statuses;
  std::vector<RecordedMessage> messages;
  std::vector<std::string> logs;
  std::vector<FileDialogRequest> fileDialogs;
  std::vector<std::string> openedUrls;
  struct SignInCall {
    std::string shownId, shownPassword;
    int attempt;
  };
  std::vector<SignInCall> signIns;
  std::optional<std::string> clipboard;
  long yields = 0;
  int aboutBoxes = 0;

  // Scripted answers; an empty queue gives the default (Cancel, or OK for message boxes).
  std::deque<std::optional<std::string>> inputAnswers;
  std::deque<std::optional<std::string>> multiUrlAnswers;
  std::deque<SignInAnswer> signInAnswers;
  std::deque<std::optional<std::string>> fileAnswers;
  std::deque<int> messageAnswers;

  // Runs `action` on the Yield when `predicate` first holds (checked on every Yield).
  void OnYield(std::function<bool()> predicate, std::function<void()> action);
  // Called on every Yield, for tests that need to look at every step.
  std::function<void()> everyYield;

 private:
  struct Pending {
    std::function<bool()> predicate;
    std::function<void()> action;
  };
  std::vector<Pending> pending_;
};

}  // namespace vendil::test
