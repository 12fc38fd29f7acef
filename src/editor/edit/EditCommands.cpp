#include "editor/edit/EditCommands.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "editor/caret/EditorSelection.h"
#include "editor/edit/EditorEditText.h"
#include "editor/model/EditModel.h"
#include "editor/text/EditorUndo.h"
#include "editor/view/CaretDisplay.h"
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

int TEditCommands::FrameRow(int ARow) const {
  const int Count = FModel.ListRows().Count();
  if (Count == 0 || ARow <= 0) return 0;
  if (ARow >= Count) return Count - 1;
  return std::max(FModel.ListRows().LineStartRow(ARow), ARow - 1);
}

int64_t TEditCommands::FrameOffset(int First, int ARow, int Byte) const {
  return FModel.SumRows(First, ARow, true) + Byte;
}

template <class F>
void TEditCommands::InLinesUpdate(bool Underline, F&& Change) {
  FModel.Signals().BeginLinesUpdate();
  if (Underline) FCaretDisplay.HideUnderline();
  auto Close = [&] {
    if (Underline) FCaretDisplay.ShowUnderline();
    FModel.Signals().EndLinesUpdate();
  };
  try {
    Change();
  } catch (...) {
    Close();
    throw;
  }
  Close();
}

void TEditCommands::ApplyChange(int A, int N, std::string_view Text, int First, int64_t Offset) {
  InLinesUpdate(N > 1 || HasLineBreak(Text), [&] {
    DropHit();
    FModel.ListRows().UpdateRows(A, N, Text);
    int NewRow = 0;
    int NewCol = 0;
    FModel.ListRows().OffsetToRowCol(First, Offset, NewRow, NewCol);
    FModel.Signals().SetRowCol(NewRow, NewCol);
  });
}

std::string TEditCommands::RowWithBreak(int ARow, std::string_view Bytes) const {
  std::string S(Bytes);
  if (ARow >= 0 && ARow < FModel.ListRows().Count() && FModel.ListRows().RowAttribute(ARow) == raCrlf) S.append("\r\n");
  return S;
}

bool TEditCommands::EditingBlocked() const { return FModel.ReadOnly(); }

void TEditCommands::DropHit() {
  if (FSelection.State() != selNone) FModel.Signals().CleanSelection();
}

// ---- Typing

void TEditCommands::InsertText(std::string_view S) {
  if (S.empty() || EditingBlocked()) return;
  if (FSelection.State() == selSelected) {
    ReplaceSelection(S);
    return;
  }
  const int Count = FModel.ListRows().Count();
  const int Byte = FModel.CaretByte();
  const int First = FrameRow(FModel.Row());
  const int64_t Offset = FrameOffset(First, FModel.Row(), Byte) + StoredLength(S);
  if (FModel.Row() >= Count) {
    std::string Text(static_cast<size_t>(Byte), ' ');
    Text.append(S);
    ApplyChange(Count, 0, Text, First, Offset);
    return;
  }
  ApplyChange(FModel.Row(), 1, RowWithBreak(FModel.Row(), InsertAt(FModel.RowView(FModel.Row()), Byte, S)), First, Offset);
}

void TEditCommands::KeyPress(std::string_view Chars, TShiftState Shift) {
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

void TEditCommands::TabKey(TShiftState Shift) {
  if (Shift.Contains(ssShift) || Shift.Contains(ssCtrl) || EditingBlocked() || !FModel.WantTabs()) return;
  if (!FModel.Caret().SoftTab()) {
    InsertText("\t");
    return;
  }
  const int Tab = FModel.Caret().TabSpaceCount();
  int Spaces = Tab - FModel.Col() % Tab;
  if (FModel.WordWrap()) Spaces = std::max(1, std::min(Spaces, FModel.ListRows().WrapOption().WrapByte() - FModel.Col()));
  InsertText(std::string(static_cast<size_t>(Spaces), ' '));
}

void TEditCommands::ImeComposition(std::string_view Result) {
  if (EditingBlocked() || Result.empty()) return;
  InsertText(Result);
  FImeSkip = static_cast<int>(Result.size());
}

void TEditCommands::ImeCandidateWindow(bool Open) {
  if (Open == FImeOpen) return;
  FImeOpen = Open;
  if (Open) FCaretDisplay.Hide();
  else FCaretDisplay.Show();
}

// ---- Enter

int TEditCommands::EnterIndentWidth() const {
  if (!FModel.Caret().AutoIndent()) return 0;
  const TColumnSettings Settings = FModel.ColumnSettings();
  const int LineStart = FModel.ListRows().LineStartRow(FModel.Row());
  const int Lead = LeadingWhiteWidth(FModel.RowView(LineStart), Settings);
  if (Lead >= 1) return (FModel.Row() == LineStart && FModel.Col() < Lead) ? FModel.Col() : Lead;
  if (!FModel.Caret().PrevSpaceIndent() || FModel.Row() != LineStart || !FModel.RowView(FModel.Row()).empty()) return 0;
  for (int R = LineStart - 1; R >= 0; --R) {
    const int Start = FModel.ListRows().LineStartRow(R);
    if (!FModel.RowView(Start).empty()) return std::max(0, LeadingWhiteWidth(FModel.RowView(Start), Settings));
    R = Start;
  }
  return 0;
}

std::string TEditCommands::IndentString(int Width) const {
  if (!FModel.Caret().TabIndent()) return std::string(static_cast<size_t>(Width), ' ');
  const int Tab = FModel.Caret().TabSpaceCount();
  std::string S(static_cast<size_t>(Width / Tab), '\t');
  S.append(static_cast<size_t>(Width % Tab), ' ');
  return S;
}

void TEditCommands::EnterKey(TShiftState Shift) {
  if (EditingBlocked()) return;
  const bool Above = Shift.Contains(ssShift);
  if (FSelection.State() == selSelected) {
    if (Above) return;
    DeleteSelection();
  }
  DropHit();
  const int Count = FModel.ListRows().Count();
  if (FModel.Row() >= Count) {
    const int First = FrameRow(FModel.Row());
    ApplyChange(Count, 0, "\r\n", First, FrameOffset(First, Count, 0) + 2);
    return;
  }
  const std::string Indent = IndentString(EnterIndentWidth());
  if (Above) {
    const int LineStart = FModel.ListRows().LineStartRow(FModel.Row());
    ApplyChange(LineStart, 0, Indent + "\r\n", LineStart, static_cast<int64_t>(Indent.size()));
    return;
  }
  const std::string_view Row = FModel.RowView(FModel.Row());
  const int Byte = std::min(FModel.CaretByte(), static_cast<int>(Row.size()));
  std::string Text(Row.substr(0, static_cast<size_t>(Byte)));
  Text.append("\r\n").append(Indent).append(Row.substr(static_cast<size_t>(Byte)));
  const int First = FrameRow(FModel.Row());
  const int64_t Offset = FrameOffset(First, FModel.Row(), Byte) + 2 + static_cast<int64_t>(Indent.size());
  ApplyChange(FModel.Row(), 1, RowWithBreak(FModel.Row(), Text), First, Offset);
}

// ---- Backspace

void TEditCommands::BackspaceKey() {
  if (EditingBlocked()) return;
  if (FSelection.State() == selSelected) {
    DeleteSelection();
    return;
  }
  if (FModel.ListRows().Count() == 0) return;
  DropHit();
  const std::string_view Row = FModel.RowView(FModel.Row());
  const TColumnMap Map = FModel.RowColumnMap(FModel.Row());
  const int Width = static_cast<int>(Map.size());
  const int Byte = FModel.CaretByte();
  const bool OnTabFill = FModel.Col() < Width && Map[static_cast<size_t>(FModel.Col())] == ckTabPad;
  if (Byte < 1 && !OnTabFill) {
    if (FModel.Row() > 0) JoinWithRowAbove();
    return;
  }
  if (UnindentApplies(Byte)) {
    Unindent();
    return;
  }
  if (Byte > static_cast<int>(Row.size())) {
    SetCol(FModel.Col() - 1);
    return;
  }
  // A caret on tab fill takes out its tab; else the character before the caret goes.
  int From = Byte;
  int Len = 1;
  if (!OnTabFill) {
    Len = (FModel.Col() >= 1 && FModel.Col() - 1 < Width && Map[static_cast<size_t>(FModel.Col() - 1)] == ckDbcs2) ? 2 : 1;
    From = std::max(0, Byte - Len);
    Len = Byte - From;
  }
  std::string Text(Row);
  Text.erase(static_cast<size_t>(From), static_cast<size_t>(Len));
  const int First = FrameRow(FModel.Row());
  ApplyChange(FModel.Row(), 1, RowWithBreak(FModel.Row(), Text), First, FrameOffset(First, FModel.Row(), From));
}

void TEditCommands::JoinWithRowAbove() {
  const int Above = FModel.Row() - 1;
  std::string Upper(FModel.RowView(Above));
  if (FModel.ListRows().RowAttribute(Above) == raWrapped && !Upper.empty())
    Upper.erase(static_cast<size_t>(LastCharStart(Upper)));
  const int First = std::max(FModel.ListRows().LineStartRow(Above), FModel.Row() - 2);
  const int64_t Offset = FrameOffset(First, Above, static_cast<int>(Upper.size()));
  if (FModel.Row() >= FModel.ListRows().Count()) {
    // After the final line break: the break goes and the row above ends the text.
    ApplyChange(Above, 1, Upper, First, Offset);
    return;
  }
  Upper.append(FModel.RowView(FModel.Row()));
  ApplyChange(Above, 2, RowWithBreak(FModel.Row(), Upper), First, Offset);
}

bool TEditCommands::UnindentApplies(int Byte) const {
  if (!FModel.Caret().BackSpaceUnIndent()) return false;
  const std::string_view Row = FModel.RowView(FModel.Row());
  if (Row.empty()) return true;
  const int Lead = LeadingWhiteWidth(Row, FModel.ColumnSettings());
  return Lead == DisplayWidth(Row, FModel.ColumnSettings()) || (FModel.Col() == Lead && Byte >= 1);
}

void TEditCommands::Unindent() {
  const TColumnSettings Settings = FModel.ColumnSettings();
  const int LineStart = FModel.ListRows().LineStartRow(FModel.Row());
  int Target = 0;
  for (int R = FModel.Row() - 1; R >= 0; --R) {
    const std::string_view Upper = FModel.RowView(R);
    if (Upper.empty()) continue;
    const int Lead = LeadingWhiteWidth(Upper, Settings);
    const bool SameLine = R >= LineStart;
    if ((SameLine && Lead > 0 && Lead < FModel.Col()) || (!SameLine && Lead < FModel.Col())) {
      Target = Lead;
      break;
    }
  }
  const std::string_view Row = FModel.RowView(FModel.Row());
  if (Target >= DisplayWidth(Row, Settings)) {
    SetCol(Target);
    return;
  }
  const TUnindentCut Cut = CutColumns(Row, Target, FModel.Col(), Settings);
  const int First = FrameRow(FModel.Row());
  ApplyChange(FModel.Row(), 1, RowWithBreak(FModel.Row(), Cut.Text), First, FrameOffset(First, FModel.Row(), Cut.CaretByte));
}

// ---- Delete

void TEditCommands::DeleteKey() {
  if (EditingBlocked()) return;
  if (FSelection.State() == selSelected) {
    DeleteSelection();
    return;
  }
  DropHit();
  if (FModel.Row() >= FModel.ListRows().Count()) return;
  const std::string_view Row = FModel.RowView(FModel.Row());
  const TColumnMap Map = FModel.RowColumnMap(FModel.Row());
  const int Byte = FModel.CaretByte();
  if (Byte >= static_cast<int>(Row.size())) {
    JoinWithNextRow(Byte);
    return;
  }
  // On tab fill ColumnToByte already answers the tab's own byte.
  const bool Double = FModel.Col() < static_cast<int>(Map.size()) && Map[static_cast<size_t>(FModel.Col())] == ckDbcs1;
  std::string Text(Row);
  Text.erase(static_cast<size_t>(Byte), std::min<size_t>(Double ? 2 : 1, Text.size() - static_cast<size_t>(Byte)));
  const int First = FrameRow(FModel.Row());
  ApplyChange(FModel.Row(), 1, RowWithBreak(FModel.Row(), Text), First, FrameOffset(First, FModel.Row(), Byte));
}

void TEditCommands::JoinWithNextRow(int Byte) {
  const TRowAttribute Attr = FModel.ListRows().RowAttribute(FModel.Row());
  if (Attr == raEof) return;
  std::string Text(FModel.RowView(FModel.Row()));
  Text.append(static_cast<size_t>(Byte) - Text.size(), ' ');
  const int First = FrameRow(FModel.Row());
  const int64_t Offset = FrameOffset(First, FModel.Row(), Byte);
  const int Next = FModel.Row() + 1;
  if (Next >= FModel.ListRows().Count()) {
    ApplyChange(FModel.Row(), 1, Text, First, Offset);
    return;
  }
  std::string_view Lower = FModel.RowView(Next);
  // A wrap piece continues the same line: joining it would delete nothing, so its first character goes.
  if (Attr == raWrapped && !Lower.empty()) Lower.remove_prefix(CharLength(Lower, 0));
  Text.append(Lower);
  ApplyChange(FModel.Row(), 2, RowWithBreak(Next, Text), First, Offset);
}

// The caret moves left in its row here, so placing it in its row is the same move.
void TEditCommands::SetCol(int ACol) { FModel.Signals().SetRowCol(FModel.Row(), ACol); }

// ---- Undo

void TEditCommands::Undo() {
  if (EditingBlocked()) return;
  FModel.Signals().CleanSelection();
  InLinesUpdate(false, [&] { FModel.ListRows().UndoObj().Undo(); });
}

void TEditCommands::Redo() {
  if (EditingBlocked()) return;
  FModel.Signals().CleanSelection();
  InLinesUpdate(false, [&] { FModel.ListRows().UndoObj().Redo(); });
}



// ---- The selection's remaining text

bool TEditCommands::SelectionRemains(TEditorStringList& Rows, int& FirstRow, int& RowsReplaced) const {
  const int Count = FModel.ListRows().Count();
  if (FSelection.State() != selSelected || Count == 0) return false;
  if (FSelection.BoxMode()) {
    const TSelRect& Rect = FSelection.Rect();
    FirstRow = std::min(Rect.Top, Count - 1);
    const int Last = std::min(Rect.Bottom, Count - 1);
    for (int R = FirstRow; R <= Last; ++R) {
      const TBoxSpan Span = FSelection.BoxSpanOfRow(R);
      std::string Text(FModel.RowView(R));
      Text.erase(static_cast<size_t>(Span.First), static_cast<size_t>(Span.End - Span.First));
      const int I = Rows.Add(Text);
      Rows.SetRowAttribute(I, FModel.ListRows().RowAttribute(R));
      Rows.SetData(I, Span.First + 1);
    }
    RowsReplaced = Last - FirstRow + 1;
    return true;
  }
  const TSelRange& Range = FSelection.Range();
  if (Range.StartRow >= Count) return false;
  const std::string_view Start = FModel.RowView(Range.StartRow);
  const auto Cut = std::min(static_cast<size_t>(std::max(Range.StartByte, 0)), Start.size());
  std::string Text(Start.substr(0, Cut));
  const int EndRow = std::min(Range.EndRow, Count);
  const std::string_view End = FModel.RowView(EndRow);
  const auto After = static_cast<size_t>(std::max(Range.EndByte + 1, 0));
  if (After < End.size()) Text.append(End.substr(After));
  const int I = Rows.Add(Text);
  // The place after a final line break has no row: the remains then end the text.
  Rows.SetRowAttribute(I, EndRow < Count ? FModel.ListRows().RowAttribute(EndRow) : raEof);
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

void TEditCommands::ReplaceSelection(std::string_view S) {
  TEditorStringList Rows;
  int FirstRow = 0;
  int Replaced = 0;
  if (!SelectionRemains(Rows, FirstRow, Replaced)) {
    FModel.Signals().CleanSelection();
    return;
  }
  const int Cut = Rows.Data(0) - 1;
  std::string Head(Rows.RowView(0));
  Rows.Put(0, InsertAt(Head, Cut, S));
  const int First = FrameRow(FirstRow);
  const int64_t Offset = FrameOffset(First, FirstRow, Cut) + StoredLength(S);
  ApplyChange(FirstRow, Replaced, JoinRows(Rows), First, Offset);
}

void TEditCommands::DeleteSelection() {
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
