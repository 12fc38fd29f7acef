// What the row store needs of each editor that shows it: the editor control implements it.
#pragma once

#include "highlighter/RowState.h"
#include "support/TSet.h"

namespace tesvarin {

class IEditorView {
public:
  virtual ~IEditorView() = default;

  // Caret position in display rows and columns (0-based).
  [[nodiscard]] virtual int CaretRow() const = 0;
  [[nodiscard]] virtual int CaretCol() const = 0;
  virtual void SetCaretRowCol(int Row, int Col) = 0;
  // The first display row on screen.
  [[nodiscard]] virtual int TopRow() const = 0;
  virtual void SetTopRow(int Row) = 0;
  // Rows that fit on the screen (at least 1).
  [[nodiscard]] virtual int ScreenRows() const = 0;
  // The focused editor is the active one of the editors sharing a store.
  [[nodiscard]] virtual bool Focused() const = 0;

  // Drops the selection (and a hit), if there is one.
  virtual void CleanSelection() = 0;
  virtual void HideCaret() = 0;
  virtual void ShowCaret() = 0;
  // Repaint one row whose colouring changed.
  virtual void InvalidateRow(int Row) = 0;
  // The text changed; the store's LastChange says where.
  virtual void TextChanged() = 0;
  // Scroll ranges, caret and a full repaint after a change of the whole layout.
  virtual void Refresh() = 0;
  // The outer update bracket of Lines: freeze painting and the caret, then thaw.
  virtual void BeginLinesUpdate() = 0;
  virtual void EndLinesUpdate() = 0;

  // Settings the store reads.
  [[nodiscard]] virtual int TabSpaceCount() const = 0;
  [[nodiscard]] virtual const TByteSet& Delimiters() const = 0;
  [[nodiscard]] virtual bool InitBracketsFull() const = 0;
  [[nodiscard]] virtual bool Loading() const = 0;     // reading its stored properties
  [[nodiscard]] virtual bool Destroying() const = 0;
  // The colouring of this editor; null: no colouring, rows keep the initial state.
  [[nodiscard]] virtual IRowStateProvider* RowStateProvider() const = 0;
};

}  // namespace tesvarin
