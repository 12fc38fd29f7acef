// The glyphs of the editor's fonts for code page 932 characters, each character converted and
// looked up once, so a row of text becomes one glyph run without a conversion per paint.
#pragma once

#include <QFont>
#include <QRawFont>

#include <memory>
#include <string_view>
#include <vector>

#include "platform/Platform.h"

namespace tesvarin::qt {

// The Qt font that stands for a font the editor names (see SubstituteFamily).
[[nodiscard]] QFont ToQFont(const TFontSpec& Font);
// A font's cell metrics; a fixed-pitch font's cell is its own advance.
[[nodiscard]] TTextMetrics TextMetricsOf(const QFont& Font);

class GlyphCache {
public:
  struct Face {
    QFont Font;
    QRawFont Raw;
    // The font Qt itself would take for Japanese in Font's place: a character the chosen font lacks
    // is drawn from it rather than left blank.
    QRawFont Fallback;
    int Ascent = 0;
    // Glyph index by character code (a single byte, or lead byte << 8 | trail byte), with InFallback
    // set for a glyph of Fallback; Unknown until first asked for.
    std::vector<quint32> Glyphs;
  };
  static constexpr quint32 Unknown = 0xFFFFFFFF;
  static constexpr quint32 InFallback = 0x80000000;

  // The face of a font; colour does not matter.
  [[nodiscard]] Face& FaceOf(const TFontSpec& Font);
  // The glyph of the character Text[I..I+N), InFallback set when it is Fallback's; 0 when neither
  // font has one.
  [[nodiscard]] static quint32 Glyph(Face& F, std::string_view Text, size_t I, size_t N);

private:
  struct Entry {
    TFontSpec Key;
    std::unique_ptr<Face> Value;
  };
  std::vector<Entry> FFaces;
};

}  // namespace tesvarin::qt
