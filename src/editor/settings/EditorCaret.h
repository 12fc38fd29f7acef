// The editor's caret and editing options, and the pointer shapes that go with them.
#pragma once

#include <cstdint>

#include "editor/settings/EditorCursors.h"
#include "support/NotifyClasses.h"

namespace tesvarin {

enum TDragMode : uint8_t { dmManual, dmAutomatic };
enum TEditorCaretStyle : uint8_t { csDefault, csBrief };

// Only the caret's shape (Style) and the tab width (TabSpaceCount) change what is drawn, so only
// they notify; the other options are read when a key or the mouse acts and are plain fields.
class TEditorCaret : public TNotifyPersistent {
public:
  static constexpr int MinTabSpaceCount = 2;
  static constexpr int MaxTabSpaceCount = 8;

  TEditorCaret();

  // Copies every option and the cursors; one notification.
  void Assign(const TPersistent& Source) override;

  [[nodiscard]] bool AutoCursor() const { return FAutoCursor; }
  void SetAutoCursor(bool Value) { FAutoCursor = Value; }
  [[nodiscard]] bool AutoIndent() const { return FAutoIndent; }
  void SetAutoIndent(bool Value) { FAutoIndent = Value; }
  [[nodiscard]] bool BackSpaceUnIndent() const { return FBackSpaceUnIndent; }
  void SetBackSpaceUnIndent(bool Value) { FBackSpaceUnIndent = Value; }
  [[nodiscard]] TEditorCursors& Cursors() { return FCursors; }
  [[nodiscard]] const TEditorCursors& Cursors() const { return FCursors; }
  void SetCursors(const TEditorCursors& Value) { FCursors.Assign(Value); }
  [[nodiscard]] bool FreeCaret() const { return FFreeCaret; }
  void SetFreeCaret(bool Value) { FFreeCaret = Value; }
  [[nodiscard]] bool FreeRow() const { return FFreeRow; }
  void SetFreeRow(bool Value) { FFreeRow = Value; }
  [[nodiscard]] bool InTab() const { return FInTab; }
  void SetInTab(bool Value) { FInTab = Value; }
  [[nodiscard]] bool KeepCaret() const { return FKeepCaret; }
  void SetKeepCaret(bool Value) { FKeepCaret = Value; }
  [[nodiscard]] bool LockScroll() const { return FLockScroll; }
  void SetLockScroll(bool Value) { FLockScroll = Value; }
  [[nodiscard]] bool NextLine() const { return FNextLine; }
  void SetNextLine(bool Value) { FNextLine = Value; }
  [[nodiscard]] bool PrevSpaceIndent() const { return FPrevSpaceIndent; }
  void SetPrevSpaceIndent(bool Value) { FPrevSpaceIndent = Value; }
  [[nodiscard]] bool RowSelect() const { return FRowSelect; }
  void SetRowSelect(bool Value) { FRowSelect = Value; }
  [[nodiscard]] TDragMode SelDragMode() const { return FSelDragMode; }
  void SetSelDragMode(TDragMode Value) { FSelDragMode = Value; }
  [[nodiscard]] bool SelMove() const { return FSelMove; }
  void SetSelMove(bool Value) { FSelMove = Value; }
  [[nodiscard]] bool SoftTab() const { return FSoftTab; }
  void SetSoftTab(bool Value) { FSoftTab = Value; }
  [[nodiscard]] TEditorCaretStyle Style() const { return FStyle; }
  void SetStyle(TEditorCaretStyle Value);
  [[nodiscard]] bool TabIndent() const { return FTabIndent; }
  void SetTabIndent(bool Value) { FTabIndent = Value; }
  // Tab stops are 2, 4, 6 or 8 columns: the value is clamped to 2..8 and an odd one rounded down.
  [[nodiscard]] int TabSpaceCount() const { return FTabSpaceCount; }
  void SetTabSpaceCount(int Value);

private:
  bool FAutoCursor = true;
  bool FAutoIndent = true;
  bool FBackSpaceUnIndent = true;
  TEditorCursors FCursors;
  bool FFreeCaret = true;
  bool FFreeRow = false;
  bool FInTab = false;
  bool FKeepCaret = false;
  bool FLockScroll = false;
  bool FNextLine = false;
  bool FPrevSpaceIndent = false;
  bool FRowSelect = true;
  TDragMode FSelDragMode = dmAutomatic;
  bool FSelMove = true;
  bool FSoftTab = false;
  TEditorCaretStyle FStyle = csDefault;
  bool FTabIndent = false;
  int FTabSpaceCount = 8;  // invariant: even, 2..8
};

}  // namespace tesvarin
