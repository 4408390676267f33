// Picking the program font: Japanese must never show as boxes, whatever the system offers.
#include "gui/ui_font.h"

#include <QFontDatabase>
#include <QStringList>

namespace vendil::gui {
namespace {

constexpr int kPointSize = 9;

bool CoversJapanese(const QString& family) {
  return QFontDatabase::writingSystems(family).contains(QFontDatabase::Japanese);
}

// Lower is better: a proportional sans-serif face made for Japanese text first; faces of
// a CJK family cut for another language (HK, KR, SC, TC) after it.
int Rank(const QString& family) {
  int rank = 0;
  if (QFontDatabase::isFixedPitch(family) ||
      family.contains(QStringLiteral("Mono"), Qt::CaseInsensitive))
    rank += 100;
  if (family.contains(QStringLiteral("Serif"), Qt::CaseInsensitive) ||
      family.contains(QStringLiteral("Mincho"), Qt::CaseInsensitive))
    rank += 10;
  if (!family.contains(QStringLiteral("JP")) && !family.contains(QStringLiteral("Japanese"))) {
    rank += family.contains(QStringLiteral("CJK")) ? 5 : 1;
  }
  return rank;
}

}  // namespace

QFont ProgramFont() {
  const QString preferred = QStringLiteral("MS UI Gothic");
  if (QFontDatabase::families().contains(preferred)) return QFont(preferred, kPointSize);

  QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
  font.setPointSize(kPointSize);
  if (CoversJapanese(font.family())) return font;

  QString best;
  int bestRank = 1000;
  for (const QString& family : QFontDatabase::families(QFontDatabase::Japanese)) {
    const int rank = Rank(family);
    if (rank < bestRank) {
      best = family;
      bestRank = rank;
    }
  }
  if (!best.isEmpty()) font.setFamily(best);
  return font;
}

}  // namespace vendil::gui
