// The canvas interface over a QPainter: the editor's fixed-advance cell grid drawn with Qt.
#pragma once

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QPalette>

#include "platform/Platform.h"

namespace tesvarin::qt {

// A colour value to a Qt colour; system colours come from the palette.
[[nodiscard]] QColor ToQColor(TColor Color, const QPalette& Palette);

class QtCanvas : public ICanvas {
public:
  QtCanvas(QPainter& Painter, QPalette Palette) : FPainter(Painter), FPalette(std::move(Palette)) {}

  void FillRect(const TRect& R, TColor Color) override;
  void FrameRect(const TRect& R, TColor Color) override;
  void Line(int X1, int Y1, int X2, int Y2, TColor Color) override;
  void SetFont(const TFontSpec& Font) override;
  void SetBrushColor(TColor Color) override { FBrush = Color; }
  void TextOut(int X, int Y, const TRect& Clip, std::string_view Text, int Advance, bool Opaque) override;
  void DrawImage(int X, int Y, const TImage& Image, int SrcX, int Width) override;
  void DrawImageRect(int X, int Y, const TImage& Image, const TRect& Source) override;
  [[nodiscard]] TTextMetrics TextMetrics() const override;

private:
  QPainter& FPainter;
  QPalette FPalette;
  QFont FFont;
  TColor FFontColor = clBlack;
  TColor FBrush = clWhite;
};

}  // namespace tesvarin::qt
