#include "qt/Fonts.h"

#include <QFontDatabase>
#include <QStringList>

namespace tesvarin::qt {

namespace {

QString FirstInstalled(const QStringList& Candidates) {
  const QStringList Installed = QFontDatabase::families();
  for (const QString& C : Candidates) {
    if (Installed.contains(C, Qt::CaseInsensitive)) return C;
  }
  return QString();
}

const QStringList& ProportionalFamilies() {
  static const QStringList F{"IPAPGothic", "IPAexGothic", "Noto Sans CJK JP", "VL PGothic", "TakaoPGothic",
                             "IPAGothic"};
  return F;
}

const QStringList& FixedFamilies() {
  static const QStringList F{"IPAGothic", "Noto Sans Mono CJK JP", "VL Gothic", "TakaoGothic", "IPAexGothic"};
  return F;
}

}  // namespace

QString SubstituteFamily(const QString& Family) {
  if (QFontDatabase::families().contains(Family, Qt::CaseInsensitive)) return Family;
  bool Proportional = Family.contains(QStringLiteral("Ｐ")) || Family.contains(QStringLiteral("UI"));
  bool Fixed = Family.compare(QStringLiteral("FixedSys"), Qt::CaseInsensitive) == 0 ||
               Family.contains(QStringLiteral("ゴシック")) || Family.contains(QStringLiteral("明朝"));
  QString Found = FirstInstalled((Proportional || !Fixed) ? ProportionalFamilies() : FixedFamilies());
  return Found.isEmpty() ? Family : Found;
}

QFont JapaneseUiFont(int PointSize) {
  QString Family = FirstInstalled(ProportionalFamilies());
  QFont Font = Family.isEmpty() ? QFontDatabase::systemFont(QFontDatabase::GeneralFont) : QFont(Family);
  Font.setPointSize(PointSize);
  return Font;
}

QFont JapaneseFixedFont(int PointSize) {
  QString Family = FirstInstalled(FixedFamilies());
  QFont Font = Family.isEmpty() ? QFontDatabase::systemFont(QFontDatabase::FixedFont) : QFont(Family);
  Font.setStyleHint(QFont::TypeWriter);
  Font.setPointSize(PointSize);
  return Font;
}

}  // namespace tesvarin::qt
