// Enumerations of the editor's plain view properties.
#pragma once

#include <cstdint>

namespace tesvarin {

// How a found string is shown: as a selection, painted in the hit colours, or as a block caret.
enum TEditorHitStyle : uint8_t { hsSelect, hsDraw, hsCaret };

// Which scroll bars the editor window has.
enum TScrollStyle : uint8_t { ssNone, ssHorizontal, ssVertical, ssBoth };

}  // namespace tesvarin
