// TEditor's clipboard commands. A box selection goes out twice, as plain text and under the
// editor's own format, so a paste into an editor can tell a box from a stream.
#include <algorithm>
#include <string>
#include <vector>

#include "editor/Editor.h"
#include "editor/edit/EditorEditText.h"
#include "editor/caret/EditorSelection.h"
#include "editor/settings/EditorResources.h"

namespace tesvarin {

int TEditor::BoxFormat() {
  IClipboard* Clip = FPlatform.Clipboard;
  if (Clip == nullptr) return -1;
  if (FBoxFormatOwner != Clip) {
    FBoxFormat = Clip->RegisterFormat(BoxClipboardFormatName);
    FBoxFormatOwner = Clip;
  }
  return FBoxFormat;
}

void TEditor::CopyToClipboard() {
  IClipboard* Clip = FPlatform.Clipboard;
  if (Clip == nullptr || SelState() != selSelected) return;
  const std::string Text = GetSelText();
  Clip->Clear();
  Clip->SetText(Text);
  if (!FSelection->BoxMode()) return;
  std::string Zeroed = Text;
  Zeroed.push_back('\0');
  Clip->SetFormatData(BoxFormat(), Zeroed);
}

void TEditor::CutToClipboard() {
  if (FEditCommands->EditingBlocked() || SelState() != selSelected) return;
  CopyToClipboard();
  DeleteSelection();
}

void TEditor::PasteFromClipboard() {
  IClipboard* Clip = FPlatform.Clipboard;
  if (FEditCommands->EditingBlocked() || Clip == nullptr || !Clip->HasText()) return;
  const std::string Text = Clip->Text();
  if (Clip->HasFormat(BoxFormat())) BoxPasteText(Text);
  else PasteText(Text);
}

void TEditor::PasteText(std::string_view S) {
  if (FEditCommands->EditingBlocked()) return;
  if (S.empty()) {
    DeleteSelection();
    return;
  }
  InsertText(S);
}

namespace {
// The lines of a block; a final line break ends the last line rather than starting an empty one.
std::vector<std::string_view> BlockLines(std::string_view S) {
  std::vector<std::string_view> Lines;
  ForEachLine(S, [&](std::string_view Piece, int Kind) {
    if (Kind >= 0 || !Piece.empty()) Lines.push_back(Piece);
  });
  return Lines;
}
}  // namespace

// The byte a box column falls on: the first one the column covers, past any character cut by it.
int TEditor::BoxInsertByte(std::string& Row, int ACol) const {
  const TColumnSettings Settings = ColumnSettings();
  const int Width = DisplayWidth(Row, Settings);
  if (Width <= ACol) {
    Row.append(static_cast<size_t>(ACol - Width), ' ');
    return static_cast<int>(Row.size());
  }
  const TColumnMap Map = ColumnMap(Row, Settings);
  return TEditorSelection::BoxSpan(Map, static_cast<int>(Row.size()), ACol, ACol + 1).First;
}

void TEditor::BoxPasteText(std::string_view S) {
  if (FEditCommands->EditingBlocked()) return;
  if (S.empty()) {
    DeleteSelection();
    return;
  }
  const std::vector<std::string_view> Lines = BlockLines(S);
  TEditorStringList Cut;
  int Top = FRow;
  int Replaced = 0;
  int Column = FCol;
  if (FEditCommands->SelectionRemains(Cut, Top, Replaced))
    Column = FSelection->BoxMode() ? FSelection->Rect().Left : ByteToColumn(RowView(Top), Cut.Data(0) - 1, ColumnSettings());
  const int Count = FRows->Count();
  const int Total = std::max(static_cast<int>(Lines.size()), Cut.Count());
  std::string Text;
  int64_t CaretInText = 0;
  int OldRows = 0;
  for (int I = 0; I < Total; ++I) {
    const int R = Top + I;
    std::string Row;
    int At = 0;
    if (I < Cut.Count()) {
      Row = std::string(Cut.RowView(I));
      At = Cut.Data(I) - 1;
      if (DisplayWidth(std::string_view(Row).substr(0, static_cast<size_t>(At)), ColumnSettings()) < Column)
        At = BoxInsertByte(Row, Column);
    } else if (R < Count) {
      Row = std::string(RowView(R));
      At = BoxInsertByte(Row, Column);
    } else {
      At = BoxInsertByte(Row, Column);
    }
    if (R < Count) ++OldRows;
    if (I < static_cast<int>(Lines.size())) {
      Row.insert(static_cast<size_t>(At), Lines[static_cast<size_t>(I)]);
      if (I + 1 == static_cast<int>(Lines.size()))
        CaretInText = static_cast<int64_t>(Text.size()) + At + static_cast<int64_t>(Lines[static_cast<size_t>(I)].size());
    }
    Text.append(Row);
    if (R >= Count || FRows->RowAttribute(R) != raWrapped) Text.append("\r\n");
  }
  Replaced = std::max(Replaced, OldRows);
  const int First = FEditCommands->FrameRow(std::min(Top, std::max(Count - 1, 0)));
  const int64_t Offset = FEditCommands->FrameOffset(First, Top, 0) + CaretInText;
  FEditCommands->ApplyChange(std::min(Top, Count), Replaced, Text, First, Offset);
}

}  // namespace tesvarin
