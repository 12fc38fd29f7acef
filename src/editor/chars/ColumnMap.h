// The column view of a row: one kind per display column (tabs expanded, double-byte characters two
// columns wide), and the conversions between columns, bytes and display widths.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "support/TSet.h"

namespace tesvarin {

enum TColumnKind : uint8_t { ckEnd = 0, ckSingle = 1, ckDelimiter = 2, ckTabPad = 3, ckDbcs1 = 4, ckDbcs2 = 5 };

// What a column map depends on besides the row text.
struct TColumnSettings {
  int TabSpaceCount = 8;
  bool WordWrap = false;
  int WrapByte = 80;
  TByteSet Delimiters;
  friend bool operator==(const TColumnSettings&, const TColumnSettings&) = default;
};

// Control bytes, space, ASCII punctuation except the low line, half-width punctuation, FD-FF.
[[nodiscard]] const TByteSet& DefaultDelimiters();

// The fill columns after a tab at column Col: up to the next tab stop, or the wrap width first.
[[nodiscard]] int TabFill(int Col, const TColumnSettings& S);
// Out := Row with every tab replaced by the spaces up to its stop, at most Limit bytes; true when
// Row did not fit (a double-byte character may then be cut after its lead byte).
bool ExpandTabs(std::string_view Row, const TColumnSettings& Settings, size_t Limit, std::string& Out);
// One byte per column, each a TColumnKind. The walk stops once the map holds WrapByte + 3 columns
// (wrap on) or 1000 (wrap off).
using TColumnMap = std::basic_string<uint8_t>;
void BuildColumnMap(std::string_view Row, const TColumnSettings& Settings, TColumnMap& Map);
[[nodiscard]] TColumnMap ColumnMap(std::string_view Row, const TColumnSettings& Settings);

// Byte index of column Col: Col minus the tab fill columns among 0 .. Col, capped at RowLength.
[[nodiscard]] int ColumnToByte(const TColumnMap& Map, int Col, int RowLength);
// The display width of bytes laid out from column 0.
[[nodiscard]] int DisplayWidth(std::string_view Bytes, const TColumnSettings& Settings);
// The column at which byte Index starts (Index may be the row length: the column after the last).
[[nodiscard]] int ByteToColumn(std::string_view Row, int Index, const TColumnSettings& Settings);
// The width of bytes without a tab, which needs no settings: a byte a column, two for a cut-off lead.
[[nodiscard]] int TabFreeWidth(std::string_view Bytes);
// As ByteToColumn, asking Get for the settings only when a tab comes before Index.
template <class TGetSettings>
[[nodiscard]] int ByteToColumnWith(std::string_view Row, int Index, TGetSettings&& Get) {
  const size_t End = Index <= 0 ? 0 : std::min(static_cast<size_t>(Index), Row.size());
  if (End == 0 || std::memchr(Row.data(), '\t', End) == nullptr) return TabFreeWidth(Row.substr(0, End));
  return ByteToColumn(Row, Index, Get());
}

// A row's columns as the caret rules ask for them: its width, the kind at a column and the byte of
// a column, each equal to what its column map says. A row without a tab is answered from its bytes,
// as a byte is a column there; the map is built only when a row has a tab or a caller wants it.
class TRowColumns {
public:
  // Row must stay unchanged while this is used.
  void Reset(std::string_view Row, const TColumnSettings& Settings);
  [[nodiscard]] int Width() const { return FWidth; }
  [[nodiscard]] uint8_t KindAt(int Col) const;
  // KindAt(Col) == ckTabPad, answered at once for a row without a tab.
  [[nodiscard]] bool IsTabPad(int Col) const { return FHasTab && KindAt(Col) == ckTabPad; }
  // ColumnToByte of the row's map.
  [[nodiscard]] int ByteOf(int Col) const;
  [[nodiscard]] const TColumnMap& Map() const;

private:
  std::string_view FRow;
  TColumnSettings FSettings;
  bool FHasTab = false;
  int FWidth = 0;
  mutable TColumnMap FMap;
  mutable bool FMapBuilt = false;
};

}  // namespace tesvarin
