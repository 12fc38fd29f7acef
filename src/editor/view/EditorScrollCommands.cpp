// TEditor's scrolling commands: the top row and left column, the scroll bars' commands and keeping the
// caret in view. The metrics and positions they work with are TEditorScroll's (EditorScroll.h).
#include <algorithm>

#include "editor/Editor.h"
#include "editor/view/EditorScroll.h"

namespace tesvarin {

namespace {

bool HasVertBar(TScrollStyle S) { return S == ssVertical || S == ssBoth; }
bool HasHorzBar(TScrollStyle S) { return S == ssHorizontal || S == ssBoth; }

}  // namespace

int TEditor::TopRow() const { return FScroll->TopRow(); }

int TEditor::LeftCol() const { return FScroll->LeftCol(); }

int TEditor::ScreenRows() const {
  if (FWindow == nullptr) return FScroll->VisibleRows();
  return std::max(1, FWindow->ClientHeight() / FScroll->RowHeight());
}

void TEditor::ScrollRegion(const TRect& Area, int Dx, int Dy) {
  HideUnderline();
  HideCaret();
  FWindow->ScrollArea(Area, Dx, Dy);
  FWindow->Update();
  ShowCaret();
  ShowUnderline();
}

void TEditor::SetTopRow(int ARow) {
  const int New = std::clamp(ARow, 0, RowCount());
  const int Old = FScroll->TopRow();
  if (New == Old) return;
  // The underline belongs to the old rows' pixels; it is moved with them.
  HideUnderline();
  FScroll->StoreTopRow(New);
  if (FWindow != nullptr) {
    const int Limit = FScroll->VisibleRows() + 1;
    const int Rows = std::clamp(Old - New, -Limit, Limit);
    const TRect Area{0, FScroll->TopOffset(), FWindow->ClientWidth(), FWindow->ClientHeight()};
    ScrollRegion(Area, 0, Rows * FScroll->RowHeight());
    if (HasVertBar(FScrollBars)) FWindow->SetScrollPos(true, New);
  }
  ShowUnderline();
  // While a key repeats, the key's release places the caret once.
  if (!FKeyRepeating) UpdateCaret();
  if (OnTopRowChange) OnTopRowChange(this);
}

void TEditor::SetLeftCol(int ACol) {
  const int New = std::clamp(ACol, 0, FScroll->MaxLeftCol());
  const int Old = FScroll->LeftCol();
  if (New == Old) return;
  // The ruler scrolls with the text, its caret-column mark with it, so no cell needs repainting.
  FScroll->StoreLeftCol(New);
  if (FWindow != nullptr) {
    const TRect Area{FScroll->LeftOffset(), 0, FWindow->ClientWidth(), FWindow->ClientHeight()};
    ScrollRegion(Area, (Old - New) * FScroll->ColWidth(), 0);
    if (HasHorzBar(FScrollBars)) FWindow->SetScrollPos(false, New);
  }
  UpdateCaret();
  if (OnTopColChange) OnTopColChange(this);
}

void TEditor::VScroll(TScrollCode Code, int Pos) {
  const int Top = TopRow();
  const int Page = FScroll->VisibleRows();
  int Target = Top;
  switch (Code) {
    case SB_LINEUP: Target = Top - 1; break;
    case SB_LINEDOWN: Target = Top + 1; break;
    case SB_PAGEUP: Target = Top - Page; break;
    case SB_PAGEDOWN: Target = Top + Page; break;
    case SB_TOP: Target = 0; break;
    case SB_BOTTOM: Target = FScroll->MaxTopRow(); break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: Target = Pos; break;
    case SB_ENDSCROLL: return;
  }
  SetTopRow(std::clamp(Target, 0, FScroll->MaxTopRow()));
  const int Moved = TopRow() - Top;
  if (Moved != 0 && FCaret.LockScroll()) {
    SetRowCol(std::clamp(FRow + Moved, 0, FRows->MaxCaretRow()), FCol);
  }
}

void TEditor::HScroll(TScrollCode Code, int Pos) {
  const int Left = LeftCol();
  const int Page = FScroll->VisibleCols();
  int Target = Left;
  switch (Code) {
    case SB_LINEUP: Target = Left - 1; break;
    case SB_LINEDOWN: Target = Left + 1; break;
    case SB_PAGEUP: Target = Left - Page; break;
    case SB_PAGEDOWN: Target = Left + Page; break;
    case SB_TOP: Target = 0; break;
    case SB_BOTTOM: Target = FScroll->MaxHorzPos(); break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: Target = Pos; break;
    case SB_ENDSCROLL: return;
  }
  SetLeftCol(std::clamp(Target, 0, FScroll->MaxHorzPos()));
}

void TEditor::MakeCaretVisible() {
  const TEditorScroll& S = *FScroll;
  const int Rows = S.VisibleRows();
  if (FRow < S.TopRow()) {
    SetTopRow(FRow);
  } else if (FRow > S.TopRow() + Rows - 1) {
    SetTopRow(FRow - Rows + 1);
  }
  const int Left = S.LeftCol();
  const int Cols = S.VisibleCols();
  // Horizontal moves jump by at least a quarter of the width, so typing along a row scrolls rarely.
  if (FCol < Left) {
    SetLeftCol(std::max(0, std::min(FCol, Left - Cols / 4)));
  } else if (FCol > Left + Cols - 1) {
    SetLeftCol(std::min(std::max(FCol - Cols + 1, Left + Cols / 4), S.MaxLeftCol()));
  }
}

}  // namespace tesvarin
