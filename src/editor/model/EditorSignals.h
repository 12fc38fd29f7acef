// What the editor's parts ask of the editor: the few services only the facade can give, because they
// raise its events or join parts that sit above the one asking.
#pragma once

#include <string_view>

#include "platform/Platform.h"

namespace tesvarin {

class IEditorSignals {
public:
  virtual ~IEditorSignals() = default;

  // ---- Painting
  // Rows Row1 .. Row2 (either order) need painting again.
  virtual void InvalidateRows(int Row1, int Row2) = 0;
  // A row (or a selection span of one) was painted: its display text, the x of its column 0, its
  // top, its index, the rectangle just painted and whether selection colours were used.
  virtual void RowPainted(std::string_view LineStr, int X, int Y, int Index, const TRect& ARect,
                          bool Selected) = 0;

  // ---- Caret and selection
  // Puts the caret at a row and column; it is normalized and the on-screen caret follows.
  virtual void SetRowCol(int ARow, int ACol) = 0;
  // The caret moved: the on-screen caret follows, once at the end of a batch of caret changes.
  virtual void UpdateCaret() = 0;
  // The caret's shape changed (a hit shown as the caret came or went).
  virtual void RecreateCaret() = 0;
  // A change of many rows: the caret is hidden and placed once, when the outer bracket closes.
  virtual void BeginLinesUpdate() = 0;
  virtual void EndLinesUpdate() = 0;
  // The selection is dropped and its rows repainted.
  virtual void CleanSelection() = 0;
  // The selection was extended or recomputed (Selected), or dropped.
  virtual void SelectionChanged(bool Selected) = 0;
  // Box or stream selection; refused while a selection is dragged.
  virtual void SetSelectionMode(bool Box) = 0;

  // ---- Scrolling
  [[nodiscard]] virtual int TopRow() const = 0;
  // Rows wholly on screen (at least 1).
  [[nodiscard]] virtual int VisibleRows() const = 0;
  // Scrolls so the row or column is first on screen; the editor moves the pixels and the caret.
  virtual void SetTopRow(int ARow) = 0;
  virtual void SetLeftCol(int ACol) = 0;
  // Scrolls the least that brings the caret on screen.
  virtual void MakeCaretVisible() = 0;
  // The first row or column on screen changed.
  virtual void TopRowChanged() = 0;
  virtual void LeftColChanged() = 0;
};

}  // namespace tesvarin
