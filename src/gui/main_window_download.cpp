// The window's part of downloading: the File menu item and toolbar key that run the
// download command, and the list's state column fed from the download job.
#include <QMenu>
#include <QToolBar>

#include "commands/download_command.h"
#include "gui/link_list_model.h"
#include "gui/link_list_view.h"
#include "gui/main_window.h"

namespace vendil::gui {

void MainWindow::BuildDownload(QMenu* file) {
  file->addSeparator();
  AddItem(file, "mnuFile_Download", "ダウンロード(&D)", [this] { StartDownload(); });

  auto* key = new QAction(QIcon(QStringLiteral(":/icons/download.svg")),
                          QString::fromUtf8("ダウンロード"), toolbar_);
  key->setObjectName(QStringLiteral("Toolbar1_download"));
  key->setToolTip(QString::fromUtf8("チェックしたファイルをダウンロード"));
  key->setData(QStringLiteral("download"));
  actions_[key->objectName()] = key;
  connect(key, &QAction::triggered, this, [this] { RunCommand([this] { StartDownload(); }); });
  toolbar_->addSeparator();
  toolbar_->addAction(key);

  downloadJob_.onRowsChanged = [this](const std::vector<size_t>& rows) {
    model_->DownloadStatesChanged(rows);
  };
}

void MainWindow::StartDownload() {
  // The column shows from the first download on; a row shows a state only while it is
  // still the row that was downloaded (a new search or a sort moves rows).
  const bool firstTime = !model_->DownloadColumnShown();
  model_->ShowDownloadColumn([this](size_t position) -> std::string {
    const RowDownload* entry = downloadJob_.ForRow(position);
    if (!entry || position > form_.lvwUrls.Count() || form_.lvwUrls.Row(position).Url != entry->url)
      return "";
    return RowDownloadText(*entry);
  });
  if (firstTime) {
    list_->setColumnWidth(
        LinkListModel::kDownloadColumn,
        list_->fontMetrics().horizontalAdvance(QString::fromUtf8("進行 100% 999.9 MB/s___")));
  }
  DownloadCheckedRows(form_, downloadJob_);
}

}  // namespace vendil::gui
