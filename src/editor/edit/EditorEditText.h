// Row text helpers of the editing commands: pure functions over one row's bytes, so the rules
// about double-byte characters, tabs and white space live in one place.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "editor/chars/ColumnMap.h"

namespace tesvarin {

// Row with S inserted before byte Byte; a Byte past the end first fills the gap with spaces.
[[nodiscard]] std::string InsertAt(std::string_view Row, int Byte, std::string_view S);

// Display width of the leading spaces, double-byte spaces (81 40) and tabs; -1 for an empty row.
[[nodiscard]] int LeadingWhiteWidth(std::string_view Row, const TColumnSettings& Settings);

// Start byte of the last character (a double-byte character is taken whole); 0 for an empty row.
[[nodiscard]] int LastCharStart(std::string_view Row);

// Width in columns of the character starting at column Col of Map (a tab with its fill).
[[nodiscard]] int CharWidthAt(const TColumnMap& Map, int Col);

struct TUnindentCut {
  std::string Text;
  int CaretByte = 0;  // where the caret stands afterwards: the byte that now begins column Target
};

// Removes the columns Target .. Caret-1 of Row: a character cut by Target leaves spaces for its
// columns before Target, a character under the caret leaves spaces for its columns from Caret.
[[nodiscard]] TUnindentCut CutColumns(std::string_view Row, int Target, int Caret, const TColumnSettings& Settings);

}  // namespace tesvarin

namespace tesvarin {

// Length of S as the row store counts it once split into rows: every line break two bytes.
[[nodiscard]] int64_t StoredLength(std::string_view S);

}  // namespace tesvarin
