// What the editor's parts tell the editor: the few events a part raises but cannot answer alone.
#pragma once

#include <string_view>

#include "platform/Platform.h"

namespace tesvarin {

class IEditorSignals {
public:
  virtual ~IEditorSignals() = default;

  // Rows Row1 .. Row2 (either order) need painting again.
  virtual void InvalidateRows(int Row1, int Row2) = 0;
  // The selection is dropped and its rows repainted.
  virtual void CleanSelection() = 0;
  // The selection was extended or recomputed.
  virtual void SelectionChanged() = 0;
  // Scrolls so the row or column is first on screen; the editor moves the pixels and the caret.
  virtual void SetTopRow(int ARow) = 0;
  virtual void SetLeftCol(int ACol) = 0;
  // A row (or a selection span of one) was painted: its display text, the x of its column 0, its
  // top, its index, the rectangle just painted and whether selection colours were used.
  virtual void RowPainted(std::string_view LineStr, int X, int Y, int Index, const TRect& ARect,
                          bool Selected) = 0;
};

}  // namespace tesvarin
