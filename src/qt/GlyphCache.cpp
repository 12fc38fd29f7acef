#include "qt/GlyphCache.h"

#include <algorithm>

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QString>

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
  const int Width = QFontInfo(Font).fixedPitch() ? M.horizontalAdvance(QLatin1Char('0')) : M.averageCharWidth();
  return TTextMetrics{M.height(), M.leading(), std::max(1, Width), M.ascent()};
}

GlyphCache::Face& GlyphCache::FaceOf(const TFontSpec& Font) {
  TFontSpec Key = Font;
  Key.Color = clBlack;
  for (Entry& E : FFaces) {
    if (E.Key == Key) return *E.Value;
  }
  auto F = std::make_unique<Face>();
  F->Font = ToQFont(Key);
  F->Raw = QRawFont::fromFont(F->Font);
  F->Fallback = QRawFont::fromFont(F->Font, QFontDatabase::Japanese);
  F->Ascent = QFontMetrics(F->Font).ascent();
  F->Glyphs.assign(0x10000, Unknown);
  FFaces.push_back({Key, std::move(F)});
  return *FFaces.back().Value;
}

quint32 GlyphCache::Glyph(Face& F, std::string_view Text, size_t I, size_t N) {
  const auto B0 = static_cast<unsigned char>(Text[I]);
  const unsigned Code = N == 2 ? (B0 << 8) | static_cast<unsigned char>(Text[I + 1]) : B0;
  quint32& Slot = F.Glyphs[Code];
  if (Slot != Unknown) return Slot;
  Slot = 0;
  const TConvertResult R = TryCp932ToUtf8(Text.substr(I, N));
  if (!R.Ok) return Slot;
  const QString Char = QString::fromUtf8(R.Text.c_str());
  const auto GlyphIn = [&Char](const QRawFont& Raw) -> quint32 {
    if (!Raw.isValid()) return 0;
    const QList<quint32> Found = Raw.glyphIndexesForString(Char);
    return Found.size() == 1 ? Found.front() : 0;
  };
  Slot = GlyphIn(F.Raw);
  if (Slot == 0) {
    const quint32 Other = GlyphIn(F.Fallback);
    if (Other != 0) Slot = Other | InFallback;
  }
  return Slot;
}

}  // namespace tesvarin::qt
