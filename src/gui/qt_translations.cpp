// Loading Qt's shipped Japanese catalogue; without it Qt falls back to its English texts.
#include "gui/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <memory>

namespace vendil::gui {

bool InstallQtTranslations(QCoreApplication& app) {
  auto translator = std::make_unique<QTranslator>();
  const QLocale japanese(QLocale::Japanese, QLocale::Japan);
  if (!translator->load(japanese, QStringLiteral("qtbase"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    return false;
  translator->setParent(&app);
  return QCoreApplication::installTranslator(translator.release());
}

}  // namespace vendil::gui
