#include "editor/settings/EditorRuler.h"

#include "editor/settings/NotifyField.h"

namespace tesvarin {

void TEditorRuler::Assign(const TPersistent& Source) {
  const auto* S = dynamic_cast<const TEditorRuler*>(&Source);
  if (S == nullptr) {
    TNotifyPersistent::Assign(Source);
    return;
  }
  BeginUpdate();
  SetBkColor(S->FBkColor);
  SetColor(S->FColor);
  SetEdge(S->FEdge);
  SetGaugeRange(S->FGaugeRange);
  SetMarkColor(S->FMarkColor);
  SetVisible(S->FVisible);
  EndUpdate();
}

void TEditorRuler::SetBkColor(TColor Value) { SetNotifyField(*this, FBkColor, Value); }

void TEditorRuler::SetColor(TColor Value) { SetNotifyField(*this, FColor, Value); }

void TEditorRuler::SetEdge(bool Value) { SetNotifyField(*this, FEdge, Value); }

void TEditorRuler::SetGaugeRange(int Value) {
  SetNotifyField(*this, FGaugeRange, ClampEvenSetting(Value, MinGaugeRange, MaxGaugeRange));
}

void TEditorRuler::SetMarkColor(TColor Value) { SetNotifyField(*this, FMarkColor, Value); }

void TEditorRuler::SetVisible(bool Value) { SetNotifyField(*this, FVisible, Value); }

}  // namespace tesvarin
