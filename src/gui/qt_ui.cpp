// The window's Ui over Qt's dialogs.
#include "gui/qt_ui.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>

#include "commands/main_commands.h"
#include "commands/window_commands.h"
#include "gui/dialog_frame.h"
#include "gui/jp_text.h"
#include "gui/log_dialog.h"
#include "gui/multi_url_dialog.h"
#include "gui/sign_in_dialog.h"

namespace vendil::gui {
namespace {

QString WithLineFeeds(const std::string& text) {
  QString shown = QString::fromStdString(text);
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return shown;
}

struct Button {
  int answer;
  const char* caption;
  QMessageBox::ButtonRole role;
};

std::vector<Button> ButtonsOf(int style) {
  switch (style & 7) {
    case vb::OKCancel:
      return {{vb::OK, "OK", QMessageBox::AcceptRole},
              {vb::Cancel, "キャンセル", QMessageBox::RejectRole}};
    case vb::AbortRetryIgnore:
      return {{vb::Abort, "中止(&A)", QMessageBox::RejectRole},
              {vb::Retry, "再試行(&R)", QMessageBox::AcceptRole},
              {vb::Ignore, "無視(&I)", QMessageBox::AcceptRole}};
    case vb::YesNoCancel:
      return {{vb::Yes, "はい(&Y)", QMessageBox::YesRole},
              {vb::No, "いいえ(&N)", QMessageBox::NoRole},
              {vb::Cancel, "キャンセル", QMessageBox::RejectRole}};
    case vb::YesNo:
      return {{vb::Yes, "はい(&Y)", QMessageBox::YesRole},
              {vb::No, "いいえ(&N)", QMessageBox::NoRole}};
    case vb::RetryCancel:
      return {{vb::Retry, "再試行(&R)", QMessageBox::AcceptRole},
              {vb::Cancel, "キャンセル", QMessageBox::RejectRole}};
    default:
      return {{vb::OK, "OK", QMessageBox::AcceptRole}};
  }
}

QMessageBox::Icon IconOf(int style) {
  switch (style & 0x70) {
    case vb::Critical:
      return QMessageBox::Critical;
    case vb::Question:
      return QMessageBox::Question;
    case vb::Exclamation:
      return QMessageBox::Warning;
    case vb::Information:
      return QMessageBox::Information;
    default:
      return QMessageBox::NoIcon;
  }
}

}  // namespace

QStringList QtNameFilters(const std::string& filter) {
  QStringList parts = QString::fromStdString(filter).split(QLatin1Char('|'));
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QString patterns = parts[i + 1];
    patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
    // "*.*" means every file, with or without a dot in its name.
    if (patterns.trimmed() == QStringLiteral("*.*")) patterns = QStringLiteral("*");
    filters << parts[i] + QStringLiteral(" (") + patterns + QLatin1Char(')');
  }
  return filters;
}

QUrl DesktopUrl(const std::string& urlOrPath) {
  const QString text = QString::fromStdString(urlOrPath);
  if (text.startsWith(QLatin1Char('/'))) return QUrl::fromLocalFile(text);
  return QUrl(text, QUrl::TolerantMode);
}

void QtUi::StatusChanged(const std::string& text) {
  if (onStatus_) onStatus_(text);
}

int QtUi::MessageBox(const std::string& text, const std::string& title, int style) {
  QMessageBox box(IconOf(style), QString::fromStdString(title), WithLineFeeds(text),
                  QMessageBox::NoButton, window_);
  box.setObjectName(QStringLiteral("MessageBox"));
  UseFixedDialogFrame(&box);
  const std::vector<Button> buttons = ButtonsOf(style);
  std::vector<QPushButton*> made;
  for (const Button& b : buttons) made.push_back(box.addButton(Jp(b.caption), b.role));
  // Default button: bits 256 and 512 pick the second and third.
  const size_t defaultIndex = static_cast<size_t>((style >> 8) & 3);
  if (defaultIndex < made.size()) box.setDefaultButton(made[defaultIndex]);
  // The close box answers as Cancel does, or as the only button when there is one.
  for (size_t i = 0; i < buttons.size(); ++i) {
    if (buttons[i].answer == vb::Cancel || buttons.size() == 1) box.setEscapeButton(made[i]);
  }
  box.exec();
  for (size_t i = 0; i < made.size(); ++i) {
    if (box.clickedButton() == made[i]) return buttons[i].answer;
  }
  return buttons.size() == 1 ? buttons.front().answer : vb::Cancel;
}

std::optional<std::string> QtUi::InputBox(const std::string& prompt, const std::string& title,
                                          const std::string& defaultText) {
  QInputDialog dialog(window_);
  dialog.setObjectName(QStringLiteral("InputBox"));
  UseFixedDialogFrame(&dialog);
  dialog.setWindowTitle(QString::fromStdString(title));
  dialog.setLabelText(WithLineFeeds(prompt));
  dialog.setTextValue(QString::fromStdString(defaultText));
  dialog.setOkButtonText(QStringLiteral("OK"));
  dialog.setCancelButtonText(Jp("キャンセル"));
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.textValue().toStdString();
}

std::optional<std::string> QtUi::ShowMultiUrlDialog() {
  return MultiUrlDialog::ShowDialog(window_);
}

void QtUi::ShowLog(const std::string& text) { LogDialog::ShowDialog(window_, text); }

bool QtUi::ShowSignIn(std::string& id, std::string& password, int) {
  SignInDialog dialog(id, password, window_);
  const bool ok = dialog.exec() == QDialog::Accepted;
  id = dialog.Id();
  password = dialog.Password();
  return ok;
}

std::optional<std::string> QtUi::FileDialog(const FileDialogRequest& request) {
  // Without a title of its own a dialog carries the one the system gives such dialogs.
  const QString title = !request.title.empty() ? QString::fromStdString(request.title)
                        : request.save         ? Jp("名前を付けて保存")
                                               : Jp("開く");
  QFileDialog dialog(window_, title, QString::fromStdString(request.initialDir));
  dialog.setObjectName(QStringLiteral("CommonDialog1"));
  dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(request.fileMustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  dialog.setOption(QFileDialog::HideNameFilterDetails, true);
  if (!request.overwritePrompt) dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
  const QStringList filters = QtNameFilters(request.filter);
  if (!filters.isEmpty()) dialog.setNameFilters(filters);
  QString suffix = QString::fromStdString(request.defaultExt);
  if (suffix.startsWith(QLatin1Char('.'))) suffix.remove(0, 1);
  dialog.setDefaultSuffix(suffix);
  if (!request.fileName.empty()) dialog.selectFile(QString::fromStdString(request.fileName));
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  const QStringList chosen = dialog.selectedFiles();
  if (chosen.isEmpty() || chosen.first().isEmpty()) return std::nullopt;
  return chosen.first().toStdString();
}

void QtUi::SetClipboardText(const std::string& text) {
  QGuiApplication::clipboard()->setText(QString::fromStdString(text));
}

void QtUi::OpenUrl(const std::string& url) {
  // Without a browser or launcher nothing would happen at all: the user is told, with the
  // address to open by hand.
  if (!QDesktopServices::openUrl(DesktopUrl(url)))
    MessageBox(std::string(kNoBrowserText) + "\r\n\r\n" + url, kProductTitle,
               vb::OKOnly | vb::Exclamation);
}

void QtUi::Yield() {
  // Runs what is pending and returns at once; a search that waits on the network waits in
  // the HTTP control's socket poll, so this never spins on its own.
  QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void QtUi::ShowAbout() {
  if (onAbout_) onAbout_();
}

void QtUi::Progress(int pagesRead, int pagesQueued, int rowsFound) {
  if (onProgress_) onProgress_(pagesRead, pagesQueued, rowsFound);
}

}  // namespace vendil::gui
