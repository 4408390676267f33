// Takes the README's pictures: the real window on a real X server (scripts/screenshots.sh
// runs it under Xvfb with a window manager) as a first start opens it, a crawl of the sample
// site, a search whose start page cannot be read, then the several-URLs dialog, the sign-in
// dialog, the about box and the start page, each saved as a PNG of the screen area its
// window covers (frame included).
//
//   screenshot_tour SAMPLE_SITE_URL OUTPUT_FOLDER [UNREADABLE_URL]
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <functional>

#include "commands/main_commands.h"
#include "gui/link_list_view.h"
#include "gui/main_window.h"
#include "gui/qt_translations.h"
#include "gui/qt_ui.h"
#include "gui/start_page_window.h"
#include "gui/ui_font.h"
#include "net/user_agent.h"
#include "platform/program_folder.h"

namespace {

QString g_output;
int g_failures = 0;

void Settle(int ms) {
  QEventLoop loop;
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec();
}

void Save(const QPixmap& shot, const char* name) {
  const QString path = g_output + QLatin1Char('/') + QString::fromLatin1(name);
  if (!shot.save(path)) {
    std::fprintf(stderr, "screenshot_tour: cannot write %s\n", qPrintable(path));
    ++g_failures;
  } else {
    std::fprintf(stderr, "saved %s\n", qPrintable(path));
  }
}

// The screen under a window, its frame included.
void Shoot(QWidget* window, const char* name) {
  Settle(300);
  const QRect frame = window->frameGeometry();
  Save(QGuiApplication::primaryScreen()->grabWindow(0, frame.x(), frame.y(), frame.width(),
                                                    frame.height()),
       name);
}

// The whole screen, every window on it.
void ShootScreen(const char* name) {
  Settle(300);
  Save(QGuiApplication::primaryScreen()->grabWindow(0), name);
}

// Runs `act` on the next modal dialog named `name` once it shows.
void WhenModal(const QString& name, std::function<void(QWidget*)> act) {
  auto* timer = new QTimer(qApp);
  timer->setInterval(20);
  QObject::connect(timer, &QTimer::timeout, timer, [timer, name, act] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr || !modal->isVisible() || modal->objectName() != name) return;
    timer->stop();
    timer->deleteLater();
    act(modal);
  });
  timer->start();
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc < 3) {
    std::fprintf(stderr, "usage: screenshot_tour SAMPLE_SITE_URL OUTPUT_FOLDER [UNREADABLE_URL]\n");
    return 2;
  }
  QApplication::setFont(vendil::gui::ProgramFont());
  vendil::gui::InstallQtTranslations(app);
  g_output = QString::fromLocal8Bit(argv[2]);
  QDir().mkpath(g_output);
  QTemporaryDir settings;

  vendil::gui::QtUi ui;
  vendil::Form1 form(ui);
  form.userAgent = vendil::BuildUserAgent();
  form.programFolder = vendil::ProgramDataFolder();
  form.settingsFile = settings.filePath(QStringLiteral("vendil.ini")).toStdString();
  vendil::gui::MainWindow window(form, ui);
  vendil::LoadMainWindow(form);
  // A first start: nothing stored, so the window and the start page go where a new user
  // sees them first.
  window.ApplyStoredLayout();
  auto* startPage = new vendil::gui::StartPageWindow(form, &window);
  startPage->show();
  window.show();
  Settle(800);
  ShootScreen("first-start.png");

  // The README's pictures use one fixed place, beside the start page.
  window.move(20, 20);
  window.resize(930, 560);
  for (int c : {0, 3}) window.List()->setColumnWidth(c, 150);
  window.List()->setColumnWidth(1, 260);
  window.List()->setColumnWidth(2, 200);
  startPage->move(960, 20);
  startPage->resize(300, 560);
  Settle(500);
  Shoot(startPage, "start-page.png");

  form.txtUrl.SetText(argv[1]);
  form.txtDepth.SetText("2");
  form.txtMask.SetText("*.zip;*.lzh");
  WhenModal(QStringLiteral("MessageBox"), [&window](QWidget* box) {
    Shoot(&window, "search-done.png");
    static_cast<QMessageBox*>(box)->accept();
  });
  window.RunCommand([&form] { vendil::StartSearch(form); });
  Settle(300);
  window.List()->selectRow(2);
  Shoot(&window, "main-window.png");

  // The checked rows asked for their size, type and state; the list scrolled to show them.
  window.Action(QStringLiteral("Toolbar1_check"))->trigger();
  Settle(300);
  window.List()->horizontalScrollBar()->setValue(window.List()->horizontalScrollBar()->maximum());
  Settle(200);
  Shoot(&window, "link-check.png");
  window.List()->horizontalScrollBar()->setValue(0);

  // What the search met and did not read.
  WhenModal(QStringLiteral("frmSkippedLinks"), [](QWidget* dialog) {
    Shoot(dialog, "skipped-links.png");
    static_cast<QDialog*>(dialog)->reject();
  });
  window.Action(QStringLiteral("mnuGo_SkippedLinks"))->trigger();

  // A start page that cannot be read: a loopback port nobody listens on (argv[3]).
  if (argc > 3) {
    form.txtUrl.SetText(argv[3]);
    WhenModal(QStringLiteral("MessageBox"), [&window](QWidget* box) {
      Shoot(&window, "search-failed.png");
      static_cast<QMessageBox*>(box)->accept();
    });
    window.RunCommand([&form] { vendil::StartSearch(form); });
    form.txtUrl.SetText(argv[1]);
    Settle(300);
  }

  WhenModal(QStringLiteral("frmMultiURL"), [argv](QWidget* dialog) {
    dialog->findChild<QPlainTextEdit*>(QStringLiteral("Text1"))
        ->setPlainText(QString::fromLocal8Bit(argv[1]) +
                       QStringLiteral("\nhttp://briefcase.yahoo.co.jp/bc/demo/\n"));
    Shoot(dialog, "several-urls.png");
    static_cast<QDialog*>(dialog)->reject();
  });
  ui.ShowMultiUrlDialog();

  WhenModal(QStringLiteral("frmSignIn"), [](QWidget* dialog) {
    Shoot(dialog, "sign-in.png");
    static_cast<QDialog*>(dialog)->reject();
  });
  std::string id = "demo", password;
  ui.ShowSignIn(id, password, 0);

  WhenModal(QStringLiteral("frmAbout"), [](QWidget* dialog) {
    Shoot(dialog, "about.png");
    static_cast<QDialog*>(dialog)->accept();
  });
  window.ShowAbout();

  startPage->close();
  window.close();
  return g_failures == 0 ? 0 : 1;
}
