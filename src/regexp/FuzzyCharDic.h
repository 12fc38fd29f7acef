// The process-wide fuzzy character dictionary, built once on first use and shared by every matcher.
#pragma once

#include "regexp/REPreProcessor.h"

namespace tesvarin {

inline constexpr int FuzzyCharGroupCount = 145;

[[nodiscard]] const TREDictionary& FuzzyCharDic();
// Stored text of group Index (0-based), code page 932 bytes.
[[nodiscard]] const char* FuzzyCharGroupText(int Index);

}  // namespace tesvarin
