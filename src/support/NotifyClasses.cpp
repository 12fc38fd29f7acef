#include "support/NotifyClasses.h"

namespace tesvarin {

void TNotifyPersistent::Changed() {
  if (FUpdateCount == 0 && OnChange) OnChange(this);
}

void TNotifyPersistent::BeginUpdate() { ++FUpdateCount; }

void TNotifyPersistent::EndUpdate() {
  --FUpdateCount;
  Changed();
}

void TNotifyPersistent::ChangedProc(TObject* Sender) {
  if (Sender != this) Changed();
}

void TNotifyCollection::ChangedProc(TObject* Sender) {
  if (Sender != this) Changed();
}

void TNotifyCollection::Update(TCollectionItem*) {
  if (OnChange) OnChange(this);
}

int TMethodList::Add(const TNotifyEvent& Method) {
  FItems.push_back(std::make_unique<TNotifyEvent>(Method));
  return Count() - 1;
}

void TMethodList::Remove(const TNotifyEvent& Method) {
  for (size_t I = FItems.size(); I-- > 0;) {
    if (*FItems[I] == Method) {
      FItems.erase(FItems.begin() + static_cast<std::ptrdiff_t>(I));
      return;
    }
  }
}

void TMethodList::Clear() { FItems.clear(); }

const TNotifyEvent& TMethodList::Items(int Index) const {
  if (Index < 0 || Index >= Count()) ListIndexError();
  return *FItems[static_cast<size_t>(Index)];
}

void TNotifyEventList::Changed() {
  if (FUpdateCount != 0) return;
  // A snapshot: a handler may add or remove handlers while it runs.
  std::vector<TNotifyEvent> Handlers;
  Handlers.reserve(static_cast<size_t>(FList.Count()));
  for (int I = 0; I < FList.Count(); ++I) Handlers.push_back(FList.Items(I));
  for (const TNotifyEvent& H : Handlers) H(FOwner);
}

TStringList& TFileExtComponent::FileExtList() {
  return const_cast<TStringList&>(static_cast<const TFileExtComponent*>(this)->FileExtList());
}

const TStringList& TFileExtComponent::FileExtList() const {
  if (!FFileExtList) {
    FFileExtList = CreateSortedList();
    const_cast<TFileExtComponent*>(this)->InitFileExtList();
  }
  return *FFileExtList;
}

void TFileExtComponent::SetFileExtList(const TStringList& Value) { FileExtList().Assign(Value); }

bool TFileExtComponent::HasFileExt(std::string_view Ext) const {
  int Index = 0;
  return FileExtList().Find(Ext, Index);
}

std::unique_ptr<TStringList> TFileExtComponent::CreateSortedList() const {
  auto List = std::make_unique<TStringList>();
  List->SetSorted(true);
  List->SetDuplicates(dupIgnore);
  return List;
}

}  // namespace tesvarin
