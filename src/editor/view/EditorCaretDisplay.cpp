// TEditor's on-screen caret: the system caret's shape, place and visibility, the caret-row underline
// and the ruler's caret-column mark. Hides nest; every window step is skipped while there is no window.
#include "editor/Editor.h"
#include "editor/view/EditorBars.h"
#include "editor/view/EditorScroll.h"

namespace tesvarin {

// ---- The system caret

void TEditor::RecreateCaret() {
  if (FWindow == nullptr) return;
  const TColumnMap Map = RowColumnMap(FRow);
  const bool OnDoubleByte = FCol >= 0 && FCol < static_cast<int>(Map.size()) && Map[static_cast<size_t>(FCol)] == ckDbcs1;
  const int HitCols = FHitStyle == hsCaret && SelState() == selHit ? FHitLength : 0;
  const TCaretShape Shape = FScroll->CreateCaretShape(OnDoubleByte, HitCols);
  if (FCaretOnScreen) FWindow->HideCaret();
  FCaretOnScreen = false;
  FWindow->CreateCaret(Shape.Width, Shape.Height);
  FCaretCreated = true;
  UpdateCaret();
}

void TEditor::UpdateCaret() {
  // A batch of caret changes places the caret once, when it closes.
  if (FCaretBatch > 0 || FWindow == nullptr) return;
  if (!FCaretCreated) {
    RecreateCaret();
    return;
  }
  const TPoint At = FScroll->CaretPos();
  FWindow->SetCaretPos(At);
  FWindow->SetImePos(At);
  SyncCaretVisibility();
  MoveUnderline();
  if (FRuler.Visible() && FRulerMarkCol != FCol) {
    UnmarkRulerColumn(FRulerMarkCol);
    MarkRulerColumn(FCol);
  }
  if (Focused() && OnCaretMoved) OnCaretMoved(this);
}

void TEditor::SyncCaretVisibility() {
  if (FWindow == nullptr || !FCaretCreated) return;
  const bool Want = FCaretHideCount == 0 && FScroll->CellVisible(FRow, FCol);
  if (Want == FCaretOnScreen) return;
  FCaretOnScreen = Want;
  if (Want) {
    FWindow->ShowCaret();
  } else {
    FWindow->HideCaret();
  }
}

void TEditor::HideCaret() {
  ++FCaretHideCount;
  SyncCaretVisibility();
}

void TEditor::ShowCaret() {
  if (FCaretHideCount > 0) --FCaretHideCount;
  SyncCaretVisibility();
}

// ---- The caret-row underline

void TEditor::InvalidateUnderline(int ARow) {
  if (FWindow == nullptr || ARow < 0) return;
  const TRect Line = FScroll->UnderlineRect(ARow);
  if (!Line.IsEmpty()) FWindow->Invalidate(Line);
}

void TEditor::HideUnderline() {
  ++FUnderlineHideCount;
  if (FUnderlineHideCount != 1 || !FMarks.Underline().Visible() || Selected()) return;
  InvalidateUnderline(FUnderlineRow);
  FUnderlineRow = -1;
  if (FWindow != nullptr) FWindow->Update();
}

void TEditor::ShowUnderline() {
  if (FUnderlineHideCount == 0) return;
  --FUnderlineHideCount;
  if (FUnderlineHideCount != 0 || !FMarks.Underline().Visible() || Selected()) return;
  FUnderlineRow = FRow;
  InvalidateUnderline(FUnderlineRow);
  if (FWindow != nullptr) FWindow->Update();
}

void TEditor::MoveUnderline() {
  if (FUnderlineRow == FRow || FUnderlineHideCount > 0 || !FMarks.Underline().Visible()) return;
  InvalidateUnderline(FUnderlineRow);
  FUnderlineRow = FRow;
  InvalidateUnderline(FUnderlineRow);
}

// ---- The ruler's caret-column mark

TRect TEditor::RulerCellRect(int ACol) const { return FBars->RulerCell(ACol); }

void TEditor::MarkRulerColumn(int ACol) {
  if (!FRuler.Visible()) return;
  FRulerMarkCol = ACol;
  const TRect Cell = RulerCellRect(ACol);
  if (FWindow != nullptr && !Cell.IsEmpty()) FWindow->Invalidate(Cell);
}

void TEditor::UnmarkRulerColumn(int ACol) {
  if (FRulerMarkCol != ACol || ACol < 0) return;
  FRulerMarkCol = -1;
  const TRect Cell = RulerCellRect(ACol);
  if (FWindow != nullptr && !Cell.IsEmpty()) FWindow->Invalidate(Cell);
}

}  // namespace tesvarin
