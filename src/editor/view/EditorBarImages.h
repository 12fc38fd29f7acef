// The pictures the editor's bars are made from: the ruler's digit glyphs and the image bar's
// built-in digit and mark images, plus the pixel copies the bars are prepared with.
#pragma once

#include <string_view>
#include <vector>

#include "platform/Platform.h"

namespace tesvarin {

// Ten 5 x 9 digit glyphs side by side (digit d at x = 5d) in a 56 x 9 image: ink clBlack on clWhite.
inline constexpr int GlyphWidth = 5;
inline constexpr int GlyphHeight = 9;
[[nodiscard]] const TImage& RulerDigitGlyphs();
// The glyph image with its ink in Ink and the rest in Bk.
[[nodiscard]] TImage ColourGlyphs(TColor Ink, TColor Bk);
// Draws the decimal digits of Number into Target from (X, Y) with glyphs from Glyphs: a 1 takes
// only 3 pixels, so the next digit follows closer. Returns the x after the last digit.
int DrawGlyphNumber(TImage& Target, int X, int Y, const TImage& Glyphs, int Number);
// The pixel width DrawGlyphNumber gives Number.
[[nodiscard]] int GlyphNumberWidth(int Number);

// The image bar's own pictures: ten 8 x 11 digits and six 11 x 11 marks, clear (clNone) around.
[[nodiscard]] const std::vector<TImage>& DefaultImageDigits();
[[nodiscard]] const std::vector<TImage>& DefaultImageMarks();

// Pixel work on images, clipped to the target.
void FillImageRect(TImage& Target, const TRect& R, TColor Color);
void CopyImageRect(TImage& Target, int X, int Y, const TImage& Source, const TRect& From);

}  // namespace tesvarin
