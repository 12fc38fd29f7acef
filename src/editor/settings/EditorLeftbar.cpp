#include "editor/settings/EditorLeftbar.h"

#include "editor/settings/NotifyField.h"

namespace tesvarin {

void TEditorLeftbar::Assign(const TPersistent& Source) {
  const auto* S = dynamic_cast<const TEditorLeftbar*>(&Source);
  if (S == nullptr) {
    TNotifyPersistent::Assign(Source);
    return;
  }
  BeginUpdate();
  SetBkColor(S->FBkColor);
  SetColor(S->FColor);
  SetColumn(S->FColumn);
  SetEdge(S->FEdge);
  SetLeftMargin(S->FLeftMargin);
  SetRightMargin(S->FRightMargin);
  SetShowNumber(S->FShowNumber);
  SetShowNumberMode(S->FShowNumberMode);
  SetVisible(S->FVisible);
  SetZeroBase(S->FZeroBase);
  SetZeroLead(S->FZeroLead);
  EndUpdate();
}

void TEditorLeftbar::SetBkColor(TColor Value) { SetNotifyField(*this, FBkColor, Value); }

void TEditorLeftbar::SetColor(TColor Value) { SetNotifyField(*this, FColor, Value); }

void TEditorLeftbar::SetColumn(int Value) {
  SetNotifyField(*this, FColumn, ClampSetting(Value, MinColumn, MaxColumn));
}

void TEditorLeftbar::SetEdge(bool Value) { SetNotifyField(*this, FEdge, Value); }

void TEditorLeftbar::SetLeftMargin(int Value) {
  SetNotifyField(*this, FLeftMargin, ClampSetting(Value, MinMargin, MaxMargin));
}

void TEditorLeftbar::SetRightMargin(int Value) {
  SetNotifyField(*this, FRightMargin, ClampSetting(Value, MinMargin, MaxMargin));
}

void TEditorLeftbar::SetShowNumber(bool Value) { SetNotifyField(*this, FShowNumber, Value); }

void TEditorLeftbar::SetShowNumberMode(TEditorShowNumberMode Value) { SetNotifyField(*this, FShowNumberMode, Value); }

void TEditorLeftbar::SetVisible(bool Value) { SetNotifyField(*this, FVisible, Value); }

void TEditorLeftbar::SetZeroBase(bool Value) { SetNotifyField(*this, FZeroBase, Value); }

void TEditorLeftbar::SetZeroLead(bool Value) { SetNotifyField(*this, FZeroLead, Value); }

}  // namespace tesvarin
