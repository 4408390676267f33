// The main window: its widgets, the resize rule, the stored layout and closing.
#include "gui/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QScrollBar>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QUrl>
#include <cstdio>
#include <cstdlib>
#include <exception>

#include "commands/main_commands.h"
#include "commands/new_links.h"
#include "commands/start_page.h"
#include "commands/window_commands.h"
#include "commands/window_geometry.h"
#include "crawl/add_url_script.h"
#include "gui/about_dialog.h"
#include "gui/band_area.h"
#include "gui/drop_field.h"
#include "gui/field_binding.h"
#include "gui/internet_options_dialog.h"
#include "gui/jp_text.h"
#include "gui/link_list_model.h"
#include "gui/link_list_view.h"
#include "gui/qt_ui.h"
#include "gui/resources.h"
#include "gui/script_combo.h"
#include "gui/skipped_links_dialog.h"
#include "gui/twips.h"
#include "gui/window_placement.h"

namespace vendil::gui {
namespace {

// Resizes of the central area run the resize rule.
class ResizeWatcher : public QObject {
 public:
  ResizeWatcher(QObject* parent, std::function<void()> onResize)
      : QObject(parent), onResize_(std::move(onResize)) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Resize) onResize_();
    return QObject::eventFilter(watched, event);
  }

 private:
  std::function<void()> onResize_;
};

// The status text is one line: line breaks some texts carry show as blanks.
QString OneLine(const std::string& text) {
  QString line = QString::fromStdString(text);
  line.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
  line.replace(QLatin1Char('\n'), QLatin1Char(' '));
  line.replace(QLatin1Char('\r'), QLatin1Char(' '));
  return line;
}

}  // namespace

MainWindow::MainWindow(Form1& form, QtUi& ui) : form_(form), ui_(ui) {
  InitVendilResources();
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(ProgramTitle());
  setWindowIcon(QIcon(QStringLiteral(":/icons/vendil.svg")));
  setAcceptDrops(false);

  central_ = new QWidget(this);
  central_->setObjectName(QStringLiteral("FormArea"));
  setCentralWidget(central_);
  central_->installEventFilter(new ResizeWatcher(this, [this] { ApplyResizeRule(); }));

  BuildFields();
  BuildToolbar();
  BuildBands();
  BuildList();
  BuildStatusBar();
  BuildCheckedTotal();
  BuildMenus();
  SetTabOrder();

  // A screen unplugged while the program runs must not leave the window off every screen.
  connect(qApp, &QGuiApplication::screenRemoved, this, [this] {
    QTimer::singleShot(0, this, [this] {
      if (isVisible() && !isMaximized() && !isMinimized() && !isFullScreen())
        PlaceWindow(this, pos(), size());
    });
  });

  ui_.SetMainWindow(this);
  ui_.OnStatus([this](const std::string& text) { ShowStatus(text); });
  ui_.OnProgress([this](int read, int queued, int rows) { ShowProgress(read, queued, rows); });
  ui_.OnAbout([this] { ShowAbout(); });
}

MainWindow::~MainWindow() {
  // The form outlives the window: its fields must not call into widgets that are gone.
  for (TextField* field : {&form_.txtUrl, &form_.txtSaveFolder, &form_.txtMask, &form_.txtDepth,
                           &form_.txtGetUrls, &form_.txtContentType})
    UnbindText(*field);
  UnbindCombo(form_.cmbScript);
  for (CheckItem* item : {&form_.mnuOption_UseBriefcaseDirectory, &form_.mnuOption_DifferentServer,
                          &form_.mnuOption_ParentDirectory, &form_.mnuOption_OnlyUseYahooBriefcase})
    UnbindCheck(*item);
  for (CheckItem& item : form_.mnuOption_Tag_Tags) UnbindCheck(item);
  ui_.OnStatus(nullptr);
  ui_.OnProgress(nullptr);
  ui_.OnAbout(nullptr);
  ui_.SetMainWindow(nullptr);
}

void MainWindow::BuildFields() {
  txtUrl_ = new DropField(this);
  txtUrl_->setObjectName(QStringLiteral("txtUrl"));
  txtUrl_->SetDropHandler([](const QMimeData& data) { return data.hasText(); },
                          [this](const QMimeData& data) {
                            return data.hasText() &&
                                   DropOnUrlField(form_, data.text().toStdString());
                          });
  txtSaveFolder_ = new DropField(this);
  txtSaveFolder_->setObjectName(QStringLiteral("txtSaveFolder"));
  txtSaveFolder_->SetDropHandler([](const QMimeData& data) { return data.hasUrls(); },
                                 [this](const QMimeData& data) {
                                   std::vector<std::string> paths;
                                   for (const QUrl& url : data.urls()) {
                                     if (url.isLocalFile())
                                       paths.push_back(url.toLocalFile().toStdString());
                                   }
                                   return DropOnSaveFolder(form_, paths);
                                 });

  auto plain = [this](const char* name) {
    auto* edit = new QLineEdit(this);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setAcceptDrops(false);
    return edit;
  };
  txtMask_ = plain("txtMask");
  txtDepth_ = plain("txtDepth");
  txtGetUrls_ = plain("txtGetUrls");
  txtContentType_ = plain("txtContentType");
  cmbScript_ = new ScriptCombo(this, [this] { RefreshScriptList(form_); });
  cmbScript_->setObjectName(QStringLiteral("cmbScript"));
  cmbScript_->setAcceptDrops(false);
  cmbScript_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  cmbScript_->setMinimumContentsLength(4);

  // Enter in the URL field starts a search, as 開始 does.
  connect(txtUrl_, &QLineEdit::returnPressed, this,
          [this] { RunCommand([this] { StartSearch(form_); }); });

  BindText(txtUrl_, form_.txtUrl);
  BindText(txtSaveFolder_, form_.txtSaveFolder);
  BindText(txtMask_, form_.txtMask);
  BindText(txtDepth_, form_.txtDepth);
  BindText(txtGetUrls_, form_.txtGetUrls);
  BindText(txtContentType_, form_.txtContentType);
  BindCombo(cmbScript_, form_.cmbScript);
}

void MainWindow::BuildBands() {
  bands_ = new BandArea(central_);
  bands_->setObjectName(QStringLiteral("CoolBar1"));
  bands_->AddBand(QString(), toolbar_, false, 4830, 525);
  bands_->AddBand(QStringLiteral("URL"), txtUrl_, true, 3255, 270);
  bands_->AddBand(Jp("フォルダ"), txtSaveFolder_, true, 3015, 270);
  bands_->AddBand(Jp("フィルタ"), txtMask_, true, 4005, 270);
  bands_->AddBand(Jp("階層"), txtDepth_, false, 1005, 270);
  bands_->AddBand(QStringLiteral("Script"), cmbScript_, false, 1005, 300);
  bands_->AddBand(Jp("URLフィルタ"), txtGetUrls_, true, 3000, 270);
  bands_->AddBand(QStringLiteral("ContentType"), txtContentType_, false, 1455, 270);
  connect(bands_, &BandArea::HeightChanged, this, &MainWindow::ApplyResizeRule);
}

void MainWindow::BuildList() {
  list_ = new LinkListView(central_);
  model_ = new LinkListModel(form_.lvwUrls, this);
  list_->setModel(model_);
  ApplyColumnWidths();
  QHeaderView* header = list_->horizontalHeader();
  header->setSortIndicatorShown(false);
  connect(header, &QHeaderView::sectionClicked, this, [this, header](int section) {
    if (section >= LinkListModel::kColumnCount) return;  // the download states do not sort
    RunCommand(
        [this, section] { form_.lvwUrls.SortByColumn(static_cast<LinkColumn>(section + 1)); });
    header->setSortIndicatorShown(true);
    header->setSortIndicator(
        section, form_.lvwUrls.SortAscending() ? Qt::AscendingOrder : Qt::DescendingOrder);
  });
  connect(list_, &LinkListView::ContextMenuRequested, this, &MainWindow::ShowContextMenu);
  // A new search starts from an empty list and lists rows in crawl order: the arrow of an
  // earlier sort would claim an order the rows no longer have.
  connect(model_, &QAbstractItemModel::modelReset, this, [this, header] {
    if (model_->rowCount() == 0) header->setSortIndicatorShown(false);
  });
}

void MainWindow::SetTabOrder() {
  // Along the bands as they stand on screen, then the list.
  QWidget* order[] = {txtUrl_,    txtSaveFolder_, txtMask_,        txtDepth_,
                      cmbScript_, txtGetUrls_,    txtContentType_, list_};
  for (size_t i = 0; i + 1 < std::size(order); ++i) setTabOrder(order[i], order[i + 1]);
}

void MainWindow::BuildStatusBar() {
  status_ = new QLabel(this);
  status_->setObjectName(QStringLiteral("StatusBar1"));
  status_->setTextFormat(Qt::PlainText);
  // A long URL must not widen the window: the label may shrink below its text.
  status_->setMinimumWidth(1);
  status_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  progress_ = new QLabel(this);
  progress_->setObjectName(QStringLiteral("Progress"));
  progress_->hide();
  statusBar()->addWidget(status_, 1);
  statusBar()->addPermanentWidget(progress_);
  statusBar()->setSizeGripEnabled(true);
}

QAction* MainWindow::Action(const QString& name) const {
  auto it = actions_.find(name);
  return it != actions_.end() ? it->second : nullptr;
}

void MainWindow::RunCommand(const std::function<void()>& command) {
  ++running_;
  try {
    command();
  } catch (const std::exception& e) {
    // Commands absorb their own errors; anything that still escapes must not end the program.
    std::fprintf(stderr, "vendil: %s\n", e.what());
  }
  if (--running_ == 0) progress_->hide();
}

void MainWindow::ApplyResizeRule() {
  if (isMinimized() || bands_ == nullptr || list_ == nullptr) return;
  const int bandHeight = bands_->sizeHint().height();
  bands_->setGeometry(0, 0, central_->width(), bandHeight);
  const int statusHeight = statusBar()->isVisible() ? statusBar()->height() : 0;
  const ListArea area =
      ListAreaForWindow(PixelsToTwips(central_->width(), this),
                        PixelsToTwips(central_->height() + statusHeight, this),
                        PixelsToTwips(bandHeight, this), PixelsToTwips(statusHeight, this));
  // The list sits right below the bands; its size comes from the rule.
  list_->setGeometry(TwipsToPixels(area.left, this), bandHeight, TwipsToPixels(area.width, this),
                     TwipsToPixels(area.height, this));
}

QSize MainWindow::MinimumWindowSize() const {
  // Every band with its caption, and the list's header with three rows below it.
  const int frame = 2 * list_->frameWidth();
  const int rows = 3 * list_->verticalHeader()->defaultSectionSize();
  const int listHeight = list_->horizontalHeader()->sizeHint().height() + rows + frame +
                         list_->horizontalScrollBar()->sizeHint().height();
  const int height = menuBar()->sizeHint().height() + bands_->sizeHint().height() + listHeight +
                     statusBar()->sizeHint().height();
  return {bands_->minimumSizeHint().width(), height};
}

void MainWindow::ApplyStoredLayout() {
  ApplyColumnWidths();
  setMinimumSize(MinimumWindowSize());
  if (!HasStoredWindowLayout(form_)) {
    // Nothing stored: large enough to show every column, beside the start page if it fits.
    const int columns = list_->horizontalHeader()->length() + 2 * list_->frameWidth() +
                        list_->verticalScrollBar()->sizeHint().width();
    PlaceWindowFirstTime(this, columns, TwipsToPixels(kStartPageWidth, this));
  } else {
    const WindowLayout& l = form_.layout;
    PlaceWindow(this, QPoint(TwipsToPixels(l.Left, this), TwipsToPixels(l.Top, this)),
                QSize(TwipsToPixels(l.Width, this), TwipsToPixels(l.Height, this)));
  }
  // Where the window now is: the start page opens beside this place, not a stored one.
  WindowLayout& l = form_.layout;
  l.Left = PixelsToTwips(pos().x(), this);
  l.Top = PixelsToTwips(pos().y(), this);
  l.Width = PixelsToTwips(width(), this);
  l.Height = PixelsToTwips(height(), this);
}

void MainWindow::ApplyColumnWidths() {
  for (int c = 0; c < LinkListModel::kColumnCount; ++c)
    list_->setColumnWidth(c, TwipsToPixels(form_.columnWidths[static_cast<size_t>(c)], this));
  // What a check learns shows from the first check on: a newcomer's list has the seven.
  if (!checkColumnsShown_) {
    for (int c = LinkListModel::kSizeColumn; c <= LinkListModel::kStateColumn; ++c)
      list_->setColumnHidden(c, true);
  }
}

void MainWindow::StoreLayout() {
  WindowLayout& l = form_.layout;
  l.Minimized = isMinimized();
  l.Maximized = isMaximized() || isFullScreen();
  // A maximized or minimized window keeps the place it returns to: that is what is stored
  // (the position it had before, not one from an older session).
  const QRect normal = l.Minimized || l.Maximized ? normalGeometry() : QRect();
  if (normal.isValid()) {
    // The stored position is the frame's, as pos() gives it; normalGeometry() is inside it.
    l.Left = PixelsToTwips(normal.x() - normalInset_.x(), this);
    l.Top = PixelsToTwips(normal.y() - normalInset_.y(), this);
    l.Width = PixelsToTwips(normal.width(), this);
    l.Height = PixelsToTwips(normal.height(), this);
    l.Minimized = l.Maximized = false;
  } else if (!l.Minimized && !l.Maximized) {
    l.Left = PixelsToTwips(pos().x(), this);
    l.Top = PixelsToTwips(pos().y(), this);
    l.Width = PixelsToTwips(width(), this);
    l.Height = PixelsToTwips(height(), this);
  }
  // The last column shown stretches to the window's edge: its width on screen is the
  // window's business, so the width it was given is kept, as it is for a hidden one. A width
  // the user did not change is kept as stored, not rounded through pixels.
  int stretched = -1;
  for (int c = model_->columnCount() - 1; c >= 0 && stretched < 0; --c) {
    if (!list_->isColumnHidden(c)) stretched = c;
  }
  for (int c = 0; c < LinkListModel::kColumnCount; ++c) {
    if (c == stretched || list_->isColumnHidden(c)) continue;
    int& stored = form_.columnWidths[static_cast<size_t>(c)];
    const int shown = list_->columnWidth(c);
    if (shown != TwipsToPixels(stored, this)) stored = PixelsToTwips(shown, this);
  }
}

void MainWindow::moveEvent(QMoveEvent* event) {
  QMainWindow::moveEvent(event);
  if (windowState() == Qt::WindowNoState) normalInset_ = geometry().topLeft() - pos();
}

void MainWindow::closeEvent(QCloseEvent* event) {
  StoreLayout();
  // A settings file that cannot be written (read-only, a full disk) is said so, not lost
  // in silence; the window closes all the same.
  if (!UnloadMainWindow(form_)) {
    ui_.MessageBox(ProfileNotSavedText(form_.settingsFile), kProductTitle,
                   vb::OKOnly | vb::Exclamation);
  }
  for (QWidget* window : QApplication::topLevelWidgets()) {
    if (window != this && window->isVisible()) window->close();
  }
  if (onUnloaded) onUnloaded();
  event->accept();
  // A download below this event ends with the window: aria2c is shut down, never left.
  downloadJob_.End();
  // A search still running sits below this event in the call stack and would go on in a
  // closed window: the program ends here, its settings already saved.
  if (running_ > 0) {
    std::fflush(nullptr);
    std::_Exit(0);
  }
}

void MainWindow::ShowContextMenu(const QPoint& globalPos) {
  if (popup_ != nullptr) popup_->exec(globalPos);
}

void MainWindow::ShowStatus(const std::string& text) { status_->setText(OneLine(text)); }

void MainWindow::ShowProgress(int pagesRead, int pagesQueued, int rowsFound) {
  progress_->setText(
      Jp("読込 %1 ページ・残り %2 ページ・%3 件").arg(pagesRead).arg(pagesQueued).arg(rowsFound));
  progress_->show();
}

void MainWindow::ShowAbout() {
  AboutDialog about([this](const std::string& url) { ui_.OpenUrl(url); }, this);
  about.exec();
}

void MainWindow::ShowSkippedLinks() {
  SkippedLinksDialog dialog(form_.skippedLinks, this);
  dialog.exec();
}

void MainWindow::ShowInternetOptions() {
  InternetOptionsDialog dialog(form_.internetOptions, this);
  if (dialog.exec() == QDialog::Accepted) form_.internetOptions = dialog.Options();
}

}  // namespace vendil::gui
