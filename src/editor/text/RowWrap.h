// Cutting one line into display rows by the wrap width and the line-breaking rules.
#pragma once

#include <string_view>
#include <vector>

#include "editor/chars/ColumnMap.h"
#include "editor/text/WrapOption.h"

namespace tesvarin {

// The byte lengths of the rows Line makes, in order (at least one; the last may be 0: the empty
// row a line that fills its last row exactly gets without FollowRetMark). Settings must have
// WordWrap on and WrapByte equal to Options.WrapByte().
void CutLine(std::string_view Line, const TEditorWrapOption& Options, const TColumnSettings& Settings,
             std::vector<int>& Pieces);

}  // namespace tesvarin
