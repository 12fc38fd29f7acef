// The editor search's options; stored as bits 0 to 3 of the set.
#pragma once

#include <cstdint>

#include "support/TSet.h"

namespace tesvarin {

enum TExSearchOption : uint8_t { soMatchCase = 0, soRegexp = 1, soFuzzy = 2, soWholeWord = 3 };
using TExSearchOptions = TSet<TExSearchOption>;

}  // namespace tesvarin
