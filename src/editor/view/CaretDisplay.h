// The on-screen caret: the system caret's shape, place and visibility, the caret-row underline and
// the ruler's caret-column mark. Hides nest; every window step is skipped while there is no window.
#pragma once

#include "platform/Platform.h"

namespace tesvarin {

class TEditModel;
class TEditorBars;
class TEditorScroll;
class TEditorSelection;

class TCaretDisplay {
public:
  TCaretDisplay(const TEditModel& Model, const TEditorScroll& Scroll, const TEditorSelection& Selection,
                const TEditorBars& Bars)
      : FModel(Model), FScroll(Scroll), FSelection(Selection), FBars(Bars) {}
  TCaretDisplay(const TCaretDisplay&) = delete;
  TCaretDisplay& operator=(const TCaretDisplay&) = delete;

  [[nodiscard]] bool Created() const { return FCaretCreated; }
  // The system caret is showing.
  [[nodiscard]] bool OnScreen() const { return FCaretOnScreen; }
  // Makes the system caret again for the caret's cell: double width on a double-byte character,
  // HitCols columns wide when a hit is shown as the caret (0: by the caret's style).
  void Recreate(int HitCols);
  // Puts the system caret and the input method window at the caret, moves the underline to its row
  // and the ruler mark to its column.
  void Place();
  // The system caret shows exactly while unhidden and inside the visible cells.
  void Hide();
  void Show();
  void SyncVisibility();

  // The caret-row underline: erased or drawn again only at the outer level and only while nothing
  // is selected.
  void HideUnderline();
  void ShowUnderline();
  [[nodiscard]] bool UnderlineHidden() const { return FUnderlineHideCount > 0; }

  // The ruler cell of a column shown inverted (the caret's column), or back to normal.
  void MarkRulerColumn(int ACol);
  void UnmarkRulerColumn(int ACol);
  [[nodiscard]] int MarkedRulerColumn() const { return FRulerMarkCol; }
  // A paint drew the ruler with this column marked.
  void RulerPainted(int ACol) { FRulerMarkCol = ACol; }

private:
  void MoveUnderline();
  void InvalidateUnderline(int ARow);
  void InvalidateRulerCell(int ACol);

  const TEditModel& FModel;
  const TEditorScroll& FScroll;
  const TEditorSelection& FSelection;
  const TEditorBars& FBars;
  int FCaretHideCount = 0;
  int FUnderlineHideCount = 0;
  bool FCaretCreated = false;
  bool FCaretOnScreen = false;
  int FUnderlineRow = -1;  // the row whose underline is drawn, -1: none
  int FRulerMarkCol = -1;
};

}  // namespace tesvarin
