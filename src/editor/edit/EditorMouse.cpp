#include "editor/edit/EditorMouse.h"

#include <algorithm>

#include "editor/caret/EditorSelection.h"
#include "editor/edit/EditorClipboard.h"
#include "editor/model/EditModel.h"
#include "editor/view/CaretDisplay.h"
#include "editor/view/EditorScroll.h"

namespace tesvarin {

namespace {

// Pointer zones; the pointer is set only when the zone changes.
enum TPointerZone : int { pzText, pzLeftMargin, pzTopMargin, pzInSelection, pzDrag, pzDragCopy };

}  // namespace

// ---- Positions

TPoint TEditorMouse::TextPosAt(int X, int Y, bool Round) const {
  const TColRow P = FScroll.MouseToPos(X, Y, Round);
  int ARow = P.Row;
  // Above the text area a drag reaches the row above the view.
  if (Y < FScroll.TopOffset()) ARow = FScroll.TopRow() - 1;
  return {P.Col, std::clamp(ARow, 0, FModel.ListRows().MaxCaretRow())};
}

bool TEditorMouse::CanDragSelection() const {
  return !FModel.ReadOnly() && FModel.Caret().SelMove() && FSelection.State() == selSelected && !FSelection.BoxMode();
}

// ---- Press, move, release

void TEditorMouse::MouseDown(TEditorMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button != embLeft) return;
  if (FModel.Window() != nullptr && !FModel.Window()->Focused()) FModel.Window()->SetFocus();
  FModel.SetMouseLeftDown(true);
  const TPoint P = TextPosAt(X, Y, true);
  if (Shift.Contains(ssShift)) {
    if (FSelection.State() == selNone) FSelection.Start();
    FModel.Signals().SetRowCol(P.Y, P.X);
    FSelection.Extend();
    return;
  }
  const TPoint Cell = TextPosAt(X, Y, false);
  if (CanDragSelection() && FSelection.Contains(Cell.Y, Cell.X)) {
    FModel.Signals().SetRowCol(P.Y, P.X);
    if (FModel.Caret().SelDragMode() == dmAutomatic) FDragState = TDragState::Armed;
    return;
  }
  FModel.Signals().CleanSelection();
  if (X < FScroll.LeftOffset() && Y >= FScroll.TopOffset() && FModel.Caret().RowSelect()) {
    FRowSelecting = true;
    FRowSelectFirst = P.Y;
    SelectWholeRows(P.Y);
    return;
  }
  FModel.Signals().SetRowCol(P.Y, P.X);
  FSelection.Start();
}

void TEditorMouse::MouseMove(TShiftState Shift, int X, int Y) {
  if (FModel.MouseLeftDown()) {
    if (FDragState == TDragState::Armed) FDragState = TDragState::Active;
    if (FDragState == TDragState::Active) {
      // The caret shows where the text will land.
      const TPoint P = TextPosAt(X, Y, true);
      FModel.Signals().SetRowCol(P.Y, P.X);
      FModel.Signals().MakeCaretVisible();
    } else if (FRowSelecting) {
      SelectWholeRows(TextPosAt(X, Y, true).Y);
    } else {
      ExtendMouseSelection(X, Y);
    }
  }
  UpdatePointer(Shift, X, Y);
}

void TEditorMouse::MouseUp(TEditorMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button != embLeft || !FModel.MouseLeftDown()) return;
  FModel.SetMouseLeftDown(false);
  FRowSelecting = false;
  const TDragState State = FDragState;
  FDragState = TDragState::None;
  if (State == TDragState::Active) {
    DropSelection(Shift, X, Y);
  } else if (State == TDragState::Armed) {
    // A click inside the selection that never moved: the caret stays where it was put.
    FModel.Signals().CleanSelection();
  }
  UpdatePointer(Shift, X, Y);
}

void TEditorMouse::ExtendMouseSelection(int X, int Y) {
  if (FSelection.State() == selNone) return;
  const TPoint P = TextPosAt(X, Y, true);
  FModel.Signals().SetRowCol(P.Y, P.X);
  FSelection.Extend();
  FModel.Signals().MakeCaretVisible();
}

// Whole rows from FRowSelectFirst to ToRow, the first row staying selected either way.
void TEditorMouse::SelectWholeRows(int ToRow) {
  const int Max = FModel.ListRows().MaxCaretRow();
  auto RowEnd = [&](int R, int& EndRow, int& EndCol) {
    EndRow = R + 1;
    EndCol = 0;
    if (EndRow > Max) {  // a last row without a line break ends at its own end
      EndRow = std::min(R, Max);
      EndCol = FModel.RowWidth(EndRow);
    }
  };
  int AnchorRow = FRowSelectFirst;
  int AnchorCol = 0;
  int CaretRow = ToRow;
  int CaretCol = 0;
  if (ToRow >= FRowSelectFirst) RowEnd(ToRow, CaretRow, CaretCol);
  else RowEnd(FRowSelectFirst, AnchorRow, AnchorCol);
  FModel.Signals().SetRowCol(AnchorRow, AnchorCol);
  FSelection.Start();
  FModel.Signals().SetRowCol(CaretRow, CaretCol);
  FSelection.Extend();
  FModel.Signals().MakeCaretVisible();
}

// ---- Selection drag

void TEditorMouse::DropSelection(TShiftState Shift, int X, int Y) {
  IEditorWindow* Window = FModel.Window();
  const bool Outside = Window != nullptr && (X < 0 || Y < 0 || X >= Window->ClientWidth() || Y >= Window->ClientHeight());
  if (Outside || !CanDragSelection()) {
    FModel.Signals().CleanSelection();
    return;
  }
  const TPoint P = TextPosAt(X, Y, true);
  FModel.Signals().SetRowCol(P.Y, P.X);
  const TSelRange Sel = FSelection.Range();
  // Offsets from the upper of drop row and selection: only their order matters.
  const int Low = std::min(FModel.Row(), Sel.StartRow);
  const int64_t Drop =
      FModel.SumRows(Low, FModel.Row(), false) + std::min<int64_t>(FModel.CaretByte(), FModel.RowView(FModel.Row()).size());
  const int64_t StartRowAt = FModel.SumRows(Low, Sel.StartRow, false);
  const int64_t Start = StartRowAt + Sel.StartByte;
  const int64_t End = StartRowAt + FModel.SumRows(Sel.StartRow, Sel.EndRow, false) + Sel.EndByte + 1;
  if (Drop >= Start && Drop <= End) {
    FModel.Signals().CleanSelection();
    return;
  }
  if (Shift.Contains(ssCtrl)) {
    const std::string Text = FSelection.Text();
    FModel.Signals().CleanSelection();
    FModel.Signals().SetRowCol(P.Y, P.X);
    FClipboard.PasteText(Text);
    return;
  }
  MoveSelectionTo(FModel.Row(), FModel.CaretByte());
}

// The move is one change over the rows from the upper to the lower of selection and drop point,
// so that one undo step takes it back.
void TEditorMouse::MoveSelectionTo(int DropRow, int DropByte) {
  const TSelRange Sel = FSelection.Range();
  const std::string Moved = FSelection.Text();
  const int Last = FModel.ListRows().Count() - 1;
  const int First = FModel.ListRows().LineStartRow(std::min({Sel.StartRow, DropRow, Last}));
  const int LastRow = FModel.ListRows().LineEndRow(std::min(std::max(Sel.EndRow, DropRow), Last));
  const TLineTextResult Block = FModel.ListRows().LineText(First, LastRow - First + 1);
  const auto Rel = [&](int ARow, int64_t AByte) {
    return static_cast<size_t>(
        std::min<int64_t>(FModel.SumRows(First, ARow, false) + AByte, static_cast<int64_t>(Block.Text.size())));
  };
  const size_t S = Rel(Sel.StartRow, Sel.StartByte);
  const size_t E = Rel(Sel.EndRow, Sel.EndByte + 1);
  const int DropLen = static_cast<int>(FModel.RowView(DropRow).size());
  const size_t D = Rel(DropRow, std::min(DropByte, DropLen));
  // A caret beyond the end of its row drops after spaces up to it.
  const std::string Insert = std::string(static_cast<size_t>(std::max(0, DropByte - DropLen)), ' ') + Moved;
  const std::string T(Block.Text.data(), Block.Text.size());
  std::string NewText;
  size_t CaretAt = 0;
  if (D < S) {
    NewText = T.substr(0, D) + Insert + T.substr(D, S - D) + T.substr(E);
    CaretAt = D + Insert.size();
  } else {
    NewText = T.substr(0, S) + T.substr(E, D - E) + Insert + T.substr(D);
    CaretAt = D - (E - S) + Insert.size();
  }
  FModel.Signals().CleanSelection();
  FCaretDisplay.Hide();
  try {
    FModel.ListRows().UpdateRows(First, LastRow - First + 1, NewText);
    int ARow = 0;
    int ACol = 0;
    FModel.ListRows().OffsetToRowCol(First, static_cast<int64_t>(CaretAt), ARow, ACol);
    FModel.Signals().SetRowCol(ARow, ACol);
  } catch (...) {
    FCaretDisplay.Show();  // a move that failed still leaves the caret shown
    throw;
  }
  FCaretDisplay.Show();
  FModel.Signals().MakeCaretVisible();
}

void TEditorMouse::CancelDrag() {
  if (FDragState == TDragState::None) return;
  FDragState = TDragState::None;
  FModel.SetMouseLeftDown(false);
  SetPointerZone(pzText, FModel.Caret().Cursors().DefaultCursor());
}

void TEditorMouse::DragShiftChanged(TShiftState Shift) {
  if (FDragState != TDragState::Active) return;
  if (Shift.Contains(ssCtrl)) SetPointerZone(pzDragCopy, FModel.Caret().Cursors().DragSelCopyCursor());
  else SetPointerZone(pzDrag, FModel.Caret().Cursors().DragSelCursor());
}

// ---- Pointer zones

void TEditorMouse::UpdatePointer(TShiftState Shift, int X, int Y) {
  const TEditorCursors& C = FModel.Caret().Cursors();
  if (FDragState == TDragState::Active) {
    DragShiftChanged(Shift);
  } else if (X < FScroll.LeftOffset()) {
    SetPointerZone(pzLeftMargin, C.LeftMarginCursor());
  } else if (Y < FScroll.TopOffset()) {
    SetPointerZone(pzTopMargin, C.TopMarginCursor());
  } else if (const TPoint Cell = TextPosAt(X, Y, false); CanDragSelection() && FSelection.Contains(Cell.Y, Cell.X)) {
    SetPointerZone(pzInSelection, C.InSelCursor());
  } else {
    SetPointerZone(pzText, C.DefaultCursor());
  }
}

void TEditorMouse::SetPointerZone(int Zone, TCursor Cursor) {
  if (!FModel.Caret().AutoCursor() || Zone == FCursorZone) return;
  FCursorZone = Zone;
  if (FModel.Platform().Cursors != nullptr) FModel.Platform().Cursors->SetCursor(Cursor);
}

}  // namespace tesvarin
