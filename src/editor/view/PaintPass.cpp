#include "editor/view/PaintPass.h"

#include <algorithm>

#include "editor/caret/EditorSelection.h"
#include "editor/model/EditModel.h"
#include "editor/view/CaretDisplay.h"
#include "editor/view/EditorBars.h"
#include "editor/view/EditorPainter.h"
#include "editor/view/EditorScroll.h"

namespace tesvarin {

namespace {

// Keeps the caret hidden and the painter reachable for the length of one paint.
class TPaintScope {
public:
  TPaintScope(TCaretDisplay& CaretDisplay, TEditorPainter*& Slot, TEditorPainter& Painter)
      : FCaretDisplay(CaretDisplay), FSlot(Slot), FOld(Slot) {
    FCaretDisplay.Hide();
    FSlot = &Painter;
  }
  ~TPaintScope() {
    FSlot = FOld;
    FCaretDisplay.Show();
  }
  TPaintScope(const TPaintScope&) = delete;
  TPaintScope& operator=(const TPaintScope&) = delete;

private:
  TCaretDisplay& FCaretDisplay;
  TEditorPainter*& FSlot;
  TEditorPainter* FOld;
};

}  // namespace

void TPaintPass::Paint(ICanvas& Canvas, const TRect& Area) {
  const IEditorWindow* Window = FModel.Window();
  if (Window == nullptr) return;
  const int Width = Window->ClientWidth();
  const int Height = Window->ClientHeight();
  const TRect A = IntersectRect(Area, {0, 0, Width, Height});
  if (A.IsEmpty()) return;
  const TEditorScroll& S = FScroll;
  TEditorPainter Painter(FModel, FScroll, FSelection, Canvas);
  const TPaintScope Scope(FCaretDisplay, FPainter, Painter);
  Painter.SetClip(A);
  const int CaretRow = FModel.Row();
  const TColor Back = FModel.Color();
  const int TopOffset = S.TopOffset();
  const int LeftOffset = S.LeftOffset();
  const int BarsRight = S.ImagebarWidth() + S.LeftbarWidth();
  if (A.Left < LeftOffset && A.Top < TopOffset) FBars.DrawCorner(Painter);
  if (A.Top < S.RulerHeight() && A.Right > LeftOffset) {
    FCaretDisplay.RulerPainted(FModel.Col());
    FBars.DrawRuler(Painter, FModel.Col());
  }
  // The margins between the bars and the text belong to no painter of their own.
  Painter.Fill({LeftOffset, S.RulerHeight(), Width, TopOffset}, Back);
  Painter.Fill({BarsRight, TopOffset, LeftOffset, Height}, Back);
  if (A.Bottom <= TopOffset) return;
  const int RowHeight = S.RowHeight();
  const int First = S.TopRow() + (std::max(A.Top, TopOffset) - TopOffset) / RowHeight;
  const int Last = S.TopRow() + (A.Bottom - 1 - TopOffset) / RowHeight;
  if (A.Left < BarsRight && A.Right > S.ImagebarWidth()) FBars.DrawLeftbar(Painter, First, Last);
  if (A.Left < S.ImagebarWidth()) FBars.DrawImagebar(Painter, First, Last);
  if (A.Right <= LeftOffset) return;
  // Rows are painted from a column boundary, so no character is drawn cut at the left.
  const int X0 = LeftOffset - S.ScrollOffset();
  const int Left = std::max(X0 + (std::max(A.Left, LeftOffset) - X0) / S.ColWidth() * S.ColWidth(), LeftOffset);
  const bool Selected = FSelection.State() != selNone;
  const int TextHeight = S.FontHeight() + (Selected ? FModel.Margin().UnderlineAllowance() : 0);
  for (int Row = First; Row <= Last; ++Row) {
    const int Y = S.RowToY(Row);
    const TRect RowRect{Left, Y, A.Right, Y + TextHeight};
    Painter.PaintRow(Row, RowRect);
    Painter.SetClip({Left, Y, A.Right, Y + RowHeight});
    Painter.Fill({Left, Y + TextHeight, A.Right, Y + RowHeight}, Back);
  }
  const bool CaretRowShown = CaretRow >= S.TopRow() && CaretRow < S.TopRow() + S.VisibleRows();
  if (FModel.Marks().Underline().Visible() && !FCaretDisplay.UnderlineHidden() && CaretRowShown &&
      CaretRow >= First && CaretRow <= Last) {
    // From the text area's left: a row may have been painted from a column left of Left.
    Painter.SetClip({LeftOffset, S.RowToY(First), A.Right, S.RowToY(Last) + RowHeight});
    Painter.DrawUnderline(CaretRow);
  }
}

void TPaintPass::InvalidateLeftbarRows(int Row1, int Row2) {
  IEditorWindow* Window = FModel.Window();
  if (Window == nullptr || !FModel.Leftbar().Visible()) return;
  TRect R = FScroll.RowsRect(std::min(Row1, Row2), std::max(Row1, Row2));
  if (R.IsEmpty()) return;
  R.Left = FScroll.ImagebarWidth();
  R.Right = R.Left + FScroll.LeftbarWidth();
  Window->Invalidate(R);
  Window->Update();
}

void TPaintPass::InvalidateImagebarRow(int ARow) {
  IEditorWindow* Window = FModel.Window();
  if (Window == nullptr || !FModel.Imagebar().Visible()) return;
  TRect R = FScroll.RowsRect(ARow, ARow);
  if (R.IsEmpty()) return;
  R.Left = 0;
  R.Right = FScroll.ImagebarWidth();
  Window->Invalidate(R);
  Window->Update();
}

void TPaintPass::InvalidateRow(int ARow) {
  if (FModel.Window() == nullptr) return;
  const TRect R = FScroll.RowsRect(ARow, ARow);
  if (!R.IsEmpty()) FModel.Window()->Invalidate(R);
}

void TPaintPass::InvalidateRows(int Row1, int Row2) {
  IEditorWindow* Window = FModel.Window();
  if (Window == nullptr) return;
  const TRect R = FScroll.RowsRect(std::min(Row1, Row2), std::max(Row1, Row2));
  if (R.IsEmpty()) return;
  Window->Invalidate(R);
  Window->Update();
}

void TPaintPass::Invalidate() {
  IEditorWindow* Window = FModel.Window();
  if (Window == nullptr) return;
  Window->Invalidate({0, 0, Window->ClientWidth(), Window->ClientHeight()});
}

}  // namespace tesvarin
