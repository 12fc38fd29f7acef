#include "qt/QtCanvas.h"

#include <QFontMetrics>
#include <QGlyphRun>
#include <QImage>

#include <algorithm>
#include <array>
#include <vector>

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

namespace {

// A glyph too wide for its cells, drawn on its own shrunk to fit them.
struct TShrunk {
  GlyphCache::Glyph Glyph;
  int X;
  int Width;
};

void DrawShrunk(QPainter& Painter, const GlyphCache::Face& Face, const TShrunk& S, qreal Baseline, bool StrikeOut) {
  const qreal Scale = S.Width * 64.0 / S.Glyph.Width;
  QGlyphRun Run;
  Run.setRawFont(Face.Fonts[S.Glyph.Font]);
  Run.setGlyphIndexes({S.Glyph.Index});
  Run.setPositions({QPointF(0, 0)});
  Run.setStrikeOut(StrikeOut);
  Painter.save();
  Painter.translate(S.X, Baseline);
  Painter.scale(Scale, Scale);
  Painter.drawGlyphRun(QPointF(0, 0), Run);
  Painter.restore();
}

}  // namespace

void QtCanvas::TextOut(int X, int Y, const TRect& Clip, std::string_view Text, int Advance, bool Opaque) {
  const QRect ClipRect = ToQRect(Clip);
  if (ClipRect.isEmpty()) return;
  if (Opaque && FBrush != clNone) FPainter.fillRect(ClipRect, ToQColor(FBrush, FPalette));
  GlyphCache::Face& Face = CurrentFace();
  // Every byte keeps its cell whatever the glyph's own advance: one run with fixed positions per
  // font. The font's own glyphs start their cells; a fallback font's are centred in theirs.
  struct TRun {
    QList<quint32> Glyphs;
    QList<QPointF> Positions;
  };
  std::array<TRun, GlyphCache::MaxFonts> Runs;
  std::vector<TShrunk> Shrunk;
  bool Any = false;
  const qreal Baseline = Y + Face.Metrics.Ascent;
  const int First = Advance > 0 ? std::max(0, (Clip.Left - X) / Advance - 2) : 0;
  for (size_t I = 0; I < Text.size();) {
    const size_t N = CharLength(Text, I);
    const int Cx = X + static_cast<int>(I) * Advance;
    if (Cx >= Clip.Right) break;
    if (static_cast<int>(I) >= First && Text[I] != ' ') {
      const GlyphCache::Glyph& G = GlyphCache::GlyphOf(Face, Text, I, N);
      if (G.Index != 0) {
        int Gx = Cx;
        if (G.Font != 0) {
          const int Cells = static_cast<int>(N) * Advance * 64;
          if (G.Width > Cells + 64) {
            Shrunk.push_back({G, Cx, static_cast<int>(N) * Advance});
            I += N;
            continue;
          }
          Gx += (Cells - G.Width) / 128;
        }
        Runs[G.Font].Glyphs.append(G.Index);
        Runs[G.Font].Positions.append(QPointF(Gx, Baseline));
        Any = true;
      }
    }
    I += N;
  }
  if (!Any && Shrunk.empty()) return;
  FPainter.setClipRect(ClipRect);
  FPainter.setPen(ToQColor(FFontSpec.Color, FPalette));
  const bool StrikeOut = FFontSpec.Style.Contains(fsStrikeOut);
  for (size_t Which = 0; Which < Face.Fonts.size(); ++Which) {
    if (Runs[Which].Glyphs.isEmpty()) continue;
    QGlyphRun Run;
    Run.setRawFont(Face.Fonts[Which]);
    Run.setGlyphIndexes(Runs[Which].Glyphs);
    Run.setPositions(Runs[Which].Positions);
    Run.setStrikeOut(StrikeOut);
    FPainter.drawGlyphRun(QPointF(0, 0), Run);
  }
  for (const TShrunk& S : Shrunk) DrawShrunk(FPainter, Face, S, Baseline, StrikeOut);
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

TTextMetrics QtCanvas::TextMetrics() const { return FGlyphs->FaceOf(FFontSpec).Metrics; }

}  // namespace tesvarin::qt
