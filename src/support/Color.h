// Colours as signed 32-bit values (0x00BBGGRR, or a system colour with the top bit set) and font styles.
#pragma once

#include <cstdint>

#include "support/TSet.h"

namespace tesvarin {

using TColor = int32_t;

inline constexpr TColor clNone = 0x1FFFFFFF;
inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clMaroon = 0x000080;
inline constexpr TColor clGreen = 0x008000;
inline constexpr TColor clOlive = 0x008080;
inline constexpr TColor clNavy = 0x800000;
inline constexpr TColor clPurple = 0x800080;
inline constexpr TColor clTeal = 0x808000;
inline constexpr TColor clGray = 0x808080;
inline constexpr TColor clSilver = 0xC0C0C0;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clLime = 0x00FF00;
inline constexpr TColor clYellow = 0x00FFFF;
inline constexpr TColor clBlue = 0xFF0000;
inline constexpr TColor clFuchsia = 0xFF00FF;
inline constexpr TColor clAqua = 0xFFFF00;
inline constexpr TColor clWhite = 0xFFFFFF;

// System colours: 0x80000000 plus the index of the desktop's colour.
[[nodiscard]] constexpr TColor SystemColor(int Index) {
  return static_cast<TColor>(0x80000000u | static_cast<uint32_t>(Index));
}
inline constexpr TColor clWindow = SystemColor(5);
inline constexpr TColor clWindowText = SystemColor(8);
inline constexpr TColor clBtnFace = SystemColor(15);
inline constexpr TColor clHighlight = SystemColor(13);
inline constexpr TColor clHighlightText = SystemColor(14);

[[nodiscard]] constexpr bool IsSystemColor(TColor C) { return C < 0; }
[[nodiscard]] constexpr int SystemColorIndex(TColor C) { return static_cast<int>(static_cast<uint32_t>(C) & 0xFF); }

[[nodiscard]] constexpr TColor RGBColor(int R, int G, int B) { return (B << 16) | (G << 8) | R; }
[[nodiscard]] constexpr int RedOf(TColor C) { return C & 0xFF; }
[[nodiscard]] constexpr int GreenOf(TColor C) { return (C >> 8) & 0xFF; }
[[nodiscard]] constexpr int BlueOf(TColor C) { return (C >> 16) & 0xFF; }

enum TFontStyle : uint8_t { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = TSet<TFontStyle>;

}  // namespace tesvarin
