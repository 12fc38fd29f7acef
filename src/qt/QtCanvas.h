// The canvas interface over a QPainter: the editor's fixed-advance cell grid drawn with Qt.
#pragma once

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QPalette>

#include <memory>

#include "platform/Platform.h"
#include "qt/GlyphCache.h"

namespace tesvarin::qt {

// A colour value to a Qt colour; system colours come from the palette.
[[nodiscard]] QColor ToQColor(TColor Color, const QPalette& Palette);

class QtCanvas : public ICanvas {
public:
  // Glyphs may be shared by the canvases of one window, so each character is looked up once.
  QtCanvas(QPainter& Painter, QPalette Palette, GlyphCache* Glyphs = nullptr);

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
  [[nodiscard]] GlyphCache::Face& CurrentFace();

  QPainter& FPainter;
  QPalette FPalette;
  std::unique_ptr<GlyphCache> FOwnGlyphs;
  GlyphCache* FGlyphs;
  TFontSpec FFontSpec;
  GlyphCache::Face* FFace = nullptr;
  TColor FBrush = clWhite;
};

}  // namespace tesvarin::qt
