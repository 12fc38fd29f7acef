// The glyphs of the editor's fonts for code page 932 characters, each character converted and
// looked up once, so a row of text becomes a few glyph runs without a conversion per paint.
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
// A font's cell metrics, from the face Qt draws it with: the cell is the advance of a half-width
// character there, whatever the font reports as its average.
[[nodiscard]] TTextMetrics TextMetricsOf(const QFont& Font);

class GlyphCache {
public:
  // Where a character's glyph comes from: glyph Index of the face's font number Font (0: the font
  // itself), Width its advance in 1/64 pixels. Index 0: no installed font has the character.
  struct Glyph {
    quint32 Index = Unknown;
    quint16 Font = 0;
    quint16 Width = 0;
  };
  static constexpr quint32 Unknown = 0xFFFFFFFF;
  // Fallback fonts a face takes on; a character past them is left blank.
  static constexpr size_t MaxFonts = 8;

  struct Face {
    QFont Font;
    // The font, then the fonts characters it lacks are drawn from: the one Qt takes for Japanese,
    // then the ones Qt's own font fallback found for a character.
    std::vector<QRawFont> Fonts;
    TTextMetrics Metrics;
    // By character code (a single byte, or lead byte << 8 | trail byte); Unknown until first asked.
    std::vector<Glyph> Glyphs;
  };

  // The face of a font; colour does not matter.
  [[nodiscard]] Face& FaceOf(const TFontSpec& Font);
  // The glyph of the character Text[I..I+N).
  [[nodiscard]] static const Glyph& GlyphOf(Face& F, std::string_view Text, size_t I, size_t N);

private:
  struct Entry {
    TFontSpec Key;
    std::unique_ptr<Face> Value;
  };
  std::vector<Entry> FFaces;
};

}  // namespace tesvarin::qt
