#include "qt/QtCanvas.h"

#include <QFontMetrics>
#include <QGlyphRun>
#include <QImage>

#include <algorithm>

#include "qt/Fonts.h"
#include "support/Sjis.h"

namespace tesvarin::qt {

QColor ToQColor(TColor Color, const QPalette& Palette) {
  if (Color == clNone) return QColor(Qt::transparent);
  if (!IsSystemColor(Color)) return QColor(RedOf(Color), GreenOf(Color), BlueOf(Color));
  switch (SystemColorIndex(Color)) {
    case 5: return Palette.color(QPalette::Base);
    case 8: return Palette.color(QPalette::Text);
    case 13: return Palette.color(QPalette::Highlight);
    case 14: return Palette.color(QPalette::HighlightedText);
    case 15: return Palette.color(QPalette::Button);
    default: return Palette.color(QPalette::WindowText);
  }
}

namespace {

QRect ToQRect(const TRect& R) { return QRect(R.Left, R.Top, R.Width(), R.Height()); }

}  // namespace

void QtCanvas::FillRect(const TRect& R, TColor Color) { FPainter.fillRect(ToQRect(R), ToQColor(Color, FPalette)); }

void QtCanvas::FrameRect(const TRect& R, TColor Color) {
  FPainter.setPen(ToQColor(Color, FPalette));
  FPainter.setBrush(Qt::NoBrush);
  FPainter.drawRect(R.Left, R.Top, R.Width() - 1, R.Height() - 1);
}

void QtCanvas::Line(int X1, int Y1, int X2, int Y2, TColor Color) {
  // QPainter draws the end point too; the canvas excludes it, as the desktop line call does.
  int Dx = (X2 > X1) - (X2 < X1);
  int Dy = (Y2 > Y1) - (Y2 < Y1);
  if (Dx == 0 && Dy == 0) return;
  FPainter.setPen(ToQColor(Color, FPalette));
  FPainter.drawLine(X1, Y1, X2 - Dx, Y2 - Dy);
}

QtCanvas::QtCanvas(QPainter& Painter, QPalette Palette, GlyphCache* Glyphs)
    : FPainter(Painter), FPalette(std::move(Palette)), FGlyphs(Glyphs) {
  if (FGlyphs == nullptr) {
    FOwnGlyphs = std::make_unique<GlyphCache>();
    FGlyphs = FOwnGlyphs.get();
  }
}

void QtCanvas::SetFont(const TFontSpec& Font) {
  if (FFace != nullptr && Font == FFontSpec) return;
  FFontSpec = Font;
  FFace = nullptr;
}

GlyphCache::Face& QtCanvas::CurrentFace() {
  if (FFace == nullptr) FFace = &FGlyphs->FaceOf(FFontSpec);
  return *FFace;
}

void QtCanvas::TextOut(int X, int Y, const TRect& Clip, std::string_view Text, int Advance, bool Opaque) {
  const QRect ClipRect = ToQRect(Clip);
  if (ClipRect.isEmpty()) return;
  if (Opaque && FBrush != clNone) FPainter.fillRect(ClipRect, ToQColor(FBrush, FPalette));
  GlyphCache::Face& Face = CurrentFace();
  // Every byte keeps its cell whatever the glyph's own advance: one run with fixed positions per
  // font, the chosen one and the one for characters it lacks.
  QList<quint32> Glyphs[2];
  QList<QPointF> Positions[2];
  const qreal Baseline = Y + Face.Ascent;
  const int First = Advance > 0 ? std::max(0, (Clip.Left - X) / Advance - 2) : 0;
  for (size_t I = 0; I < Text.size();) {
    const size_t N = CharLength(Text, I);
    const int Cx = X + static_cast<int>(I) * Advance;
    if (Cx >= Clip.Right) break;
    if (static_cast<int>(I) >= First && Text[I] != ' ') {
      const quint32 G = GlyphCache::Glyph(Face, Text, I, N);
      if (G != 0) {
        const int Which = (G & GlyphCache::InFallback) != 0 ? 1 : 0;
        Glyphs[Which].append(G & ~GlyphCache::InFallback);
        Positions[Which].append(QPointF(Cx, Baseline));
      }
    }
    I += N;
  }
  if (Glyphs[0].isEmpty() && Glyphs[1].isEmpty()) return;
  FPainter.setClipRect(ClipRect);
  FPainter.setPen(ToQColor(FFontSpec.Color, FPalette));
  for (int Which = 0; Which < 2; ++Which) {
    if (Glyphs[Which].isEmpty()) continue;
    QGlyphRun Run;
    Run.setRawFont(Which == 0 ? Face.Raw : Face.Fallback);
    Run.setGlyphIndexes(Glyphs[Which]);
    Run.setPositions(Positions[Which]);
    Run.setStrikeOut(FFontSpec.Style.Contains(fsStrikeOut));
    FPainter.drawGlyphRun(QPointF(0, 0), Run);
  }
  FPainter.setClipping(false);
}

void QtCanvas::DrawImage(int X, int Y, const TImage& Image, int SrcX, int Width) {
  DrawImageRect(X, Y, Image, {SrcX, 0, SrcX + Width, Image.Height()});
}

void QtCanvas::DrawImageRect(int X, int Y, const TImage& Image, const TRect& Source) {
  const TRect S = IntersectRect(Source, {0, 0, Image.Width(), Image.Height()});
  if (S.IsEmpty()) return;
  QImage Out(S.Width(), S.Height(), QImage::Format_ARGB32);
  // Images hold few colours: each is converted once per run, pixels are written as words.
  TColor Last = clNone;
  QRgb LastRgb = ToQColor(Last, FPalette).rgba();
  for (int Row = 0; Row < S.Height(); ++Row) {
    auto* Line = reinterpret_cast<QRgb*>(Out.scanLine(Row));
    for (int I = 0; I < S.Width(); ++I) {
      const TColor C = Image.Pixel(S.Left + I, S.Top + Row);
      if (C != Last) {
        Last = C;
        LastRgb = ToQColor(C, FPalette).rgba();
      }
      Line[I] = LastRgb;
    }
  }
  FPainter.drawImage(X + S.Left - Source.Left, Y + S.Top - Source.Top, Out);
}

TTextMetrics QtCanvas::TextMetrics() const { return TextMetricsOf(ToQFont(FFontSpec)); }

}  // namespace tesvarin::qt
