// CoolBar1: the band area across the top of the main window. Bands sit in rows; each has a
// grip, an optional caption and one child, starts at its design width (twips) and minimum
// height, and the last band of a row takes the rest of the row.
#pragma once

#include <QWidget>
#include <vector>

class QHBoxLayout;
class QLabel;
class QVBoxLayout;

namespace vendil::gui {

class BandArea : public QWidget {
  Q_OBJECT

 public:
  explicit BandArea(QWidget* parent = nullptr);

  // Adds a band; `newRow` starts a new row (the first band always does).
  void AddBand(const QString& caption, QWidget* child, bool newRow, int widthTwips,
               int minHeightTwips);

  int BandCount() const { return static_cast<int>(bands_.size()); }
  QString BandCaption(int index) const;
  QWidget* BandChild(int index) const;
  QWidget* BandWidget(int index) const;
  int BandRow(int index) const;

 signals:
  void HeightChanged();

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  struct Band {
    QWidget* frame = nullptr;
    QLabel* caption = nullptr;
    QWidget* child = nullptr;
    int row = 0;
    int widthTwips = 0;
    int minHeightTwips = 0;
  };
  void ApplyDesignSizes();

  QVBoxLayout* rows_ = nullptr;
  QHBoxLayout* currentRow_ = nullptr;
  std::vector<Band> bands_;
  int rowCount_ = 0;
  int lastHeight_ = -1;
};

}  // namespace vendil::gui
