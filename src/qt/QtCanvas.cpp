#include "qt/QtCanvas.h"

#include <QFontMetrics>
#include <QImage>

#include <algorithm>

#include "qt/Fonts.h"
#include "support/Sjis.h"
#include "support/SjisCodec.h"

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

void QtCanvas::SetFont(const TFontSpec& Font) {
  FFont = QFont(SubstituteFamily(QString::fromUtf8(Font.Name.c_str())), Font.Size);
  FFont.setBold(Font.Style.Contains(fsBold));
  FFont.setItalic(Font.Style.Contains(fsItalic));
  FFont.setUnderline(Font.Style.Contains(fsUnderline));
  FFont.setStrikeOut(Font.Style.Contains(fsStrikeOut));
  FFontColor = Font.Color;
}

void QtCanvas::TextOut(int X, int Y, const TRect& Clip, std::string_view Text, int Advance, bool Opaque) {
  FPainter.save();
  FPainter.setClipRect(ToQRect(Clip));
  if (Opaque && FBrush != clNone) FPainter.fillRect(ToQRect(Clip), ToQColor(FBrush, FPalette));
  FPainter.setFont(FFont);
  FPainter.setPen(ToQColor(FFontColor, FPalette));
  int Ascent = QFontMetrics(FFont).ascent();
  // One character at a time, so every byte keeps its cell whatever the glyph's own width.
  for (size_t I = 0; I < Text.size();) {
    size_t N = CharLength(Text, I);
    std::string Glyph = Cp932ToUtf8Lossy(Text.substr(I, N));
    FPainter.drawText(X + static_cast<int>(I) * Advance, Y + Ascent, QString::fromUtf8(Glyph.c_str()));
    I += N;
  }
  FPainter.restore();
}

void QtCanvas::DrawImage(int X, int Y, const TImage& Image, int SrcX, int Width) {
  DrawImageRect(X, Y, Image, {SrcX, 0, SrcX + Width, Image.Height()});
}

void QtCanvas::DrawImageRect(int X, int Y, const TImage& Image, const TRect& Source) {
  const TRect S = IntersectRect(Source, {0, 0, Image.Width(), Image.Height()});
  if (S.IsEmpty()) return;
  QImage Out(S.Width(), S.Height(), QImage::Format_ARGB32);
  for (int Row = 0; Row < S.Height(); ++Row)
    for (int I = 0; I < S.Width(); ++I)
      Out.setPixelColor(I, Row, ToQColor(Image.Pixel(S.Left + I, S.Top + Row), FPalette));
  FPainter.drawImage(X + S.Left - Source.Left, Y + S.Top - Source.Top, Out);
}

TTextMetrics QtCanvas::TextMetrics() const {
  QFontMetrics M(FFont);
  return TTextMetrics{M.height(), M.leading(), M.averageCharWidth(), M.ascent()};
}

}  // namespace tesvarin::qt
