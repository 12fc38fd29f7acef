#include "editor/view/EditorBarImages.h"

#include <array>
#include <string>

namespace tesvarin {

namespace {

// Rows 1 to 7 of each digit; row 0, row 8 and column 0 stay blank.
constexpr std::array<std::array<std::string_view, 7>, 10> GlyphRows{{
    {"..XX.", ".X..X", ".X..X", ".X..X", ".X..X", ".X..X", "..XX."},
    {"..X..", ".XX..", "..X..", "..X..", "..X..", "..X..", "..X.."},
    {"..XX.", ".X..X", "....X", "...X.", "..X..", ".X...", ".XXXX"},
    {"..XX.", ".X..X", "....X", "...X.", "....X", ".X..X", "..XX."},
    {"...X.", "..XX.", "..XX.", ".X.X.", ".XXXX", "...X.", "...X."},
    {".XXXX", ".X...", ".XXX.", ".X..X", "....X", ".X..X", "..XX."},
    {"..XX.", ".X..X", ".X...", ".XXX.", ".X..X", ".X..X", "..XX."},
    {".XXXX", "....X", "...X.", "...X.", "..X..", "..X..", "..X.."},
    {"..XX.", ".X..X", ".X..X", "..XX.", ".X..X", ".X..X", "..XX."},
    {"..XX.", ".X..X", ".X..X", "..XXX", "....X", ".X..X", "..XX."},
}};

int DigitAdvance(int Digit) { return Digit == 1 ? 3 : GlyphWidth; }

TImage MakeGlyphs() {
  TImage Glyphs(56, GlyphHeight, clWhite);
  for (int D = 0; D < 10; ++D)
    for (int Row = 0; Row < 7; ++Row)
      for (int Col = 0; Col < GlyphWidth; ++Col)
        if (GlyphRows[static_cast<size_t>(D)][static_cast<size_t>(Row)][static_cast<size_t>(Col)] == 'X') {
          Glyphs.SetPixel(D * GlyphWidth + Col, Row + 1, clBlack);
        }
  return Glyphs;
}

// A navy tab with the digit in white, its corners clear.
TImage MakeDigitImage(int Digit) {
  TImage Image(8, 11, clNavy);
  for (const TPoint P : {TPoint{0, 0}, TPoint{7, 0}, TPoint{0, 10}, TPoint{7, 10}}) Image.SetPixel(P.X, P.Y, clNone);
  const TImage White = ColourGlyphs(clWhite, clNavy);
  CopyImageRect(Image, 2, 1, White, {Digit * GlyphWidth, 0, Digit * GlyphWidth + GlyphWidth, GlyphHeight});
  return Image;
}

// A diamond with a dark outline, one colour per mark.
TImage MakeMarkImage(TColor Color) {
  TImage Image(11, 11, clNone);
  for (int Y = 0; Y < 11; ++Y) {
    const int Half = 5 - (Y < 5 ? 5 - Y : Y - 5);
    for (int X = 5 - Half; X <= 5 + Half; ++X) {
      const bool Edge = X == 5 - Half || X == 5 + Half || Y == 0 || Y == 10;
      Image.SetPixel(X, Y, Edge ? clBlack : Color);
    }
  }
  return Image;
}

}  // namespace

const TImage& RulerDigitGlyphs() {
  static const TImage Glyphs = MakeGlyphs();
  return Glyphs;
}

TImage ColourGlyphs(TColor Ink, TColor Bk) {
  const TImage& Mono = RulerDigitGlyphs();
  TImage Out(Mono.Width(), Mono.Height(), Bk);
  for (int Y = 0; Y < Mono.Height(); ++Y)
    for (int X = 0; X < Mono.Width(); ++X)
      if (Mono.Pixel(X, Y) == clBlack) Out.SetPixel(X, Y, Ink);
  return Out;
}

int GlyphNumberWidth(int Number) {
  const std::string Digits = std::to_string(Number);
  int Width = 0;
  for (const char C : Digits) Width += DigitAdvance(C - '0');
  return Width;
}

int DrawGlyphNumber(TImage& Target, int X, int Y, const TImage& Glyphs, int Number) {
  for (const char C : std::to_string(Number)) {
    const int D = C - '0';
    CopyImageRect(Target, X, Y, Glyphs, {D * GlyphWidth, 0, D * GlyphWidth + DigitAdvance(D), GlyphHeight});
    X += DigitAdvance(D);
  }
  return X;
}

const std::vector<TImage>& DefaultImageDigits() {
  static const std::vector<TImage> Images = [] {
    std::vector<TImage> V;
    for (int D = 0; D < 10; ++D) V.push_back(MakeDigitImage(D));
    return V;
  }();
  return Images;
}

const std::vector<TImage>& DefaultImageMarks() {
  static const std::vector<TImage> Images = [] {
    std::vector<TImage> V;
    for (const TColor C : {clRed, clLime, clBlue, clYellow, clFuchsia, clAqua}) V.push_back(MakeMarkImage(C));
    return V;
  }();
  return Images;
}

void FillImageRect(TImage& Target, const TRect& R, TColor Color) {
  const TRect C = IntersectRect(R, {0, 0, Target.Width(), Target.Height()});
  for (int Y = C.Top; Y < C.Bottom; ++Y)
    for (int X = C.Left; X < C.Right; ++X) Target.SetPixel(X, Y, Color);
}

void CopyImageRect(TImage& Target, int X, int Y, const TImage& Source, const TRect& From) {
  const TRect S = IntersectRect(From, {0, 0, Source.Width(), Source.Height()});
  for (int Sy = S.Top; Sy < S.Bottom; ++Sy) {
    const int Ty = Y + Sy - From.Top;
    if (Ty < 0 || Ty >= Target.Height()) continue;
    for (int Sx = S.Left; Sx < S.Right; ++Sx) {
      const int Tx = X + Sx - From.Left;
      if (Tx >= 0 && Tx < Target.Width()) Target.SetPixel(Tx, Ty, Source.Pixel(Sx, Sy));
    }
  }
}

}  // namespace tesvarin
