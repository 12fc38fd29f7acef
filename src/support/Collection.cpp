#include "support/Collection.h"

namespace tesvarin {

int TCollectionItem::Index() const {
  if (FCollection == nullptr) return -1;
  for (int I = 0; I < FCollection->Count(); ++I) {
    if (FCollection->FItems[static_cast<size_t>(I)].get() == this) return I;
  }
  return -1;
}

void TCollectionItem::Changed(bool AllItems) {
  if (FCollection == nullptr || FCollection->FUpdateCount != 0) return;
  FCollection->Update(AllItems ? nullptr : this);
}

TCollectionItem& TCollection::Item(int Index) const {
  if (Index < 0 || Index >= Count()) ListIndexError();
  return *FItems[static_cast<size_t>(Index)];
}

TCollectionItem& TCollection::Add() {
  FItems.push_back(CreateItem());
  TCollectionItem& Item = *FItems.back();
  Changed();
  return Item;
}

void TCollection::Delete(int Index) {
  if (Index < 0 || Index >= Count()) ListIndexError();
  FItems.erase(FItems.begin() + Index);
  Changed();
}

void TCollection::Clear() {
  if (FItems.empty()) return;
  BeginUpdate();
  FItems.clear();
  EndUpdate();
}

void TCollection::EndUpdate() {
  --FUpdateCount;
  Changed();
}

void TCollection::Changed() {
  if (FUpdateCount == 0) Update(nullptr);
}

void TCollection::Assign(const TPersistent& Source) {
  const auto* From = dynamic_cast<const TCollection*>(&Source);
  if (From == nullptr) {
    TPersistent::Assign(Source);
    return;
  }
  if (From == this) return;
  BeginUpdate();
  FItems.clear();
  for (const auto& Item : From->FItems) Add().Assign(*Item);
  EndUpdate();
}

}  // namespace tesvarin
