#include "qt/GlyphCache.h"

#include <algorithm>

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
  if (!R.Ok || !F.Raw.isValid()) return Slot;
  const QList<quint32> Found = F.Raw.glyphIndexesForString(QString::fromUtf8(R.Text.c_str()));
  if (Found.size() == 1) Slot = Found.front();
  return Slot;
}

}  // namespace tesvarin::qt
