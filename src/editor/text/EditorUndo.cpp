#include "editor/text/EditorUndo.h"

#include <algorithm>
#include <utility>

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

// Puts U's old text in place of the rows its change produced; the caller holds the update bracket.
TEditorUndoObj::TCaptured TEditorUndoObj::PutBack(const TUndoData& U) {
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
  const TUndoData& U = FUndoList.Items(FUndoList.Count() - 1);
  const int CaretRow = U.CaretRow, CaretCol = U.CaretCol;
  Replay(E, [&] {
    TCaptured C = PutBack(U);
    DroppingLastIfFails(FUndoList, [&] {
      auto Inverse = std::make_unique<TUndoData>();
      Inverse->CaretRow = U.CaretRow;
      Inverse->CaretCol = U.CaretCol;
      Inverse->FirstRow = U.FirstRow;
      Inverse->NewRowCount = C.Restored;
      Inverse->LastAttribute = static_cast<uint8_t>(C.Attribute);
      Inverse->OldText = std::move(C.Text);
      Inverse->OldBreaks = std::move(C.Breaks);
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
  const TUndoData& R = FRedoList.Items(FRedoList.Count() - 1);
  const int CaretRow = R.CaretRow, CaretCol = R.CaretCol;
  Replay(E, [&] {
    TCaptured C = PutBack(R);
    TUndoData& U = DroppingLastIfFails(FRedoList, [&]() -> TUndoData& { return NewUndoItemKeepingRedo(); });
    U.FirstRow = R.FirstRow;
    U.NewRowCount = C.Restored;
    U.LastAttribute = static_cast<uint8_t>(C.Attribute);
    U.OldText = std::move(C.Text);
    U.OldBreaks = std::move(C.Breaks);
    FRedoList.DeleteLast();
  });
  if (E != nullptr) {
    E->SetCaretRowCol(std::min(CaretRow, FRows.MaxCaretRow()), CaretCol);
    E->ShowCaret();
  }
}

}  // namespace tesvarin
