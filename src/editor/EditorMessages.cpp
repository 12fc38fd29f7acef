// The edit-control messages, answered from the editor's public operations.
#include "editor/EditorMessages.h"

#include <algorithm>
#include <cstring>

#include "editor/view/EditorScroll.h"
#include "editor/text/EditorUndo.h"

namespace tesvarin {

int64_t EditorTextLength(const TEditor& Editor) { return Editor.RowOffset(Editor.RowCount()); }

TEditorSelRange TEditorMessages::GetSel() const {
  const int64_t Start = FEditor.GetSelStart();
  return {Start, Start + FEditor.GetSelLength()};
}

void TEditorMessages::SetSel(int64_t Start, int64_t End) {
  if (Start == 0 && End == -1) {
    FEditor.SelectAll();
    return;
  }
  if (Start < 0) {
    FEditor.CleanSelection();
    return;
  }
  // A negative end would otherwise become the start and select from the top.
  if (End < 0) End = EditorTextLength(FEditor);
  FEditor.SetSelStart(std::min(Start, End));
  FEditor.SetSelLength(std::max(Start, End) - std::min(Start, End));
}

bool TEditorMessages::ReplaceSel(std::string_view Text) {
  if (FEditor.ReadOnly()) return false;
  FEditor.PasteText(Text);
  return true;
}

bool TEditorMessages::CanUndo() const { return FEditor.CanUndo() && !FEditor.ReadOnly(); }

bool TEditorMessages::Undo() {
  if (!CanUndo()) return false;
  FEditor.Undo();
  return true;
}

void TEditorMessages::EmptyUndoBuffer() { FEditor.ListRows().UndoObj().ClearUndo(); }

void TEditorMessages::SetModify(bool Value) {
  if (!FEditor.ReadOnly()) FEditor.SetModified(Value);
}

void TEditorMessages::ScrollCaret() {
  FEditor.SetTopRow(std::max(0, FEditor.Row() - FEditor.ScreenRows() / 3));
  FEditor.MakeCaretVisible();
}

void TEditorMessages::Cut() {
  if (FEditor.GetSelLength() > 0) {
    FEditor.CutToClipboard();
  } else if (FEditor.Platform().Clipboard != nullptr) {
    FEditor.Platform().Clipboard->Clear();
  }
}

void TEditorMessages::Copy() {
  if (FEditor.GetSelLength() > 0) {
    FEditor.CopyToClipboard();
  } else if (FEditor.Platform().Clipboard != nullptr) {
    FEditor.Platform().Clipboard->Clear();
  }
}

bool TEditorMessages::SetText(std::string_view Text) {
  if (FEditor.ReadOnly()) return false;
  FEditor.Lines().SetLinesText(Text);
  return true;
}

int TEditorMessages::GetText(std::span<char> Buffer) const {
  if (Buffer.empty()) return 0;
  const std::string Text = FEditor.Lines().Text();
  const size_t N = std::min(Text.size(), Buffer.size() - 1);
  std::memcpy(Buffer.data(), Text.data(), N);
  Buffer[N] = '\0';
  return static_cast<int>(N);
}

uint32_t TEditorMessages::GetDlgCode() const {
  uint32_t Code = DLGC_WANTARROWS | DLGC_WANTCHARS;
  if (FEditor.WantTabs()) Code |= DLGC_WANTTAB;
  if (FEditor.WantReturns()) Code |= DLGC_WANTALLKEYS;
  return Code;
}

int TEditorMessages::RowOfOffset(int64_t Offset) const {
  int Row = 0;
  int Col = 0;
  FEditor.ListRows().OffsetToRowCol(0, Offset, Row, Col);
  return Row;
}

int TEditorMessages::LineFromChar(int64_t Offset) const {
  if (Offset == -1) return FEditor.Selected() ? RowOfOffset(FEditor.GetSelStart()) : FEditor.Row();
  return RowOfOffset(std::max<int64_t>(0, Offset));
}

int64_t TEditorMessages::LineIndex(int Row) const {
  if (Row == -1) Row = FEditor.Row();
  if (Row < 0 || Row > FEditor.ListRows().MaxCaretRow()) return -1;
  return FEditor.RowOffset(Row);
}

int TEditorMessages::LineLength(int64_t Offset) const {
  if (Offset != -1) return static_cast<int>(FEditor.RowView(RowOfOffset(std::max<int64_t>(0, Offset))).size());
  if (FEditor.GetSelLength() <= 0) return static_cast<int>(FEditor.RowView(FEditor.Row()).size());
  const TEditorSelRange Sel = GetSel();
  const int EndRow = RowOfOffset(Sel.End);
  const int64_t RowStart = FEditor.RowOffset(EndRow);
  const int64_t Len = static_cast<int64_t>(FEditor.RowView(EndRow).size());
  const int64_t SelectedHere = std::clamp<int64_t>(Sel.End - std::max(Sel.Start, RowStart), 0, Len);
  return static_cast<int>(Len - SelectedHere);
}

int TEditorMessages::GetLine(int Row, std::span<char> Buffer) const {
  if (Buffer.size() < 2 || Row < 0 || Row >= FEditor.RowCount()) return 0;
  const size_t Wanted = static_cast<uint8_t>(Buffer[0]) | static_cast<size_t>(static_cast<uint8_t>(Buffer[1])) << 8;
  const std::string_view Bytes = FEditor.RowView(Row);
  // The size word is the client's claim; never write past the span it handed over.
  const size_t N = std::min({Bytes.size(), Wanted, Buffer.size()});
  std::memcpy(Buffer.data(), Bytes.data(), N);
  return static_cast<int>(N);
}

int32_t TEditorMessages::CharFromPos(int X, int Y) const {
  const IEditorWindow* Window = FEditor.Window();
  if (Window == nullptr || X < 0 || Y < 0 || X >= Window->ClientWidth() || Y >= Window->ClientHeight()) return -1;
  const TColRow P = FEditor.Scroll().MouseToPos(X, Y, true);
  const int Row = std::clamp(P.Row, 0, std::max(0, FEditor.RowCount() - 1));
  const int Len = static_cast<int>(FEditor.RowView(Row).size());
  const int Byte = std::min(ColumnToByte(FEditor.RowColumnMap(Row), std::max(0, P.Col), Len), Len);
  const int64_t Offset = FEditor.RowOffset(Row) + Byte;
  return static_cast<int32_t>(static_cast<uint32_t>(Row & 0xFFFF) << 16 | static_cast<uint32_t>(Offset & 0xFFFF));
}

}  // namespace tesvarin
