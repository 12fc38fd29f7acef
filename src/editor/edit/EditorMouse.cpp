// TEditor's mouse: press, move and release, row selection in the left margin, selection drag,
// pointer zones, and the context menu's popup and shortcuts.
#include <algorithm>

#include "editor/Editor.h"
#include "editor/EditorContextMenu.h"
#include "editor/EditorMessages.h"
#include "editor/view/EditorScroll.h"
#include "editor/caret/EditorSelection.h"

namespace tesvarin {

namespace {

// Pointer zones; the pointer is set only when the zone changes.
enum TPointerZone : int { pzText, pzLeftMargin, pzTopMargin, pzInSelection, pzDrag, pzDragCopy };

}  // namespace

// ---- Positions

TPoint TEditor::TextPosAt(int X, int Y, bool Round) const {
  const TColRow P = FScroll->MouseToPos(X, Y, Round);
  int ARow = P.Row;
  // Above the text area a drag reaches the row above the view.
  if (Y < FScroll->TopOffset()) ARow = FScroll->TopRow() - 1;
  return {P.Col, std::clamp(ARow, 0, FRows->MaxCaretRow())};
}

bool TEditor::CanDragSelection() const {
  return !FReadOnly && FCaret.SelMove() && FSelection->State() == selSelected && !FSelection->BoxMode();
}

// ---- Press, move, release

void TEditor::MouseDown(TEditorMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button != embLeft) return;
  if (FWindow != nullptr && !FWindow->Focused()) FWindow->SetFocus();
  FMouseLeftDown = true;
  const TPoint P = TextPosAt(X, Y, true);
  if (Shift.Contains(ssShift)) {
    if (FSelection->State() == selNone) FSelection->Start();
    SetRowCol(P.Y, P.X);
    FSelection->Extend();
    return;
  }
  const TPoint Cell = TextPosAt(X, Y, false);
  if (CanDragSelection() && FSelection->Contains(Cell.Y, Cell.X)) {
    SetRowCol(P.Y, P.X);
    if (FCaret.SelDragMode() == dmAutomatic) FDragState = TDragState::Armed;
    return;
  }
  CleanSelection();
  if (X < FScroll->LeftOffset() && Y >= FScroll->TopOffset() && FCaret.RowSelect()) {
    FRowSelecting = true;
    FRowSelectFirst = P.Y;
    SelectWholeRows(P.Y);
    return;
  }
  SetRowCol(P.Y, P.X);
  FSelection->Start();
}

void TEditor::MouseMove(TShiftState Shift, int X, int Y) {
  if (FMouseLeftDown) {
    if (FDragState == TDragState::Armed) FDragState = TDragState::Active;
    if (FDragState == TDragState::Active) {
      // The caret shows where the text will land.
      const TPoint P = TextPosAt(X, Y, true);
      SetRowCol(P.Y, P.X);
      MakeCaretVisible();
    } else if (FRowSelecting) {
      SelectWholeRows(TextPosAt(X, Y, true).Y);
    } else {
      ExtendMouseSelection(X, Y);
    }
  }
  UpdatePointer(Shift, X, Y);
}

void TEditor::MouseUp(TEditorMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button != embLeft || !FMouseLeftDown) return;
  FMouseLeftDown = false;
  FRowSelecting = false;
  const TDragState State = FDragState;
  FDragState = TDragState::None;
  if (State == TDragState::Active) {
    DropSelection(Shift, X, Y);
  } else if (State == TDragState::Armed) {
    // A click inside the selection that never moved: the caret stays where it was put.
    CleanSelection();
  }
  UpdatePointer(Shift, X, Y);
}

void TEditor::ExtendMouseSelection(int X, int Y) {
  if (FSelection->State() == selNone) return;
  const TPoint P = TextPosAt(X, Y, true);
  SetRowCol(P.Y, P.X);
  FSelection->Extend();
  MakeCaretVisible();
}

// Whole rows from FRowSelectFirst to ToRow, the first row staying selected either way.
void TEditor::SelectWholeRows(int ToRow) {
  const int Max = FRows->MaxCaretRow();
  auto RowEnd = [&](int R, int& EndRow, int& EndCol) {
    EndRow = R + 1;
    EndCol = 0;
    if (EndRow > Max) {  // a last row without a line break ends at its own end
      EndRow = std::min(R, Max);
      EndCol = RowWidth(EndRow);
    }
  };
  int AnchorRow = FRowSelectFirst;
  int AnchorCol = 0;
  int CaretRow = ToRow;
  int CaretCol = 0;
  if (ToRow >= FRowSelectFirst) RowEnd(ToRow, CaretRow, CaretCol);
  else RowEnd(FRowSelectFirst, AnchorRow, AnchorCol);
  SetRowCol(AnchorRow, AnchorCol);
  FSelection->Start();
  SetRowCol(CaretRow, CaretCol);
  FSelection->Extend();
  MakeCaretVisible();
}

// ---- Selection drag

void TEditor::DropSelection(TShiftState Shift, int X, int Y) {
  const bool Outside = FWindow != nullptr && (X < 0 || Y < 0 || X >= FWindow->ClientWidth() || Y >= FWindow->ClientHeight());
  if (Outside || !CanDragSelection()) {
    CleanSelection();
    return;
  }
  const TPoint P = TextPosAt(X, Y, true);
  SetRowCol(P.Y, P.X);
  const TSelRange Sel = FSelection->Range();
  const int64_t Drop = EditorRowOffset(*this, FRow) + std::min<int64_t>(CaretByte(), RowView(FRow).size());
  const int64_t Start = EditorRowOffset(*this, Sel.StartRow) + Sel.StartByte;
  const int64_t End = EditorRowOffset(*this, Sel.EndRow) + Sel.EndByte + 1;
  if (Drop >= Start && Drop <= End) {
    CleanSelection();
    return;
  }
  if (Shift.Contains(ssCtrl)) {
    const std::string Text = GetSelText();
    CleanSelection();
    SetRowCol(P.Y, P.X);
    PasteText(Text);
    return;
  }
  MoveSelectionTo(FRow, CaretByte());
}

// The move is one change over the rows from the upper to the lower of selection and drop point,
// so that one undo step takes it back.
void TEditor::MoveSelectionTo(int DropRow, int DropByte) {
  const TSelRange Sel = FSelection->Range();
  const std::string Moved = GetSelText();
  const int Last = FRows->Count() - 1;
  const int First = FRows->LineStartRow(std::min({Sel.StartRow, DropRow, Last}));
  const int LastRow = FRows->LineEndRow(std::min(std::max(Sel.EndRow, DropRow), Last));
  const TLineTextResult Block = FRows->LineText(First, LastRow - First + 1);
  const int64_t Base = EditorRowOffset(*this, First);
  const auto Rel = [&](int ARow, int64_t AByte) {
    return static_cast<size_t>(std::min<int64_t>(EditorRowOffset(*this, ARow) - Base + AByte,
                                                 static_cast<int64_t>(Block.Text.size())));
  };
  const size_t S = Rel(Sel.StartRow, Sel.StartByte);
  const size_t E = Rel(Sel.EndRow, Sel.EndByte + 1);
  const int DropLen = static_cast<int>(RowView(DropRow).size());
  const size_t D = Rel(DropRow, std::min(DropByte, DropLen));
  // A caret beyond the end of its row drops after spaces up to it.
  const std::string Insert = std::string(static_cast<size_t>(std::max(0, DropByte - DropLen)), ' ') + Moved;
  const std::string& T = Block.Text;
  std::string NewText;
  size_t CaretAt = 0;
  if (D < S) {
    NewText = T.substr(0, D) + Insert + T.substr(D, S - D) + T.substr(E);
    CaretAt = D + Insert.size();
  } else {
    NewText = T.substr(0, S) + T.substr(E, D - E) + Insert + T.substr(D);
    CaretAt = D - (E - S) + Insert.size();
  }
  CleanSelection();
  HideCaret();
  FRows->UpdateRows(First, LastRow - First + 1, NewText);
  int ARow = 0;
  int ACol = 0;
  FRows->OffsetToRowCol(First, static_cast<int64_t>(CaretAt), ARow, ACol);
  SetRowCol(ARow, ACol);
  ShowCaret();
  MakeCaretVisible();
}

void TEditor::CancelDrag() {
  if (FDragState == TDragState::None) return;
  FDragState = TDragState::None;
  FMouseLeftDown = false;
  SetPointerZone(pzText, FCaret.Cursors().DefaultCursor());
}

void TEditor::DragShiftChanged(TShiftState Shift) {
  if (FDragState != TDragState::Active) return;
  if (Shift.Contains(ssCtrl)) SetPointerZone(pzDragCopy, FCaret.Cursors().DragSelCopyCursor());
  else SetPointerZone(pzDrag, FCaret.Cursors().DragSelCursor());
}

// ---- Pointer zones

void TEditor::UpdatePointer(TShiftState Shift, int X, int Y) {
  const TEditorCursors& C = FCaret.Cursors();
  if (FDragState == TDragState::Active) {
    DragShiftChanged(Shift);
  } else if (X < FScroll->LeftOffset()) {
    SetPointerZone(pzLeftMargin, C.LeftMarginCursor());
  } else if (Y < FScroll->TopOffset()) {
    SetPointerZone(pzTopMargin, C.TopMarginCursor());
  } else if (const TPoint Cell = TextPosAt(X, Y, false); CanDragSelection() && FSelection->Contains(Cell.Y, Cell.X)) {
    SetPointerZone(pzInSelection, C.InSelCursor());
  } else {
    SetPointerZone(pzText, C.DefaultCursor());
  }
}

void TEditor::SetPointerZone(int Zone, TCursor Cursor) {
  if (!FCaret.AutoCursor() || Zone == FCursorZone) return;
  FCursorZone = Zone;
  if (FPlatform.Cursors != nullptr) FPlatform.Cursors->SetCursor(Cursor);
}

// ---- Context menu

void TEditor::ContextPopup(int X, int Y) {
  FContextMenu->Update();
  if (FWindow != nullptr) FWindow->PopupContextMenu({X, Y});
}

bool TEditor::HandleShortCut(uint16_t Key, TShiftState Shift) {
  const TEditorMenuItem* Item = FContextMenu->FindShortCut(Key, Shift);
  if (Item == nullptr) return false;
  // States as of this key, not as of the last popup: a disabled command must not run. Only a
  // shortcut key pays for them, so typing stays cheap in a long text.
  FContextMenu->Update();
  return FContextMenu->Execute(*Item);
}

}  // namespace tesvarin
