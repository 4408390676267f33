// vendil: the window. Main builds the User-Agent line, loads the main window (settings,
// script list, toolbar, script engine) and shows it; the program lives as long as it does.
// An optional argument is a start URL.
#include <QApplication>
#include <QLocale>

#include "commands/main_commands.h"
#include "commands/window_commands.h"
#include "gui/jp_text.h"
#include "gui/main_window.h"
#include "gui/qt_translations.h"
#include "gui/qt_ui.h"
#include "gui/start_page_window.h"
#include "gui/ui_font.h"
#include "net/user_agent.h"
#include "platform/program_folder.h"
#include "settings/c_ini.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(vendil::ProgramTitle());
  QApplication::setDesktopFileName(QStringLiteral("vendil"));
  QApplication::setFont(vendil::gui::ProgramFont());
  // The window speaks Japanese whatever the system's language: Qt's own labels and the
  // dates and numbers its dialogs show follow.
  QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
  vendil::gui::InstallQtTranslations(app);

  vendil::gui::QtUi ui;
  vendil::Form1 form(ui);
  form.userAgent = vendil::BuildUserAgent();
  form.programFolder = vendil::ProgramDataFolder();
  form.settingsFile = vendil::SettingsFilePath(form.programFolder);

  vendil::gui::MainWindow window(form, ui);
  vendil::LoadMainWindow(form);
  window.ApplyStoredLayout();
  // A URL handed over by the desktop (a link dropped on the program's icon, the menu
  // entry's %u) becomes the start URL, as a drop on the URL field does.
  const QStringList arguments = QApplication::arguments();
  if (arguments.size() > 1) vendil::DropOnUrlField(form, arguments.at(1).toStdString());

  // The start page: beside the main window, owned by it, not waited for.
  auto* startPage = new vendil::gui::StartPageWindow(form, &window);
  startPage->show();
  window.show();
  return QApplication::exec();
}
