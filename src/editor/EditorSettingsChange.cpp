// TEditor's answer to a change of a settings object, the scheme, the scroll bars, colour, font or size:
// metrics, scroll ranges, bars and caret follow. Every window step is skipped while there is no window.
#include "editor/Editor.h"
#include "editor/settings/EditorViewInfo.h"
#include "editor/view/EditorBars.h"
#include "editor/view/EditorScroll.h"
#include "highlighter/Highlighter.h"

namespace tesvarin {

void TEditor::UpdateItalicMode() {
  FItalicMode = FFont.Style.Contains(fsItalic) || ActiveHighlighter().HasItalicStyle(ActiveHighlighter());
}

void TEditor::BarsChanged() {
  FBars->Changed();
  UpdateItalicMode();
}

void TEditor::SetImageDigits(std::vector<TImage> Value) {
  FImageDigits = std::move(Value);
  Invalidate();
}

void TEditor::SetImageMarks(std::vector<TImage> Value) {
  FImageMarks = std::move(Value);
  Invalidate();
}

namespace {

bool HasVertBar(TScrollStyle S) { return S == ssVertical || S == ssBoth; }
bool HasHorzBar(TScrollStyle S) { return S == ssHorizontal || S == ssBoth; }

}  // namespace

void TEditor::ViewChanged(TObject* Sender) {
  if (FDestroying) return;
  if (Sender == &FMarks) {
    FMargin.SetUnderlineAllowance(FMarks.Underline().Visible() ? 1 : 0);
  } else if (Sender == FView.get() || dynamic_cast<THighlighter*>(Sender) != nullptr) {
    FRows->RefreshAllRowStates();
  }
  BarsChanged();
  if (FWindow == nullptr) return;
  FScroll->CalcMetrics();
  FScroll->UpdateScrollRanges();
  Invalidate();
  MakeCaretVisible();
  if (Sender == &FCaret) {
    RecreateCaret();
  } else {
    UpdateCaret();
  }
}

void TEditor::SetView(const TEditorViewInfo& Value) {
  FView->Assign(Value);
  MakeCaretVisible();
  UpdateCaret();
}

void TEditor::SetScrollBars(TScrollStyle Value) {
  if (Value == FScrollBars) return;
  FScrollBars = Value;
  if (FWindow == nullptr) return;
  FWindow->ShowScrollBars(HasHorzBar(Value), HasVertBar(Value));
  FScroll->CalcMetrics();
  FScroll->UpdateScrollRanges();
}

void TEditor::SetColor(TColor Value) {
  if (Value == FColor) return;
  FColor = Value;
  FBars->Changed();
  Invalidate();
}

void TEditor::SetFont(const TFontSpec& Value) {
  if (Value == FFont) return;
  // Back to the left edge first, while the old column width still says where that is.
  if (LeftCol() > 0) {
    SetRowCol(FRow, 0);
    MakeCaretVisible();
  }
  FFont = Value;
  BarsChanged();
  if (FWindow == nullptr) return;
  FScroll->CalcMetrics();
  FScroll->UpdateScrollRanges();
  Invalidate();
  RecreateCaret();
}

void TEditor::Resize() {
  if (FWindow == nullptr) return;
  FScroll->CalcMetrics();
  FScroll->UpdateScrollRanges();
  Invalidate();
  UpdateCaret();
}

void TEditor::Refresh() {
  FScroll->CalcMetrics();
  FScroll->UpdateScrollRanges();
  Invalidate();
  UpdateCaret();
}

void TEditor::RowCountChanged() {
  if (FScroll->CalcLeftbarDigits() != FScroll->LeftbarDigits() && FWindow != nullptr) {
    FScroll->CalcMetrics();
    Invalidate();
  }
  FScroll->UpdateScrollRanges();
}

}  // namespace tesvarin
