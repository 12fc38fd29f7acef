// The editor's scrolling model: cell metrics from the font and settings, the visible grid, the top
// row and left column, the scroll ranges and the pixel positions of rows, columns and the caret.
#pragma once

#include "editor/Editor.h"

namespace tesvarin {

class TEditorScroll {
public:
  explicit TEditorScroll(TEditor& Editor) : FEditor(Editor) {}

  [[nodiscard]] int TopRow() const { return FTopRow; }
  [[nodiscard]] int LeftCol() const { return FLeftCol; }
  [[nodiscard]] int VisibleRows() const { return FVisibleRows; }

private:
  TEditor& FEditor;
  int FTopRow = 0;
  int FLeftCol = 0;
  int FVisibleRows = 1;
};

}  // namespace tesvarin
