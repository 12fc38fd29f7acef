// TEditor's text changes: typing, Enter, Backspace, Delete, Tab, input-method results, undo.
// Every change composes the new text of the rows it touches, hands it to the row store's
// UpdateRows (which records undo and re-wraps) and puts the caret back by a byte offset counted
// from a row the change cannot move.
#include <algorithm>
#include <cstring>
#include <string>

#include "editor/Editor.h"
#include "editor/edit/EditorEditText.h"
#include "editor/caret/EditorSelection.h"
#include "editor/text/EditorUndo.h"
#include "support/Sjis.h"

namespace tesvarin {

namespace {
// find_first_of on a string_view calls memchr once per byte of Text; two whole-text scans are far cheaper.
bool HasLineBreak(std::string_view Text) {
  return !Text.empty() && (std::memchr(Text.data(), '\r', Text.size()) != nullptr ||
                           std::memchr(Text.data(), '\n', Text.size()) != nullptr);
}
}  // namespace

// ---- The change frame

int TEditor::FrameRow(int ARow) const {
  const int Count = FRows->Count();
  if (Count == 0 || ARow <= 0) return 0;
  if (ARow >= Count) return Count - 1;
  return std::max(FRows->LineStartRow(ARow), ARow - 1);
}

int64_t TEditor::FrameOffset(int First, int ARow, int Byte) const {
  int64_t Offset = 0;
  const int Last = std::min(ARow, FRows->Count());
  for (int I = First; I < Last; ++I) {
    Offset += static_cast<int64_t>(FRows->RowView(I).size());
    const TRowAttribute A = FRows->RowAttribute(I);
    if (A == raCrlf) Offset += 2;
    else if (A == raEof) Offset += 1;
  }
  return Offset + Byte;
}

void TEditor::ApplyChange(int A, int N, std::string_view Text, int First, int64_t Offset) {
  const bool ManyRows = N > 1 || HasLineBreak(Text);
  BeginLinesUpdate();
  if (ManyRows) HideUnderline();
  DropHit();
  FRows->UpdateRows(A, N, Text);
  int NewRow = 0;
  int NewCol = 0;
  FRows->OffsetToRowCol(First, Offset, NewRow, NewCol);
  SetRowCol(NewRow, NewCol);
  if (ManyRows) ShowUnderline();
  EndLinesUpdate();
}

std::string TEditor::RowWithBreak(int ARow, std::string_view Bytes) const {
  std::string S(Bytes);
  if (ARow >= 0 && ARow < FRows->Count() && FRows->RowAttribute(ARow) == raCrlf) S.append("\r\n");
  return S;
}

bool TEditor::EditingBlocked() const { return FReadOnly; }

void TEditor::DropHit() {
  if (SelState() != selNone) CleanSelection();
}

// ---- Typing

void TEditor::InsertText(std::string_view S) {
  if (S.empty() || EditingBlocked()) return;
  if (SelState() == selSelected) {
    ReplaceSelection(S);
    return;
  }
  const int Count = FRows->Count();
  const int Byte = CaretByte();
  const int First = FrameRow(FRow);
  const int64_t Offset = FrameOffset(First, FRow, Byte) + StoredLength(S);
  if (FRow >= Count) {
    std::string Text(static_cast<size_t>(Byte), ' ');
    Text.append(S);
    ApplyChange(Count, 0, Text, First, Offset);
    return;
  }
  ApplyChange(FRow, 1, RowWithBreak(FRow, InsertAt(RowView(FRow), Byte, S)), First, Offset);
}

void TEditor::KeyPress(std::string_view Chars, TShiftState Shift) {
  for (size_t I = 0; I < Chars.size(); ++I) {
    const auto B = static_cast<unsigned char>(Chars[I]);
    if (B == 8) {
      BackspaceKey();
    } else if (B == 9) {
      TabKey(Shift);
    } else if (B == 13) {
      EnterKey(Shift);
    } else if (IsLeadByte(B)) {
      // The trail byte is the next queued message; a lead byte without one is dropped.
      if (I + 1 >= Chars.size() || static_cast<unsigned char>(Chars[I + 1]) < 64) continue;
      ++I;
      if (FImeSkip > 0) FImeSkip = std::max(0, FImeSkip - 2);
      else InsertText(Chars.substr(I - 1, 2));
    } else if ((B >= 32 && B <= 126) || B >= 160) {
      if (FImeSkip > 0) --FImeSkip;
      else InsertText(Chars.substr(I, 1));
    }
  }
}

void TEditor::TabKey(TShiftState Shift) {
  if (Shift.Contains(ssShift) || Shift.Contains(ssCtrl) || EditingBlocked() || !FWantTabs) return;
  if (!FCaret.SoftTab()) {
    InsertText("\t");
    return;
  }
  const int Tab = FCaret.TabSpaceCount();
  int Spaces = Tab - FCol % Tab;
  if (WordWrap()) Spaces = std::max(1, std::min(Spaces, FRows->WrapOption().WrapByte() - FCol));
  InsertText(std::string(static_cast<size_t>(Spaces), ' '));
}

void TEditor::ImeComposition(std::string_view Result) {
  if (EditingBlocked() || Result.empty()) return;
  InsertText(Result);
  FImeSkip = static_cast<int>(Result.size());
}

void TEditor::ImeCandidateWindow(bool Open) {
  if (Open == FImeOpen) return;
  FImeOpen = Open;
  if (Open) HideCaret();
  else ShowCaret();
}

// ---- Enter

int TEditor::EnterIndentWidth() const {
  if (!FCaret.AutoIndent()) return 0;
  const TColumnSettings Settings = ColumnSettings();
  const int LineStart = FRows->LineStartRow(FRow);
  const int Lead = LeadingWhiteWidth(RowView(LineStart), Settings);
  if (Lead >= 1) return (FRow == LineStart && FCol < Lead) ? FCol : Lead;
  if (!FCaret.PrevSpaceIndent() || FRow != LineStart || !RowView(FRow).empty()) return 0;
  for (int R = LineStart - 1; R >= 0; --R) {
    const int Start = FRows->LineStartRow(R);
    if (!RowView(Start).empty()) return std::max(0, LeadingWhiteWidth(RowView(Start), Settings));
    R = Start;
  }
  return 0;
}

std::string TEditor::IndentString(int Width) const {
  if (!FCaret.TabIndent()) return std::string(static_cast<size_t>(Width), ' ');
  const int Tab = FCaret.TabSpaceCount();
  std::string S(static_cast<size_t>(Width / Tab), '\t');
  S.append(static_cast<size_t>(Width % Tab), ' ');
  return S;
}

void TEditor::EnterKey(TShiftState Shift) {
  if (EditingBlocked()) return;
  const bool Above = Shift.Contains(ssShift);
  if (SelState() == selSelected) {
    if (Above) return;
    DeleteSelection();
  }
  DropHit();
  const int Count = FRows->Count();
  if (FRow >= Count) {
    const int First = FrameRow(FRow);
    ApplyChange(Count, 0, "\r\n", First, FrameOffset(First, Count, 0) + 2);
    return;
  }
  const std::string Indent = IndentString(EnterIndentWidth());
  if (Above) {
    const int LineStart = FRows->LineStartRow(FRow);
    ApplyChange(LineStart, 0, Indent + "\r\n", LineStart, static_cast<int64_t>(Indent.size()));
    return;
  }
  const std::string_view Row = RowView(FRow);
  const int Byte = std::min(CaretByte(), static_cast<int>(Row.size()));
  std::string Text(Row.substr(0, static_cast<size_t>(Byte)));
  Text.append("\r\n").append(Indent).append(Row.substr(static_cast<size_t>(Byte)));
  const int First = FrameRow(FRow);
  const int64_t Offset = FrameOffset(First, FRow, Byte) + 2 + static_cast<int64_t>(Indent.size());
  ApplyChange(FRow, 1, RowWithBreak(FRow, Text), First, Offset);
}

// ---- Backspace

void TEditor::BackspaceKey() {
  if (EditingBlocked()) return;
  if (SelState() == selSelected) {
    DeleteSelection();
    return;
  }
  if (FRows->Count() == 0) return;
  DropHit();
  const std::string_view Row = RowView(FRow);
  const TColumnMap Map = RowColumnMap(FRow);
  const int Width = static_cast<int>(Map.size());
  const int Byte = CaretByte();
  const bool OnTabFill = FCol < Width && Map[static_cast<size_t>(FCol)] == ckTabPad;
  if (Byte < 1 && !OnTabFill) {
    if (FRow > 0) JoinWithRowAbove();
    return;
  }
  if (UnindentApplies(Byte)) {
    Unindent();
    return;
  }
  if (Byte > static_cast<int>(Row.size())) {
    SetCol(FCol - 1);
    return;
  }
  // A caret on tab fill takes out its tab; else the character before the caret goes.
  int From = Byte;
  int Len = 1;
  if (!OnTabFill) {
    Len = (FCol >= 1 && FCol - 1 < Width && Map[static_cast<size_t>(FCol - 1)] == ckDbcs2) ? 2 : 1;
    From = std::max(0, Byte - Len);
    Len = Byte - From;
  }
  std::string Text(Row);
  Text.erase(static_cast<size_t>(From), static_cast<size_t>(Len));
  const int First = FrameRow(FRow);
  ApplyChange(FRow, 1, RowWithBreak(FRow, Text), First, FrameOffset(First, FRow, From));
}

void TEditor::JoinWithRowAbove() {
  const int Above = FRow - 1;
  std::string Upper(RowView(Above));
  if (FRows->RowAttribute(Above) == raWrapped && !Upper.empty())
    Upper.erase(static_cast<size_t>(LastCharStart(Upper)));
  const int First = std::max(FRows->LineStartRow(Above), FRow - 2);
  const int64_t Offset = FrameOffset(First, Above, static_cast<int>(Upper.size()));
  if (FRow >= FRows->Count()) {
    // After the final line break: the break goes and the row above ends the text.
    ApplyChange(Above, 1, Upper, First, Offset);
    return;
  }
  Upper.append(RowView(FRow));
  ApplyChange(Above, 2, RowWithBreak(FRow, Upper), First, Offset);
}

bool TEditor::UnindentApplies(int Byte) const {
  if (!FCaret.BackSpaceUnIndent()) return false;
  const std::string_view Row = RowView(FRow);
  if (Row.empty()) return true;
  const int Lead = LeadingWhiteWidth(Row, ColumnSettings());
  return Lead == DisplayWidth(Row, ColumnSettings()) || (FCol == Lead && Byte >= 1);
}

void TEditor::Unindent() {
  const TColumnSettings Settings = ColumnSettings();
  const int LineStart = FRows->LineStartRow(FRow);
  int Target = 0;
  for (int R = FRow - 1; R >= 0; --R) {
    const std::string_view Upper = RowView(R);
    if (Upper.empty()) continue;
    const int Lead = LeadingWhiteWidth(Upper, Settings);
    const bool SameLine = R >= LineStart;
    if ((SameLine && Lead > 0 && Lead < FCol) || (!SameLine && Lead < FCol)) {
      Target = Lead;
      break;
    }
  }
  const std::string_view Row = RowView(FRow);
  if (Target >= DisplayWidth(Row, Settings)) {
    SetCol(Target);
    return;
  }
  const TUnindentCut Cut = CutColumns(Row, Target, FCol, Settings);
  const int First = FrameRow(FRow);
  ApplyChange(FRow, 1, RowWithBreak(FRow, Cut.Text), First, FrameOffset(First, FRow, Cut.CaretByte));
}

// ---- Delete

void TEditor::DeleteKey() {
  if (EditingBlocked()) return;
  if (SelState() == selSelected) {
    DeleteSelection();
    return;
  }
  DropHit();
  if (FRow >= FRows->Count()) return;
  const std::string_view Row = RowView(FRow);
  const TColumnMap Map = RowColumnMap(FRow);
  const int Byte = CaretByte();
  if (Byte >= static_cast<int>(Row.size())) {
    JoinWithNextRow(Byte);
    return;
  }
  // On tab fill ColumnToByte already answers the tab's own byte.
  const bool Double = FCol < static_cast<int>(Map.size()) && Map[static_cast<size_t>(FCol)] == ckDbcs1;
  std::string Text(Row);
  Text.erase(static_cast<size_t>(Byte), std::min<size_t>(Double ? 2 : 1, Text.size() - static_cast<size_t>(Byte)));
  const int First = FrameRow(FRow);
  ApplyChange(FRow, 1, RowWithBreak(FRow, Text), First, FrameOffset(First, FRow, Byte));
}

void TEditor::JoinWithNextRow(int Byte) {
  const TRowAttribute Attr = FRows->RowAttribute(FRow);
  if (Attr == raEof) return;
  std::string Text(RowView(FRow));
  Text.append(static_cast<size_t>(Byte) - Text.size(), ' ');
  const int First = FrameRow(FRow);
  const int64_t Offset = FrameOffset(First, FRow, Byte);
  const int Next = FRow + 1;
  if (Next >= FRows->Count()) {
    ApplyChange(FRow, 1, Text, First, Offset);
    return;
  }
  std::string_view Lower = RowView(Next);
  // A wrap piece continues the same line: joining it would delete nothing, so its first character goes.
  if (Attr == raWrapped && !Lower.empty()) Lower.remove_prefix(CharLength(Lower, 0));
  Text.append(Lower);
  ApplyChange(FRow, 2, RowWithBreak(Next, Text), First, Offset);
}

// ---- Undo

void TEditor::Undo() {
  if (EditingBlocked()) return;
  CleanSelection();
  BeginLinesUpdate();
  FRows->UndoObj().Undo();
  EndLinesUpdate();
}

void TEditor::Redo() {
  if (EditingBlocked()) return;
  CleanSelection();
  BeginLinesUpdate();
  FRows->UndoObj().Redo();
  EndLinesUpdate();
}

bool TEditor::CanUndo() const { return FRows->UndoObj().CanUndo(); }
bool TEditor::CanRedo() const { return FRows->UndoObj().CanRedo(); }

}  // namespace tesvarin

namespace tesvarin {

// ---- The selection's remaining text

bool TEditor::SelectionRemains(TEditorStringList& Rows, int& FirstRow, int& RowsReplaced) const {
  const int Count = FRows->Count();
  if (SelState() != selSelected || Count == 0) return false;
  if (FSelection->BoxMode()) {
    const TSelRect& Rect = FSelection->Rect();
    FirstRow = std::min(Rect.Top, Count - 1);
    const int Last = std::min(Rect.Bottom, Count - 1);
    for (int R = FirstRow; R <= Last; ++R) {
      const TBoxSpan Span = FSelection->BoxSpanOfRow(R);
      std::string Text(RowView(R));
      Text.erase(static_cast<size_t>(Span.First), static_cast<size_t>(Span.End - Span.First));
      const int I = Rows.Add(Text);
      Rows.SetRowAttribute(I, FRows->RowAttribute(R));
      Rows.SetData(I, Span.First + 1);
    }
    RowsReplaced = Last - FirstRow + 1;
    return true;
  }
  const TSelRange& Range = FSelection->Range();
  if (Range.StartRow >= Count) return false;
  const std::string_view Start = RowView(Range.StartRow);
  const auto Cut = std::min(static_cast<size_t>(std::max(Range.StartByte, 0)), Start.size());
  std::string Text(Start.substr(0, Cut));
  const int EndRow = std::min(Range.EndRow, Count);
  const std::string_view End = RowView(EndRow);
  const auto After = static_cast<size_t>(std::max(Range.EndByte + 1, 0));
  if (After < End.size()) Text.append(End.substr(After));
  const int I = Rows.Add(Text);
  // The place after a final line break has no row: the remains then end the text.
  Rows.SetRowAttribute(I, EndRow < Count ? FRows->RowAttribute(EndRow) : raEof);
  Rows.SetData(I, static_cast<int32_t>(Cut) + 1);
  FirstRow = Range.StartRow;
  RowsReplaced = std::min(EndRow, Count - 1) - FirstRow + 1;
  return true;
}

namespace {
std::string JoinRows(const TEditorStringList& Rows) {
  std::string Text;
  for (int I = 0; I < Rows.Count(); ++I) {
    Text.append(Rows.RowView(I));
    if (Rows.RowAttribute(I) == raCrlf) Text.append("\r\n");
  }
  return Text;
}
}  // namespace

void TEditor::ReplaceSelection(std::string_view S) {
  TEditorStringList Rows;
  int FirstRow = 0;
  int Replaced = 0;
  if (!SelectionRemains(Rows, FirstRow, Replaced)) {
    CleanSelection();
    return;
  }
  const int Cut = Rows.Data(0) - 1;
  std::string Head(Rows.RowView(0));
  Rows.Put(0, InsertAt(Head, Cut, S));
  const int First = FrameRow(FirstRow);
  const int64_t Offset = FrameOffset(First, FirstRow, Cut) + StoredLength(S);
  ApplyChange(FirstRow, Replaced, JoinRows(Rows), First, Offset);
}

void TEditor::DeleteSelection() {
  if (EditingBlocked()) return;
  TEditorStringList Rows;
  int FirstRow = 0;
  int Replaced = 0;
  if (!SelectionRemains(Rows, FirstRow, Replaced)) {
    DropHit();
    return;
  }
  const int First = FrameRow(FirstRow);
  const int64_t Offset = FrameOffset(First, FirstRow, Rows.Data(0) - 1);
  ApplyChange(FirstRow, Replaced, JoinRows(Rows), First, Offset);
}

}  // namespace tesvarin
