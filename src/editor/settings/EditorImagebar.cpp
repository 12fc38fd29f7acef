#include "editor/settings/EditorImagebar.h"

#include "editor/settings/NotifyField.h"

namespace tesvarin {

void TEditorImagebar::Assign(const TPersistent& Source) {
  const auto* S = dynamic_cast<const TEditorImagebar*>(&Source);
  if (S == nullptr) {
    TNotifyPersistent::Assign(Source);
    return;
  }
  BeginUpdate();
  SetDigitWidth(S->FDigitWidth);
  SetLeftMargin(S->FLeftMargin);
  SetMarkWidth(S->FMarkWidth);
  SetRightMargin(S->FRightMargin);
  SetVisible(S->FVisible);
  EndUpdate();
}

void TEditorImagebar::SetDigitWidth(int Value) {
  SetNotifyField(*this, FDigitWidth, ClampSetting(Value, MinWidth, MaxWidth));
}

void TEditorImagebar::SetLeftMargin(int Value) {
  SetNotifyField(*this, FLeftMargin, ClampSetting(Value, MinWidth, MaxWidth));
}

void TEditorImagebar::SetMarkWidth(int Value) {
  SetNotifyField(*this, FMarkWidth, ClampSetting(Value, MinWidth, MaxWidth));
}

void TEditorImagebar::SetRightMargin(int Value) {
  SetNotifyField(*this, FRightMargin, ClampSetting(Value, MinWidth, MaxWidth));
}

void TEditorImagebar::SetVisible(bool Value) { SetNotifyField(*this, FVisible, Value); }

int TEditorImagebar::Width() const {
  return FVisible ? FLeftMargin + FDigitWidth + FMarkWidth + FRightMargin : 0;
}

}  // namespace tesvarin
