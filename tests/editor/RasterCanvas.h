// A small raster canvas for painting tests: every call leaves pixels, text included (each byte marks
// its cell with a column whose place and colour depend on the byte, the font and the brush), and
// every text call is kept with the state it was drawn in.
#pragma once

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace tesvarin {

class RasterCanvas : public ICanvas {
public:
  static constexpr TColor Unpainted = 0x123456;

  struct TText {
    int X;
    int Y;
    TRect Clip;
    std::string Text;
    TFontSpec Font;
    TColor Brush;
    bool Opaque;
  };

  RasterCanvas(int Width, int Height) : Pixels(Width, Height, Unpainted) {}

  void FillRect(const TRect& R, TColor Color) override {
    ++Fills;
    for (int Y = R.Top; Y < R.Bottom; ++Y)
      for (int X = R.Left; X < R.Right; ++X) Plot(X, Y, Color);
  }
  void FrameRect(const TRect& R, TColor Color) override {
    for (int X = R.Left; X < R.Right; ++X) {
      Plot(X, R.Top, Color);
      Plot(X, R.Bottom - 1, Color);
    }
    for (int Y = R.Top; Y < R.Bottom; ++Y) {
      Plot(R.Left, Y, Color);
      Plot(R.Right - 1, Y, Color);
    }
  }
  void Line(int X1, int Y1, int X2, int Y2, TColor Color) override {
    Lines.push_back({X1, Y1, X2, Y2});
    const int Steps = std::max(std::abs(X2 - X1), std::abs(Y2 - Y1));
    for (int I = 0; I < Steps; ++I) Plot(X1 + (X2 - X1) * I / Steps, Y1 + (Y2 - Y1) * I / Steps, Color);
  }
  void SetFont(const TFontSpec& F) override { Font = F; }
  void SetBrushColor(TColor Color) override { Brush = Color; }
  void TextOut(int X, int Y, const TRect& Clip, std::string_view Text, int Advance, bool Opaque) override {
    Texts.push_back({X, Y, Clip, std::string(Text), Font, Brush, Opaque});
    if (Opaque && Brush != clNone) {
      for (int Yy = Clip.Top; Yy < Clip.Bottom; ++Yy)
        for (int Xx = Clip.Left; Xx < Clip.Right; ++Xx) Plot(Xx, Yy, Brush);
    }
    const TColor Ink = Font.Color ^ static_cast<TColor>(Font.Style.Bits() << 20);
    for (size_t I = 0; I < Text.size(); ++I) {
      const auto B = static_cast<unsigned char>(Text[I]);
      const int Xx = X + static_cast<int>(I) * Advance + B % Advance;
      for (int Yy = Y + 1; Yy < Y + 1 + B % 7 + 3; ++Yy)
        if (Xx >= Clip.Left && Xx < Clip.Right && Yy >= Clip.Top && Yy < Clip.Bottom) Plot(Xx, Yy, Ink ^ B);
    }
  }
  void DrawImage(int X, int Y, const TImage& Image, int SrcX, int Width) override {
    DrawImageRect(X, Y, Image, {SrcX, 0, SrcX + Width, Image.Height()});
  }
  void DrawImageRect(int X, int Y, const TImage& Image, const TRect& Source) override {
    Images.push_back(&Image);
    const TRect S = IntersectRect(Source, {0, 0, Image.Width(), Image.Height()});
    for (int Yy = S.Top; Yy < S.Bottom; ++Yy)
      for (int Xx = S.Left; Xx < S.Right; ++Xx)
        if (Image.Pixel(Xx, Yy) != clNone) Plot(X + Xx - Source.Left, Y + Yy - Source.Top, Image.Pixel(Xx, Yy));
  }
  [[nodiscard]] TTextMetrics TextMetrics() const override { return {12, 0, 6, 10}; }

  // The text calls whose string is S.
  [[nodiscard]] std::vector<TText> TextsOf(std::string_view S) const {
    std::vector<TText> Out;
    for (const TText& T : Texts)
      if (T.Text == S) Out.push_back(T);
    return Out;
  }
  // Pixels of colour C in R.
  [[nodiscard]] int Count(const TRect& R, TColor C) const {
    int N = 0;
    for (int Y = R.Top; Y < R.Bottom; ++Y)
      for (int X = R.Left; X < R.Right; ++X) N += Pixel(X, Y) == C;
    return N;
  }
  [[nodiscard]] TColor Pixel(int X, int Y) const {
    return X >= 0 && Y >= 0 && X < Pixels.Width() && Y < Pixels.Height() ? Pixels.Pixel(X, Y) : Unpainted;
  }
  // Moves the pixels of Area by (Dx, Dy) as a window scroll does; what is uncovered keeps its pixels.
  void ScrollPixels(const TRect& Area, int Dx, int Dy) {
    const TImage Old = Pixels;
    for (int Y = Area.Top; Y < Area.Bottom; ++Y)
      for (int X = Area.Left; X < Area.Right; ++X) {
        const int Sx = X - Dx;
        const int Sy = Y - Dy;
        if (Sx >= Area.Left && Sx < Area.Right && Sy >= Area.Top && Sy < Area.Bottom) Plot(X, Y, Old.Pixel(Sx, Sy));
      }
  }
  void Clear() {
    Texts.clear();
    Lines.clear();
    Images.clear();
    Fills = 0;
  }

  TImage Pixels;
  TFontSpec Font;
  TColor Brush = clWhite;
  std::vector<TText> Texts;
  std::vector<TRect> Lines;  // as given: (X1, Y1) to (X2, Y2)
  std::vector<const TImage*> Images;
  int Fills = 0;

private:
  void Plot(int X, int Y, TColor C) {
    if (X >= 0 && Y >= 0 && X < Pixels.Width() && Y < Pixels.Height()) Pixels.SetPixel(X, Y, C);
  }
};

}  // namespace tesvarin
