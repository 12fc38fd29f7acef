#include "editor/text/EditorUndo.h"

#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

#include "editor/text/EditorScreenStrings.h"
#include "support/Exception.h"

namespace tesvarin {

TUndoData& TUndoDataList::Items(int Index) const {
  if (Index < 0 || Index >= Count()) ListIndexError();
  return *FItems[static_cast<size_t>(Index)];
}

TUndoData& TUndoDataList::Add(std::unique_ptr<TUndoData> Item) {
  FItems.push_back(std::move(Item));
  return *FItems.back();
}

void TEditorUndoObj::SetUndoListMax(int Value) {
  FUndoListMax = std::max(Value, MinUndoListMax);
  Trim();
}

void TEditorUndoObj::Trim() {
  while (FUndoList.Count() > FUndoListMax) FUndoList.DeleteFirst();
}

TUndoData& TEditorUndoObj::NewUndoItem() {
  auto Item = std::make_unique<TUndoData>();
  if (const IEditorView* E = FRows.ActiveEditor()) {
    Item->CaretRow = E->CaretRow();
    Item->CaretCol = E->CaretCol();
  }
  TUndoData* Added = &FUndoList.Add(std::move(Item));
  Trim();
  if (!FReplaying) FRedoList.Clear();
  return *Added;
}

TUndoData& TEditorUndoObj::NewUndoItemKeepingRedo() {
  // Cleared however the making ends: left set, later edits would keep a redo list that no longer
  // fits the text.
  struct TClear {
    bool& Flag;
    ~TClear() { Flag = false; }
  } Clear{FReplaying};
  FReplaying = true;
  return NewUndoItem();
}

void TEditorUndoObj::ClearUndo() {
  FUndoList.Clear();
  FRedoList.Clear();
}

TEditorUndoObj::TKeptText TEditorUndoObj::KeepWholeText() {
  TKeptText K;
  K.RowCount = FRows.Count();
  if (K.RowCount == 0) return K;
  K.Attribute = FRows.RowAttribute(K.RowCount - 1);
  if (const std::optional<size_t> Size = FRows.BlockTextSize()) {
    K.BlockSize = *Size;
    K.Block = FRows.TakeSoleBlock();
    return K;
  }
  K.Text = FRows.LineText(0, K.RowCount).Text;
  K.Breaks = FRows.LineBreaksOf(0, K.RowCount);
  return K;
}

void TEditorUndoObj::GiveBack(TKeptText& Kept) {
  if (Kept.Block) FRows.AdoptBlock(std::move(Kept.Block), Kept.BlockSize);
}

void TEditorUndoObj::Store(TKeptText&& Kept, TUndoData& U) {
  U.LastAttribute = static_cast<uint8_t>(Kept.Attribute);
  U.OldText = std::move(Kept.Text);
  U.OldBreaks = std::move(Kept.Breaks);
  U.OldBlock = std::move(Kept.Block);
  U.OldBlockSize = Kept.BlockSize;
}

namespace {

// Rows that carry marks, with them: a whole text put back keeps them on the same rows.
std::vector<std::pair<int, uint16_t>> MarkedRows(const TEditorScreenStrings& Rows) {
  std::vector<std::pair<int, uint16_t>> Marked;
  if (Rows.MarkSet() == 0) return Marked;
  for (int I = 0; I < Rows.Count(); ++I)
    if (const uint16_t M = Rows.RowMarks(I)) Marked.emplace_back(I, M);
  return Marked;
}

}  // namespace

// The rows are cut from the block as a load cuts them; nothing is joined or copied.
TEditorUndoObj::TCaptured TEditorUndoObj::PutBackBlock(TUndoData& U) {
  const std::vector<std::pair<int, uint16_t>> Marks = MarkedRows(FRows);
  TCaptured C;
  static_cast<TKeptText&>(C) = KeepWholeText();
  try {
    FRows.SetRowsFromBlock(std::move(U.OldBlock), U.OldBlockSize);
  } catch (...) {
    // The rows, cleared or not, are cut again from the block they view; should even that fail, the
    // block is kept while they may view it. U keeps its own.
    try {
      if (C.Block) FRows.SetRowsFromBlock(std::move(C.Block), C.BlockSize);
    } catch (...) {
      GiveBack(C);
    }
    throw;
  }
  for (const auto& [Row, M] : Marks) {
    const int At = std::min(Row, FRows.Count() - 1);
    if (At >= 0) FRows.SetRowMarks(At, static_cast<uint16_t>(FRows.RowMarks(At) | M));
  }
  C.Restored = FRows.Count();
  FRows.RefreshAllRowStates();
  FRows.SetLastChange(0, C.RowCount, C.Restored, FRows.LastRefreshedRow());
  return C;
}

// Puts U's old text in place of the rows its change produced; the caller holds the update bracket.
TEditorUndoObj::TCaptured TEditorUndoObj::PutBack(TUndoData& U) {
  if (U.OldBlock) return PutBackBlock(U);
  TCaptured C;
  if (U.NewRowCount > 0) {
    TLineTextResult Now = FRows.LineText(U.FirstRow, U.NewRowCount);
    C.Text = std::move(Now.Text);
    C.RowCount = Now.RowCount;
    C.Attribute = Now.LastAttribute;
    C.Breaks = FRows.LineBreaksOf(U.FirstRow, U.NewRowCount);
  }
  if (U.LastAttribute == NoRowAttribute) {
    uint16_t Marks = FRows.DeleteRows(U.FirstRow, C.RowCount);
    if (FRows.Count() == 0)
      FRows.ExcludeMarks(Marks);
    else if (Marks != 0) {
      int Row = std::min(U.FirstRow, FRows.Count() - 1);
      FRows.SetRowMarks(Row, static_cast<uint16_t>(FRows.RowMarks(Row) | Marks));
    }
  } else {
    TEditorStringList Rows;
    FRows.StrToRows(U.OldText, Rows);
    if (U.LastAttribute == raWrapped && Rows.Count() > 1 && Rows.RowView(Rows.Count() - 1).empty())
      Rows.Delete(Rows.Count() - 1);
    Rows.SetRowAttribute(Rows.Count() - 1, static_cast<TRowAttribute>(U.LastAttribute));
    GiveLineBreaks(Rows, U.OldBreaks);
    C.Restored = Rows.Count();
    FRows.ReplaceRows(U.FirstRow, C.RowCount, std::move(Rows));
  }
  FRows.RefreshRowStates(U.FirstRow, true);
  FRows.SetLastChange(U.FirstRow, C.RowCount, C.Restored, FRows.LastRefreshedRow());
  return C;
}

template <class F>
void TEditorUndoObj::Replay(IEditorView* E, F&& Step) {
  FRows.BeginUpdate();
  bool Open = true;
  try {
    Step();
    Open = false;
    FRows.EndUpdate();
  } catch (...) {
    if (Open) {
      try {
        FRows.EndUpdate();
      } catch (...) {  // the first error is the one to tell
      }
    }
    if (E != nullptr) E->ShowCaret();
    throw;
  }
}

namespace {

// Runs Step, which follows a change of the rows made from the last item of List; should it fail,
// that item goes anyway, so that the next undo or redo does not make the change a second time.
template <class F>
decltype(auto) DroppingLastIfFails(TUndoDataList& List, F&& Step) {
  try {
    return Step();
  } catch (...) {
    List.DeleteLast();
    throw;
  }
}

}  // namespace

void TEditorUndoObj::Undo() {
  if (!CanUndo()) return;
  IEditorView* E = FRows.ActiveEditor();
  if (E != nullptr) {
    E->CleanSelection();
    E->HideCaret();
  }
  // Read in place, not copied: the old text may be a whole big one. The caret is kept aside, as
  // the item goes with the step.
  TUndoData& U = FUndoList.Items(FUndoList.Count() - 1);
  const int CaretRow = U.CaretRow, CaretCol = U.CaretCol;
  Replay(E, [&] {
    TCaptured C = PutBack(U);
    DroppingLastIfFails(FUndoList, [&] {
      auto Inverse = std::make_unique<TUndoData>();
      Inverse->CaretRow = U.CaretRow;
      Inverse->CaretCol = U.CaretCol;
      Inverse->FirstRow = U.FirstRow;
      Inverse->NewRowCount = C.Restored;
      Store(std::move(C), *Inverse);
      if (E != nullptr) {
        Inverse->CaretRow = E->CaretRow();
        Inverse->CaretCol = E->CaretCol();
      }
      FRedoList.Add(std::move(Inverse));
    });
    FUndoList.DeleteLast();
  });
  if (E != nullptr) {
    E->SetCaretRowCol(std::min(CaretRow, FRows.MaxCaretRow()), CaretCol);
    E->ShowCaret();
  }
}

void TEditorUndoObj::Redo() {
  if (!CanRedo()) return;
  IEditorView* E = FRows.ActiveEditor();
  if (E != nullptr) {
    E->CleanSelection();
    E->HideCaret();
  }
  TUndoData& R = FRedoList.Items(FRedoList.Count() - 1);
  const int CaretRow = R.CaretRow, CaretCol = R.CaretCol;
  Replay(E, [&] {
    TCaptured C = PutBack(R);
    TUndoData& U = DroppingLastIfFails(FRedoList, [&]() -> TUndoData& { return NewUndoItemKeepingRedo(); });
    U.FirstRow = R.FirstRow;
    U.NewRowCount = C.Restored;
    Store(std::move(C), U);
    FRedoList.DeleteLast();
  });
  if (E != nullptr) {
    E->SetCaretRowCol(std::min(CaretRow, FRows.MaxCaretRow()), CaretCol);
    E->ShowCaret();
  }
}

}  // namespace tesvarin
