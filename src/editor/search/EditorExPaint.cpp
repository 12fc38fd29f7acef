// TEditorEx's marks over each painted row: full-width spaces, spaces and tabs, and a bar under
// every hit of the current search.
#include <algorithm>

#include "editor/EditorEx.h"
#include "editor/view/EditorPainter.h"
#include "editor/view/EditorScroll.h"
#include "regexp/REChars.h"
#include "support/Sjis.h"

namespace tesvarin {

void TEditorEx::DrawLine(std::string_view, int X, int Y, int Index, const TRect& ARect, bool) {
  if (Painter() == nullptr || Index < 0 || Index >= RowCount()) return;
  const TEditorExMarks& Marks = *FExMarks;
  const bool Spaces = Marks.DBSpaceMark().Visible() || Marks.SpaceMark().Visible() || Marks.TabMark().Visible();
  if (!Spaces && !Marks.FindMark().Visible()) return;
  const int Right = std::min(ARect.Right, X + TEditorScroll::MaxCols * Scroll().ColWidth());
  Painter()->SetClip(ARect);
  if (Spaces) DrawSpaceMarks(RowView(Index), X, Y, ARect.Left, Right);
  if (Marks.FindMark().Visible()) DrawFindMarks(Index, X, Y, ARect.Left, Right);
}

void TEditorEx::DrawSpaceMarks(std::string_view Row, int X0, int Y, int Left, int Right) {
  const TEditorExMarks& Marks = *FExMarks;
  const int W = Scroll().ColWidth();
  const TColumnSettings Settings = ColumnSettings();
  int Col = 0;
  for (size_t I = 0; I < Row.size();) {
    const int X = X0 + W * Col;
    if (X > Right) break;
    const char B = Row[I];
    const size_t Len = CharLength(Row, I);
    if (X >= Left) {
      if (Len == 2 && Marks.DBSpaceMark().Visible() && B == '\x81' && Row[I + 1] == '\x40') DrawDBSpaceMark(X, Y);
      if (B == ' ' && Marks.SpaceMark().Visible()) DrawSpaceMark(X, Y);
      if (B == '\t' && Marks.TabMark().Visible()) DrawTabMark(X, Y);
    }
    Col += B == '\t' ? 1 + TabFill(Col, Settings) : (IsLeadByte(B) ? 2 : 1);
    I += Len;
  }
}

void TEditorEx::DrawFindMarks(int ARow, int X0, int Y, int Left, int Right) {
  const int W = Scroll().ColWidth();
  int Count = 0;
  try {
    // Every byte takes a column at least, so no byte past these reaches the right edge.
    Count = FindHitsUpTo(ARow, (Right - X0) / W + 2);
  } catch (const ERegExpParser&) {
    // The search commands report a bad expression; a paint shows the row without hit bars.
    return;
  }
  if (Count == 0) return;
  const std::string_view Row = RowView(ARow);
  const auto Settings = [this] { return ColumnSettings(); };
  // A bar that crosses an edge of the rectangle is clipped there rather than shortened, so painting a
  // row in pieces joins the pieces without a gap; only the 1000-column limit ends a bar early.
  const int Limit = X0 + TEditorScroll::MaxCols * W;
  for (const TFindHit& Hit : FFindHits) {
    const int X1 = X0 + W * ByteToColumnWith(Row, Hit.Start - 1, Settings);
    if (X1 > Right) break;
    const int X2 = std::min(X0 + W * ByteToColumnWith(Row, Hit.Start + Hit.Length - 1, Settings), Limit);
    if (X2 > Left) DrawFindMark(std::max(X1, Left), Y, X2);
  }
}

void TEditorEx::DrawDBSpaceMark(int X, int Y) {
  if (Painter() == nullptr) return;
  const int W = Scroll().ColWidth();
  Painter()->Frame({X, Y, X + 2 * W - 1, Y + Scroll().FontHeight() - 2},
                   Painter()->MarkColor(FExMarks->DBSpaceMark().Color()));
}

void TEditorEx::DrawSpaceMark(int X, int Y) {
  if (Painter() == nullptr) return;
  Painter()->Frame({X, Y, X + Scroll().ColWidth() - 1, Y + Scroll().FontHeight() - 2},
                   Painter()->MarkColor(FExMarks->SpaceMark().Color()));
}

void TEditorEx::DrawTabMark(int X, int Y) {
  if (Painter() == nullptr) return;
  const int W = Scroll().ColWidth();
  const int M = Y + (Scroll().FontHeight() - 2) / 2;
  const TColor C = Painter()->MarkColor(FExMarks->TabMark().Color());
  Painter()->Line(X, M, X + W - 1, M, C);
  Painter()->Line(X + W - 3, M - 2, X + W - 1, M, C);
  Painter()->Line(X + W - 1, M, X + W - 4, M + 3, C);
}

void TEditorEx::DrawFindMark(int X1, int Y, int X2) {
  if (Painter() == nullptr) return;
  const int H = Scroll().FontHeight();
  Painter()->Fill({X1, Y + H - 2, X2 - 1, Y + H}, Painter()->MarkColor(FExMarks->FindMark().Color()));
}

}  // namespace tesvarin
