#include "editor/text/RowStringList.h"

#include <algorithm>
#include <functional>
#include <utility>

#include "support/Exception.h"

namespace tesvarin {

namespace {
constexpr uint32_t RowAttributeMask = 3;
constexpr uint32_t WrappedValue = 1;
constexpr uint32_t BracketMask = 0xF0;

bool IsWrapped(uint32_t Attribute) { return (Attribute & RowAttributeMask) == WrappedValue; }
bool IsComputed(uint32_t Attribute) { return (Attribute & BracketMask) != 0; }
}  // namespace

void TRowStringList::SetCapacity(int Value) { FItems.SetCapacity(Value); }

std::string TRowStringList::Get(int Index) const { return std::string(RowView(Index)); }

void TRowStringList::Put(int Index, std::string_view S) {
  CheckIndex(Index);
  Changing();
  FItems[Index].Text.Assign(S);
  ++FTextVersion;
  Changed();
}

void TRowStringList::PutView(int Index, const char* Data, size_t Size) {
  CheckIndex(Index);
  FItems[Index].Text.SetView(Data, Size);
  ++FTextVersion;
}

int TRowStringList::Add(std::string_view S) {
  Insert(Count(), S);
  return Count() - 1;
}

void TRowStringList::Insert(int Index, std::string_view S) {
  if (Index < 0 || Index > Count()) ListIndexError();
  Changing();
  FItems.InsertEmpty(Index, 1);
  ++FLayoutVersion;
  ++FTextVersion;
  if (Index < FComputedBound) ++FComputedBound;
  FItems[Index].Text.Assign(S);
  Changed();
}

void TRowStringList::InsertRows(int Index, int N) {
  if (Index < 0 || Index > Count()) ListIndexError();
  if (N <= 0) return;
  Changing();
  FItems.InsertEmpty(Index, N);
  ++FLayoutVersion;
  ++FTextVersion;
  if (Index < FComputedBound) FComputedBound += N;
  Changed();
}

void TRowStringList::Delete(int Index) {
  CheckIndex(Index);
  DeleteRange(Index, 1);
}

void TRowStringList::DeleteRange(int Index, int N) {
  if (N <= 0) return;
  if (Index < 0 || N > Count() - Index) ListIndexError();
  Changing();
  for (int I = Index; I < Index + N; ++I) Forget(FItems[I]);
  FItems.Delete(Index, N);
  ++FLayoutVersion;
  ++FTextVersion;
  if (FComputedBound > Index) FComputedBound -= std::min(N, FComputedBound - Index);
  Changed();
}

void TRowStringList::Exchange(int A, int B) {
  CheckIndex(A);
  CheckIndex(B);
  Changing();
  std::swap(FItems[A], FItems[B]);
  ++FLayoutVersion;
  ++FTextVersion;
  NoteComputed(FItems[A], A);
  NoteComputed(FItems[B], B);
  Changed();
}

std::string_view TRowStringList::BlockHolding(const char* P) const {
  // Blocks are separate allocations: only std::less orders pointers into different ones.
  const std::less<const char*> Before;
  for (const TBlock& B : FBlocks)
    if (!Before(P, B.Bytes.get()) && Before(P, B.Bytes.get() + B.Size)) return {B.Bytes.get(), B.Size};
  return {};
}

std::string_view TRowStringList::SoleBlock() const {
  if (FBlocks.size() != 1) return {};
  return {FBlocks.front().Bytes.get(), FBlocks.front().Size};
}

TTextBlock TRowStringList::TakeSoleBlock() {
  if (FBlocks.size() != 1) return nullptr;
  TTextBlock Block = std::move(FBlocks.front().Bytes);
  FBlocks.clear();
  return Block;
}

bool TRowStringList::MakeBlocksOwn() const {
  bool Own = true;
  for (const TBlock& B : FBlocks) {
    if (const std::shared_ptr<TBlockCopier>& Copier = B.Bytes.get_deleter().Copier) Own = Copier->MakeOwn() && Own;
  }
  return Own;
}

void TRowStringList::Clear() {
  if (Count() == 0 && FBlocks.empty()) return;
  Changing();
  FItems.Clear();
  FBlocks.clear();
  ++FLayoutVersion;
  ++FTextVersion;
  FWrappedRows = 0;
  FComputedBound = 0;
  Changed();
}

std::string_view TRowStringList::StateText(int Index) const {
  CheckIndex(Index);
  return FItems[Index].Text.State();
}

void TRowStringList::SetStateText(int Index, std::string_view S) {
  CheckIndex(Index);
  FItems[Index].Text.SetState(S);
}

int32_t TRowStringList::Data(int Index) const {
  CheckIndex(Index);
  return FItems[Index].Data;
}

void TRowStringList::SetData(int Index, int32_t Value) {
  CheckIndex(Index);
  FItems[Index].Data = Value;
}

void TRowStringList::SetAttribute(int Index, uint32_t Value) {
  CheckIndex(Index);
  SetAttributeWord(FItems[Index], Index, Value);
}

uint32_t TRowStringList::Attribute2(int Index) const {
  CheckIndex(Index);
  return FItems[Index].Attribute2;
}

void TRowStringList::SetAttribute2(int Index, uint32_t Value) {
  CheckIndex(Index);
  FItems[Index].Attribute2 = Value;
}

void TRowStringList::PutItem(int Index, TheStringItem Value) {
  CheckIndex(Index);
  TheStringItem& Target = FItems[Index];
  Forget(Target);
  Target = std::move(Value);
  ++FLayoutVersion;
  ++FTextVersion;
  Note(Target, Index);
}

void TRowStringList::SetAttributeWord(TheStringItem& Item, int Index, uint32_t Value) {
  Forget(Item);
  if ((Item.Attribute & RowAttributeMask) != (Value & RowAttributeMask)) ++FLayoutVersion;
  Item.Attribute = Value;
  Note(Item, Index);
}

void TRowStringList::Forget(const TheStringItem& Item) {
  if (IsWrapped(Item.Attribute)) --FWrappedRows;
}

void TRowStringList::Note(const TheStringItem& Item, int Index) {
  if (IsWrapped(Item.Attribute)) ++FWrappedRows;
  NoteComputed(Item, Index);
}

void TRowStringList::NoteComputed(const TheStringItem& Item, int Index) {
  if (IsComputed(Item.Attribute) && Index >= FComputedBound) FComputedBound = Index + 1;
}

void TRowStringList::BeginUpdate() {
  if (FUpdateCount == 0) Changing();
  ++FUpdateCount;
}

void TRowStringList::EndUpdate() {
  if (FUpdateCount == 0) return;
  --FUpdateCount;
  if (FUpdateCount == 0) Changed();
}

void TRowStringList::Changing() {
  if (FUpdateCount == 0 && OnChanging) OnChanging(*this);
}

void TRowStringList::Changed() {
  if (FUpdateCount == 0 && OnChange) OnChange(*this);
}

}  // namespace tesvarin
