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
    int Ascent = 0;
    // Glyph index by character code (a single byte, or lead byte << 8 | trail byte); Unknown until
    // first asked for.
    std::vector<quint32> Glyphs;
  };
  static constexpr quint32 Unknown = 0xFFFFFFFF;

  // The face of a font; colour does not matter.
  [[nodiscard]] Face& FaceOf(const TFontSpec& Font);
  // The glyph of the character Text[I..I+N); 0 when the font has none.
  [[nodiscard]] static quint32 Glyph(Face& F, std::string_view Text, size_t I, size_t N);

private:
  struct Entry {
    TFontSpec Key;
    std::unique_ptr<Face> Value;
  };
  std::vector<Entry> FFaces;
};

}  // namespace tesvarin::qt
