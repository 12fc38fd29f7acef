// TEditor's life cycle, properties and the view interface the row store talks to.
#include "editor/Editor.h"

#include <algorithm>

#include "editor/view/EditorBars.h"
#include "editor/EditorContextMenu.h"
#include "editor/view/EditorScroll.h"
#include "editor/caret/EditorSelection.h"
#include "editor/text/EditorUndo.h"
#include "editor/text/RowMarks.h"
#include "editor/settings/EditorViewInfo.h"
#include "highlighter/Highlighter.h"

namespace tesvarin {

TEditor::TEditor(IEditorWindow* Window, const TPlatform& Platform)
    : TEditModel(Window, Platform, *this, *this) {
  FSelection = std::make_unique<TEditorSelection>(*this);
  FScroll = std::make_unique<TEditorScroll>(*this);
  FCaretMover = std::make_unique<TCaretMover>(*this, *FSelection);
  FContextMenu = std::make_unique<TEditorContextMenu>(*this);
  FBars = std::make_unique<TEditorBars>(*this, *FScroll);
  FCaretDisplay = std::make_unique<TCaretDisplay>(*this, *FScroll, *FSelection, *FBars);
  FPaintPass = std::make_unique<TPaintPass>(*this, *FScroll, *FSelection, *FBars, *FCaretDisplay);
  FScrollCommands = std::make_unique<TScrollCommands>(*this, *FScroll, *FCaretDisplay);
  FEditCommands = std::make_unique<TEditCommands>(*this, *FSelection, *FCaretDisplay);
  FClipboard = std::make_unique<TEditorClipboard>(*this, *FSelection, *FEditCommands);
  FMouse = std::make_unique<TEditorMouse>(*this, *FSelection, *FScroll, *FCaretDisplay, *FClipboard);
  FRows->AttachEditor(*this);
  FLines = std::make_unique<TEditorStrings>(*FRows, this);
  WireSettings();
  UpdateItalicMode();
}

TEditor::~TEditor() {
  FDestroying = true;
  SetHighlighter(nullptr);
  FRows->DetachEditor(*this);
}

void TEditor::WireSettings() {
  const TNotifyEvent Handler = TNotifyEvent::Of<&TEditor::ViewChanged>(this);
  FCaret.OnChange = Handler;
  FMargin.OnChange = Handler;
  FMarks.OnChange = Handler;
  FRuler.OnChange = Handler;
  FLeftbar.OnChange = Handler;
  FImagebar.OnChange = Handler;
  FView->OnChange = Handler;
}

void TEditor::ShareRowsWith(TEditor& Other) {
  if (Other.FRows == FRows) return;
  CleanSelection();
  FRows->DetachEditor(*this);
  FRows = Other.FRows;
  FRows->AttachEditor(*this);
  FLines = std::make_unique<TEditorStrings>(*FRows, this);
  FRow = 0;
  FCol = 0;
  FCaretMover->ForgetKeptColumn();
  Refresh();
}

int TEditor::UndoListMax() const { return FRows->UndoObj().UndoListMax(); }
void TEditor::SetUndoListMax(int Value) { FRows->UndoObj().SetUndoListMax(Value); }

IRowStateProvider* TEditor::RowStateProvider() const { return &ActiveHighlighter(); }

void TEditor::SetHighlighter(THighlighter* Value) {
  if (Value == FHighlighter) return;
  const TNotifyEvent Handler = TNotifyEvent::Of<&TEditor::ViewChanged>(this);
  if (FHighlighter != nullptr) {
    FHighlighter->Notifier().Remove(Handler);
    FHighlighter->RemoveFreeNotification(this);
  }
  FHighlighter = Value;
  if (FDestroying) return;
  if (FHighlighter != nullptr) {
    FHighlighter->Notifier().Add(Handler);
    FHighlighter->FreeNotification(this);
  }
  FRows->RefreshAllRowStates();
  UpdateItalicMode();
  Invalidate();
}

void TEditor::Notification(TComponent* Component, TOperation Operation) {
  TComponent::Notification(Component, Operation);
  if (Operation != opRemove || Component != FHighlighter) return;
  FHighlighter = nullptr;
  if (FDestroying) return;
  FRows->RefreshAllRowStates();
  UpdateItalicMode();
  Invalidate();
}

const TStringList& TEditor::ReserveWordList() const { return FView->Highlighter().ReserveWordList(); }

void TEditor::SetReserveWordList(const TStringList& Value) {
  TStringList& Words = FView->Highlighter().ReserveWordList();
  if (Words.Text() == Value.Text()) return;
  // The scheme's own list notifies its Notifier, which reaches ViewChanged through View.
  Words.Assign(Value);
}

void TEditor::SetHitStyle(TEditorHitStyle Value) {
  if (Value == FHitStyle) return;
  if (Selected()) CleanSelection();
  FHitStyle = Value;
}

void TEditor::SetLoading(bool Value) {
  FLoading = Value;
  if (!Value) FModified = false;
}

// ---- IEditorView

void TEditor::SelectionChanged(bool Selected) {
  if (OnSelectionChange) OnSelectionChange(this, Selected);
}

void TEditor::TextChanged() {
  const TLastChange& Change = FRows->LastChange();
  if (!Change.Valid) return;
  FModified = true;
  if (Change.OldRowCount != Change.NewRowCount) {
    // Every row below moved: repaint to the bottom of the screen.
    RowCountChanged();
    InvalidateRows(Change.FirstRow, TopRow() + ScreenRows());
  } else {
    InvalidateRows(Change.FirstRow, std::max(Change.FirstRow + Change.NewRowCount - 1, Change.LastRefreshedRow));
  }
  if (OnChange) OnChange(this);
}

void TEditor::BeginLinesUpdate() {
  HideCaret();
  FCaretMover->BeginBatch();
}

void TEditor::EndLinesUpdate() {
  const bool Outer = FCaretMover->EndBatch();
  ShowCaret();
  if (Outer) UpdateCaret();
}

// ---- Caret and selection: TCaretMover moves the caret, TEditorSelection keeps the selection.

void TEditor::SetRow(int Value) { FCaretMover->SetRow(Value); }
void TEditor::SetCol(int Value) { FCaretMover->SetCol(Value); }
void TEditor::SetRowCol(int ARow, int ACol) { FCaretMover->SetRowCol(ARow, ACol); }
TEditorSelState TEditor::SelState() const { return FSelection->State(); }
bool TEditor::SelectionMode() const { return FSelection->BoxMode(); }

void TEditor::SetSelectionMode(bool Box) {
  if (Dragging() || Box == FSelection->BoxMode()) return;
  FSelection->SetBoxMode(Box);
  if (OnSelectionModeChange) OnSelectionModeChange(this);
}

void TEditor::CleanSelection() { FCaretMover->CleanSelection(); }
void TEditor::SetSelStart(int64_t Offset) { FCaretMover->SetSelStart(Offset); }
void TEditor::SetSelLength(int64_t Length) { FCaretMover->SelectBytes(Length, false); }
int64_t TEditor::GetSelStart() const { return FCaretMover->GetSelStart(); }
int64_t TEditor::GetSelLength() const { return FSelection->Length(); }
std::string TEditor::GetSelText() const { return FSelection->Text(); }
void TEditor::SelectAll() { FCaretMover->SelectAll(); }
void TEditor::ShowHit(int Length) { FCaretMover->ShowHit(Length); }

void TEditor::KeyDown(uint16_t Key, TShiftState Shift, bool Repeat) {
  if (HandleShortCut(Key, Shift)) return;
  FScrollCommands->SetKeyRepeating(Repeat);
  switch (Key) {
    case VK_DELETE:
      DeleteKey();
      return;
    case VK_ESCAPE:
      CancelDrag();
      return;
    case VK_CONTROL:
      DragShiftChanged(Shift);
      return;
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
    case VK_HOME:
    case VK_END:
    case VK_PRIOR:
    case VK_NEXT:
      FCaretMover->MoveByKey(Key, Shift, Repeat);
      return;
    default:
      return;
  }
}

void TEditor::KeyUp(uint16_t Key, TShiftState Shift) {
  // The drag pointer follows Ctrl at once, not only at the next mouse move.
  if (Key == VK_CONTROL) DragShiftChanged(Shift);
  if (!FScrollCommands->KeyRepeating()) return;
  // Scrolls during the repeat may have left the system caret where it was.
  FScrollCommands->SetKeyRepeating(false);
  UpdateCaret();
}

// ---- Editing: TEditCommands

void TEditor::KeyPress(std::string_view Chars, TShiftState Shift) { FEditCommands->KeyPress(Chars, Shift); }
void TEditor::ImeComposition(std::string_view Result) { FEditCommands->ImeComposition(Result); }
void TEditor::ImeCandidateWindow(bool Open) { FEditCommands->ImeCandidateWindow(Open); }
void TEditor::InsertText(std::string_view S) { FEditCommands->InsertText(S); }
void TEditor::DeleteSelection() { FEditCommands->DeleteSelection(); }
void TEditor::DeleteKey() { FEditCommands->DeleteKey(); }
void TEditor::Undo() { FEditCommands->Undo(); }
void TEditor::Redo() { FEditCommands->Redo(); }
bool TEditor::CanUndo() const { return FRows->UndoObj().CanUndo(); }
bool TEditor::CanRedo() const { return FRows->UndoObj().CanRedo(); }

// ---- Clipboard: TEditorClipboard

void TEditor::CopyToClipboard() { FClipboard->CopyToClipboard(); }
void TEditor::CutToClipboard() { FClipboard->CutToClipboard(); }
void TEditor::PasteFromClipboard() { FClipboard->PasteFromClipboard(); }
void TEditor::PasteText(std::string_view S) { FClipboard->PasteText(S); }
void TEditor::BoxPasteText(std::string_view S) { FClipboard->BoxPasteText(S); }

// ---- Mouse: TEditorMouse; the context menu is the editor's own face.

void TEditor::MouseDown(TEditorMouseButton Button, TShiftState Shift, int X, int Y) {
  FMouse->MouseDown(Button, Shift, X, Y);
}
void TEditor::MouseMove(TShiftState Shift, int X, int Y) { FMouse->MouseMove(Shift, X, Y); }
void TEditor::MouseUp(TEditorMouseButton Button, TShiftState Shift, int X, int Y) { FMouse->MouseUp(Button, Shift, X, Y); }
void TEditor::CancelDrag() { FMouse->CancelDrag(); }
void TEditor::DragShiftChanged(TShiftState Shift) { FMouse->DragShiftChanged(Shift); }

void TEditor::ContextPopup(int X, int Y) {
  FContextMenu->Update();
  if (FWindow != nullptr) FWindow->PopupContextMenu({X, Y});
}

bool TEditor::HandleShortCut(uint16_t Key, TShiftState Shift) {
  const TEditorMenuItem* Item = FContextMenu->FindShortCut(Key, Shift);
  if (Item == nullptr) return false;
  // States as of this key, not as of the last popup: a disabled command must not run. Only a
  // shortcut key pays for them, so typing stays cheap in a long text.
  FContextMenu->Update();
  return FContextMenu->Execute(*Item);
}

// ---- Scrolling: TScrollCommands moves the view, TEditorScroll keeps the metrics and positions.

int TEditor::TopRow() const { return FScroll->TopRow(); }
int TEditor::LeftCol() const { return FScroll->LeftCol(); }
int TEditor::ScreenRows() const { return FScroll->ScreenRows(); }
int TEditor::VisibleRows() const { return FScroll->VisibleRows(); }
void TEditor::SetTopRow(int ARow) { FScrollCommands->SetTopRow(ARow); }
void TEditor::SetLeftCol(int ACol) { FScrollCommands->SetLeftCol(ACol); }
void TEditor::VScroll(TScrollCode Code, int Pos) { FScrollCommands->VScroll(Code, Pos); }
void TEditor::HScroll(TScrollCode Code, int Pos) { FScrollCommands->HScroll(Code, Pos); }
void TEditor::MakeCaretVisible() { FScrollCommands->MakeCaretVisible(); }

void TEditor::TopRowChanged() {
  if (OnTopRowChange) OnTopRowChange(this);
}

void TEditor::LeftColChanged() {
  if (OnTopColChange) OnTopColChange(this);
}

// ---- The on-screen caret: TCaretDisplay draws it; a batch of caret changes places it once, at its end.

void TEditor::RecreateCaret() {
  if (FWindow == nullptr) return;
  FCaretDisplay->Recreate(FHitStyle == hsCaret && SelState() == selHit ? FCaretMover->HitLength() : 0);
  UpdateCaret();
}

void TEditor::UpdateCaret() {
  if (FCaretMover->InBatch() || FWindow == nullptr) return;
  if (!FCaretDisplay->Created()) {
    RecreateCaret();
    return;
  }
  FCaretDisplay->Place();
  if (Focused() && OnCaretMoved) OnCaretMoved(this);
}

// ---- Painting: TPaintPass paints and invalidates; the editor raises OnDrawLine after each row.

void TEditor::PaintRect(ICanvas& Canvas, const TRect& Area) { FPaintPass->Paint(Canvas, Area); }
void TEditor::InvalidateRows(int Row1, int Row2) { FPaintPass->InvalidateRows(Row1, Row2); }
void TEditor::InvalidateRow(int ARow) { FPaintPass->InvalidateRow(ARow); }
void TEditor::InvalidateLeftbarRows(int Row1, int Row2) { FPaintPass->InvalidateLeftbarRows(Row1, Row2); }
void TEditor::InvalidateImagebarRow(int ARow) { FPaintPass->InvalidateImagebarRow(ARow); }
void TEditor::Invalidate() { FPaintPass->Invalidate(); }

void TEditor::RowPainted(std::string_view LineStr, int X, int Y, int Index, const TRect& ARect, bool Selected) {
  DrawLine(LineStr, X, Y, Index, ARect, Selected);
}

void TEditor::DrawLine(std::string_view LineStr, int X, int Y, int Index, const TRect& ARect, bool Selected) {
  if (OnDrawLine) OnDrawLine(this, LineStr, X, Y, Index, ARect, Selected);
}

void TEditor::HideCaret() { FCaretDisplay->Hide(); }
void TEditor::ShowCaret() { FCaretDisplay->Show(); }
void TEditor::HideUnderline() { FCaretDisplay->HideUnderline(); }
void TEditor::ShowUnderline() { FCaretDisplay->ShowUnderline(); }
void TEditor::MarkRulerColumn(int ACol) { FCaretDisplay->MarkRulerColumn(ACol); }
void TEditor::UnmarkRulerColumn(int ACol) { FCaretDisplay->UnmarkRulerColumn(ACol); }

// ---- Row marks: TRowMarks keeps them in the row store; a row whose marks change repaints its strip.

namespace {
TRowMarks MarksOf(TEditor& E) {
  return TRowMarks(E.ListRows(), [&E](int ARow) { E.InvalidateImagebarRow(ARow); });
}
}  // namespace

void TEditor::SetRowMarks(int ARow, uint16_t Marks) { MarksOf(*this).Set(ARow, Marks); }
void TEditor::PutMark(int ARow, int Mark) { MarksOf(*this).Put(ARow, Mark); }
void TEditor::DeleteMark(int ARow, int Mark) { MarksOf(*this).Delete(ARow, Mark); }

void TEditor::GotoMark(int Mark) {
  const int Target = FirstRowWithMark(Mark);
  if (Target < 0) return;
  const int Visible = ScreenRows();
  const int Top = TopRow();
  if (Target < Top || Target >= Top + std::max(Visible, 1)) SetTopRow(std::max(0, Target - Visible / 2));
  SetRow(Target);
}

}  // namespace tesvarin
