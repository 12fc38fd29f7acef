#include "editor/settings/EditorSpeed.h"

#include "editor/settings/NotifyField.h"

namespace tesvarin {

void TEditorSpeed::Assign(const TPersistent& Source) {
  const auto* S = dynamic_cast<const TEditorSpeed*>(&Source);
  if (S == nullptr) {
    TPersistent::Assign(Source);
    return;
  }
  FCaretVerticalAc = S->FCaretVerticalAc;
  FInitBracketsFull = S->FInitBracketsFull;
  FPageVerticalRange = S->FPageVerticalRange;
  FPageVerticalRangeAc = S->FPageVerticalRangeAc;
}

void TEditorSpeed::SetCaretVerticalAc(TEditorSpeedRange Value) {
  FCaretVerticalAc = ClampSetting(Value, MinSpeedRange, MaxSpeedRange);
}

void TEditorSpeed::SetPageVerticalRange(TEditorSpeedRange Value) {
  FPageVerticalRange = ClampSetting(Value, MinSpeedRange, MaxSpeedRange);
}

void TEditorSpeed::SetPageVerticalRangeAc(TEditorSpeedRange Value) {
  FPageVerticalRangeAc = ClampSetting(Value, MinSpeedRange, MaxSpeedRange);
}

}  // namespace tesvarin
