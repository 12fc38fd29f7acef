#include "editor/settings/EditorMarks.h"

#include "editor/settings/NotifyField.h"

namespace tesvarin {

void TEditorMark::Assign(const TPersistent& Source) {
  const auto* S = dynamic_cast<const TEditorMark*>(&Source);
  if (S == nullptr) {
    TNotifyPersistent::Assign(Source);
    return;
  }
  BeginUpdate();
  SetColor(S->FColor);
  SetVisible(S->FVisible);
  EndUpdate();
}

void TEditorMark::SetColor(TColor Value) { SetNotifyField(*this, FColor, Value); }

void TEditorMark::SetVisible(bool Value) { SetNotifyField(*this, FVisible, Value); }

TEditorMarks::TEditorMarks() {
  for (TEditorMark* Mark : {&FEofMark, &FRetMark, &FWrapMark, &FHideMark, &FUnderline}) {
    Mark->OnChange = ChangedProcEvent();
  }
}

void TEditorMarks::Assign(const TPersistent& Source) {
  const auto* S = dynamic_cast<const TEditorMarks*>(&Source);
  if (S == nullptr) {
    TNotifyPersistent::Assign(Source);
    return;
  }
  BeginUpdate();
  FEofMark.Assign(S->FEofMark);
  FRetMark.Assign(S->FRetMark);
  FWrapMark.Assign(S->FWrapMark);
  FHideMark.Assign(S->FHideMark);
  FUnderline.Assign(S->FUnderline);
  EndUpdate();
}

}  // namespace tesvarin
