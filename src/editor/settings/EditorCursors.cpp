#include "editor/settings/EditorCursors.h"

#include "editor/settings/EditorResources.h"

namespace tesvarin {

namespace {

TCursor LoadedOr(int Slot, TCursor Fallback) { return Slot > 0 ? Slot : Fallback; }

}  // namespace

TEditorCursors::TEditorCursors()
    : FDragSelCopyCursor(LoadedOr(DragSelCopyCursorSlot(), crDrag)),
      FLeftMarginCursor(LoadedOr(RightArrowCursorSlot(), crArrow)) {}

void TEditorCursors::Assign(const TPersistent& Source) {
  const auto* S = dynamic_cast<const TEditorCursors*>(&Source);
  if (S == nullptr) {
    TNotifyPersistent::Assign(Source);
    return;
  }
  BeginUpdate();
  FDefaultCursor = S->FDefaultCursor;
  FDragSelCursor = S->FDragSelCursor;
  FDragSelCopyCursor = S->FDragSelCopyCursor;
  FInSelCursor = S->FInSelCursor;
  FLeftMarginCursor = S->FLeftMarginCursor;
  FTopMarginCursor = S->FTopMarginCursor;
  EndUpdate();
}

}  // namespace tesvarin
