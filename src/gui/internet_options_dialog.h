// The Internet options dialog: proxy, time-outs, retries and the politeness settings of the
// HTTP control. It edits a copy and hands it back on OK.
#pragma once

#include <QDialog>

#include "platform/internet_options.h"

class QCheckBox;
class QLineEdit;
class QRadioButton;
class QSpinBox;

namespace vendil::gui {

class InternetOptionsDialog : public QDialog {
  Q_OBJECT

 public:
  explicit InternetOptionsDialog(const InternetOptions& options, QWidget* parent = nullptr);

  // What the boxes hold now.
  InternetOptions Options() const;

  QRadioButton* optNoProxy = nullptr;
  QRadioButton* optSystemProxy = nullptr;
  QRadioButton* optManualProxy = nullptr;
  QLineEdit* txtProxyHost = nullptr;
  QSpinBox* spnProxyPort = nullptr;
  QLineEdit* txtProxyUser = nullptr;
  QLineEdit* txtProxyPassword = nullptr;
  QSpinBox* spnConnectTimeout = nullptr;
  QSpinBox* spnTotalTimeout = nullptr;
  QSpinBox* spnRetries = nullptr;
  QSpinBox* spnConnections = nullptr;
  QSpinBox* spnDelay = nullptr;

 private:
  void EnableManualFields();
  InternetOptions original_;
};

}  // namespace vendil::gui
