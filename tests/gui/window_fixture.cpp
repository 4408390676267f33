// Window test helpers.
#include "gui/window_fixture.h"

#include <QDesktopServices>
#include <QMessageBox>
#include <QTest>

#include "commands/main_commands.h"

namespace vendil::test {

OpenedUrls::OpenedUrls() {
  for (const char* scheme : {"http", "https", "file"})
    QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), this, "Open");
}

OpenedUrls::~OpenedUrls() {
  for (const char* scheme : {"http", "https", "file"})
    QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
}

namespace {
QString Caption(const QPushButton* button) { return button->text().remove(QLatin1Char('&')); }
}  // namespace

bool ClickButton(QWidget* dialog, const QString& caption) {
  for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
    if (Caption(button) == caption) {
      button->click();
      return true;
    }
  }
  return false;
}

QStringList ClickableCaptions(QWidget* dialog) {
  QStringList captions;
  for (const QPushButton* button : dialog->findChildren<QPushButton*>())
    captions << Caption(button);
  return captions;
}

void WindowFixture::SetUp() {
  timers_ = std::make_unique<QObject>();
  form.programFolder = folder.Path();
  form.settingsFile = folder.File("vendil.ini");
  form.userAgent = "User-Agent: Mozilla/4.0 (compatible; test)";
}

void WindowFixture::TearDown() {
  timers_.reset();
  window.reset();
  formHolder_.reset();
}

void WindowFixture::OpenWindow() {
  window = std::make_unique<gui::MainWindow>(form, ui);
  LoadMainWindow(form);
  window->ApplyStoredLayout();
  window->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
}

void WindowFixture::CloseWindow() {
  window->close();
  window.reset();
}

void WindowFixture::OnModal(const QString& name, std::function<void(QWidget*)> answer) {
  auto* timer = new QTimer(timers_.get());
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  timer->setInterval(5);
  QObject::connect(timer, &QTimer::timeout, timer, [this, timer, name, answer, deadline] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal != nullptr && modal->isVisible() && modal->objectName() == name) {
      timer->stop();
      modalsSeen.push_back(name);
      answer(modal);
      return;
    }
    if (std::chrono::steady_clock::now() > deadline) {
      timer->stop();
      ADD_FAILURE() << "no modal dialog named " << name.toStdString() << " showed up";
    }
  });
  timer->start();
}

void WindowFixture::AcceptNextMessageBox() {
  OnModal(QStringLiteral("MessageBox"), [this](QWidget* w) {
    auto* box = qobject_cast<QMessageBox*>(w);
    ASSERT_NE(box, nullptr);
    messageTexts.push_back(box->text().toStdString());
    EXPECT_TRUE(ClickButton(box, QStringLiteral("OK")));
  });
}

void WindowFixture::Trigger(const QString& name) {
  QAction* action = window->Action(name);
  ASSERT_NE(action, nullptr) << name.toStdString();
  ASSERT_TRUE(action->isEnabled()) << name.toStdString();
  action->trigger();
  QCoreApplication::processEvents();
}

bool WindowFixture::WaitFor(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    QTest::qWait(5);
  }
  return true;
}

}  // namespace vendil::test
