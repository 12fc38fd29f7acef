// Japanese fonts installed on this desktop that stand in for the Windows fonts the program names,
// chosen by what the faces hold rather than by the names the desktop lists.
#pragma once

#include <QFont>
#include <QRawFont>
#include <QString>

namespace tesvarin::qt {

// A proportional Japanese font for the window ("ＭＳ Ｐゴシック" and the like).
[[nodiscard]] QFont JapaneseUiFont(int PointSize = 9);
// A monospaced Japanese font for the editor ("FixedSys" and the like).
[[nodiscard]] QFont JapaneseFixedFont(int PointSize = 9);
// The installed family that takes the place of a named Windows font.
[[nodiscard]] QString SubstituteFamily(const QString& Family);

// The face Qt draws a font with.
[[nodiscard]] QRawFont ResolvedFace(const QFont& Font);
// The advance of a character in a face; 0 when the face lacks it.
[[nodiscard]] qreal AdvanceOf(const QRawFont& Face, QChar Char);
// A face with kana and kanji.
[[nodiscard]] bool HasJapanese(const QRawFont& Face);
// A face with Japanese glyphs whose half-width characters share one advance and whose kanji take
// two of them: text in it falls on the editor's grid by itself.
[[nodiscard]] bool IsJapaneseMonospace(const QRawFont& Face);

}  // namespace tesvarin::qt
