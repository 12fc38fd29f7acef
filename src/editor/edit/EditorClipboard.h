// The clipboard commands. A box selection goes out twice, as plain text and under the editor's own
// format, so a paste into an editor can tell a box from a stream; a box pasted goes in column by
// column over the rows from the caret (or the selection) down.
#pragma once

#include <string>
#include <string_view>

#include "platform/Platform.h"

namespace tesvarin {

class TEditCommands;
class TEditModel;
class TEditorSelection;

class TEditorClipboard {
public:
  TEditorClipboard(TEditModel& Model, TEditorSelection& Selection, TEditCommands& Edit)
      : FModel(Model), FSelection(Selection), FEdit(Edit) {}
  TEditorClipboard(const TEditorClipboard&) = delete;
  TEditorClipboard& operator=(const TEditorClipboard&) = delete;

  void CopyToClipboard();
  void CutToClipboard();
  void PasteFromClipboard();
  // S in place of the selection (an empty S deletes it).
  void PasteText(std::string_view S);
  void BoxPasteText(std::string_view S);

private:
  // The box format's number on the platform's clipboard, registered once per clipboard.
  [[nodiscard]] int BoxFormat();
  // The byte a box column falls on in Row, which is first filled with spaces up to the column.
  int BoxInsertByte(std::string& Row, int ACol) const;

  TEditModel& FModel;
  TEditorSelection& FSelection;
  TEditCommands& FEdit;
  int FBoxFormat = -1;
  IClipboard* FBoxFormatOwner = nullptr;
};

}  // namespace tesvarin
