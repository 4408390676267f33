// Form1's window: the band area with the toolbar and the search fields, the menus, the link
// list and the status bar. It binds its widgets to the form's fields and dispatches every
// menu item, toolbar button and list action to the commands of the core.
#pragma once

#include <QMainWindow>
#include <QTimer>
#include <functional>
#include <map>
#include <string>

#include "commands/check_links.h"
#include "commands/download_command.h"
#include "state/form1.h"

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QToolBar;

namespace vendil::gui {

class BandArea;
class DropField;
class LinkListModel;
class LinkListView;
class QtUi;

class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  MainWindow(Form1& form, QtUi& ui);
  ~MainWindow() override;

  // Form_Load's window part: the stored layout and column widths applied, after the core
  // has read the settings file.
  void ApplyStoredLayout();
  // The layout and column widths written back to the form (for the settings file).
  void StoreLayout();

  // What the window shows, for the one who drives it (tests, the screenshot script).
  BandArea* Bands() const { return bands_; }
  LinkListView* List() const { return list_; }
  LinkListModel* Model() const { return model_; }
  QToolBar* Toolbar() const { return toolbar_; }
  QLabel* StatusLabel() const { return status_; }
  QLabel* ProgressLabel() const { return progress_; }
  QLabel* CheckedTotalLabel() const { return checkedTotal_; }
  QMenu* PopupMenu() const { return popup_; }
  // A menu item or toolbar action by its name ("mnuGo_Start", "Toolbar1_go").
  QAction* Action(const QString& name) const;
  // Commands running now (a search and anything nested in it).
  int RunningCommands() const { return running_; }

  // Runs a core command as a window event does: counted while it runs, errors absorbed.
  void RunCommand(const std::function<void()>& command);
  // Places the band area and the list by the resize rule.
  void ApplyResizeRule();
  // Shows the about box (modal).
  void ShowAbout();
  // Shows the links the last search did not read (modal).
  void ShowSkippedLinks();
  // Opens the Internet options dialog; OK keeps what it holds for the next search.
  void ShowInternetOptions();
  // The download of the checked rows (its per-row states feed the list's column).
  DownloadJob& Downloads() { return downloadJob_; }
  // Fired when the window has saved its settings and closed the others.
  std::function<void()> onUnloaded;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void moveEvent(QMoveEvent* event) override;

 private:
  void BuildFields();
  void BuildBands();
  void BuildToolbar();
  void BuildMenus();
  void BuildList();
  void BuildStatusBar();
  // The download item of the File menu, its toolbar key and the list's state column.
  void BuildDownload(QMenu* file);
  void StartDownload();
  // The check items of the Go menu, their toolbar key, and the checked rows' total in the
  // status bar.
  void BuildCheck(QMenu* go);
  void BuildCheckedTotal();
  void UpdateCheckedTotal();
  void CheckRows(RowsToCheck which);
  void ApplyColumnWidths();
  void SetTabOrder();
  // The least size at which every band's caption and three rows of the list show.
  QSize MinimumWindowSize() const;
  QAction* AddItem(QMenu* menu, const char* name, const char* caption,
                   const std::function<void()>& command);
  void ShowContextMenu(const QPoint& globalPos);
  void ShowStatus(const std::string& text);
  void ShowProgress(int pagesRead, int pagesQueued, int rowsFound);

  Form1& form_;
  QtUi& ui_;
  int running_ = 0;
  QWidget* central_ = nullptr;
  BandArea* bands_ = nullptr;
  QToolBar* toolbar_ = nullptr;
  DropField* txtUrl_ = nullptr;
  DropField* txtSaveFolder_ = nullptr;
  QLineEdit* txtMask_ = nullptr;
  QLineEdit* txtDepth_ = nullptr;
  QComboBox* cmbScript_ = nullptr;
  QLineEdit* txtGetUrls_ = nullptr;
  QLineEdit* txtContentType_ = nullptr;
  LinkListView* list_ = nullptr;
  LinkListModel* model_ = nullptr;
  QLabel* status_ = nullptr;
  QLabel* progress_ = nullptr;
  QLabel* checkedTotal_ = nullptr;
  QTimer totalTimer_;
  bool checkColumnsShown_ = false;
  QMenu* popup_ = nullptr;
  std::map<QString, QAction*> actions_;
  // The frame's left and top border while the window was last in its normal state (a
  // maximized window may have none), to store the normal place as a frame position.
  QPoint normalInset_;
  DownloadJob downloadJob_;
};

}  // namespace vendil::gui
