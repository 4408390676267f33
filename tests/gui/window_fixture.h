// The set-up of window tests: a real main window over a form whose settings file lives in a
// temporary folder, shown offscreen; helpers that answer modal dialogs from a timer and
// record what the desktop was asked to open.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QObject>
#include <QPushButton>
#include <QStringList>
#include <QTimer>
#include <QUrl>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "gui/main_window.h"
#include "gui/qt_ui.h"
#include "state/form1.h"
#include "support/temp_folder.h"

namespace vendil::test {

// Takes the URLs QDesktopServices hands to the desktop, instead of the desktop.
class OpenedUrls : public QObject {
  Q_OBJECT

 public:
  OpenedUrls();
  ~OpenedUrls() override;
  std::vector<QUrl> urls;

 public slots:
  void Open(const QUrl& url) { urls.push_back(url); }
};

// Clicks the push button of `dialog` whose caption, without its access-key mark, is `caption`.
bool ClickButton(QWidget* dialog, const QString& caption);
// The captions of a dialog's push buttons, access-key marks removed.
QStringList ClickableCaptions(QWidget* dialog);

class WindowFixture : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Creates the window as Main does: the form loaded from the settings file, the stored
  // layout applied, the window shown.
  void OpenWindow();
  // Closes it as the user does (Form_Unload runs).
  void CloseWindow();

  // Runs `answer` once a visible modal dialog whose object name is `name` shows up.
  void OnModal(const QString& name, std::function<void(QWidget*)> answer);
  // Answers the next message box with OK and keeps its text.
  void AcceptNextMessageBox();
  // Triggers a menu item or toolbar action by name, as a click does.
  void Trigger(const QString& name);
  // Lets the event loop run until `done` holds, at most `timeout`.
  bool WaitFor(const std::function<bool()>& done,
               std::chrono::milliseconds timeout = std::chrono::seconds(10));

  TempFolder folder;
  gui::QtUi ui;

 private:
  // Ended in TearDown, before servers of a derived fixture stop: its open connections
  // would keep them waiting.
  std::unique_ptr<Form1> formHolder_ = std::make_unique<Form1>(ui);

 protected:
  Form1& form = *formHolder_;
  std::unique_ptr<gui::MainWindow> window;
  std::vector<std::string> messageTexts;
  std::vector<QString> modalsSeen;
  OpenedUrls opened;

 private:
  std::unique_ptr<QObject> timers_;
};

}  // namespace vendil::test
