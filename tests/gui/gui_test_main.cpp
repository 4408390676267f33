// The window tests run real widgets on Qt's offscreen platform unless a display is asked for.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLocale>

#include "gui/qt_translations.h"
#include "gui/ui_font.h"

namespace {

QtMessageHandler g_defaultHandler = nullptr;

// The offscreen platform warns about what it cannot do (raise a window, grab the keyboard,
// pass on size hints); nothing else is hidden.
void QuietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (message.startsWith(QStringLiteral("This plugin does not support"))) return;
  g_defaultHandler(type, context, message);
}

}  // namespace

int main(int argc, char** argv) {
  g_defaultHandler = qInstallMessageHandler(QuietHandler);
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QLocale::setDefault(QLocale::c());
  QApplication app(argc, argv);
  QApplication::setFont(vendil::gui::ProgramFont());
  vendil::gui::InstallQtTranslations(app);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
