#include "editor/edit/EditorClipboard.h"

#include <algorithm>
#include <string>
#include <vector>

#include "editor/caret/EditorSelection.h"
#include "editor/edit/EditCommands.h"
#include "editor/edit/EditorEditText.h"
#include "editor/model/EditModel.h"
#include "editor/settings/EditorResources.h"

namespace tesvarin {

int TEditorClipboard::BoxFormat() {
  IClipboard* Clip = FModel.Platform().Clipboard;
  if (Clip == nullptr) return -1;
  if (FBoxFormatOwner != Clip) {
    FBoxFormat = Clip->RegisterFormat(BoxClipboardFormatName);
    FBoxFormatOwner = Clip;
  }
  return FBoxFormat;
}

void TEditorClipboard::CopyToClipboard() {
  IClipboard* Clip = FModel.Platform().Clipboard;
  if (Clip == nullptr || FSelection.State() != selSelected) return;
  const std::string Text = FSelection.Text();
  Clip->Clear();
  Clip->SetText(Text);
  if (!FSelection.BoxMode()) return;
  std::string Zeroed = Text;
  Zeroed.push_back('\0');
  Clip->SetFormatData(BoxFormat(), Zeroed);
}

void TEditorClipboard::CutToClipboard() {
  if (FEdit.EditingBlocked() || FSelection.State() != selSelected) return;
  CopyToClipboard();
  FEdit.DeleteSelection();
}

void TEditorClipboard::PasteFromClipboard() {
  IClipboard* Clip = FModel.Platform().Clipboard;
  if (FEdit.EditingBlocked() || Clip == nullptr || !Clip->HasText()) return;
  const std::string Text = Clip->Text();
  if (Clip->HasFormat(BoxFormat())) BoxPasteText(Text);
  else PasteText(Text);
}

void TEditorClipboard::PasteText(std::string_view S) {
  if (FEdit.EditingBlocked()) return;
  if (S.empty()) {
    FEdit.DeleteSelection();
    return;
  }
  FEdit.InsertText(S);
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
int TEditorClipboard::BoxInsertByte(std::string& Row, int ACol) const {
  const TColumnSettings Settings = FModel.ColumnSettings();
  const int Width = DisplayWidth(Row, Settings);
  if (Width <= ACol) {
    Row.append(static_cast<size_t>(ACol - Width), ' ');
    return static_cast<int>(Row.size());
  }
  const TColumnMap Map = ColumnMap(Row, Settings);
  return TEditorSelection::BoxSpan(Map, static_cast<int>(Row.size()), ACol, ACol + 1).First;
}

void TEditorClipboard::BoxPasteText(std::string_view S) {
  if (FEdit.EditingBlocked()) return;
  if (S.empty()) {
    FEdit.DeleteSelection();
    return;
  }
  const std::vector<std::string_view> Lines = BlockLines(S);
  TEditorStringList Cut;
  int Top = FModel.Row();
  int Replaced = 0;
  int Column = FModel.Col();
  if (FEdit.SelectionRemains(Cut, Top, Replaced))
    Column = FSelection.BoxMode() ? FSelection.Rect().Left : ByteToColumn(FModel.RowView(Top), Cut.Data(0) - 1, FModel.ColumnSettings());
  const int Count = FModel.ListRows().Count();
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
      if (DisplayWidth(std::string_view(Row).substr(0, static_cast<size_t>(At)), FModel.ColumnSettings()) < Column)
        At = BoxInsertByte(Row, Column);
    } else if (R < Count) {
      Row = std::string(FModel.RowView(R));
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
    if (R >= Count || FModel.ListRows().RowAttribute(R) != raWrapped) Text.append("\r\n");
  }
  Replaced = std::max(Replaced, OldRows);
  const int First = FEdit.FrameRow(std::min(Top, std::max(Count - 1, 0)));
  const int64_t Offset = FEdit.FrameOffset(First, Top, 0) + CaretInText;
  FEdit.ApplyChange(std::min(Top, Count), Replaced, Text, First, Offset);
}

}  // namespace tesvarin
