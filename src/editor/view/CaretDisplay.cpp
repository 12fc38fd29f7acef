#include "editor/view/CaretDisplay.h"

#include "editor/caret/EditorSelection.h"
#include "editor/model/EditModel.h"
#include "editor/view/EditorBars.h"
#include "editor/view/EditorScroll.h"

namespace tesvarin {

// ---- The system caret

void TCaretDisplay::Recreate(int HitCols) {
  IEditorWindow* Window = FModel.Window();
  if (Window == nullptr) return;
  const int Col = FModel.Col();
  const TColumnMap Map = FModel.RowColumnMap(FModel.Row());
  const bool OnDoubleByte = Col >= 0 && Col < static_cast<int>(Map.size()) && Map[static_cast<size_t>(Col)] == ckDbcs1;
  const TCaretShape Shape = FScroll.CreateCaretShape(OnDoubleByte, HitCols);
  if (FCaretOnScreen) Window->HideCaret();
  FCaretOnScreen = false;
  Window->CreateCaret(Shape.Width, Shape.Height);
  FCaretCreated = true;
}

void TCaretDisplay::Place() {
  IEditorWindow* Window = FModel.Window();
  if (Window == nullptr) return;
  const TPoint At = FScroll.CaretPos();
  Window->SetCaretPos(At);
  Window->SetImePos(At);
  SyncVisibility();
  MoveUnderline();
  if (FModel.Ruler().Visible() && FRulerMarkCol != FModel.Col()) {
    UnmarkRulerColumn(FRulerMarkCol);
    MarkRulerColumn(FModel.Col());
  }
}

void TCaretDisplay::SyncVisibility() {
  IEditorWindow* Window = FModel.Window();
  if (Window == nullptr || !FCaretCreated) return;
  const bool Want = FCaretHideCount == 0 && FScroll.CellVisible(FModel.Row(), FModel.Col());
  if (Want == FCaretOnScreen) return;
  FCaretOnScreen = Want;
  if (Want) {
    Window->ShowCaret();
  } else {
    Window->HideCaret();
  }
}

void TCaretDisplay::Hide() {
  ++FCaretHideCount;
  SyncVisibility();
}

void TCaretDisplay::Show() {
  if (FCaretHideCount > 0) --FCaretHideCount;
  SyncVisibility();
}

// ---- The caret-row underline

void TCaretDisplay::InvalidateUnderline(int ARow) {
  if (FModel.Window() == nullptr || ARow < 0) return;
  const TRect Line = FScroll.UnderlineRect(ARow);
  if (!Line.IsEmpty()) FModel.Window()->Invalidate(Line);
}

void TCaretDisplay::HideUnderline() {
  ++FUnderlineHideCount;
  if (FUnderlineHideCount != 1 || !FModel.Marks().Underline().Visible() || FSelection.State() != selNone) return;
  InvalidateUnderline(FUnderlineRow);
  FUnderlineRow = -1;
  if (FModel.Window() != nullptr) FModel.Window()->Update();
}

void TCaretDisplay::ShowUnderline() {
  if (FUnderlineHideCount == 0) return;
  --FUnderlineHideCount;
  if (FUnderlineHideCount != 0 || !FModel.Marks().Underline().Visible() || FSelection.State() != selNone) return;
  FUnderlineRow = FModel.Row();
  InvalidateUnderline(FUnderlineRow);
  if (FModel.Window() != nullptr) FModel.Window()->Update();
}

void TCaretDisplay::MoveUnderline() {
  const int Row = FModel.Row();
  if (FUnderlineRow == Row || FUnderlineHideCount > 0 || !FModel.Marks().Underline().Visible()) return;
  InvalidateUnderline(FUnderlineRow);
  FUnderlineRow = Row;
  InvalidateUnderline(FUnderlineRow);
}

// ---- The ruler's caret-column mark

void TCaretDisplay::InvalidateRulerCell(int ACol) {
  const TRect Cell = FBars.RulerCell(ACol);
  if (FModel.Window() != nullptr && !Cell.IsEmpty()) FModel.Window()->Invalidate(Cell);
}

void TCaretDisplay::MarkRulerColumn(int ACol) {
  if (!FModel.Ruler().Visible()) return;
  FRulerMarkCol = ACol;
  InvalidateRulerCell(ACol);
}

void TCaretDisplay::UnmarkRulerColumn(int ACol) {
  if (FRulerMarkCol != ACol || ACol < 0) return;
  FRulerMarkCol = -1;
  InvalidateRulerCell(ACol);
}

}  // namespace tesvarin
