#include "editor/settings/EditorCaret.h"

#include "editor/settings/NotifyField.h"

namespace tesvarin {

TEditorCaret::TEditorCaret() { FCursors.OnChange = ChangedProcEvent(); }

void TEditorCaret::Assign(const TPersistent& Source) {
  const auto* S = dynamic_cast<const TEditorCaret*>(&Source);
  if (S == nullptr) {
    TNotifyPersistent::Assign(Source);
    return;
  }
  BeginUpdate();
  FAutoCursor = S->FAutoCursor;
  FAutoIndent = S->FAutoIndent;
  FBackSpaceUnIndent = S->FBackSpaceUnIndent;
  FCursors.Assign(S->FCursors);
  FFreeCaret = S->FFreeCaret;
  FFreeRow = S->FFreeRow;
  FInTab = S->FInTab;
  FKeepCaret = S->FKeepCaret;
  FLockScroll = S->FLockScroll;
  FNextLine = S->FNextLine;
  FPrevSpaceIndent = S->FPrevSpaceIndent;
  FRowSelect = S->FRowSelect;
  FSelDragMode = S->FSelDragMode;
  FSelMove = S->FSelMove;
  FSoftTab = S->FSoftTab;
  SetStyle(S->FStyle);
  FTabIndent = S->FTabIndent;
  SetTabSpaceCount(S->FTabSpaceCount);
  EndUpdate();
}

void TEditorCaret::SetStyle(TEditorCaretStyle Value) { SetNotifyField(*this, FStyle, Value); }

void TEditorCaret::SetTabSpaceCount(int Value) {
  SetNotifyField(*this, FTabSpaceCount, ClampEvenSetting(Value, MinTabSpaceCount, MaxTabSpaceCount));
}

}  // namespace tesvarin
