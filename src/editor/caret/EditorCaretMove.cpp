// TEditor's caret, keys and selection operations. Every caret change ends in the column
// normalizer, which keeps the caret off the second half of a double-byte character, out of a tab's
// fill and within the options' limits; the selection model is TEditorSelection.
#include <algorithm>
#include <exception>
#include <string>
#include <vector>

#include "editor/Editor.h"
#include "editor/view/EditorScroll.h"
#include "editor/caret/EditorSelection.h"
#include "highlighter/Highlighter.h"
#include "highlighter/HighlighterParser.h"

namespace tesvarin {

namespace {

constexpr int MaxCol = 1001;
constexpr int ColLimit = 1000;

bool RowIs(const TEditor& E, int ARow, TRowAttribute A) {
  return ARow >= 0 && ARow < E.RowCount() && E.ListRows().RowAttribute(ARow) == A;
}

// The row as it is shown: every tab and its fill become spaces, so a byte index is a column. Past
// the column map's end (where no caret goes) tabs become one space each.
std::string ExpandedRow(const TEditor& E, int ARow) {
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

std::vector<int> WordStarts(const TEditor& E, const std::string& Text) {
  std::vector<int> Starts;
  std::unique_ptr<THighlighterParser> Parser = E.ActiveHighlighter().NewParser();
  if (Parser == nullptr) return Starts;
  Parser->SetRowText(Text, InitialRowState());
  for (TTokenKind Kind = Parser->NextToken(); Kind != ttEnd; Kind = Parser->NextToken())
    if (IsWordToken(Kind)) Starts.push_back(Parser->TokenPos());
  return Starts;
}

// The display column of a selection point given by row and byte.
int ColumnOfByte(const TEditor& E, int ARow, int Byte) {
  return ByteToColumn(E.RowView(ARow), Byte, E.ColumnSettings());
}

}  // namespace

// Caret changes inside a batch place the system caret once, when the outer batch closes.
class TCaretBatch {
public:
  // Only the outer batch places the caret, so only it asks for the exception count (not free).
  explicit TCaretBatch(TEditor& Editor)
      : FEditor(Editor), FExceptions(FEditor.FCaretBatch == 0 ? std::uncaught_exceptions() : 0) {
    ++FEditor.FCaretBatch;
  }
  ~TCaretBatch() {
    if (--FEditor.FCaretBatch == 0 && std::uncaught_exceptions() == FExceptions) FEditor.UpdateCaret();
  }
  TCaretBatch(const TCaretBatch&) = delete;
  TCaretBatch& operator=(const TCaretBatch&) = delete;

private:
  TEditor& FEditor;
  int FExceptions;
};

// ---- positions

void TEditor::SetRow(int Value) {
  if (Value == FRow) return;
  FRow = Value;
  NormalizeColumn(true, -1);
}

void TEditor::SetCol(int Value) {
  if (Value == FCol) return;
  const int Direction = Value < FCol ? -1 : 1;
  FCol = Value;
  NormalizeColumn(false, Direction);
}

void TEditor::SetRowCol(int ARow, int ACol) {
  if (ARow == FRow && ACol == FCol) return;
  // A placed caret keeps no column from earlier vertical moves.
  FHasKeptCol = false;
  const bool RowChanged = ARow != FRow;
  FRow = ARow;
  FCol = ACol;
  NormalizeColumn(RowChanged, -1);
}

void TEditor::NormalizeColumn(bool RowChanged, int Direction) {
  FRow = std::clamp(FRow, 0, FRows->MaxCaretRow());
  if (!RowChanged)
    FHasKeptCol = false;
  else if (FHasKeptCol)
    FCol = FKeptCol;
  FCol = std::clamp(FCol, 0, MaxCol);
  const TRowColumns& Columns = CachedColumns(FRow);
  const int W = Columns.Width();
  const auto Keep = [&](int Col) {
    if (!RowChanged || FHasKeptCol) return;
    FKeptCol = Col;
    FHasKeptCol = true;
  };
  if (!FCaret.FreeCaret() && FCol > W) {
    if (FCaret.KeepCaret()) Keep(MouseLeftDown() ? W : FCol);
    if (!(FCaret.FreeRow() && RowChanged && !MouseLeftDown())) FCol = W;
  }
  if (Direction == 0) Direction = -1;
  if (Columns.KindAt(FCol) == ckDbcs2) {
    Keep(FCol);
    FCol += Direction;
  }
  if (!FCaret.InTab() && Columns.IsTabPad(FCol)) {
    Keep(FCol);
    while (Columns.IsTabPad(FCol)) FCol += Direction;
  }
  if (WordWrap() && FCol >= W) {
    Keep(FCol);
    const int WrapByte = WrapOption().WrapByte();
    if (RowIs(*this, FRow, raWrapped))
      FCol = std::max(W - 1, 0);
    else if (FCol >= WrapByte)
      FCol = std::max(W, WrapByte - 1);
    if (Columns.KindAt(FCol) == ckDbcs2) --FCol;
    if (!FCaret.InTab())
      while (FCol > 0 && Columns.IsTabPad(FCol)) --FCol;
  }
  FCol = std::clamp(FCol, 0, MaxCol);
  if (FCol > ColLimit && Columns.KindAt(ColLimit - 1) != ckDbcs1) FCol = ColLimit;
  if (FCaretBatch == 0) UpdateCaret();
}

// ---- selection state

TEditorSelState TEditor::SelState() const { return FSelection->State(); }
bool TEditor::SelectionMode() const { return FSelection->BoxMode(); }

void TEditor::SetSelectionMode(bool Box) {
  if (Dragging() || Box == FSelection->BoxMode()) return;
  FSelection->SetBoxMode(Box);
  if (OnSelectionModeChange) OnSelectionModeChange(this);
}

void TEditor::CleanSelection() {
  const TEditorSelState Old = FSelection->State();
  const bool CaretHit = Old == selHit && FHitStyle == hsCaret && FHitLength > 0;
  FHitLength = 0;
  if (Old == selNone) return;
  const bool Painted = FSelection->HasSelection();
  const TSelRect Rect = FSelection->Rect();
  FSelection->Clear();
  if (Painted) InvalidateRows(Rect.Top, Rect.Bottom);
  if (CaretHit) RecreateCaret();
  if (OnSelectionChange) OnSelectionChange(this, false);
}

// ---- offsets

void TEditor::SetSelStart(int64_t Offset) {
  TCaretBatch Batch(*this);
  CleanSelection();
  if (Offset <= 0) {
    SetRowCol(0, 0);
    return;
  }
  int R = 0;
  int C = 0;
  FRows->OffsetToRowCol(0, Offset, R, C);
  SetRowCol(R, C);
}

int64_t TEditor::GetSelStart() const {
  int Row = FRow;
  int64_t Byte = 0;
  if (FSelection->HasSelection()) {
    Row = FSelection->Range().StartRow;
    Byte = FSelection->Range().StartByte;
  } else {
    Byte = std::clamp(CaretByte(), 0, static_cast<int>(RowView(FRow).size()));
  }
  int64_t N = 0;
  for (int R = 0; R < Row && R < FRows->Count(); ++R)
    N += static_cast<int64_t>(FRows->RowView(R).size()) + (FRows->RowAttribute(R) == raCrlf ? 2 : 0);
  return N + Byte;
}

int64_t TEditor::GetSelLength() const { return FSelection->Length(); }
std::string TEditor::GetSelText() const { return FSelection->Text(); }

void TEditor::CaretToSelStart() {
  if (!FSelection->HasSelection()) return;
  const TSelRange& Range = FSelection->Range();
  SetRowCol(Range.StartRow, ColumnOfByte(*this, Range.StartRow, Range.StartByte));
}

void TEditor::SelectBytes(int64_t N, bool AsHit) {
  if (FRows->Count() == 0) return;
  TCaretBatch Batch(*this);
  SetSelectionMode(false);
  if (N <= 0) {
    CaretToSelStart();
    CleanSelection();
    return;
  }
  CaretToSelStart();
  FSelection->Start();
  const int Byte = std::clamp(CaretByte(), 0, static_cast<int>(RowView(FRow).size()));
  int R = 0;
  int C = 0;
  FRows->OffsetToRowCol(FRow, Byte + N, R, C);
  SetRowCol(R, C);
  FSelection->Extend(AsHit);
}

void TEditor::SetSelLength(int64_t Length) { SelectBytes(Length, false); }

void TEditor::SelectAll() {
  TCaretBatch Batch(*this);
  SetSelStart(0);
  SetSelLength(TextLength());
}

void TEditor::ShowHit(int Length) {
  TCaretBatch Batch(*this);
  switch (FHitStyle) {
    case hsSelect:
      SelectBytes(Length, false);
      break;
    case hsDraw:
      SelectBytes(Length, true);
      break;
    case hsCaret:
      SelectBytes(Length, true);
      if (Length > 0 && FSelection->HasSelection()) {
        CaretToSelStart();
        FHitLength = Length;
        RecreateCaret();
        return;
      }
      break;
  }
  if (FSelection->HasSelection()) FHitLength = std::max(Length, 0);
}

// ---- keys

void TEditor::KeyDown(uint16_t Key, TShiftState Shift, bool Repeat) {
  if (HandleShortCut(Key, Shift)) return;
  FScrollCommands->SetKeyRepeating(Repeat);
  switch (Key) {
    case VK_DELETE:
      DeleteKey();
      return;
    case VK_ESCAPE:
      CancelDrag();
      return;
    case VK_CONTROL:
      DragShiftChanged(Shift);
      return;
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
    case VK_HOME:
    case VK_END:
    case VK_PRIOR:
    case VK_NEXT:
      MoveByKey(Key, Shift, Repeat);
      return;
    default:
      return;
  }
}

void TEditor::KeyUp(uint16_t Key, TShiftState Shift) {
  // The drag pointer follows Ctrl at once, not only at the next mouse move.
  if (Key == VK_CONTROL) DragShiftChanged(Shift);
  if (!FScrollCommands->KeyRepeating()) return;
  // Scrolls during the repeat may have left the system caret where it was.
  FScrollCommands->SetKeyRepeating(false);
  UpdateCaret();
}

void TEditor::MoveByKey(uint16_t Key, TShiftState Shift, bool Repeat) {
  const bool ShiftDown = Shift.Contains(ssShift);
  const bool Ctrl = Shift.Contains(ssCtrl);
  TCaretBatch Batch(*this);
  if (SelState() == selHit) CleanSelection();
  if (ShiftDown) {
    if (!Selected()) FSelection->Start();
  } else if (Selected()) {
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
  if (ShiftDown) FSelection->Extend();
  MakeCaretVisible();
}

void TEditor::MoveLeft(bool Ctrl) {
  if (Ctrl) {
    WordLeft();
    return;
  }
  if (FCol > 0) {
    SetCol(FCol - 1);
    return;
  }
  if (FRow > 0 && (RowIs(*this, FRow - 1, raWrapped) || FCaret.NextLine()))
    SetRowCol(FRow - 1, RowWidth(FRow - 1));
}

void TEditor::MoveRight(bool Ctrl) {
  if (Ctrl) {
    WordRight();
    return;
  }
  const int Old = FCol;
  SetCol(FCol + 1);
  if (FCol != Old) return;
  if (FRow < FRows->MaxCaretRow() && !RowIs(*this, FRow, raEof) &&
      (RowIs(*this, FRow, raWrapped) || FCaret.NextLine()))
    SetRowCol(FRow + 1, 0);
}

void TEditor::MoveVertical(int Delta, bool Ctrl, bool Repeat) {
  const int Top = TopRow();
  const int Visible = std::max(Scroll().VisibleRows(), 1);
  const int Bottom = Top + Visible - 1;
  const bool AtEdge = Delta < 0 ? FRow <= Top : FRow >= Bottom;
  const int Step = Repeat && AtEdge ? Speed().CaretVerticalAc() : 1;
  if (Ctrl) {
    SetTopRow(std::clamp(Top + Delta * Step, 0, RowCount()));
    const int NewTop = TopRow();
    const int NewBottom = NewTop + Visible - 1;
    if (FRow < NewTop) SetRow(NewTop);
    else if (FRow > NewBottom) SetRow(NewBottom);
    return;
  }
  if (Delta > 0 && RowIs(*this, FRow, raEof)) return;
  SetRow(std::clamp(FRow + Delta * Step, 0, FRows->MaxCaretRow()));
}

void TEditor::MovePage(bool Down, bool Repeat) {
  const int Range = Repeat ? Speed().PageVerticalRangeAc() : Speed().PageVerticalRange();
  const int N = ((std::max(Scroll().VisibleRows(), 1) - 1) / 2) * Range;
  const int Top = TopRow();
  if (Down) {
    if (Top == RowCount() - 1 && RowIs(*this, Top, raEof)) return;
  } else if (Top == 0) {
    SetRow(0);
    return;
  }
  SetTopRow(std::clamp(Down ? Top + N : Top - N, 0, RowCount()));
  const int Moved = TopRow() - Top;
  if (Moved != 0) SetRow(std::clamp(FRow + Moved, 0, FRows->MaxCaretRow()));
}

void TEditor::MoveHomeEnd(bool End, bool Ctrl) {
  if (!End) {
    if (Ctrl)
      SetRowCol(0, 0);
    else
      SetCol(0);
    return;
  }
  if (Ctrl) SetRow(FRows->MaxCaretRow());
  SetCol(RowWidth(FRow));
}

// ---- words

void TEditor::WordRight() {
  int R = FRow;
  int C = FCol;
  if (C >= RowWidth(R) && R < FRows->MaxCaretRow()) {
    ++R;
    C = -1;
  }
  const std::string Text = ExpandedRow(*this, R);
  const std::vector<int> Starts = WordStarts(*this, Text);
  const auto Next = std::upper_bound(Starts.begin(), Starts.end(), C);
  int TargetRow = R;
  int TargetCol = static_cast<int>(Text.size());
  if (Next != Starts.end()) {
    TargetCol = *Next;
  } else if (RowIs(*this, R, raWrapped) && R < FRows->MaxCaretRow()) {
    TargetRow = R + 1;
    TargetCol = 0;
  }
  if (TargetRow != FRow || TargetCol != FCol) SetRowCol(TargetRow, TargetCol);
}

void TEditor::WordLeft() {
  int R = FRow;
  int C = FCol;
  if (C == 0) {
    if (R == 0) return;
    --R;
    C = static_cast<int>(ExpandedRow(*this, R).size());
    // The end of a line is a stop of its own; a wrap piece is searched on.
    if (!RowIs(*this, R, raWrapped)) {
      SetRowCol(R, C);
      return;
    }
  }
  const std::vector<int> Starts = WordStarts(*this, ExpandedRow(*this, R));
  const auto Before = std::lower_bound(Starts.begin(), Starts.end(), C);
  int TargetRow = 0;
  int TargetCol = 0;
  if (Before != Starts.begin()) {
    TargetRow = R;
    TargetCol = *std::prev(Before);
  } else if (R > 0) {
    TargetRow = R - 1;
    TargetCol = static_cast<int>(ExpandedRow(*this, R - 1).size());
  }
  if (TargetRow != FRow || TargetCol != FCol) SetRowCol(TargetRow, TargetCol);
}

}  // namespace tesvarin
