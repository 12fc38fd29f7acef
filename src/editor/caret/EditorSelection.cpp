// The selection model. Points are kept as (row, byte, column) so that a mode switch can recompute
// the range and rectangle without the caret; byte indexes are capped at the row length, columns
// only in stream mode (a box may reach past the ends of rows).
#include "editor/caret/EditorSelection.h"

#include <algorithm>

namespace tesvarin {

namespace {

// The first and last rows of two row spans together.
void Span(int A1, int A2, int B1, int B2, int& First, int& Last) {
  First = std::min({A1, A2, B1, B2});
  Last = std::max({A1, A2, B1, B2});
}

}  // namespace

int TEditorSelection::RowLength(int ARow) const { return static_cast<int>(FModel.RowView(ARow).size()); }

bool TEditorSelection::EndsLine(int ARow) const {
  return ARow >= 0 && ARow < FModel.RowCount() && FModel.ListRows().RowAttribute(ARow) == raCrlf;
}

TSelPoint TEditorSelection::CaretPoint() const {
  TSelPoint P;
  P.Row = FModel.Row();
  P.Byte = std::clamp(FModel.CaretByte(), 0, RowLength(P.Row));
  P.Col = FModel.Col();
  return P;
}

int TEditorSelection::CappedCol(const TSelPoint& P) const {
  if (FBoxMode) return P.Col;
  return std::min(P.Col, FModel.RowWidth(P.Row));
}

int TEditorSelection::AnchorCol() const { return CappedCol(FAnchor); }

void TEditorSelection::Start() {
  if (FState != selNone) FModel.Signals().CleanSelection();
  if (FModel.RowCount() == 0) return;
  FAnchor = CaretPoint();
  FCaret = FAnchor;
  FState = selStarted;
  Recompute();
}

void TEditorSelection::Extend(bool AsHit) {
  if (FState == selNone) return;
  if (FState == selStarted) FState = AsHit ? selHit : selSelected;
  const TSelRect OldRect = FRect;
  const int OldCaretRow = FCaret.Row;
  FCaret = CaretPoint();
  Recompute();
  int First = 0;
  int Last = 0;
  if (FBoxMode)
    Span(OldRect.Top, OldRect.Bottom, FRect.Top, FRect.Bottom, First, Last);
  else
    Span(OldCaretRow, OldCaretRow, FCaret.Row, FCaret.Row, First, Last);
  FModel.Signals().InvalidateRows(First, Last);
  FModel.Signals().SelectionChanged(true);
}

void TEditorSelection::SetBoxMode(bool Value) {
  if (Value == FBoxMode) return;
  FBoxMode = Value;
  if (FState == selNone) return;
  const TSelRect OldRect = FRect;
  Recompute();
  if (!HasSelection()) return;
  int First = 0;
  int Last = 0;
  Span(OldRect.Top, OldRect.Bottom, FRect.Top, FRect.Bottom, First, Last);
  FModel.Signals().InvalidateRows(First, Last);
  FModel.Signals().SelectionChanged(true);
}

void TEditorSelection::Recompute() {
  const bool AnchorFirst =
      FAnchor.Row < FCaret.Row || (FAnchor.Row == FCaret.Row && FAnchor.Byte <= FCaret.Byte);
  const TSelPoint& Upper = AnchorFirst ? FAnchor : FCaret;
  const TSelPoint& Lower = AnchorFirst ? FCaret : FAnchor;
  FRange = TSelRange{Upper.Row, Upper.Byte, Lower.Row, Lower.Byte - 1};
  const int C1 = CappedCol(FAnchor);
  const int C2 = FCaret.Row == FAnchor.Row && FCaret.Col == FAnchor.Col ? C1 : CappedCol(FCaret);
  FRect = TSelRect{std::min(FAnchor.Row, FCaret.Row), std::max(FAnchor.Row, FCaret.Row), std::min(C1, C2),
                   std::max(C1, C2)};
}

// The first byte is the one at column Left, but a double-byte character whose second half, or a tab
// whose fill, lies at Left starts before the box and is left out. The last byte is the one at
// column Right-1, but a double-byte character whose first half lies there is taken whole (a tab
// whose fill reaches Right-1 is taken, as its byte is the one at that column).
TBoxSpan TEditorSelection::BoxSpan(const TColumnMap& Map, int RowLength, int Left, int Right) {
  const int Width = static_cast<int>(Map.size());
  Left = std::max(Left, 0);
  if (Right <= Left || Left >= Width) return TBoxSpan{RowLength, RowLength};
  int First = ColumnToByte(Map, Left, RowLength);
  const uint8_t LeftKind = Map[static_cast<size_t>(Left)];
  if (LeftKind == ckDbcs2 || LeftKind == ckTabPad) ++First;
  const int LastCol = std::min(Right, Width) - 1;
  int End = ColumnToByte(Map, LastCol, RowLength) + (Map[static_cast<size_t>(LastCol)] == ckDbcs1 ? 2 : 1);
  First = std::min(First, RowLength);
  End = std::clamp(End, First, RowLength);
  return TBoxSpan{First, End};
}

TBoxSpan TEditorSelection::BoxSpanOfRow(int ARow) const {
  if (ARow < 0 || ARow >= FModel.RowCount()) return TBoxSpan{};
  return BoxSpan(FModel.RowColumnMap(ARow), RowLength(ARow), FRect.Left, FRect.Right);
}

// The place after a final line break holds no bytes and makes no box row.
int TEditorSelection::LastRow() const { return std::min(FRect.Bottom, FModel.RowCount() - 1); }

int64_t TEditorSelection::Length() const {
  if (!HasSelection()) return 0;
  int64_t N = 0;
  if (FBoxMode) {
    for (int R = FRect.Top; R <= LastRow(); ++R) {
      const TBoxSpan S = BoxSpanOfRow(R);
      N += S.End - S.First + 2;
    }
    return N;
  }
  if (FRange.StartRow == FRange.EndRow) return FRange.EndByte - FRange.StartByte + 1;
  N = RowLength(FRange.StartRow) - FRange.StartByte + (EndsLine(FRange.StartRow) ? 2 : 0);
  for (int R = FRange.StartRow + 1; R < FRange.EndRow; ++R) N += RowLength(R) + (EndsLine(R) ? 2 : 0);
  if (FRange.EndRow < FModel.RowCount()) N += FRange.EndByte + 1;
  return N;
}

std::string TEditorSelection::Text() const {
  std::string Out;
  if (!HasSelection()) return Out;
  Out.reserve(static_cast<size_t>(Length()));
  if (FBoxMode)
    AppendBoxText(Out);
  else
    AppendStreamText(Out);
  return Out;
}

void TEditorSelection::AppendBoxText(std::string& Out) const {
  for (int R = FRect.Top; R <= LastRow(); ++R) {
    const TBoxSpan S = BoxSpanOfRow(R);
    Out.append(FModel.RowView(R).substr(static_cast<size_t>(S.First), static_cast<size_t>(S.End - S.First)));
    Out.append("\r\n");
  }
}

void TEditorSelection::AppendStreamText(std::string& Out) const {
  const std::string_view First = FModel.RowView(FRange.StartRow);
  if (FRange.StartRow == FRange.EndRow) {
    const int N = FRange.EndByte - FRange.StartByte + 1;
    if (N > 0) Out.append(First.substr(static_cast<size_t>(FRange.StartByte), static_cast<size_t>(N)));
    return;
  }
  Out.append(First.substr(std::min(First.size(), static_cast<size_t>(FRange.StartByte))));
  if (EndsLine(FRange.StartRow)) Out.append("\r\n");
  for (int R = FRange.StartRow + 1; R < FRange.EndRow; ++R) {
    Out.append(FModel.RowView(R));
    if (EndsLine(R)) Out.append("\r\n");
  }
  if (FRange.EndRow < FModel.RowCount())
    Out.append(FModel.RowView(FRange.EndRow).substr(0, static_cast<size_t>(FRange.EndByte + 1)));
}

bool TEditorSelection::Contains(int ARow, int ACol) const {
  if (!HasSelection() || ARow < FRect.Top || ARow > FRect.Bottom) return false;
  if (FBoxMode) return ACol >= FRect.Left && ACol < FRect.Right;
  const TColumnMap Map = FModel.RowColumnMap(ARow);
  const int Len = RowLength(ARow);
  int Byte = Len;  // past the row's end: its line break
  if (ACol < static_cast<int>(Map.size())) {
    Byte = ColumnToByte(Map, ACol, Len);
    if (Map[static_cast<size_t>(ACol)] == ckDbcs2) --Byte;
  }
  if (ARow == FRange.StartRow && Byte < FRange.StartByte) return false;
  if (ARow == FRange.EndRow && Byte > FRange.EndByte) return false;
  return true;
}

}  // namespace tesvarin
