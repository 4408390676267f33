// The window's Ui: message and input boxes, the small dialogs, file dialogs, clipboard and
// the desktop, owned by the main window; Yield runs the Qt event loop once.
#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>

#include "state/ui.h"

namespace vendil::gui {

class QtUi : public Ui {
 public:
  QtUi() = default;

  // The window that owns the dialogs and shows the status text and progress.
  void SetMainWindow(QWidget* window) { window_ = window; }
  // Where the status text and the progress go (the main window's status bar).
  void OnStatus(std::function<void(const std::string&)> f) { onStatus_ = std::move(f); }
  void OnProgress(std::function<void(int, int, int)> f) { onProgress_ = std::move(f); }
  void OnAbout(std::function<void()> f) { onAbout_ = std::move(f); }

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
  void ShowAbout() override;
  void Progress(int pagesRead, int pagesQueued, int rowsFound) override;

 private:
  QPointer<QWidget> window_;
  std::function<void(const std::string&)> onStatus_;
  std::function<void(int, int, int)> onProgress_;
  std::function<void()> onAbout_;
};

// The Qt filter list of a "description|pattern|description|pattern" filter.
QStringList QtNameFilters(const std::string& filter);
// A URL, or a path of a local file, as the desktop opens it.
QUrl DesktopUrl(const std::string& urlOrPath);

}  // namespace vendil::gui
