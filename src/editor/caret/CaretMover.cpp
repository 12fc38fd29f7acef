#include "editor/caret/CaretMover.h"

#include <algorithm>
#include <exception>
#include <string>
#include <vector>

#include "editor/caret/EditorSelection.h"
#include "editor/model/EditModel.h"
#include "highlighter/Highlighter.h"
#include "highlighter/HighlighterParser.h"

namespace tesvarin {

namespace {

constexpr int MaxCol = 1001;
constexpr int ColLimit = 1000;

bool RowIs(const TEditModel& E, int ARow, TRowAttribute A) {
  return ARow >= 0 && ARow < E.RowCount() && E.ListRows().RowAttribute(ARow) == A;
}

// The row as it is shown: every tab and its fill become spaces, so a byte index is a column. Past
// the column map's end (where no caret goes) tabs become one space each.
std::string ExpandedRow(const TEditModel& E, int ARow) {
  const std::string_view Row = E.RowView(ARow);
  const TColumnMap Map = E.RowColumnMap(ARow);
  std::string Out;
  Out.reserve(Map.size() + Row.size());
  size_t Byte = 0;
  for (const uint8_t Kind : Map) {
    if (Kind == ckTabPad) {
      Out.push_back(' ');
      continue;
    }
    if (Byte < Row.size()) Out.push_back(Row[Byte] == '\t' ? ' ' : Row[Byte]);
    ++Byte;
  }
  for (; Byte < Row.size(); ++Byte) Out.push_back(Row[Byte] == '\t' ? ' ' : Row[Byte]);
  return Out;
}

// Spaces are skipped by the parser; one-character symbol tokens are no words either.
bool IsWordToken(TTokenKind Kind) {
  return Kind != ttSymbol && Kind != ttDbcsSymbol && Kind != ttKanaSymbol;
}

std::vector<int> WordStarts(const TEditModel& E, const std::string& Text) {
  std::vector<int> Starts;
  std::unique_ptr<THighlighterParser> Parser = E.ActiveHighlighter().NewParser();
  if (Parser == nullptr) return Starts;
  Parser->SetRowText(Text, InitialRowState());
  for (TTokenKind Kind = Parser->NextToken(); Kind != ttEnd; Kind = Parser->NextToken())
    if (IsWordToken(Kind)) Starts.push_back(Parser->TokenPos());
  return Starts;
}

// The display column of a selection point given by row and byte.
int ColumnOfByte(const TEditModel& E, int ARow, int Byte) {
  return ByteToColumn(E.RowView(ARow), Byte, E.ColumnSettings());
}

// Caret changes inside a batch place the system caret once, when the outer batch closes; a batch
// left by an exception does not place it.
class TCaretBatch {
public:
  // Only the outer batch places the caret, so only it asks for the exception count (not free).
  TCaretBatch(TCaretMover& Mover, IEditorSignals& Signals)
      : FMover(Mover), FSignals(Signals), FExceptions(Mover.InBatch() ? 0 : std::uncaught_exceptions()) {
    FMover.BeginBatch();
  }
  ~TCaretBatch() {
    if (FMover.EndBatch() && std::uncaught_exceptions() == FExceptions) FSignals.UpdateCaret();
  }
  TCaretBatch(const TCaretBatch&) = delete;
  TCaretBatch& operator=(const TCaretBatch&) = delete;

private:
  TCaretMover& FMover;
  IEditorSignals& FSignals;
  int FExceptions;
};

}  // namespace

// ---- positions

void TCaretMover::SetRow(int Value) {
  if (Value == FModel.Row()) return;
  FModel.StoreRowCol(Value, FModel.Col());
  NormalizeColumn(true, -1);
}

void TCaretMover::SetCol(int Value) {
  const int Col = FModel.Col();
  if (Value == Col) return;
  const int Direction = Value < Col ? -1 : 1;
  FModel.StoreRowCol(FModel.Row(), Value);
  NormalizeColumn(false, Direction);
}

void TCaretMover::SetRowCol(int ARow, int ACol) {
  if (ARow == FModel.Row() && ACol == FModel.Col()) return;
  FHasKeptCol = false;
  const bool RowChanged = ARow != FModel.Row();
  FModel.StoreRowCol(ARow, ACol);
  NormalizeColumn(RowChanged, -1);
}

void TCaretMover::NormalizeColumn(bool RowChanged, int Direction) {
  const TEditorCaret& Caret = FModel.Caret();
  const bool MouseDown = FModel.MouseLeftDown();
  const int Row = std::clamp(FModel.Row(), 0, FModel.ListRows().MaxCaretRow());
  int Col = FModel.Col();
  if (!RowChanged)
    FHasKeptCol = false;
  else if (FHasKeptCol)
    Col = FKeptCol;
  Col = std::clamp(Col, 0, MaxCol);
  const TRowColumns& Columns = FModel.CachedColumns(Row);
  const int W = Columns.Width();
  const auto Keep = [&](int Kept) {
    if (!RowChanged || FHasKeptCol) return;
    FKeptCol = Kept;
    FHasKeptCol = true;
  };
  if (!Caret.FreeCaret() && Col > W) {
    if (Caret.KeepCaret()) Keep(MouseDown ? W : Col);
    if (!(Caret.FreeRow() && RowChanged && !MouseDown)) Col = W;
  }
  if (Direction == 0) Direction = -1;
  if (Columns.KindAt(Col) == ckDbcs2) {
    Keep(Col);
    Col += Direction;
  }
  if (!Caret.InTab() && Columns.IsTabPad(Col)) {
    Keep(Col);
    while (Columns.IsTabPad(Col)) Col += Direction;
  }
  if (FModel.WordWrap() && Col >= W) {
    Keep(Col);
    const int WrapByte = FModel.ListRows().WrapOption().WrapByte();
    if (RowIs(FModel, Row, raWrapped))
      Col = std::max(W - 1, 0);
    else if (Col >= WrapByte)
      Col = std::max(W, WrapByte - 1);
    if (Columns.KindAt(Col) == ckDbcs2) --Col;
    if (!Caret.InTab())
      while (Col > 0 && Columns.IsTabPad(Col)) --Col;
  }
  Col = std::clamp(Col, 0, MaxCol);
  if (Col > ColLimit && Columns.KindAt(ColLimit - 1) != ckDbcs1) Col = ColLimit;
  FModel.StoreRowCol(Row, Col);
  if (FBatch == 0) FModel.Signals().UpdateCaret();
}

// ---- selection

void TCaretMover::CleanSelection() {
  const TEditorSelState Old = FSelection.State();
  const bool CaretHit = Old == selHit && FModel.HitStyle() == hsCaret && FHitLength > 0;
  FHitLength = 0;
  if (Old == selNone) return;
  const bool Painted = FSelection.HasSelection();
  const TSelRect Rect = FSelection.Rect();
  FSelection.Clear();
  if (Painted) FModel.Signals().InvalidateRows(Rect.Top, Rect.Bottom);
  if (CaretHit) FModel.Signals().RecreateCaret();
  FModel.Signals().SelectionChanged(false);
}

// ---- offsets

void TCaretMover::SetSelStart(int64_t Offset) {
  TCaretBatch Batch(*this, FModel.Signals());
  CleanSelection();
  if (Offset <= 0) {
    SetRowCol(0, 0);
    return;
  }
  int R = 0;
  int C = 0;
  FModel.ListRows().OffsetToRowCol(0, Offset, R, C);
  SetRowCol(R, C);
}

int64_t TCaretMover::GetSelStart() const {
  int Row = FModel.Row();
  int64_t Byte = 0;
  if (FSelection.HasSelection()) {
    Row = FSelection.Range().StartRow;
    Byte = FSelection.Range().StartByte;
  } else {
    Byte = std::clamp(FModel.CaretByte(), 0, static_cast<int>(FModel.RowView(FModel.Row()).size()));
  }
  return FModel.RowOffset(Row) + Byte;
}

void TCaretMover::CaretToSelStart() {
  if (!FSelection.HasSelection()) return;
  const TSelRange& Range = FSelection.Range();
  SetRowCol(Range.StartRow, ColumnOfByte(FModel, Range.StartRow, Range.StartByte));
}

void TCaretMover::SelectBytes(int64_t N, bool AsHit) {
  if (FModel.ListRows().Count() == 0) return;
  TCaretBatch Batch(*this, FModel.Signals());
  FModel.Signals().SetSelectionMode(false);
  if (N <= 0) {
    CaretToSelStart();
    CleanSelection();
    return;
  }
  CaretToSelStart();
  FSelection.Start();
  const int Byte = std::clamp(FModel.CaretByte(), 0, static_cast<int>(FModel.RowView(FModel.Row()).size()));
  int R = 0;
  int C = 0;
  FModel.ListRows().OffsetToRowCol(FModel.Row(), Byte + N, R, C);
  SetRowCol(R, C);
  FSelection.Extend(AsHit);
}

void TCaretMover::SelectAll() {
  TCaretBatch Batch(*this, FModel.Signals());
  SetSelStart(0);
  SelectBytes(FModel.TextLength(), false);
}

void TCaretMover::ShowHit(int Length) {
  TCaretBatch Batch(*this, FModel.Signals());
  switch (FModel.HitStyle()) {
    case hsSelect:
      SelectBytes(Length, false);
      break;
    case hsDraw:
      SelectBytes(Length, true);
      break;
    case hsCaret:
      SelectBytes(Length, true);
      if (Length > 0 && FSelection.HasSelection()) {
        CaretToSelStart();
        FHitLength = Length;
        FModel.Signals().RecreateCaret();
        return;
      }
      break;
  }
  if (FSelection.HasSelection()) FHitLength = std::max(Length, 0);
}

// ---- keys

void TCaretMover::MoveByKey(uint16_t Key, TShiftState Shift, bool Repeat) {
  const bool ShiftDown = Shift.Contains(ssShift);
  const bool Ctrl = Shift.Contains(ssCtrl);
  TCaretBatch Batch(*this, FModel.Signals());
  if (FSelection.State() == selHit) CleanSelection();
  if (ShiftDown) {
    if (FSelection.State() == selNone) FSelection.Start();
  } else if (FSelection.State() != selNone) {
    CleanSelection();
  }
  switch (Key) {
    case VK_LEFT: MoveLeft(Ctrl); break;
    case VK_RIGHT: MoveRight(Ctrl); break;
    case VK_UP: MoveVertical(-1, Ctrl, Repeat); break;
    case VK_DOWN: MoveVertical(1, Ctrl, Repeat); break;
    case VK_HOME: MoveHomeEnd(false, Ctrl); break;
    case VK_END: MoveHomeEnd(true, Ctrl); break;
    case VK_PRIOR: MovePage(false, Repeat); break;
    case VK_NEXT: MovePage(true, Repeat); break;
    default: break;
  }
  if (ShiftDown) FSelection.Extend();
  FModel.Signals().MakeCaretVisible();
}

void TCaretMover::MoveLeft(bool Ctrl) {
  if (Ctrl) {
    WordLeft();
    return;
  }
  if (FModel.Col() > 0) {
    SetCol(FModel.Col() - 1);
    return;
  }
  if (FModel.Row() > 0 && (RowIs(FModel, FModel.Row() - 1, raWrapped) || FModel.Caret().NextLine()))
    SetRowCol(FModel.Row() - 1, FModel.RowWidth(FModel.Row() - 1));
}

void TCaretMover::MoveRight(bool Ctrl) {
  if (Ctrl) {
    WordRight();
    return;
  }
  const int Old = FModel.Col();
  SetCol(FModel.Col() + 1);
  if (FModel.Col() != Old) return;
  if (FModel.Row() < FModel.ListRows().MaxCaretRow() && !RowIs(FModel, FModel.Row(), raEof) &&
      (RowIs(FModel, FModel.Row(), raWrapped) || FModel.Caret().NextLine()))
    SetRowCol(FModel.Row() + 1, 0);
}

void TCaretMover::MoveVertical(int Delta, bool Ctrl, bool Repeat) {
  const int Top = FModel.Signals().TopRow();
  const int Visible = std::max(FModel.Signals().VisibleRows(), 1);
  const int Bottom = Top + Visible - 1;
  const bool AtEdge = Delta < 0 ? FModel.Row() <= Top : FModel.Row() >= Bottom;
  const int Step = Repeat && AtEdge ? FModel.Speed().CaretVerticalAc() : 1;
  if (Ctrl) {
    FModel.Signals().SetTopRow(std::clamp(Top + Delta * Step, 0, FModel.RowCount()));
    const int NewTop = FModel.Signals().TopRow();
    const int NewBottom = NewTop + Visible - 1;
    if (FModel.Row() < NewTop) SetRow(NewTop);
    else if (FModel.Row() > NewBottom) SetRow(NewBottom);
    return;
  }
  if (Delta > 0 && RowIs(FModel, FModel.Row(), raEof)) return;
  SetRow(std::clamp(FModel.Row() + Delta * Step, 0, FModel.ListRows().MaxCaretRow()));
}

void TCaretMover::MovePage(bool Down, bool Repeat) {
  const int Range = Repeat ? FModel.Speed().PageVerticalRangeAc() : FModel.Speed().PageVerticalRange();
  const int N = ((std::max(FModel.Signals().VisibleRows(), 1) - 1) / 2) * Range;
  const int Top = FModel.Signals().TopRow();
  if (Down) {
    if (Top == FModel.RowCount() - 1 && RowIs(FModel, Top, raEof)) return;
  } else if (Top == 0) {
    SetRow(0);
    return;
  }
  FModel.Signals().SetTopRow(std::clamp(Down ? Top + N : Top - N, 0, FModel.RowCount()));
  const int Moved = FModel.Signals().TopRow() - Top;
  if (Moved != 0) SetRow(std::clamp(FModel.Row() + Moved, 0, FModel.ListRows().MaxCaretRow()));
}

void TCaretMover::MoveHomeEnd(bool End, bool Ctrl) {
  if (!End) {
    if (Ctrl)
      SetRowCol(0, 0);
    else
      SetCol(0);
    return;
  }
  if (Ctrl) SetRow(FModel.ListRows().MaxCaretRow());
  SetCol(FModel.RowWidth(FModel.Row()));
}

// ---- words

void TCaretMover::WordRight() {
  int R = FModel.Row();
  int C = FModel.Col();
  if (C >= FModel.RowWidth(R) && R < FModel.ListRows().MaxCaretRow()) {
    ++R;
    C = -1;
  }
  const std::string Text = ExpandedRow(FModel, R);
  const std::vector<int> Starts = WordStarts(FModel, Text);
  const auto Next = std::upper_bound(Starts.begin(), Starts.end(), C);
  int TargetRow = R;
  int TargetCol = static_cast<int>(Text.size());
  if (Next != Starts.end()) {
    TargetCol = *Next;
  } else if (RowIs(FModel, R, raWrapped) && R < FModel.ListRows().MaxCaretRow()) {
    TargetRow = R + 1;
    TargetCol = 0;
  }
  if (TargetRow != FModel.Row() || TargetCol != FModel.Col()) SetRowCol(TargetRow, TargetCol);
}

void TCaretMover::WordLeft() {
  int R = FModel.Row();
  int C = FModel.Col();
  if (C == 0) {
    if (R == 0) return;
    --R;
    C = static_cast<int>(ExpandedRow(FModel, R).size());
    // The end of a line is a stop of its own; a wrap piece is searched on.
    if (!RowIs(FModel, R, raWrapped)) {
      SetRowCol(R, C);
      return;
    }
  }
  const std::vector<int> Starts = WordStarts(FModel, ExpandedRow(FModel, R));
  const auto Before = std::lower_bound(Starts.begin(), Starts.end(), C);
  int TargetRow = 0;
  int TargetCol = 0;
  if (Before != Starts.begin()) {
    TargetRow = R;
    TargetCol = *std::prev(Before);
  } else if (R > 0) {
    TargetRow = R - 1;
    TargetCol = static_cast<int>(ExpandedRow(FModel, R - 1).size());
  }
  if (TargetRow != FModel.Row() || TargetCol != FModel.Col()) SetRowCol(TargetRow, TargetCol);
}

}  // namespace tesvarin
