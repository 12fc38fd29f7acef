// The editor control as a headless model: everything it does except putting pixels on a screen.
// TEditor is a facade over the shared model (model/TEditModel) and the parts that take it: caret
// movement and the selection (caret/TCaretMover, TEditorSelection), scrolling (view/TEditorScroll,
// TScrollCommands), the on-screen caret and painting (view/TCaretDisplay, TPaintPass), editing, the
// clipboard and the mouse (edit/TEditCommands, TEditorClipboard, TEditorMouse). Its own methods are
// the public surface, mostly one-line forwards (Editor.cpp), the answer to a settings change
// (EditorSettingsChange.cpp) and what the parts ask of it (IEditorSignals). README.md beside this
// file says which folder holds what.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "editor/model/EditorInput.h"
#include "editor/model/EditModel.h"
#include "editor/caret/CaretMover.h"
#include "editor/edit/EditCommands.h"
#include "editor/edit/EditorClipboard.h"
#include "editor/edit/EditorMouse.h"
#include "editor/view/CaretDisplay.h"
#include "editor/view/PaintPass.h"
#include "editor/view/ScrollCommands.h"
#include "platform/Platform.h"
#include "support/Component.h"
#include "support/StringList.h"

namespace tesvarin {

class THighlighter;
class TEditorViewInfo;
class TEditorSelection;
class TEditorScroll;
class TEditorContextMenu;
class TEditorBars;

using TSelectionChangeEvent = std::function<void(TObject* Sender, bool Selected)>;
// After a row is painted: its display text (with the next row's bytes when it wraps on), the x of its
// column 0, its top, its index, the rectangle just painted and whether selection colours were used.
using TDrawLineEvent = std::function<void(TObject* Sender, std::string_view LineStr, int X, int Y, int Index,
                                          const TRect& ARect, bool Selected)>;


class TEditor : public TComponent, public IEditorView, protected IEditorSignals, public TEditModel {
public:
  // Window may be null: the editor then has no metrics and skips every window step. The platform's
  // clipboard and cursor table may be null too (clipboard commands and pointer shapes do nothing).
  TEditor(IEditorWindow* Window, const TPlatform& Platform);
  ~TEditor() override;
  TEditor(const TEditor&) = delete;
  TEditor& operator=(const TEditor&) = delete;

  // ---- Row store, Lines and sharing (Editor.cpp)
  // Shows Other's text in this editor too: both stay attached to one row store.
  void ShareRowsWith(TEditor& Other);
  [[nodiscard]] int UndoListMax() const;
  void SetUndoListMax(int Value);

  // ---- Settings objects (Editor.cpp, ViewChanged in EditorSettingsChange.cpp)
  // Copies, then scrolls the caret into view.
  void SetView(const TEditorViewInfo& Value);

  // External colouring scheme; null: the View scheme colours the text.
  void SetHighlighter(THighlighter* Value);
  void SetHitStyle(TEditorHitStyle Value);
  void SetScrollBars(TScrollStyle Value);
  [[nodiscard]] const TStringList& ReserveWordList() const;
  void SetReserveWordList(const TStringList& Value);
  void SetColor(TColor Value);
  void SetFont(const TFontSpec& Value);

  // ---- Caret and selection (TCaretMover; the selection model is TEditorSelection)
  void SetRow(int Value);
  void SetCol(int Value);
  void SetRowCol(int ARow, int ACol) override;
  [[nodiscard]] TEditorSelection& Selection() { return *FSelection; }
  [[nodiscard]] const TEditorSelection& Selection() const { return *FSelection; }
  [[nodiscard]] TEditorSelState SelState() const;
  [[nodiscard]] bool Selected() const { return SelState() != selNone; }
  [[nodiscard]] bool SelectionMode() const;  // box mode
  void SetSelectionMode(bool Box) override;
  void SetSelStart(int64_t Offset);
  void SetSelLength(int64_t Length);
  [[nodiscard]] int64_t GetSelStart() const;
  [[nodiscard]] int64_t GetSelLength() const;
  [[nodiscard]] std::string GetSelText() const;
  void SelectAll();
  void CleanSelection() override;
  void ShowHit(int Length);
  [[nodiscard]] int HitLength() const { return FCaretMover->HitLength(); }
  // Key down: movement keys, Delete, Escape, the context menu's shortcuts. Repeat: auto-repeat.
  void KeyDown(uint16_t Key, TShiftState Shift, bool Repeat = false);
  void KeyUp(uint16_t Key, TShiftState Shift);
  // A key is auto-repeating: placing the caret after a scroll may wait for its release.
  [[nodiscard]] bool KeyRepeating() const { return FScrollCommands->KeyRepeating(); }

  // ---- Editing (TEditCommands)
  // Character messages as queued: each byte is one message, so a lead byte pairs with the next.
  void KeyPress(std::string_view Chars, TShiftState Shift = {});
  void ImeComposition(std::string_view Result);
  void ImeCandidateWindow(bool Open);
  [[nodiscard]] bool CaretOnScreen() const { return FCaretDisplay->OnScreen(); }
  void InsertText(std::string_view S);
  void DeleteSelection();
  void DeleteKey();  // the Delete key, with or without Ctrl
  void Undo();
  void Redo();
  [[nodiscard]] bool CanUndo() const;
  [[nodiscard]] bool CanRedo() const;
  // Character messages still to drop after an input-method result was inserted whole.
  [[nodiscard]] int ImeSkip() const { return FEditCommands->ImeSkip(); }

  // ---- Clipboard (TEditorClipboard)
  void CopyToClipboard();
  void CutToClipboard();
  void PasteFromClipboard();
  void PasteText(std::string_view S);
  void BoxPasteText(std::string_view S);

  // ---- Row marks (Editor.cpp; the rules are TRowMarks')
  void PutMark(int ARow, int Mark);
  void DeleteMark(int ARow, int Mark);
  void GotoMark(int Mark);
  void SetRowMarks(int ARow, uint16_t Marks);

  // ---- Scrolling and metrics (TScrollCommands; the model is TEditorScroll)
  [[nodiscard]] TEditorScroll& Scroll() { return *FScroll; }
  [[nodiscard]] const TEditorScroll& Scroll() const { return *FScroll; }
  [[nodiscard]] int TopRow() const override;
  void SetTopRow(int ARow) override;
  [[nodiscard]] int LeftCol() const;
  void SetLeftCol(int ACol) override;
  void VScroll(TScrollCode Code, int Pos);
  void HScroll(TScrollCode Code, int Pos);
  void MakeCaretVisible() override;
  // Places the system caret (and the input method window) at the caret, fires OnCaretMoved.
  void UpdateCaret() override;
  // Rebuilds the caret's shape (style, overwrite, a hsCaret hit block) and places it.
  void RecreateCaret() override;
  void Resize();
  // The handler of every settings object and highlighter.
  void ViewChanged(TObject* Sender);
  // After rows were added or removed: the leftbar widens or narrows when its digit count changes,
  // and the scroll ranges follow the row count.
  void RowCountChanged();
  // The caret-row underline: hides nest, and the line is erased or drawn again only at the outer
  // level and only while nothing is selected.
  void HideUnderline();
  void ShowUnderline();
  [[nodiscard]] bool UnderlineHidden() const { return FCaretDisplay->UnderlineHidden(); }

  // ---- Painting (TPaintPass; rows are painted by TEditorPainter, the bars by TEditorBars)
  // Paints every part of the window that Area (client pixels) touches.
  void PaintRect(ICanvas& Canvas, const TRect& Area);
  // The image bar's pictures; an index without an image here takes the built-in one.
  void SetImageDigits(std::vector<TImage> Value);
  void SetImageMarks(std::vector<TImage> Value);
  // The ruler cell of a column shown inverted (the caret's column), or back to normal.
  void MarkRulerColumn(int ACol);
  void UnmarkRulerColumn(int ACol);
  [[nodiscard]] int MarkedRulerColumn() const { return FCaretDisplay->MarkedRulerColumn(); }
  // Repaints the leftbar of rows Row1 .. Row2 (either order) at once.
  void InvalidateLeftbarRows(int Row1, int Row2);
  // Repaints the image-bar strip of a row at once (its marks changed).
  void InvalidateImagebarRow(int ARow);
  TDrawLineEvent OnDrawLine;

  // ---- Mouse (TEditorMouse; the context menu in Editor.cpp)
  void MouseDown(TEditorMouseButton Button, TShiftState Shift, int X, int Y);
  void MouseMove(TShiftState Shift, int X, int Y);
  void MouseUp(TEditorMouseButton Button, TShiftState Shift, int X, int Y);
  [[nodiscard]] bool Dragging() const { return FMouse->Dragging(); }
  // The menu computed for this moment: captions, enabled and ticked states (EditorContextMenu).
  [[nodiscard]] TEditorContextMenu& ContextMenu() { return *FContextMenu; }
  void ContextPopup(int X, int Y);
  // A key that is a shortcut of the context menu runs its command; true when one did.
  bool HandleShortCut(uint16_t Key, TShiftState Shift);
  void CancelDrag();  // Escape during a selection drag
  // Ctrl pressed or released: a selection drag switches between its move and copy pointers.
  void DragShiftChanged(TShiftState Shift);

  // ---- Events
  TNotifyEvent OnChange;
  TSelectionChangeEvent OnSelectionChange;
  TNotifyEvent OnSelectionModeChange;
  TNotifyEvent OnCaretMoved;
  TNotifyEvent OnTopRowChange;
  TNotifyEvent OnTopColChange;

  // ---- Repainting (TPaintPass; the rows, columns and settings are TEditModel's)
  void InvalidateRows(int Row1, int Row2) override;
  void Invalidate();  // the whole window

  // ---- IEditorView (Editor.cpp)
  [[nodiscard]] int CaretRow() const override { return FRow; }
  [[nodiscard]] int CaretCol() const override { return FCol; }
  void SetCaretRowCol(int ARow, int ACol) override { SetRowCol(ARow, ACol); }
  [[nodiscard]] int ScreenRows() const override;
  void HideCaret() override;
  void ShowCaret() override;
  void InvalidateRow(int ARow) override;
  void TextChanged() override;
  void Refresh() override;
  void BeginLinesUpdate() override;
  void EndLinesUpdate() override;
  [[nodiscard]] int TabSpaceCount() const override { return FCaret.TabSpaceCount(); }
  [[nodiscard]] const TByteSet& Delimiters() const override { return FDelimiters; }
  [[nodiscard]] bool InitBracketsFull() const override { return FSpeed.InitBracketsFull(); }
  [[nodiscard]] bool Focused() const override { return TEditModel::Focused(); }
  [[nodiscard]] bool Loading() const override { return FLoading; }
  void SetLoading(bool Value);
  [[nodiscard]] bool Destroying() const override { return FDestroying; }
  [[nodiscard]] IRowStateProvider* RowStateProvider() const override;

protected:
  void Notification(TComponent* Component, TOperation Operation) override;
  // Called after each row (or selection span of a row) is painted; raises OnDrawLine.
  virtual void DrawLine(std::string_view LineStr, int X, int Y, int Index, const TRect& ARect, bool Selected);
  [[nodiscard]] const TPaintPass& PaintPass() const { return *FPaintPass; }

  // ---- IEditorSignals: what the parts ask of the editor
  void SelectionChanged(bool Selected) override;
  [[nodiscard]] int VisibleRows() const override;
  void TopRowChanged() override;
  void LeftColChanged() override;
  void RowPainted(std::string_view LineStr, int X, int Y, int Index, const TRect& ARect, bool Selected) override;

private:
  void WireSettings();
  // Painting state (EditorSettingsChange.cpp): italic glyphs overhang their cells.
  void UpdateItalicMode();
  // Images and text metrics changed: the ruler, corner and edge images are made again when next drawn.
  void BarsChanged();

  // The parts, each taking the model and the parts above it in this list; the editor forwards to them.
  std::unique_ptr<TEditorSelection> FSelection;
  std::unique_ptr<TEditorScroll> FScroll;
  std::unique_ptr<TCaretMover> FCaretMover;
  std::unique_ptr<TEditorContextMenu> FContextMenu;
  std::unique_ptr<TEditorBars> FBars;
  std::unique_ptr<TCaretDisplay> FCaretDisplay;
  std::unique_ptr<TPaintPass> FPaintPass;
  std::unique_ptr<TScrollCommands> FScrollCommands;
  std::unique_ptr<TEditCommands> FEditCommands;
  std::unique_ptr<TEditorClipboard> FClipboard;
  std::unique_ptr<TEditorMouse> FMouse;
};

}  // namespace tesvarin
