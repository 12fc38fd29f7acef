// TEditor's view side: settings changes, scrolling, the system caret and invalidation. Every window
// step goes through Window(), and is skipped while there is none.
#include <algorithm>

#include "editor/Editor.h"
#include "editor/view/EditorBars.h"
#include "editor/view/EditorScroll.h"
#include "editor/settings/EditorViewInfo.h"
#include "highlighter/Highlighter.h"

namespace tesvarin {

namespace {

bool HasVertBar(TScrollStyle S) { return S == ssVertical || S == ssBoth; }
bool HasHorzBar(TScrollStyle S) { return S == ssHorizontal || S == ssBoth; }

}  // namespace

// ---- Settings

void TEditor::ViewChanged(TObject* Sender) {
  if (FDestroying) return;
  if (Sender == &FMarks) {
    FMargin.SetUnderlineAllowance(FMarks.Underline().Visible() ? 1 : 0);
  } else if (Sender == FView.get() || dynamic_cast<THighlighter*>(Sender) != nullptr) {
    FRows->RefreshAllRowStates();
  }
  BarsChanged();
  if (FWindow == nullptr) return;
  FScroll->CalcMetrics();
  FScroll->UpdateScrollRanges();
  Invalidate();
  MakeCaretVisible();
  if (Sender == &FCaret) {
    RecreateCaret();
  } else {
    UpdateCaret();
  }
}

void TEditor::SetView(const TEditorViewInfo& Value) {
  FView->Assign(Value);
  MakeCaretVisible();
  UpdateCaret();
}

void TEditor::SetScrollBars(TScrollStyle Value) {
  if (Value == FScrollBars) return;
  FScrollBars = Value;
  if (FWindow == nullptr) return;
  FWindow->ShowScrollBars(HasHorzBar(Value), HasVertBar(Value));
  FScroll->CalcMetrics();
  FScroll->UpdateScrollRanges();
}

void TEditor::SetColor(TColor Value) {
  if (Value == FColor) return;
  FColor = Value;
  FBars->Changed();
  Invalidate();
}

void TEditor::SetFont(const TFontSpec& Value) {
  if (Value == FFont) return;
  // Back to the left edge first, while the old column width still says where that is.
  if (LeftCol() > 0) {
    SetRowCol(FRow, 0);
    MakeCaretVisible();
  }
  FFont = Value;
  BarsChanged();
  if (FWindow == nullptr) return;
  FScroll->CalcMetrics();
  FScroll->UpdateScrollRanges();
  Invalidate();
  RecreateCaret();
}

void TEditor::Resize() {
  if (FWindow == nullptr) return;
  FScroll->CalcMetrics();
  FScroll->UpdateScrollRanges();
  Invalidate();
  UpdateCaret();
}

void TEditor::Refresh() {
  FScroll->CalcMetrics();
  FScroll->UpdateScrollRanges();
  Invalidate();
  UpdateCaret();
}

void TEditor::RowCountChanged() {
  if (FScroll->CalcLeftbarDigits() != FScroll->LeftbarDigits() && FWindow != nullptr) {
    FScroll->CalcMetrics();
    Invalidate();
  }
  FScroll->UpdateScrollRanges();
}

// ---- Scrolling

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
  const int Old = FScroll->FTopRow;
  if (New == Old) return;
  // The underline belongs to the old rows' pixels; it is moved with them.
  HideUnderline();
  FScroll->FTopRow = New;
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
  const int Old = FScroll->FLeftCol;
  if (New == Old) return;
  // The ruler scrolls with the text, its caret-column mark with it, so no cell needs repainting.
  FScroll->FLeftCol = New;
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

// ---- Invalidation

void TEditor::InvalidateRow(int ARow) {
  if (FWindow == nullptr) return;
  const TRect R = FScroll->RowsRect(ARow, ARow);
  if (!R.IsEmpty()) FWindow->Invalidate(R);
}

void TEditor::InvalidateRows(int Row1, int Row2) {
  if (FWindow == nullptr) return;
  const TRect R = FScroll->RowsRect(std::min(Row1, Row2), std::max(Row1, Row2));
  if (R.IsEmpty()) return;
  FWindow->Invalidate(R);
  FWindow->Update();
}

void TEditor::Invalidate() {
  if (FWindow == nullptr) return;
  FWindow->Invalidate({0, 0, FWindow->ClientWidth(), FWindow->ClientHeight()});
}

}  // namespace tesvarin
