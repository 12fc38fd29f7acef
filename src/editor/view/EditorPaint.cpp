// TEditor's painting pass: which areas an update rectangle touches, the rows it covers, the hook
// called after each row, and the invalidation of rows and bars.
#include <algorithm>

#include "editor/Editor.h"
#include "editor/view/EditorBars.h"
#include "editor/view/EditorPainter.h"
#include "editor/view/EditorScroll.h"
#include "highlighter/Highlighter.h"

namespace tesvarin {

namespace {

// Keeps the caret hidden and the painter reachable for the length of one paint.
class TPaintScope {
public:
  TPaintScope(TEditor& Editor, TEditorPainter*& Slot, TEditorPainter& Painter)
      : FEditor(Editor), FSlot(Slot), FOld(Slot) {
    FEditor.HideCaret();
    FSlot = &Painter;
  }
  ~TPaintScope() {
    FSlot = FOld;
    FEditor.ShowCaret();
  }
  TPaintScope(const TPaintScope&) = delete;
  TPaintScope& operator=(const TPaintScope&) = delete;

private:
  TEditor& FEditor;
  TEditorPainter*& FSlot;
  TEditorPainter* FOld;
};

}  // namespace

void TEditor::PaintRect(ICanvas& Canvas, const TRect& Area) {
  if (FWindow == nullptr) return;
  const int Width = FWindow->ClientWidth();
  const int Height = FWindow->ClientHeight();
  const TRect A = IntersectRect(Area, {0, 0, Width, Height});
  if (A.IsEmpty()) return;
  const TEditorScroll& S = *FScroll;
  TEditorPainter Painter(*this, *FScroll, *FSelection, Canvas);
  const TPaintScope Scope(*this, FPainter, Painter);
  Painter.SetClip(A);
  const int TopOffset = S.TopOffset();
  const int LeftOffset = S.LeftOffset();
  const int BarsRight = S.ImagebarWidth() + S.LeftbarWidth();
  if (A.Left < LeftOffset && A.Top < TopOffset) FBars->DrawCorner(Painter);
  if (A.Top < S.RulerHeight() && A.Right > LeftOffset) {
    FCaretDisplay->RulerPainted(FCol);
    FBars->DrawRuler(Painter, FCol);
  }
  // The margins between the bars and the text belong to no painter of their own.
  Painter.Fill({LeftOffset, S.RulerHeight(), Width, TopOffset}, FColor);
  Painter.Fill({BarsRight, TopOffset, LeftOffset, Height}, FColor);
  if (A.Bottom <= TopOffset) return;
  const int RowHeight = S.RowHeight();
  const int First = S.TopRow() + (std::max(A.Top, TopOffset) - TopOffset) / RowHeight;
  const int Last = S.TopRow() + (A.Bottom - 1 - TopOffset) / RowHeight;
  if (A.Left < BarsRight && A.Right > S.ImagebarWidth()) FBars->DrawLeftbar(Painter, First, Last);
  if (A.Left < S.ImagebarWidth()) FBars->DrawImagebar(Painter, First, Last);
  if (A.Right <= LeftOffset) return;
  // Rows are painted from a column boundary, so no character is drawn cut at the left.
  const int X0 = LeftOffset - S.ScrollOffset();
  const int Left = std::max(X0 + (std::max(A.Left, LeftOffset) - X0) / S.ColWidth() * S.ColWidth(), LeftOffset);
  const int TextHeight = S.FontHeight() + (Selected() ? FMargin.UnderlineAllowance() : 0);
  for (int Row = First; Row <= Last; ++Row) {
    const int Y = S.RowToY(Row);
    const TRect RowRect{Left, Y, A.Right, Y + TextHeight};
    Painter.PaintRow(Row, RowRect);
    Painter.SetClip({Left, Y, A.Right, Y + RowHeight});
    Painter.Fill({Left, Y + TextHeight, A.Right, Y + RowHeight}, FColor);
  }
  const bool CaretRowShown = FRow >= S.TopRow() && FRow < S.TopRow() + S.VisibleRows();
  if (FMarks.Underline().Visible() && !FCaretDisplay->UnderlineHidden() && CaretRowShown && FRow >= First && FRow <= Last) {
    // From the text area's left: a row may have been painted from a column left of Left.
    Painter.SetClip({LeftOffset, S.RowToY(First), A.Right, S.RowToY(Last) + RowHeight});
    Painter.DrawUnderline(FRow);
  }
}

void TEditor::RowPainted(std::string_view LineStr, int X, int Y, int Index, const TRect& ARect, bool Selected) {
  DrawLine(LineStr, X, Y, Index, ARect, Selected);
}

void TEditor::DrawLine(std::string_view LineStr, int X, int Y, int Index, const TRect& ARect, bool Selected) {
  if (OnDrawLine) OnDrawLine(this, LineStr, X, Y, Index, ARect, Selected);
}

void TEditor::UpdateItalicMode() {
  FItalicMode = FFont.Style.Contains(fsItalic) || ActiveHighlighter().HasItalicStyle(ActiveHighlighter());
}

void TEditor::BarsChanged() {
  FBars->Changed();
  UpdateItalicMode();
}

void TEditor::SetImageDigits(std::vector<TImage> Value) {
  FImageDigits = std::move(Value);
  Invalidate();
}

void TEditor::SetImageMarks(std::vector<TImage> Value) {
  FImageMarks = std::move(Value);
  Invalidate();
}

void TEditor::InvalidateLeftbarRows(int Row1, int Row2) {
  if (FWindow == nullptr || !FLeftbar.Visible()) return;
  TRect R = FScroll->RowsRect(std::min(Row1, Row2), std::max(Row1, Row2));
  if (R.IsEmpty()) return;
  R.Left = FScroll->ImagebarWidth();
  R.Right = R.Left + FScroll->LeftbarWidth();
  FWindow->Invalidate(R);
  FWindow->Update();
}

void TEditor::InvalidateImagebarRow(int ARow) {
  if (FWindow == nullptr || !FImagebar.Visible()) return;
  TRect R = FScroll->RowsRect(ARow, ARow);
  if (R.IsEmpty()) return;
  R.Left = 0;
  R.Right = FScroll->ImagebarWidth();
  FWindow->Invalidate(R);
  FWindow->Update();
}

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
