// The state the editor's parts share: the rows and Lines, the caret position, the settings objects,
// the colouring, colour and font, the flags, and the columns of the row looked at last. The parts
// take the model (and its signals) rather than the editor; the editor is built on it.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "editor/chars/ColumnMap.h"
#include "editor/model/EditorSignals.h"
#include "editor/settings/EditorCaret.h"
#include "editor/settings/EditorImagebar.h"
#include "editor/settings/EditorLeftbar.h"
#include "editor/settings/EditorMargin.h"
#include "editor/settings/EditorMarks.h"
#include "editor/settings/EditorRuler.h"
#include "editor/settings/EditorSpeed.h"
#include "editor/settings/EditorViewTypes.h"
#include "editor/text/EditorScreenStrings.h"
#include "editor/text/EditorStrings.h"
#include "editor/text/EditorView.h"
#include "platform/Platform.h"

namespace tesvarin {

class THighlighter;
class TEditorViewInfo;

enum TEditorSelState : uint8_t { selNone, selStarted, selSelected, selHit };

class TEditModel {
public:
  // Self is the editor as its row store sees it, Signals the editor as its parts reach it.
  TEditModel(IEditorWindow* Window, const TPlatform& Platform, const IEditorView& Self, IEditorSignals& Signals);
  ~TEditModel();
  TEditModel(const TEditModel&) = delete;
  TEditModel& operator=(const TEditModel&) = delete;

  [[nodiscard]] IEditorSignals& Signals() const { return FSignals; }
  [[nodiscard]] IEditorWindow* Window() const { return FWindow; }
  [[nodiscard]] const TPlatform& Platform() const { return FPlatform; }

  // ---- Rows and Lines
  [[nodiscard]] TEditorScreenStrings& ListRows() { return *FRows; }
  [[nodiscard]] const TEditorScreenStrings& ListRows() const { return *FRows; }
  [[nodiscard]] TEditorStrings& Lines() { return *FLines; }
  [[nodiscard]] const TEditorStrings& Lines() const { return *FLines; }
  [[nodiscard]] int RowCount() const { return FRows->Count(); }
  [[nodiscard]] bool WordWrap() const { return FRows->WordWrap(); }
  void SetWordWrap(bool Value) { FRows->SetWordWrap(Value); }
  [[nodiscard]] TEditorWrapOption& WrapOption() { return FRows->WrapOption(); }
  [[nodiscard]] std::string_view RowView(int ARow) const {
    return ARow < 0 || ARow >= FRows->Count() ? std::string_view() : FRows->RowView(ARow);
  }
  // The bookmarks of a row (bit N: mark N), and the first row carrying Mark (-1 when none does).
  [[nodiscard]] uint16_t RowMarksOf(int ARow) const;
  [[nodiscard]] int FirstRowWithMark(int Mark) const;
  // Bytes of rows First .. Last - 1, two per line break, and with EofByte one for a last row
  // without one. Offsets between rows are asked as such sums, not as two offsets from the start.
  [[nodiscard]] int64_t SumRows(int First, int Last, bool EofByte) const;
  // Offset of a row's start: the lengths of the rows above, two per line break.
  [[nodiscard]] int64_t RowOffset(int ARow) const { return SumRows(0, ARow, false); }
  // Offset of the text's end: row lengths, two per line break, one past a last row without one.
  [[nodiscard]] int64_t TextLength() const { return SumRows(0, RowCount(), true); }

  // ---- Columns (the row looked at last is cached: caret rules ask for it many times)
  [[nodiscard]] TColumnSettings ColumnSettings() const { return FRows->ColumnSettings(); }
  [[nodiscard]] TColumnMap RowColumnMap(int ARow) const { return CachedColumnMap(ARow); }
  // Display width of a row (0 for the row after the last).
  [[nodiscard]] int RowWidth(int ARow) const;
  // A row's columns, valid until the next call for another row or a change of text or settings.
  [[nodiscard]] const TRowColumns& CachedColumns(int ARow) const;

  // ---- Caret position
  [[nodiscard]] int Row() const { return FRow; }
  [[nodiscard]] int Col() const { return FCol; }
  // Only stores the position: TCaretMover normalizes it and the on-screen caret follows.
  void StoreRowCol(int ARow, int ACol) {
    FRow = ARow;
    FCol = ACol;
  }
  // The caret's byte index in its row (Col less the tab fill up to it), which may lie past the end.
  [[nodiscard]] int CaretByte() const;

  // ---- Settings objects
  [[nodiscard]] TEditorCaret& Caret() { return FCaret; }
  [[nodiscard]] const TEditorCaret& Caret() const { return FCaret; }
  void SetCaret(const TEditorCaret& Value) { FCaret.Assign(Value); }
  [[nodiscard]] TEditorMargin& Margin() { return FMargin; }
  [[nodiscard]] const TEditorMargin& Margin() const { return FMargin; }
  void SetMargin(const TEditorMargin& Value) { FMargin.Assign(Value); }
  [[nodiscard]] TEditorMarks& Marks() { return FMarks; }
  [[nodiscard]] const TEditorMarks& Marks() const { return FMarks; }
  void SetMarks(const TEditorMarks& Value) { FMarks.Assign(Value); }
  [[nodiscard]] TEditorRuler& Ruler() { return FRuler; }
  [[nodiscard]] const TEditorRuler& Ruler() const { return FRuler; }
  void SetRuler(const TEditorRuler& Value) { FRuler.Assign(Value); }
  [[nodiscard]] TEditorLeftbar& Leftbar() { return FLeftbar; }
  [[nodiscard]] const TEditorLeftbar& Leftbar() const { return FLeftbar; }
  void SetLeftbar(const TEditorLeftbar& Value) { FLeftbar.Assign(Value); }
  [[nodiscard]] TEditorImagebar& Imagebar() { return FImagebar; }
  [[nodiscard]] const TEditorImagebar& Imagebar() const { return FImagebar; }
  void SetImagebar(const TEditorImagebar& Value) { FImagebar.Assign(Value); }
  [[nodiscard]] TEditorSpeed& Speed() { return FSpeed; }
  [[nodiscard]] const TEditorSpeed& Speed() const { return FSpeed; }
  [[nodiscard]] TEditorViewInfo& View() { return *FView; }
  [[nodiscard]] const TEditorViewInfo& View() const { return *FView; }

  // ---- Colouring, colour and font
  // External colouring scheme; null: the View scheme colours the text.
  [[nodiscard]] THighlighter* Highlighter() const { return FHighlighter; }
  // The scheme that colours the text now: Highlighter, else View's own.
  [[nodiscard]] THighlighter& ActiveHighlighter() const;
  [[nodiscard]] TEditorHitStyle HitStyle() const { return FHitStyle; }
  [[nodiscard]] TScrollStyle ScrollBars() const { return FScrollBars; }
  [[nodiscard]] TColor Color() const { return FColor; }
  [[nodiscard]] const TFontSpec& Font() const { return FFont; }
  // Italic glyphs overhang their cells, so every token is drawn after the row is filled.
  [[nodiscard]] bool ItalicMode() const { return FItalicMode; }
  // The image bar's pictures; an index without an image here takes the built-in one.
  [[nodiscard]] const std::vector<TImage>& ImageDigits() const { return FImageDigits; }
  [[nodiscard]] const std::vector<TImage>& ImageMarks() const { return FImageMarks; }

  // ---- Flags
  void SetDelimiters(const TByteSet& Value) {
    FDelimiters = Value;
    ++FDelimitersVersion;
  }
  [[nodiscard]] bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool Value) { FReadOnly = Value; }
  [[nodiscard]] bool WantTabs() const { return FWantTabs; }
  void SetWantTabs(bool Value) { FWantTabs = Value; }
  [[nodiscard]] bool WantReturns() const { return FWantReturns; }
  void SetWantReturns(bool Value) { FWantReturns = Value; }
  [[nodiscard]] bool Modified() const { return FModified; }
  void SetModified(bool Value) { FModified = Value; }
  [[nodiscard]] bool Loading() const { return FLoading; }
  [[nodiscard]] bool Destroying() const { return FDestroying; }
  [[nodiscard]] bool Focused() const { return FWindow != nullptr && FWindow->Focused(); }
  // The left button went down in the text and is not yet up: a caret it places past a row's end
  // keeps that row's end as its column.
  [[nodiscard]] bool MouseLeftDown() const { return FMouseLeftDown; }
  void SetMouseLeftDown(bool Value) { FMouseLeftDown = Value; }

protected:
  // Fields the editor's own methods keep up to date; the parts read them through the accessors.
  IEditorWindow* FWindow;
  TPlatform FPlatform;
  std::shared_ptr<TEditorScreenStrings> FRows;
  std::unique_ptr<TEditorStrings> FLines;
  int FRow = 0;
  int FCol = 0;
  TEditorCaret FCaret;
  TEditorMargin FMargin;
  TEditorMarks FMarks;
  TEditorRuler FRuler;
  TEditorLeftbar FLeftbar;
  TEditorImagebar FImagebar;
  TEditorSpeed FSpeed;
  std::unique_ptr<TEditorViewInfo> FView;
  THighlighter* FHighlighter = nullptr;
  TEditorHitStyle FHitStyle = hsSelect;
  TScrollStyle FScrollBars = ssNone;
  TColor FColor = clWhite;
  TFontSpec FFont{"FixedSys", 9, clBlack, {}};
  bool FItalicMode = false;
  std::vector<TImage> FImageDigits;
  std::vector<TImage> FImageMarks;
  TByteSet FDelimiters;
  uint64_t FDelimitersVersion = 0;
  bool FReadOnly = false;
  bool FWantTabs = true;
  bool FWantReturns = true;
  bool FModified = false;
  bool FLoading = false;
  bool FDestroying = false;
  bool FMouseLeftDown = false;

private:
  // The columns of the row looked at last.
  struct TColumnMapCache {
    int Row = -1;
    uint64_t TextVersion = 0;
    const TEditorScreenStrings* Rows = nullptr;
    TColumnSettings Settings;
    // Taken from this editor as the active one, with these delimiters: then checked without a copy.
    bool OwnSettings = false;
    uint64_t DelimitersVersion = 0;
    TRowColumns Columns;
  };
  [[nodiscard]] const TColumnMap& CachedColumnMap(int ARow) const;
  [[nodiscard]] bool CachedSettingsHold() const;
  mutable TColumnMapCache FMapCache;
  const IEditorView& FSelf;
  IEditorSignals& FSignals;
};

}  // namespace tesvarin
