#include "editor/search/HitMarkPainter.h"

#include <algorithm>

#include "editor/model/EditModel.h"
#include "editor/view/EditorPainter.h"
#include "editor/view/EditorScroll.h"
#include "editor/view/PaintPass.h"
#include "regexp/REChars.h"
#include "support/Sjis.h"

namespace tesvarin {

void THitMarkPainter::PaintRow(IRowMarkShapes& Shapes, int X, int Y, int Index, const TRect& ARect) const {
  TEditorPainter* Painter = FPaintPass.Painter();
  if (Painter == nullptr || Index < 0 || Index >= FModel.RowCount()) return;
  const bool Spaces = FMarks.DBSpaceMark().Visible() || FMarks.SpaceMark().Visible() || FMarks.TabMark().Visible();
  if (!Spaces && !FMarks.FindMark().Visible()) return;
  const int Right = std::min(ARect.Right, X + TEditorScroll::MaxCols * FScroll.ColWidth());
  Painter->SetClip(ARect);
  if (Spaces) DrawSpaceMarks(Shapes, FModel.RowView(Index), X, Y, ARect.Left, Right);
  if (FMarks.FindMark().Visible()) DrawFindMarks(Shapes, Index, X, Y, ARect.Left, Right);
}

void THitMarkPainter::DrawSpaceMarks(IRowMarkShapes& Shapes, std::string_view Row, int X0, int Y, int Left,
                                     int Right) const {
  const int W = FScroll.ColWidth();
  const TColumnSettings Settings = FModel.ColumnSettings();
  int Col = 0;
  for (size_t I = 0; I < Row.size();) {
    const int X = X0 + W * Col;
    if (X > Right) break;
    const char B = Row[I];
    const size_t Len = CharLength(Row, I);
    if (X >= Left) {
      if (Len == 2 && FMarks.DBSpaceMark().Visible() && B == '\x81' && Row[I + 1] == '\x40') Shapes.DrawDBSpaceMark(X, Y);
      if (B == ' ' && FMarks.SpaceMark().Visible()) Shapes.DrawSpaceMark(X, Y);
      if (B == '\t' && FMarks.TabMark().Visible()) Shapes.DrawTabMark(X, Y);
    }
    Col += B == '\t' ? 1 + TabFill(Col, Settings) : (IsLeadByte(B) ? 2 : 1);
    I += Len;
  }
}

void THitMarkPainter::DrawFindMarks(IRowMarkShapes& Shapes, int ARow, int X0, int Y, int Left, int Right) const {
  const int W = FScroll.ColWidth();
  // A copy: a descendant's drawing hook may search again, which refills the hits it points into.
  std::vector<TFindHit> Hits;
  try {
    // Every byte takes a column at least, so no byte past these reaches the right edge.
    Hits = Shapes.RowHitsUpTo(ARow, (Right - X0) / W + 2);
  } catch (const ERegExpParser&) {
    // The search commands report a bad expression; a paint shows the row without hit bars.
    return;
  }
  if (Hits.empty()) return;
  const std::string_view Row = FModel.RowView(ARow);
  const auto Settings = [this] { return FModel.ColumnSettings(); };
  // A bar that crosses an edge of the rectangle is clipped there rather than shortened, so painting a
  // row in pieces joins the pieces without a gap; only the 1000-column limit ends a bar early.
  const int Limit = X0 + TEditorScroll::MaxCols * W;
  for (const TFindHit& Hit : Hits) {
    const int X1 = X0 + W * ByteToColumnWith(Row, Hit.Start - 1, Settings);
    if (X1 > Right) break;
    const int X2 = std::min(X0 + W * ByteToColumnWith(Row, Hit.Start + Hit.Length - 1, Settings), Limit);
    if (X2 > Left) Shapes.DrawFindMark(std::max(X1, Left), Y, X2);
  }
}

void THitMarkPainter::DrawDBSpaceMark(int X, int Y) const {
  TEditorPainter* Painter = FPaintPass.Painter();
  if (Painter == nullptr) return;
  const int W = FScroll.ColWidth();
  Painter->Frame({X, Y, X + 2 * W - 1, Y + FScroll.FontHeight() - 2}, Painter->MarkColor(FMarks.DBSpaceMark().Color()));
}

void THitMarkPainter::DrawSpaceMark(int X, int Y) const {
  TEditorPainter* Painter = FPaintPass.Painter();
  if (Painter == nullptr) return;
  Painter->Frame({X, Y, X + FScroll.ColWidth() - 1, Y + FScroll.FontHeight() - 2},
                 Painter->MarkColor(FMarks.SpaceMark().Color()));
}

void THitMarkPainter::DrawTabMark(int X, int Y) const {
  TEditorPainter* Painter = FPaintPass.Painter();
  if (Painter == nullptr) return;
  const int W = FScroll.ColWidth();
  const int M = Y + (FScroll.FontHeight() - 2) / 2;
  const TColor C = Painter->MarkColor(FMarks.TabMark().Color());
  Painter->Line(X, M, X + W - 1, M, C);
  Painter->Line(X + W - 3, M - 2, X + W - 1, M, C);
  Painter->Line(X + W - 1, M, X + W - 4, M + 3, C);
}

void THitMarkPainter::DrawFindMark(int X1, int Y, int X2) const {
  TEditorPainter* Painter = FPaintPass.Painter();
  if (Painter == nullptr) return;
  const int H = FScroll.FontHeight();
  Painter->Fill({X1, Y + H - 2, X2 - 1, Y + H}, Painter->MarkColor(FMarks.FindMark().Color()));
}

}  // namespace tesvarin
