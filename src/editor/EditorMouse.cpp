// TEditor's mouse: press, move and release, row selection in the left margin, selection drag,
// pointer zones, and the context menu's popup and shortcuts.
#include "editor/Editor.h"
#include "editor/EditorContextMenu.h"

namespace tesvarin {

// ---- Context menu

void TEditor::ContextPopup(int X, int Y) {
  FContextMenu->Update();
  if (FWindow != nullptr) FWindow->PopupContextMenu({X, Y});
}

bool TEditor::HandleShortCut(uint16_t Key, TShiftState Shift) {
  // States as of this key, not as of the last popup: a disabled command must not run.
  FContextMenu->Update();
  const TEditorMenuItem* Item = FContextMenu->FindShortCut(Key, Shift);
  return Item != nullptr && FContextMenu->Execute(*Item);
}

}  // namespace tesvarin
