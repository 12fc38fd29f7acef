// The scrolling commands: the top row and left column, the scroll bars' commands and keeping the
// caret in view. They move the window's pixels, the bars and the on-screen caret with the position;
// the metrics and positions themselves are TEditorScroll's.
#pragma once

#include "editor/model/EditorInput.h"
#include "platform/Platform.h"

namespace tesvarin {

class TCaretDisplay;
class TEditModel;
class TEditorScroll;

class TScrollCommands {
public:
  TScrollCommands(TEditModel& Model, TEditorScroll& Scroll, TCaretDisplay& CaretDisplay)
      : FModel(Model), FScroll(Scroll), FCaretDisplay(CaretDisplay) {}
  TScrollCommands(const TScrollCommands&) = delete;
  TScrollCommands& operator=(const TScrollCommands&) = delete;

  // Clamped to 0 .. row count and 0 .. MaxLeftCol(); a real change scrolls the pixels and is told.
  void SetTopRow(int ARow);
  void SetLeftCol(int ACol);
  void VScroll(TScrollCode Code, int Pos);
  void HScroll(TScrollCode Code, int Pos);
  void MakeCaretVisible();

  // A key is auto-repeating: the caret is placed after a scroll only when the key is released.
  [[nodiscard]] bool KeyRepeating() const { return FKeyRepeating; }
  void SetKeyRepeating(bool Value) { FKeyRepeating = Value; }

private:
  // Moves the pixels of Area with the underline and the caret hidden, then paints what was uncovered.
  void ScrollRegion(const TRect& Area, int Dx, int Dy);

  TEditModel& FModel;
  TEditorScroll& FScroll;
  TCaretDisplay& FCaretDisplay;
  bool FKeyRepeating = false;
};

}  // namespace tesvarin
