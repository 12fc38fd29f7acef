// Japanese fonts installed on this desktop that stand in for the Windows fonts the program names.
#pragma once

#include <QFont>
#include <QString>

namespace tesvarin::qt {

// A proportional Japanese font for the window ("ＭＳ Ｐゴシック" and the like).
[[nodiscard]] QFont JapaneseUiFont(int PointSize = 9);
// A monospaced Japanese font for the editor ("FixedSys" and the like).
[[nodiscard]] QFont JapaneseFixedFont(int PointSize = 9);
// The installed family that takes the place of a named Windows font.
[[nodiscard]] QString SubstituteFamily(const QString& Family);

}  // namespace tesvarin::qt
