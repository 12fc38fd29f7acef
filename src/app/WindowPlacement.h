// Where the main window opens: at a first start a comfortable size centred on the screen, and saved
// bounds pulled back onto a screen when they no longer fit one (a smaller or missing screen, or
// values no window can have). Areas are the screens' available areas, without panels and docks.
#pragma once

#include <vector>

#include "app/Controls.h"

namespace tesvarin {

inline constexpr int FirstStartWidth = 1100;
inline constexpr int FirstStartHeight = 750;
// A saved window is never made smaller than this, unless the screen is.
inline constexpr int MinWindowWidth = 400;
inline constexpr int MinWindowHeight = 300;

// The first-start size, never larger than Area, centred in it.
[[nodiscard]] TBounds FirstStartBounds(const TBounds& Area);
// Bounds as large as they were but no larger than Area, moved the least that puts them wholly in it.
[[nodiscard]] TBounds FitInArea(const TBounds& Bounds, const TBounds& Area);
// Fitted in the area the bounds overlap most, else in the first (the primary screen's). Bounds are
// kept when there is no area.
[[nodiscard]] TBounds FitOnScreens(const TBounds& Bounds, const std::vector<TBounds>& Areas);

}  // namespace tesvarin
