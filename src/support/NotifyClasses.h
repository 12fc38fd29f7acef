// Settings objects that report changes to their owner, collections that do the same, method lists,
// multicast event lists, and the component that carries a list of file extensions.
#pragma once

#include <memory>
#include <string_view>
#include <vector>

#include "support/Collection.h"
#include "support/Component.h"
#include "support/StringList.h"

namespace tesvarin {

class TNotifyPersistent : public TPersistent {
public:
  TNotifyEvent OnChange;

  [[nodiscard]] int UpdateCount() const { return FUpdateCount; }

  // Fires OnChange with this object as Sender when no update bracket is open.
  virtual void Changed();
  virtual void BeginUpdate();
  // Closes a bracket and calls Changed, which fires only when the count is back at 0.
  virtual void EndUpdate();
  // Installed by a parent as the OnChange of its children: a child's change becomes the parent's.
  virtual void ChangedProc(TObject* Sender);

  [[nodiscard]] TNotifyEvent ChangedProcEvent() { return TNotifyEvent::Of<&TNotifyPersistent::ChangedProc>(this); }

protected:
  int FUpdateCount = 0;
};

class TNotifyCollection : public TCollection {
public:
  explicit TNotifyCollection(TPersistent* Owner) : FOwner(Owner) {}

  TNotifyEvent OnChange;

  [[nodiscard]] TPersistent* GetOwner() const override { return FOwner; }
  virtual void ChangedProc(TObject* Sender);
  [[nodiscard]] TNotifyEvent ChangedProcEvent() { return TNotifyEvent::Of<&TNotifyCollection::ChangedProc>(this); }

protected:
  // Fires OnChange with the collection as Sender, whatever the item.
  void Update(TCollectionItem* Item) override;

private:
  TPersistent* FOwner;
};

// A list of method pointers; the list owns a record per entry.
class TMethodList {
public:
  TMethodList() = default;
  TMethodList(const TMethodList&) = delete;
  TMethodList& operator=(const TMethodList&) = delete;
  virtual ~TMethodList() { Clear(); }

  virtual int Add(const TNotifyEvent& Method);
  // Removes the last entry equal to Method, if any.
  virtual void Remove(const TNotifyEvent& Method);
  virtual void Clear();

  [[nodiscard]] int Count() const { return static_cast<int>(FItems.size()); }
  [[nodiscard]] const TNotifyEvent& Items(int Index) const;

private:
  std::vector<std::unique_ptr<TNotifyEvent>> FItems;
};

class TNotifyEventList : public TNotifyPersistent {
public:
  explicit TNotifyEventList(TObject* Owner) : FOwner(Owner) {}

  [[nodiscard]] TMethodList& List() { return FList; }
  [[nodiscard]] const TMethodList& List() const { return FList; }
  [[nodiscard]] TObject* Owner() const { return FOwner; }

  // Calls every handler in list order with the owner as Sender, when no update bracket is open.
  void Changed() override;
  virtual void Add(const TNotifyEvent& Method) { FList.Add(Method); }
  virtual void Remove(const TNotifyEvent& Method) { FList.Remove(Method); }

private:
  TObject* FOwner;
  TMethodList FList;
};

class TStoreComponent : public TComponent {};

class TFileExtComponent : public TStoreComponent {
public:
  // The list of extensions with the dot (".htm"), sorted, duplicates ignored, letters without case.
  [[nodiscard]] TStringList& FileExtList();
  [[nodiscard]] const TStringList& FileExtList() const;
  virtual void SetFileExtList(const TStringList& Value);
  [[nodiscard]] virtual bool HasFileExt(std::string_view Ext) const;

  [[nodiscard]] virtual std::unique_ptr<TStringList> CreateSortedList() const;

protected:
  // Called once, right after the extension list is created.
  virtual void InitFileExtList() {}

private:
  // Created on first use so that InitFileExtList reaches the most derived class.
  mutable std::unique_ptr<TStringList> FFileExtList;
};

}  // namespace tesvarin
