// The editor's scrolling model: cell metrics from the font and settings, the visible grid, the top
// row and left column, the scroll ranges and the pixel positions of rows, columns and the caret.
#pragma once

#include "editor/model/EditModel.h"

namespace tesvarin {

// A text position as the mouse finds it: display column and row (the row is not clamped).
struct TColRow {
  int Col = 0;
  int Row = 0;
  friend bool operator==(const TColRow&, const TColRow&) = default;
};

struct TCaretShape {
  int Width = 0;
  int Height = 0;
  friend bool operator==(const TCaretShape&, const TCaretShape&) = default;
};

class TEditorScroll {
public:
  // Rows are drawn at most this many columns wide.
  static constexpr int MaxCols = 1000;

  // Computes the metrics at once when the editor already has its window.
  explicit TEditorScroll(TEditModel& Model);

  // Metrics. Without a window they stay at a one-pixel, one-cell grid, so positions never divide
  // by zero.
  [[nodiscard]] int FontHeight() const { return FFontHeight; }
  [[nodiscard]] int AveCharWidth() const { return FAveCharWidth; }
  [[nodiscard]] int ColWidth() const { return FColWidth; }
  [[nodiscard]] int RowHeight() const { return FRowHeight; }
  [[nodiscard]] int TopOffset() const { return FTopOffset; }
  [[nodiscard]] int LeftOffset() const { return FLeftOffset; }
  [[nodiscard]] int VisibleRows() const { return FVisibleRows; }
  // Rows the window's height holds (at least 1); without a window, VisibleRows.
  [[nodiscard]] int ScreenRows() const;
  [[nodiscard]] int VisibleCols() const { return FVisibleCols; }
  [[nodiscard]] int RulerHeight() const { return FRulerHeight; }
  [[nodiscard]] int ImagebarWidth() const { return FImagebarWidth; }
  [[nodiscard]] int LeftbarDigits() const { return FLeftbarDigits; }
  [[nodiscard]] int LeftbarWidth() const { return FLeftbarWidth; }

  // Scroll state: TopRow 0 .. row count, LeftCol 0 .. MaxLeftCol(); the editor's setters move them.
  [[nodiscard]] int TopRow() const { return FTopRow; }
  [[nodiscard]] int LeftCol() const { return FLeftCol; }
  [[nodiscard]] int ScrollOffset() const { return FLeftCol * FColWidth; }
  // Only store a position: the editor's scrolling commands move the pixels, bars and caret with it.
  void StoreTopRow(int Row) { FTopRow = Row; }
  void StoreLeftCol(int Col) { FLeftCol = Col; }

  // Recomputes every metric from the window, the font and the settings; false without a window.
  bool CalcMetrics();
  // The digit columns the leftbar needs for the current rows (its Column when numbers are off).
  [[nodiscard]] int CalcLeftbarDigits() const;
  // The largest top row the vertical bar offers: row count + visible rows - 1 (at least 0).
  [[nodiscard]] int MaxTopRow() const;
  [[nodiscard]] int MaxLeftCol() const { return MaxCols - FVisibleCols / 2 > 0 ? MaxCols - FVisibleCols / 2 : 0; }
  // The horizontal bar's end: half a screen past the last column.
  [[nodiscard]] int MaxHorzPos() const { return FVisibleCols / 2 + MaxCols; }
  // Clamps TopRow and LeftCol (through the editor's signals, so the view follows) and sets the
  // bars' ranges, pages and positions for the bars the editor has.
  void UpdateScrollRanges();

  // Left of the text area the point is moved a cell further left, so a drag there reaches the
  // column before LeftCol. With Round the column is the nearest gap between characters.
  [[nodiscard]] TColRow MouseToPos(int X, int Y, bool Round) const;
  // Pixel position of a cell's top left corner.
  [[nodiscard]] int ColToX(int Col) const { return FLeftOffset + (Col - FLeftCol) * FColWidth; }
  [[nodiscard]] int RowToY(int Row) const { return FTopOffset + (Row - FTopRow) * FRowHeight; }
  // Where the system caret goes for the editor's caret (a brief caret sits at the cell's bottom).
  [[nodiscard]] TPoint CaretPos() const;
  // The caret's size: a block HitCols columns wide for a hit shown as the caret, else by style.
  [[nodiscard]] TCaretShape CreateCaretShape(bool OnDoubleByte, int HitCols) const;
  // True while the cell lies within the fully visible rows and columns.
  [[nodiscard]] bool CellVisible(int Row, int Col) const;
  // The text-area rectangle of rows First .. Last (in order), clipped to the rows whose pixels lie
  // in the window; empty when none does or there is no window.
  [[nodiscard]] TRect RowsRect(int First, int Last) const;
  // The one-pixel line under a row where the caret-row underline goes; empty when off screen.
  [[nodiscard]] TRect UnderlineRect(int Row) const;

private:
  [[nodiscard]] int WindowWidth() const;
  [[nodiscard]] int WindowHeight() const;
  void CalcBarSizes();

  TEditModel& FModel;
  int FFontHeight = 1;
  int FAveCharWidth = 1;
  int FColWidth = 1;    /// invariant: >= 1
  int FRowHeight = 1;   /// invariant: >= 1
  int FTopOffset = 0;
  int FLeftOffset = 0;
  int FVisibleRows = 1;  /// invariant: >= 1
  int FVisibleCols = 1;  /// invariant: >= 1
  int FRulerHeight = 0;
  int FImagebarWidth = 0;
  int FLeftbarDigits = 4;
  int FLeftbarWidth = 0;
  int FTopRow = 0;
  int FLeftCol = 0;
};

}  // namespace tesvarin
