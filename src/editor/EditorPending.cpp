// Placeholders while the parts of TEditor are being built; each block goes when its part lands.
#include "editor/Editor.h"
#include "editor/EditorContextMenu.h"
#include "editor/EditorScroll.h"
#include "editor/EditorSelection.h"
#include "editor/EditorViewInfo.h"

namespace tesvarin {

// ---- editing block
void TEditor::KeyPress(std::string_view, TShiftState) {}
void TEditor::ImeComposition(std::string_view) {}
void TEditor::ImeCandidateWindow(bool) {}
void TEditor::InsertText(std::string_view) {}
void TEditor::DeleteSelection() {}
void TEditor::DeleteKey() {}
void TEditor::Undo() {}
void TEditor::Redo() {}
bool TEditor::CanUndo() const { return false; }
bool TEditor::CanRedo() const { return false; }
void TEditor::CopyToClipboard() {}
void TEditor::CutToClipboard() {}
void TEditor::PasteFromClipboard() {}
void TEditor::PasteText(std::string_view) {}
void TEditor::BoxPasteText(std::string_view) {}
void TEditor::PutMark(int, int) {}
void TEditor::DeleteMark(int, int) {}
void TEditor::GotoMark(int) {}
uint16_t TEditor::RowMarksOf(int) const { return 0; }
void TEditor::SetRowMarks(int, uint16_t) {}
// ---- end of editing block

// ---- mouse and menu block
void TEditor::MouseDown(TEditorMouseButton, TShiftState, int, int) {}
void TEditor::MouseMove(TShiftState, int, int) {}
void TEditor::MouseUp(TEditorMouseButton, TShiftState, int, int) {}
void TEditor::CancelDrag() {}
// ---- end of mouse and menu block

}  // namespace tesvarin
