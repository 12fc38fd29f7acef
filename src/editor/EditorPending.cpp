// Placeholders while the parts of TEditor are being built; each block goes when its part lands.
#include "editor/Editor.h"
#include "editor/EditorContextMenu.h"
#include "editor/EditorScroll.h"
#include "editor/EditorSelection.h"
#include "editor/EditorViewInfo.h"

namespace tesvarin {

// ---- caret and selection block
void TEditor::SetRow(int Value) { FRow = Value; }
void TEditor::SetCol(int Value) { FCol = Value; }
void TEditor::SetRowCol(int ARow, int ACol) { FRow = ARow; FCol = ACol; }
TEditorSelState TEditor::SelState() const { return FSelection->State(); }
bool TEditor::SelectionMode() const { return FSelection->BoxMode(); }
void TEditor::SetSelectionMode(bool) {}
void TEditor::SetSelStart(int64_t) {}
void TEditor::SetSelLength(int64_t) {}
int64_t TEditor::GetSelStart() const { return 0; }
int64_t TEditor::GetSelLength() const { return 0; }
std::string TEditor::GetSelText() const { return {}; }
void TEditor::SelectAll() {}
void TEditor::CleanSelection() {}
void TEditor::ShowHit(int) {}
void TEditor::KeyDown(uint16_t, TShiftState, bool) {}
void TEditor::KeyUp(uint16_t, TShiftState) {}
// ---- end of caret and selection block

// ---- editing block
void TEditor::DeleteSelection() {}
void TEditor::ReplaceSelection(std::string_view) {}
void TEditor::CopyToClipboard() {}
void TEditor::CutToClipboard() {}
void TEditor::PasteFromClipboard() {}
void TEditor::PasteText(std::string_view) {}
void TEditor::BoxPasteText(std::string_view) {}
// ---- end of editing block

// ---- scrolling and view block
TEditorViewInfo::TEditorViewInfo() : FHighlighter(THighlighter::New<TEditorHighlighter>()) {}
TEditorViewInfo::~TEditorViewInfo() = default;
void TEditor::SetView(const TEditorViewInfo&) {}
void TEditor::SetScrollBars(TScrollStyle Value) { FScrollBars = Value; }
void TEditor::SetColor(TColor Value) { FColor = Value; }
void TEditor::SetFont(const TFontSpec& Value) { FFont = Value; }
int TEditor::TopRow() const { return FScroll->TopRow(); }
void TEditor::SetTopRow(int) {}
int TEditor::LeftCol() const { return FScroll->LeftCol(); }
void TEditor::SetLeftCol(int) {}
void TEditor::VScroll(TScrollCode, int) {}
void TEditor::HScroll(TScrollCode, int) {}
void TEditor::MakeCaretVisible() {}
void TEditor::UpdateCaret() {}
void TEditor::RecreateCaret() {}
void TEditor::Resize() {}
void TEditor::ViewChanged(TObject*) {}
int TEditor::ScreenRows() const { return FScroll->VisibleRows(); }
void TEditor::HideCaret() {}
void TEditor::ShowCaret() {}
void TEditor::InvalidateRow(int) {}
void TEditor::Refresh() {}
void TEditor::InvalidateRows(int, int) {}
void TEditor::Invalidate() {}
// ---- end of scrolling and view block

// ---- mouse and menu block
void TEditor::MouseDown(TEditorMouseButton, TShiftState, int, int) {}
void TEditor::MouseMove(TShiftState, int, int) {}
void TEditor::MouseUp(TEditorMouseButton, TShiftState, int, int) {}
void TEditor::ContextPopup(int, int) {}
bool TEditor::HandleShortCut(uint16_t, TShiftState) { return false; }
void TEditor::CancelDrag() {}
// ---- end of mouse and menu block

}  // namespace tesvarin
