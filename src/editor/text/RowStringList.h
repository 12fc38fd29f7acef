// A string list whose items are row records (text, colouring-state text, a free integer and two
// packed attribute words), kept in a gap buffer so edits in the middle of a long text stay cheap.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "highlighter/RowState.h"
#include "editor/text/RowText.h"
#include "editor/text/SplitVector.h"
#include "editor/text/TextBlock.h"
#include "support/Exception.h"

namespace tesvarin {

struct TheStringItem {
  // The row's bytes without a line break, the break (meaningful on raCrlf rows only) and the
  // colouring-state text; the words below fill what would be its padding.
  [[no_unique_address]] TRowText Text;
  int32_t Data = 0;
  uint32_t Attribute = 0;
  uint32_t Attribute2 = 0;
};

// A loaded big text holds tens of millions of these.
static_assert(sizeof(void*) != 8 || sizeof(TheStringItem) <= 24, "a row record grew");

class TRowStringList {
public:
  TRowStringList() = default;
  TRowStringList(const TRowStringList&) = delete;
  TRowStringList& operator=(const TRowStringList&) = delete;
  virtual ~TRowStringList() = default;

  [[nodiscard]] int Count() const { return FItems.Size(); }
  [[nodiscard]] int Capacity() const { return FItems.Capacity(); }
  void SetCapacity(int Value);

  // Every index outside 0 .. Count-1 (Insert: 0 .. Count) raises the list error; the list is unchanged.
  [[nodiscard]] std::string Get(int Index) const;
  [[nodiscard]] std::string_view RowView(int Index) const {
    CheckIndex(Index);
    return FItems[Index].Text.View();
  }
  void Put(int Index, std::string_view S);
  int Add(std::string_view S);
  void Insert(int Index, std::string_view S);
  void Delete(int Index);
  void Exchange(int A, int B);
  virtual void Clear();

  [[nodiscard]] std::string_view StateText(int Index) const;
  void SetStateText(int Index, std::string_view S);
  [[nodiscard]] int32_t Data(int Index) const;
  void SetData(int Index, int32_t Value);
  [[nodiscard]] uint32_t Attribute(int Index) const {
    CheckIndex(Index);
    return FItems[Index].Attribute;
  }
  void SetAttribute(int Index, uint32_t Value);
  [[nodiscard]] uint32_t Attribute2(int Index) const;
  void SetAttribute2(int Index, uint32_t Value);
  [[nodiscard]] TLineBreak LineBreak(int Index) const {
    CheckIndex(Index);
    return FItems[Index].Text.Break();
  }
  void SetLineBreak(int Index, TLineBreak Value) {
    CheckIndex(Index);
    FItems[Index].Text.SetBreak(Value);
  }

  // The whole record; PutItem copies every field.
  [[nodiscard]] const TheStringItem& Item(int Index) const {
    CheckIndex(Index);
    return FItems[Index];
  }
  void PutItem(int Index, TheStringItem Value);
  // The whole record moved out, leaving the row empty: for a list about to be dropped.
  [[nodiscard]] TheStringItem TakeItem(int Index) {
    CheckIndex(Index);
    return std::move(FItems[Index]);
  }
  // The records from Index on that lie next to each other in memory: Count of them.
  [[nodiscard]] const TheStringItem* ItemRun(int Index, int& Count) const {
    CheckIndex(Index);
    return FItems.Run(Index, Count);
  }

  // Count empty rows at Index (0 .. Count), and removal of a range; one change notification each.
  void InsertRows(int Index, int Count);
  void DeleteRange(int Index, int Count);

  // Loaded file text shared by row views; kept until Clear.
  void AdoptBlock(TTextBlock Block, size_t Size) { FBlocks.push_back({std::move(Block), Size}); }
  // The adopted block whose bytes hold P, or an empty view.
  [[nodiscard]] std::string_view BlockHolding(const char* P) const;
  // The bytes of the one block kept; empty when there is none or more than one.
  [[nodiscard]] std::string_view SoleBlock() const;
  // That block moved out, null when there is none: the rows go on viewing its bytes, so the caller
  // keeps it until they are replaced.
  [[nodiscard]] TTextBlock TakeSoleBlock();
  // Waits until every block mapped from a file is the program's own; false when one could not be
  // made so (no memory for its copy), and a write to that file would then change the text too.
  [[nodiscard]] bool MakeBlocksOwn() const;
  void PutView(int Index, const char* Data, size_t Size);
  // Appends Count rows made by Make(Item, K) for K = 0 .. Count-1, Item a fresh record, leaving room
  // for Spare more; one change notification. A bulk load builds its rows in place this way.
  template <class F>
  void AppendRows(int Count, int Spare, F&& Make);

  // Rebuilds every row in place, front to back: Rebuild(Take, Put, Left) takes each old record in
  // order (Take()), puts the new ones (Put(Item)) and asks whether old ones are left (Left()); it
  // must take them all. Lead: the most the records put ever run ahead of those taken, which is the
  // only room the rebuild needs beyond the records themselves. One change notification.
  template <class F>
  void Restream(int Lead, F&& Rebuild);

  // Rows whose RowAttribute (the low two bits of Attribute) is raWrapped.
  [[nodiscard]] int WrappedRowCount() const { return FWrappedRows; }
  // Every row at or after this index has its colouring state not computed (BracketIndex bits 0).
  [[nodiscard]] int ComputedBound() const { return FComputedBound; }
  // Changes whenever rows are inserted, removed, moved or given a new attribute word, so lookups
  // that depend on where lines start can tell whether what they remember still holds.
  [[nodiscard]] uint64_t LayoutVersion() const { return FLayoutVersion; }
  // Changes whenever the text of any row may have changed: what a per-row cache is keyed by.
  [[nodiscard]] uint64_t TextVersion() const { return FTextVersion; }

  void BeginUpdate();
  void EndUpdate();
  [[nodiscard]] int UpdateCount() const { return FUpdateCount; }
  std::function<void(TRowStringList&)> OnChanging;
  std::function<void(TRowStringList&)> OnChange;

protected:
  virtual void Changing();
  virtual void Changed();
  // Inline, as row walks ask for every row.
  void CheckIndex(int Index) const {
    if (Index < 0 || Index >= Count()) ListIndexError();
  }
  // After the rows from Index on were marked not computed.
  void LowerComputedBound(int Index) {
    if (Index >= 0 && Index < FComputedBound) FComputedBound = Index;
  }

private:
  void SetAttributeWord(TheStringItem& Item, int Index, uint32_t Value);
  void Forget(const TheStringItem& Item);
  void Note(const TheStringItem& Item, int Index);
  void NoteComputed(const TheStringItem& Item, int Index);

  TSplitVector<TheStringItem> FItems;
  struct TBlock {
    TTextBlock Bytes;
    size_t Size = 0;
  };
  std::vector<TBlock> FBlocks;
  int FWrappedRows = 0;     /// invariant: number of items with (Attribute & 3) == 1
  int FComputedBound = 0;   /// invariant: items at >= FComputedBound have (Attribute & 0xF0) == 0
  int FUpdateCount = 0;
  uint64_t FLayoutVersion = 0;
  uint64_t FTextVersion = 0;
};

template <class F>
void TRowStringList::AppendRows(int N, int Spare, F&& Make) {
  if (N <= 0) return;
  Changing();
  const int First = Count();
  // Noted as made: a second walk over millions of fresh records costs a pass through memory.
  FItems.Append(N, Spare, [&](TheStringItem& Item, int K) {
    Make(Item, K);
    Note(Item, First + K);
  });
  ++FLayoutVersion;
  ++FTextVersion;
  Changed();
}

template <class F>
void TRowStringList::Restream(int Lead, F&& Rebuild) {
  Changing();
  FItems.BeginRestream(Lead);
  FWrappedRows = 0;
  FComputedBound = 0;
  int Made = 0;
  auto Take = [this] { return FItems.TakeNext(); };
  auto Put = [this, &Made](TheStringItem Item) {
    FItems.PutNext(std::move(Item));
    Note(FItems[Made], Made);
    ++Made;
  };
  auto Left = [this] { return FItems.HasNext(); };
  // Rows change from the first one taken, also when the rebuild stops half way.
  ++FLayoutVersion;
  ++FTextVersion;
  Rebuild(Take, Put, Left);
  if (FItems.HasNext()) throw std::logic_error("a row rebuild left old rows behind");
  Changed();
}

using TheStringList = TRowStringList;

}  // namespace tesvarin
