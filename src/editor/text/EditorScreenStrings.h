// The editor's row store: display rows with their attributes, the editors that show them, word wrap,
// row marks, colouring states and the single primitive every text change goes through.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "editor/chars/ColumnMap.h"
#include "editor/text/EditorView.h"
#include "editor/text/HugePages.h"
#include "editor/text/LineScan.h"
#include "editor/text/RowAttrStrings.h"
#include "editor/text/WrapOption.h"

namespace tesvarin {

class TEditorUndoObj;

// The last UpdateRows call, valid until the outer update bracket closes.
struct TLastChange {
  int FirstRow = 0;
  int OldRowCount = 0;
  int NewRowCount = 0;
  int LastRefreshedRow = 0;
  bool Valid = false;
};

// The joined text of some rows, how many rows it came from and the attribute of the last (3: none).
struct TLineTextResult {
  TBigString Text;  // big when it is a whole text
  int RowCount = 0;
  int LastAttribute = 3;
};

inline constexpr int NoRowAttribute = 3;

class TEditorScreenStrings : public TRowAttributeStringList {
public:
  TEditorScreenStrings();
  ~TEditorScreenStrings() override;

  // The first attached editor is the owner; the focused one, else the first, is active.
  void AttachEditor(IEditorView& Editor);
  // True when no editor is left: the owner of the store then frees it.
  bool DetachEditor(IEditorView& Editor);
  [[nodiscard]] int EditorCount() const { return static_cast<int>(FEditors.size()); }
  [[nodiscard]] IEditorView* Editor(int Index) const;
  // Asked for on every column lookup: a lone editor is the active one without asking its window.
  [[nodiscard]] IEditorView* ActiveEditor() const { return FEditors.size() == 1 ? FEditors.front() : FocusedEditor(); }

  [[nodiscard]] bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool Value);
  [[nodiscard]] TEditorWrapOption& WrapOption() { return FWrapOption; }
  [[nodiscard]] int WrapByte() const { return FWrapOption.WrapByte(); }
  [[nodiscard]] TEditorUndoObj& UndoObj() { return *FUndo; }

  [[nodiscard]] uint16_t MarkSet() const { return FMarkSet; }
  void IncludeMarks(uint16_t Marks) { FMarkSet = static_cast<uint16_t>(FMarkSet | Marks); }
  void ExcludeMarks(uint16_t Marks) { FMarkSet = static_cast<uint16_t>(FMarkSet & ~Marks); }

  [[nodiscard]] const TLastChange& LastChange() const { return FLastChange; }
  void SetLastChange(int FirstRow, int OldRowCount, int NewRowCount, int LastRefreshedRow);
  // A load or a whole-text set is no edit: the editors must not take it for one (Modified, OnChange).
  void ForgetLastChange() { FLastChange = TLastChange{}; }

  // Replaces rows A .. A+N-1 by Text (its own line breaks); N may be 0 to insert. A range outside
  // the store, or a change at the place after a last row without line break, does nothing.
  void UpdateRows(int A, int N, std::string_view Text);
  // Removes N rows from A and returns the OR of their marks.
  uint16_t DeleteRows(int A, int N);
  // Puts the rows of NewRows in place of Old rows from A, carrying the row marks; NewRows is
  // emptied, its rows moved, not copied.
  void ReplaceRows(int A, int Old, TEditorStringList&& NewRows);
  // Count rows from Row (-1: to the end of that line), CR LF after each raCrlf row.
  [[nodiscard]] TLineTextResult LineText(int Row, int Count) const;
  // Rows From to Last joined so, into a string sized first: growing one of a big text step by step
  // would copy it many times over.
  template <class TString>
  [[nodiscard]] TString JoinedRows(int From, int Last) const {
    TString S;
    S.reserve(JoinedSize(From, Last));
    for (int I = From; I <= Last; ++I) {
      S.append(RowView(I));
      if (RowAttribute(I) == raCrlf) S.append("\r\n");
    }
    return S;
  }
  // The size of JoinedRows(From, Last).
  [[nodiscard]] size_t JoinedSize(int From, int Last) const {
    size_t Size = 0;
    for (int I = From; I <= Last; ++I) Size += RowView(I).size() + (RowAttribute(I) == raCrlf ? 2 : 0);
    return Size;
  }
  [[nodiscard]] int LineStartRow(int Row) const;
  [[nodiscard]] int LineEndRow(int Row) const;
  // Returns how many rows changed state; LastRefreshedRow() is the last one stored.
  int RefreshRowStates(int Row, bool Notify);
  void RefreshAllRowStates();
  [[nodiscard]] int LastRefreshedRow() const { return FLastRefreshedRow; }
  void Clear() override;

  [[nodiscard]] int RowToLine(int Row) const;
  // Lines, not rows: a wrapped line counts once.
  [[nodiscard]] int LineCount() const;
  // First row of Line (0 .. LineCount-1, which callers check).
  [[nodiscard]] int LineToRow(int Line) const;
  // Byte index within the line of Row and Col; -1 for a row outside 0 .. Count or a negative column.
  [[nodiscard]] int RowColToLinePos(int Row, int Col) const;
  // The highest row a caret may stand on: Count, or the last row when it has no line break.
  [[nodiscard]] int MaxCaretRow() const {
    const int N = Count();
    return N > 0 && RowAttribute(N - 1) == raEof ? N - 1 : N;
  }
  // The row and column reached by walking Offset bytes (line breaks two) from the start of Row.
  void OffsetToRowCol(int Row, int64_t Offset, int& ResultRow, int& ResultCol) const;

  [[nodiscard]] TColumnSettings ColumnSettings() const;
  void StrToRows(std::string_view Text, TEditorStringList& Rows) const;
  [[nodiscard]] int WrapCount(std::string_view Line) const;
  // Scroll ranges, caret and repaint of every editor.
  void RefreshEditors();
  // Caret row and top row of every editor back within the rows.
  void ClampEditors();
  void DropSelections();
  [[nodiscard]] bool Loading() const;

  // Replaces all rows by the lines of Size bytes of Block, which the store keeps; the rows view it.
  // A text not ending in a break gets a raEof last row; each line keeps the break it had. CheckRows
  // hears how many rows the text makes before their records are made, and may refuse by raising.
  // Block is taken only once the rows are made: should they fail, the caller still has it. Given
  // CtrlZTail, the text ends at its first Ctrl+Z, as a loaded file's does, and the bytes from that
  // Ctrl+Z go there.
  void SetRowsFromBlock(TTextBlock&& Block, size_t Size, const std::function<void(int64_t Rows)>& CheckRows = {},
                        std::string* CtrlZTail = nullptr);
  // The size of the text when every row views, as SetRowsFromBlock cut it, the one block kept, and
  // that block is the program's own (waited for): the text is then the block's first bytes, each line
  // with its own break, and can be kept without a copy (TakeSoleBlock). Nothing otherwise.
  [[nodiscard]] std::optional<size_t> BlockTextSize() const;
  // The text as the last SetRowsFromBlock cut it, when every line it cut ended in CR LF and no row
  // has changed since: the block's bytes are then the text with CR LF breaks, and a pass over them
  // needs no walk over the rows. Empty otherwise.
  [[nodiscard]] std::string_view TextAsCut() const {
    return TextVersion() == FCutCrLfVersion ? SoleBlock() : std::string_view();
  }

  // The breaks of the lines that end among N rows from Row, one TLineBreak byte each, in order.
  [[nodiscard]] std::string LineBreaksOf(int Row, int N) const;
  // The break a line made by splitting the line of Row takes: that line's own, else (a last line
  // without one) the break of the line before, else CR LF.
  [[nodiscard]] TLineBreak BreakAround(int Row) const;

protected:
  void Changed() override;

private:
  void NotifyEditors();
  void WrapOptionChanged();
  [[nodiscard]] IEditorView* FocusedEditor() const;
  void GiveMarks(uint16_t Marks, int Row);
  void DropEmptyLastLine(int First, TEditorStringList& Scratch) const;
  void RebuildRows(bool Wrap);
  void RebuildRowsAndViews(bool Wrap);
  void AdvanceState(IRowStateParser* Parser, int Row, TRowAttributeData& State) const;
  [[nodiscard]] bool StoredStateEquals(int Row, const TRowAttributeData& State) const;
  [[nodiscard]] std::unique_ptr<IRowStateParser> NewParser() const;
  void ComputeStates(IRowStateParser* Parser, int From, TRowAttributeData State, int Limit, bool Notify, int& Changed);
  void ClearStatesFrom(int Row);
  [[nodiscard]] int WalkStart(IRowStateParser* Parser, int Row, TRowAttributeData& State) const;
  [[nodiscard]] bool StartsLine(int Row) const { return Row == 0 || RowAttribute(Row - 1) != raWrapped; }
  // Rows in From .. To-1 that end a line.
  [[nodiscard]] int LineEndsBetween(int From, int To) const;
  void RememberLine(int Line, int Row) const;

  // The last line start looked up with word wrap on; lookups walk from it, from the top or from
  // the end, whichever is nearest, so a pass over every line costs only the rows it crosses.
  struct TLineAnchor {
    uint64_t Version = ~uint64_t{0};  /// the row list's LayoutVersion when Row was found
    int Line = 0;
    int Row = 0;  /// first row of Line
  };
  mutable TLineAnchor FAnchor;

  std::vector<IEditorView*> FEditors;
  bool FWordWrap = false;
  TEditorWrapOption FWrapOption;
  std::unique_ptr<TEditorUndoObj> FUndo;
  uint16_t FMarkSet = 0;
  TLastChange FLastChange;
  int FLastRefreshedRow = -1;
  uint64_t FCutCrLfVersion = ~uint64_t{0};  // TextVersion right after a cut whose breaks were all CR LF
};

// Hands out Breaks, in order, to the raCrlf rows of Rows (CR LF once they run out).
void GiveLineBreaks(TRowAttributeStringList& Rows, std::string_view Breaks);

[[nodiscard]] constexpr TLineBreak LineBreakOfKind(int Kind) { return Kind == 1 ? lbCr : Kind == 2 ? lbLf : lbCrLf; }

}  // namespace tesvarin
