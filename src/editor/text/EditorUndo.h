// Undo and redo of row store changes: each change keeps the text it replaced, and replaying an item
// puts that text back in place of the rows the change produced.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <string>

#include "editor/text/HugePages.h"
#include "editor/text/TextBlock.h"

namespace tesvarin {

class TEditorScreenStrings;
class IEditorView;

struct TUndoData {
  int32_t CaretRow = 0;
  int32_t CaretCol = 0;
  int32_t FirstRow = -1;
  int32_t NewRowCount = 0;
  uint8_t LastAttribute = 3;  // RowAttribute of the last old row; 3: there were no old rows
  TBigString OldText;  // big when a whole text was set anew
  std::string OldBreaks;  // the TLineBreak of each line OldText ends, in order
  // Instead of OldText and OldBreaks, for a whole text: the block whose first OldBlockSize bytes
  // are its lines, each with its own break, as a load cuts them.
  TTextBlock OldBlock;
  size_t OldBlockSize = 0;
};

// Oldest first; owns its items.
class TUndoDataList {
public:
  [[nodiscard]] int Count() const { return static_cast<int>(FItems.size()); }
  [[nodiscard]] TUndoData& Items(int Index) const;
  TUndoData& Add(std::unique_ptr<TUndoData> Item);
  void DeleteFirst() { FItems.pop_front(); }
  void DeleteLast() { FItems.pop_back(); }
  void Clear() { FItems.clear(); }

private:
  std::deque<std::unique_ptr<TUndoData>> FItems;
};

class TEditorUndoObj {
public:
  static constexpr int MinUndoListMax = 64;

  explicit TEditorUndoObj(TEditorScreenStrings& Rows) : FRows(Rows) {}
  TEditorUndoObj(const TEditorUndoObj&) = delete;
  TEditorUndoObj& operator=(const TEditorUndoObj&) = delete;

  // A new item with the active editor's caret; drops the oldest beyond the limit and, unless
  // replaying, empties the redo list.
  TUndoData& NewUndoItem();
  [[nodiscard]] bool CanUndo() const { return FUndoList.Count() > 0; }
  [[nodiscard]] bool CanRedo() const { return FRedoList.Count() > 0; }
  void Undo();
  void Redo();
  void ClearUndo();
  // Both lists, taken out while the whole text is set anew (which empties them) and put back after.
  struct THistory {
    TUndoDataList Undo, Redo;
  };
  [[nodiscard]] THistory TakeHistory() { return {std::move(FUndoList), std::move(FRedoList)}; }
  void PutHistoryBack(THistory History) {
    FUndoList = std::move(History.Undo);
    FRedoList = std::move(History.Redo);
  }

  // A whole text kept to be put back: the block its rows view when they lie there as a load cut
  // them (taken, not copied, and viewed by the rows until the keeper replaces them, or gives it
  // back with GiveBack when that fails), else the text joined with its breaks.
  struct TKeptText {
    TBigString Text;
    std::string Breaks;
    TTextBlock Block;
    size_t BlockSize = 0;
    int RowCount = 0;
    int Attribute = 3;  // the last row's RowAttribute; 3: there were no rows
  };
  [[nodiscard]] TKeptText KeepWholeText();
  void GiveBack(TKeptText& Kept);
  // Kept becomes U's old text.
  static void Store(TKeptText&& Kept, TUndoData& U);

  [[nodiscard]] int UndoListMax() const { return FUndoListMax; }
  void SetUndoListMax(int Value);  // below 64 stores 64
  [[nodiscard]] bool Replaying() const { return FReplaying; }
  [[nodiscard]] const TUndoDataList& UndoList() const { return FUndoList; }
  [[nodiscard]] const TUndoDataList& RedoList() const { return FRedoList; }

private:
  struct TCaptured : TKeptText {
    int Restored = 0;
  };
  TCaptured PutBack(TUndoData& U);
  // PutBack of a whole text kept as a block.
  TCaptured PutBackBlock(TUndoData& U);
  // NewUndoItem while Replaying, for a redo's counter-item.
  TUndoData& NewUndoItemKeepingRedo();
  // Runs Step inside the store's update bracket. A step that fails half way still closes the
  // bracket and shows the editor's caret again, so later changes are told and the caret works.
  template <class F>
  void Replay(IEditorView* E, F&& Step);
  void Trim();

  TEditorScreenStrings& FRows;
  TUndoDataList FUndoList;
  TUndoDataList FRedoList;
  int FUndoListMax = MinUndoListMax;
  bool FReplaying = false;
};

}  // namespace tesvarin
