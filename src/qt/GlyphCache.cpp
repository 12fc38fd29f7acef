#include "qt/GlyphCache.h"

#include <algorithm>

#include <QFontDatabase>
#include <QFontMetrics>
#include <QGlyphRun>
#include <QString>
#include <QTextLayout>

#include "qt/Fonts.h"
#include "support/SjisCodec.h"

namespace tesvarin::qt {

QFont ToQFont(const TFontSpec& Font) {
  QFont F(SubstituteFamily(QString::fromUtf8(Font.Name.c_str())), Font.Size);
  F.setBold(Font.Style.Contains(fsBold));
  F.setItalic(Font.Style.Contains(fsItalic));
  F.setUnderline(Font.Style.Contains(fsUnderline));
  F.setStrikeOut(Font.Style.Contains(fsStrikeOut));
  return F;
}

TTextMetrics TextMetricsOf(const QFont& Font) {
  const QFontMetrics M(Font);
  // A CJK face's average width is that of its kanji, and its own digits may be proportional: a
  // half-width cell is half a kanji there, a digit elsewhere.
  const QRawFont Face = ResolvedFace(Font);
  const qreal Half = HasJapanese(Face) ? AdvanceOf(Face, QChar(0x65E5)) / 2 : AdvanceOf(Face, QLatin1Char('0'));
  const int Width = Half > 0 ? qRound(Half) : M.averageCharWidth();
  return TTextMetrics{M.height(), M.leading(), std::max(1, Width), M.ascent()};
}

namespace {

// Qt may hand out one face as two raw fonts.
bool SameFace(const QRawFont& A, const QRawFont& B) {
  return A == B || (A.familyName() == B.familyName() && A.styleName() == B.styleName() &&
                    A.pixelSize() == B.pixelSize() && A.weight() == B.weight() && A.style() == B.style());
}

GlyphCache::Glyph GlyphIn(const QRawFont& Raw, quint16 Font, const QString& Char) {
  if (!Raw.isValid()) return {0, 0, 0};
  const QList<quint32> Found = Raw.glyphIndexesForString(Char);
  if (Found.size() != 1 || Found.front() == 0) return {0, 0, 0};
  const qreal Width = Raw.advancesForGlyphIndexes(Found).value(0).x();
  return {Found.front(), Font, static_cast<quint16>(std::clamp(qRound(Width * 64), 0, 0xFFFF))};
}

// The glyph Qt's own font fallback draws the character with, the font taken on by the face.
GlyphCache::Glyph GlyphFromFallback(GlyphCache::Face& F, const QString& Char) {
  QTextLayout Layout(Char, F.Font);
  Layout.beginLayout();
  Layout.createLine();
  Layout.endLayout();
  for (const QGlyphRun& Run : Layout.glyphRuns()) {
    if (Run.glyphIndexes().size() != 1 || Run.glyphIndexes().front() == 0) continue;
    const QRawFont Raw = Run.rawFont();
    auto It = std::find_if(F.Fonts.begin(), F.Fonts.end(), [&Raw](const QRawFont& Had) { return SameFace(Had, Raw); });
    if (It == F.Fonts.end()) {
      if (F.Fonts.size() == GlyphCache::MaxFonts) return {0, 0, 0};
      It = F.Fonts.insert(F.Fonts.end(), Raw);
    }
    return GlyphIn(Raw, static_cast<quint16>(It - F.Fonts.begin()), Char);
  }
  return {0, 0, 0};
}

GlyphCache::Glyph FindGlyph(GlyphCache::Face& F, std::string_view Char) {
  const std::optional<std::string> Shown = Cp932CharForDisplay(Char);
  if (!Shown) return {0, 0, 0};
  const QString Text = QString::fromUtf8(Shown->c_str());
  for (size_t K = 0; K < F.Fonts.size(); ++K) {
    const GlyphCache::Glyph G = GlyphIn(F.Fonts[K], static_cast<quint16>(K), Text);
    if (G.Index != 0) return G;
  }
  // Control and user-defined characters have no glyph to look for.
  if (Text.isEmpty() || !Text.front().isPrint()) return {0, 0, 0};
  return GlyphFromFallback(F, Text);
}

}  // namespace

GlyphCache::Face& GlyphCache::FaceOf(const TFontSpec& Font) {
  TFontSpec Key = Font;
  Key.Color = clBlack;
  for (Entry& E : FFaces) {
    if (E.Key == Key) return *E.Value;
  }
  auto F = std::make_unique<Face>();
  F->Font = ToQFont(Key);
  F->Fonts.push_back(ResolvedFace(F->Font));
  // Japanese text the font lacks is drawn from the font Qt takes for Japanese, not from whichever
  // font a character by itself would find (a Chinese one, for a kanji).
  const QRawFont Japanese = QRawFont::fromFont(F->Font, QFontDatabase::Japanese);
  if (Japanese.isValid() && !SameFace(Japanese, F->Fonts.front())) F->Fonts.push_back(Japanese);
  F->Metrics = TextMetricsOf(F->Font);
  F->Glyphs.assign(0x10000, Glyph{});
  FFaces.push_back({Key, std::move(F)});
  return *FFaces.back().Value;
}

const GlyphCache::Glyph& GlyphCache::GlyphOf(Face& F, std::string_view Text, size_t I, size_t N) {
  const auto B0 = static_cast<unsigned char>(Text[I]);
  const unsigned Code = N == 2 ? (B0 << 8) | static_cast<unsigned char>(Text[I + 1]) : B0;
  Glyph& Slot = F.Glyphs[Code];
  if (Slot.Index == Unknown) Slot = FindGlyph(F, Text.substr(I, N));
  return Slot;
}

}  // namespace tesvarin::qt
