// The dotted line the painter underlines the caret row with.
#pragma once

#include "platform/Platform.h"

namespace tesvarin {

// A dotted line on pixel row Y from X1 to X2 inclusive, a dot at X1 and every other pixel after it.
void DrawDotLine(ICanvas& Canvas, int X1, int Y, TColor BkColor, TColor Color, int X2);

}  // namespace tesvarin
