// The band area: rows of captioned bands, sized in twips at the screen's DPI.
#include "gui/band_area.h"

#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QResizeEvent>
#include <QVBoxLayout>
#include <algorithm>

#include "gui/twips.h"

namespace vendil::gui {
namespace {

// The raised ridge at a band's left edge, drawn as the band's grip.
QFrame* MakeGrip(QWidget* parent) {
  auto* grip = new QFrame(parent);
  grip->setFrameShape(QFrame::VLine);
  grip->setFrameShadow(QFrame::Raised);
  grip->setLineWidth(1);
  grip->setMidLineWidth(1);
  grip->setFixedWidth(4);
  return grip;
}

// A band asks for its design width and takes more or less as the row allows; it never
// shrinks below what its caption and a little of its child need.
class BandFrame : public QFrame {
 public:
  explicit BandFrame(QWidget* parent) : QFrame(parent) {
    setFrameShape(QFrame::StyledPanel);
    setFrameShadow(QFrame::Raised);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
  }
  void SetDesign(int widthPx, int minHeightPx) {
    widthPx_ = widthPx;
    minHeightPx_ = minHeightPx;
    updateGeometry();
  }
  QSize sizeHint() const override {
    const QSize natural = QFrame::sizeHint();
    return {std::max(widthPx_, minimumSizeHint().width()),
            std::max(minHeightPx_, natural.height())};
  }
  QSize minimumSizeHint() const override {
    const QSize least = QFrame::minimumSizeHint();
    return {least.width(), std::max(minHeightPx_, least.height())};
  }

 private:
  int widthPx_ = 0;
  int minHeightPx_ = 0;
};

}  // namespace

BandArea::BandArea(QWidget* parent) : QWidget(parent) {
  rows_ = new QVBoxLayout(this);
  rows_->setContentsMargins(0, 1, 0, 1);
  rows_->setSpacing(1);
  setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

void BandArea::AddBand(const QString& caption, QWidget* child, bool newRow, int widthTwips,
                       int minHeightTwips) {
  if (newRow || currentRow_ == nullptr) {
    currentRow_ = new QHBoxLayout();
    currentRow_->setContentsMargins(0, 0, 0, 0);
    currentRow_->setSpacing(2);
    rows_->addLayout(currentRow_);
    ++rowCount_;
  } else if (!bands_.empty()) {
    // The band that was last in its row no longer stretches.
    currentRow_->setStretchFactor(bands_.back().frame, 0);
  }

  Band band;
  band.frame = new BandFrame(this);
  auto* layout = new QHBoxLayout(band.frame);
  layout->setContentsMargins(2, 1, 2, 1);
  layout->setSpacing(4);
  layout->addWidget(MakeGrip(band.frame));
  if (!caption.isEmpty()) {
    band.caption = new QLabel(caption, band.frame);
    band.caption->setBuddy(child);
    layout->addWidget(band.caption);
  }
  child->setParent(band.frame);
  layout->addWidget(child, 1);
  band.child = child;
  band.row = rowCount_ - 1;
  band.widthTwips = widthTwips;
  band.minHeightTwips = minHeightTwips;
  currentRow_->addWidget(band.frame, 1);
  bands_.push_back(band);
  ApplyDesignSizes();
}

QString BandArea::BandCaption(int index) const {
  const Band& band = bands_.at(static_cast<size_t>(index));
  return band.caption != nullptr ? band.caption->text() : QString();
}

QWidget* BandArea::BandChild(int index) const {
  return bands_.at(static_cast<size_t>(index)).child;
}

QWidget* BandArea::BandWidget(int index) const {
  return bands_.at(static_cast<size_t>(index)).frame;
}

int BandArea::BandRow(int index) const { return bands_.at(static_cast<size_t>(index)).row; }

void BandArea::ApplyDesignSizes() {
  for (const Band& band : bands_) {
    static_cast<BandFrame*>(band.frame)
        ->SetDesign(TwipsToPixels(band.widthTwips, this), TwipsToPixels(band.minHeightTwips, this));
  }
}

void BandArea::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (event->size().height() != lastHeight_) {
    lastHeight_ = event->size().height();
    emit HeightChanged();
  }
}

void BandArea::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  // A move to a screen of another DPI changes what the design widths are in pixels.
  if (event->type() == QEvent::ScreenChangeInternal) ApplyDesignSizes();
}

}  // namespace vendil::gui
