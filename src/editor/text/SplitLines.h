// Text cut into lines the way a pasted or assigned text is.
#pragma once

#include <string_view>

#include "support/StringList.h"

namespace tesvarin {

// Replaces the contents of Lines by the lines of Text; CR LF, lone CR and lone LF each end a line,
// and the first NUL ends the text.
void SplitLines(std::string_view Text, TStringList& Lines);

}  // namespace tesvarin
