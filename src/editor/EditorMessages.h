// The edit-control messages the editor answers, so that clients written for the desktop's plain
// edit control can drive it. Offsets count bytes with two per line break; "lines" are display rows.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "editor/Editor.h"

namespace tesvarin {

// Bytes of the whole text: every row's bytes plus two per line break.
[[nodiscard]] int64_t EditorTextLength(const TEditor& Editor);

// What the editor wants from a dialog's keyboard handling; the desktop's values.
enum TDialogCode : uint32_t {
  DLGC_WANTARROWS = 0x0001,
  DLGC_WANTTAB = 0x0002,
  DLGC_WANTALLKEYS = 0x0004,
  DLGC_WANTCHARS = 0x0080,
};

struct TEditorSelRange {
  int64_t Start = 0;
  int64_t End = 0;  // exclusive
};

class TEditorMessages {
public:
  explicit TEditorMessages(TEditor& Editor) : FEditor(Editor) {}

  [[nodiscard]] TEditorSelRange GetSel() const;
  // Start 0 and End -1 select all; a negative Start drops the selection; a negative End otherwise
  // reaches the end of the text; else the smaller value starts and the difference is the length.
  void SetSel(int64_t Start, int64_t End);
  bool ReplaceSel(std::string_view Text);

  [[nodiscard]] bool CanUndo() const;
  bool Undo();
  void EmptyUndoBuffer();
  [[nodiscard]] bool GetModify() const { return FEditor.Modified(); }
  void SetModify(bool Value);
  void SetReadOnly(bool Value) { FEditor.SetReadOnly(Value); }

  [[nodiscard]] int GetLineCount() const { return FEditor.RowCount(); }
  [[nodiscard]] int GetFirstVisibleLine() const { return FEditor.TopRow(); }
  // Moves the view so that the caret stands a third of the way into it.
  void ScrollCaret();

  void Cut();
  void Copy();
  void Paste() { FEditor.PasteFromClipboard(); }
  void Clear() { FEditor.DeleteSelection(); }

  bool SetText(std::string_view Text);
  // Copies at most Buffer.size() - 1 bytes and a terminating zero; the count copied.
  int GetText(std::span<char> Buffer) const;
  [[nodiscard]] int64_t GetTextLength() const { return EditorTextLength(FEditor); }
  [[nodiscard]] uint32_t GetDlgCode() const;

  // The row holding Offset; -1: the selection's start row, or the caret row.
  [[nodiscard]] int LineFromChar(int64_t Offset) const;
  // The offset of a row's start; -1: the caret row. -1 for a row past the end.
  [[nodiscard]] int64_t LineIndex(int Row) const;
  // The length of the row holding Offset; -1: the caret row's, or with a selection the bytes of
  // its end row that are not selected.
  [[nodiscard]] int LineLength(int64_t Offset) const;
  // Copies a row into Buffer, whose first two bytes (little-endian) give how many bytes it takes;
  // no terminating zero. The count copied.
  int GetLine(int Row, std::span<char> Buffer) const;
  // Low word: the text offset nearest a client point; high word: its row. -1 outside the client area.
  [[nodiscard]] int32_t CharFromPos(int X, int Y) const;

private:
  [[nodiscard]] int RowOfOffset(int64_t Offset) const;
  TEditor& FEditor;
};

}  // namespace tesvarin
