#include "editor/settings/EditorMargin.h"

#include "editor/settings/NotifyField.h"

namespace tesvarin {

void TEditorMargin::Assign(const TPersistent& Source) {
  const auto* S = dynamic_cast<const TEditorMargin*>(&Source);
  if (S == nullptr) {
    TNotifyPersistent::Assign(Source);
    return;
  }
  BeginUpdate();
  SetCharacter(S->FCharacter);
  SetLeft(S->FLeft);
  SetLine(S->FLine);
  SetTop(S->FTop);
  SetUnderlineAllowance(S->FUnderlineAllowance);
  EndUpdate();
}

void TEditorMargin::SetCharacter(int Value) {
  SetNotifyField(*this, FCharacter, ClampSetting(Value, MinMargin, MaxMargin));
}

void TEditorMargin::SetLeft(int Value) { SetNotifyField(*this, FLeft, ClampSetting(Value, MinMargin, MaxMargin)); }

void TEditorMargin::SetLine(int Value) { SetNotifyField(*this, FLine, ClampSetting(Value, MinMargin, MaxMargin)); }

void TEditorMargin::SetTop(int Value) { SetNotifyField(*this, FTop, ClampSetting(Value, MinMargin, MaxMargin)); }

void TEditorMargin::SetUnderlineAllowance(int Value) { FUnderlineAllowance = ClampSetting(Value, 0, 1); }

}  // namespace tesvarin
