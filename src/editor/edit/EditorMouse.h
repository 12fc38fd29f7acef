// The mouse over the editor: press, move and release, row selection in the left margin, dragging a
// selection to move or copy it, and the pointer shape of each zone.
#pragma once

#include <cstdint>

#include "editor/model/EditorInput.h"
#include "editor/settings/EditorCursors.h"
#include "platform/Platform.h"

namespace tesvarin {

class TCaretDisplay;
class TEditModel;
class TEditorClipboard;
class TEditorScroll;
class TEditorSelection;

class TEditorMouse {
public:
  TEditorMouse(TEditModel& Model, TEditorSelection& Selection, const TEditorScroll& Scroll,
               TCaretDisplay& CaretDisplay, TEditorClipboard& Clipboard)
      : FModel(Model), FSelection(Selection), FScroll(Scroll), FCaretDisplay(CaretDisplay), FClipboard(Clipboard) {}
  TEditorMouse(const TEditorMouse&) = delete;
  TEditorMouse& operator=(const TEditorMouse&) = delete;

  void MouseDown(TEditorMouseButton Button, TShiftState Shift, int X, int Y);
  void MouseMove(TShiftState Shift, int X, int Y);
  void MouseUp(TEditorMouseButton Button, TShiftState Shift, int X, int Y);
  // A selection is being dragged to a new place.
  [[nodiscard]] bool Dragging() const { return FDragState == TDragState::Active; }
  void CancelDrag();
  // Ctrl pressed or released: a selection drag switches between its move and copy pointers.
  void DragShiftChanged(TShiftState Shift);

private:
  enum class TDragState : uint8_t { None, Armed, Active };

  [[nodiscard]] bool CanDragSelection() const;
  // The text position under a point, its row clamped to the rows a caret may stand on.
  [[nodiscard]] TPoint TextPosAt(int X, int Y, bool Round) const;
  void SelectWholeRows(int ToRow);
  void ExtendMouseSelection(int X, int Y);
  void DropSelection(TShiftState Shift, int X, int Y);
  void MoveSelectionTo(int DropRow, int DropByte);
  void UpdatePointer(TShiftState Shift, int X, int Y);
  void SetPointerZone(int Zone, TCursor Cursor);

  TEditModel& FModel;
  TEditorSelection& FSelection;
  const TEditorScroll& FScroll;
  TCaretDisplay& FCaretDisplay;
  TEditorClipboard& FClipboard;
  TDragState FDragState = TDragState::None;
  bool FRowSelecting = false;
  int FCursorZone = -1;
  int FRowSelectFirst = 0;  // the row a margin press selected; a drag keeps it selected
};

}  // namespace tesvarin
