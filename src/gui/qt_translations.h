// Qt's own texts in Japanese, like the program's: the labels of the file dialogs, the edit
// boxes' context menus, the standard buttons.
#pragma once

class QCoreApplication;

namespace vendil::gui {

// Installs the Japanese translations Qt ships, when the system has them; the translator
// is owned by the application. Returns whether they were found.
bool InstallQtTranslations(QCoreApplication& app);

}  // namespace vendil::gui
