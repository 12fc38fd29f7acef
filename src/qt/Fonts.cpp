#include "qt/Fonts.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QHash>
#include <QStringList>

#include <cmath>

namespace tesvarin::qt {

namespace {

// Faces are judged at a size where hinting hardly rounds advances.
constexpr int ProbePixels = 48;

QRawFont Probe(const QString& Family) {
  QFont Font(Family);
  Font.setPixelSize(ProbePixels);
  return ResolvedFace(Font);
}

// The desktop may list a family under its localised name ("IPAゴシック") while the face keeps its
// own; either names it. A family that is not installed resolves to some other face.
bool NamesFace(const QString& Family, const QRawFont& Face) {
  if (Face.familyName().compare(Family, Qt::CaseInsensitive) == 0) return true;
  return QFontInfo(QFont(Family)).family().compare(Family, Qt::CaseInsensitive) == 0;
}

// The first candidate installed under its own name that fits, else the first face a candidate
// resolves to that fits, else any Japanese family that fits; empty when none does.
QString Choose(const QStringList& Candidates, bool (*Fits)(const QRawFont&)) {
  QString Resolved;
  for (const QString& C : Candidates) {
    const QRawFont Face = Probe(C);
    if (!Fits(Face)) continue;
    if (NamesFace(C, Face)) return C;
    if (Resolved.isEmpty()) Resolved = Face.familyName();
  }
  if (!Resolved.isEmpty()) return Resolved;
  for (const QString& Family : QFontDatabase::families(QFontDatabase::Japanese)) {
    if (Fits(Probe(Family))) return Family;
  }
  return QString();
}

const QString& ProportionalFamily() {
  static const QString Family = Choose(
      {"IPAPGothic", "IPAexGothic", "Noto Sans CJK JP", "VL PGothic", "TakaoPGothic", "IPAGothic"}, HasJapanese);
  return Family;
}

const QString& FixedFamily() {
  static const QString Family =
      Choose({"IPAGothic", "Noto Sans Mono CJK JP", "VL Gothic", "TakaoGothic"}, IsJapaneseMonospace);
  return Family;
}

bool CloseTo(qreal A, qreal B) { return std::abs(A - B) <= B / 50; }

}  // namespace

QRawFont ResolvedFace(const QFont& Font) { return QRawFont::fromFont(Font); }

qreal AdvanceOf(const QRawFont& Face, QChar Char) {
  if (!Face.isValid()) return 0;
  const QList<quint32> Glyphs = Face.glyphIndexesForString(QString(Char));
  if (Glyphs.size() != 1 || Glyphs.front() == 0) return 0;
  return Face.advancesForGlyphIndexes(Glyphs).value(0).x();
}

bool HasJapanese(const QRawFont& Face) {
  return Face.isValid() && Face.supportsCharacter(QChar(0x65E5)) && Face.supportsCharacter(QChar(0x3042)) &&
         Face.supportsCharacter(QChar(0x30A2));
}

bool IsJapaneseMonospace(const QRawFont& Face) {
  if (!HasJapanese(Face)) return false;
  const qreal Half = AdvanceOf(Face, QLatin1Char('a'));
  if (Half <= 0) return false;
  for (const char C : {'i', 'W', '0', '.', ' '}) {
    if (!CloseTo(AdvanceOf(Face, QLatin1Char(C)), Half)) return false;
  }
  return CloseTo(AdvanceOf(Face, QChar(0x65E5)), 2 * Half) && CloseTo(AdvanceOf(Face, QChar(0x3042)), 2 * Half);
}

QString SubstituteFamily(const QString& Family) {
  // Asked for on every measure: each name is resolved once.
  static QHash<QString, QString> Known;
  if (auto It = Known.constFind(Family); It != Known.constEnd()) return *It;
  QString Found = Family;
  if (!NamesFace(Family, Probe(Family))) {
    bool Proportional = Family.contains(QStringLiteral("Ｐ")) || Family.contains(QStringLiteral("UI"));
    bool Fixed = Family.compare(QStringLiteral("FixedSys"), Qt::CaseInsensitive) == 0 ||
                 Family.contains(QStringLiteral("ゴシック")) || Family.contains(QStringLiteral("明朝"));
    const QString& Stand = (Proportional || !Fixed) ? ProportionalFamily() : FixedFamily();
    if (!Stand.isEmpty()) Found = Stand;
  }
  Known.insert(Family, Found);
  return Found;
}

QFont JapaneseUiFont(int PointSize) {
  const QString& Family = ProportionalFamily();
  QFont Font = Family.isEmpty() ? QFontDatabase::systemFont(QFontDatabase::GeneralFont) : QFont(Family);
  Font.setPointSize(PointSize);
  return Font;
}

QFont JapaneseFixedFont(int PointSize) {
  const QString& Family = FixedFamily();
  QFont Font = Family.isEmpty() ? QFontDatabase::systemFont(QFontDatabase::FixedFont) : QFont(Family);
  Font.setStyleHint(QFont::TypeWriter);
  Font.setPointSize(PointSize);
  return Font;
}

}  // namespace tesvarin::qt
