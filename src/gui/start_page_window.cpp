// The start page window.
#include "gui/start_page_window.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "commands/start_page.h"
#include "gui/twips.h"
#include "gui/window_placement.h"

namespace vendil::gui {

StartPageWindow::StartPageWindow(Form1& form, QWidget* owner)
    : QWidget(owner, Qt::Window), form_(form) {
  setObjectName(QStringLiteral("frmWebBrowser"));
  setWindowTitle(QString::fromUtf8("Vendil スタートページ"));
  setAttribute(Qt::WA_DeleteOnClose, false);
  browser_ = new QTextBrowser(this);
  browser_->setObjectName(QStringLiteral("WebBrowser1"));
  // Every link goes to the desktop's browser; the page itself stays as it is.
  browser_->setOpenLinks(false);
  browser_->setOpenExternalLinks(false);
  connect(browser_, &QTextBrowser::anchorClicked, this, [this](const QUrl& url) {
    form_.ui().OpenUrl(url.isLocalFile() ? url.toLocalFile().toStdString()
                                         : url.toString().toStdString());
  });
  const QString page = QString::fromStdString(StartPagePath(form_));
  if (QFileInfo::exists(page)) {
    // An absolute file URL, so that the page's style sheet and links resolve beside it.
    browser_->setSource(QUrl::fromLocalFile(QFileInfo(page).absoluteFilePath()));
  } else {
    browser_->setPlainText(QString::fromUtf8("スタートページが見つかりません: ") + page);
  }
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(browser_);

  const WindowLayout stored = ReadStartPageLayout(form_);
  // Inside the screen, however it was stored.
  PlaceWindow(this, QPoint(TwipsToPixels(stored.Left, this), TwipsToPixels(stored.Top, this)),
              QSize(TwipsToPixels(stored.Width, this), TwipsToPixels(stored.Height, this)));
}

void StartPageWindow::closeEvent(QCloseEvent* event) {
  WindowLayout layout;
  layout.Left = PixelsToTwips(pos().x(), this);
  layout.Top = PixelsToTwips(pos().y(), this);
  layout.Width = PixelsToTwips(width(), this);
  layout.Height = PixelsToTwips(height(), this);
  SaveStartPageLayout(form_, layout);
  event->accept();
}

}  // namespace vendil::gui
