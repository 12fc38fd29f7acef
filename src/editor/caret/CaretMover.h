// Caret movement: placing the caret, the keys that move it and the selection operations built on
// it. Every caret change ends in the column normalizer, which keeps the caret off the second half of
// a double-byte character, out of a tab's fill and within the options' limits; the column a vertical
// move started from is kept, so moving on through shorter rows comes back to it.
#pragma once

#include <cstdint>

#include "editor/model/EditorInput.h"

namespace tesvarin {

class TEditModel;
class TEditorSelection;

class TCaretMover {
public:
  TCaretMover(TEditModel& Model, TEditorSelection& Selection) : FModel(Model), FSelection(Selection) {}
  TCaretMover(const TCaretMover&) = delete;
  TCaretMover& operator=(const TCaretMover&) = delete;

  // ---- Positions
  void SetRow(int Value);
  void SetCol(int Value);
  // A placed caret keeps no column from earlier vertical moves.
  void SetRowCol(int ARow, int ACol);
  // Another text is shown: no column is kept from the old one.
  void ForgetKeptColumn() { FHasKeptCol = false; }

  // Caret changes in a batch place the on-screen caret once, when the outer batch ends.
  void BeginBatch() { ++FBatch; }
  // True when this ended the outer batch.
  bool EndBatch() {
    if (FBatch > 0) --FBatch;
    return FBatch == 0;
  }
  [[nodiscard]] bool InBatch() const { return FBatch > 0; }

  // ---- Selection operations
  void CleanSelection();
  void SetSelStart(int64_t Offset);
  [[nodiscard]] int64_t GetSelStart() const;
  // Selects N bytes from the start of the current selection (or the caret), as a hit with AsHit.
  void SelectBytes(int64_t N, bool AsHit);
  void SelectAll();
  // Shows a hit of Length bytes at the selection's start as the model's hit style says.
  void ShowHit(int Length);
  // The length of the hit shown (0: none).
  [[nodiscard]] int HitLength() const { return FHitLength; }

  // ---- Keys: the arrows, Home, End, Page Up and Page Down, with Shift and Ctrl.
  void MoveByKey(uint16_t Key, TShiftState Shift, bool Repeat);

private:
  // After a change of Row or Col: RowChanged for vertical moves, Direction +1 or -1 horizontally.
  void NormalizeColumn(bool RowChanged, int Direction);
  // The caret to the start of the selection or hit, when there is one.
  void CaretToSelStart();
  void MoveVertical(int Delta, bool Ctrl, bool Repeat);
  void MovePage(bool Down, bool Repeat);
  void MoveLeft(bool Ctrl);
  void MoveRight(bool Ctrl);
  void MoveHomeEnd(bool End, bool Ctrl);
  void WordRight();
  void WordLeft();

  TEditModel& FModel;
  TEditorSelection& FSelection;
  int FKeptCol = 0;
  bool FHasKeptCol = false;
  int FBatch = 0;
  int FHitLength = 0;
};

}  // namespace tesvarin
