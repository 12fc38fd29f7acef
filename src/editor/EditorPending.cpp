// Placeholders while the parts of TEditor are being built; each block goes when its part lands.
#include "editor/Editor.h"
#include "editor/EditorContextMenu.h"
#include "editor/EditorScroll.h"
#include "editor/EditorSelection.h"
#include "editor/EditorViewInfo.h"

namespace tesvarin {

// ---- mouse and menu block
void TEditor::MouseDown(TEditorMouseButton, TShiftState, int, int) {}
void TEditor::MouseMove(TShiftState, int, int) {}
void TEditor::MouseUp(TEditorMouseButton, TShiftState, int, int) {}
void TEditor::CancelDrag() {}
// ---- end of mouse and menu block

}  // namespace tesvarin
