// The editing commands: typing, Enter, Backspace, Delete, Tab, input-method results, undo, and the
// change frame the clipboard's commands compose with. Every change composes the new text of the rows
// it touches, hands it to the row store's UpdateRows (which records undo and re-wraps) and puts the
// caret back by a byte offset counted from a row the change cannot move.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "editor/model/EditorInput.h"

namespace tesvarin {

class TCaretDisplay;
class TEditModel;
class TEditorSelection;
class TEditorStringList;

class TEditCommands {
public:
  TEditCommands(TEditModel& Model, TEditorSelection& Selection, TCaretDisplay& CaretDisplay)
      : FModel(Model), FSelection(Selection), FCaretDisplay(CaretDisplay) {}
  TEditCommands(const TEditCommands&) = delete;
  TEditCommands& operator=(const TEditCommands&) = delete;

  // Character messages as queued: each byte is one message, so a lead byte pairs with the next.
  void KeyPress(std::string_view Chars, TShiftState Shift);
  void ImeComposition(std::string_view Result);
  void ImeCandidateWindow(bool Open);
  // Character messages still to drop after an input-method result was inserted whole.
  [[nodiscard]] int ImeSkip() const { return FImeSkip; }
  void InsertText(std::string_view S);
  void DeleteSelection();
  void DeleteKey();
  void Undo();
  void Redo();

  // ---- The change frame: offsets are measured from FrameRow(ARow), a row the change cannot move.
  [[nodiscard]] bool EditingBlocked() const;
  [[nodiscard]] int FrameRow(int ARow) const;
  [[nodiscard]] int64_t FrameOffset(int First, int ARow, int Byte) const;
  // Rows A .. A+N-1 become Text through the row store, then the caret goes Offset bytes from First.
  void ApplyChange(int A, int N, std::string_view Text, int First, int64_t Offset);
  // The selected rows without their selected bytes (Data: the 1-based cut position); FirstRow and
  // RowsReplaced say which rows of the store they stand for. False without a selection.
  bool SelectionRemains(TEditorStringList& Rows, int& FirstRow, int& RowsReplaced) const;

private:
  // Runs Change as one change of many rows (the caret and, with Underline, the caret-row underline
  // hidden); they are shown again also when Change fails half way.
  template <class F>
  void InLinesUpdate(bool Underline, F&& Change);
  // The row's bytes followed by CR LF when it ends with one.
  [[nodiscard]] std::string RowWithBreak(int ARow, std::string_view Bytes) const;
  void DropHit();
  void BackspaceKey();
  void TabKey(TShiftState Shift);
  void EnterKey(TShiftState Shift);
  [[nodiscard]] int EnterIndentWidth() const;
  [[nodiscard]] std::string IndentString(int Width) const;
  [[nodiscard]] bool UnindentApplies(int Byte) const;
  void Unindent();
  void JoinWithRowAbove();
  void JoinWithNextRow(int Byte);
  // The selection's rows give way to their remaining text with S at the cut point.
  void ReplaceSelection(std::string_view S);
  // The caret to another column of its row (a column left of it, as Backspace and unindent move).
  void SetCol(int ACol);

  TEditModel& FModel;
  TEditorSelection& FSelection;
  TCaretDisplay& FCaretDisplay;
  int FImeSkip = 0;
  bool FImeOpen = false;
};

}  // namespace tesvarin
