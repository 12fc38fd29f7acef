// An owned list of items that reports item changes to an Update hook, bracketed by BeginUpdate/EndUpdate.
#pragma once

#include <memory>
#include <vector>

#include "support/Object.h"

namespace tesvarin {

class TCollection;

class TCollectionItem : public TPersistent {
public:
  explicit TCollectionItem(TCollection* Collection) : FCollection(Collection) {}
  [[nodiscard]] TCollection* Collection() const { return FCollection; }
  [[nodiscard]] int Index() const;

protected:
  // Reports a change of this item (or of all items) to the collection unless it is being updated.
  void Changed(bool AllItems);

private:
  friend class TCollection;
  TCollection* FCollection;
};

class TCollection : public TPersistent {
public:
  TCollection() = default;
  ~TCollection() override = default;

  [[nodiscard]] int Count() const { return static_cast<int>(FItems.size()); }
  // Index outside 0 .. Count-1 raises the list error.
  [[nodiscard]] TCollectionItem& Item(int Index) const;
  TCollectionItem& Add();
  void Delete(int Index);
  void Clear();

  virtual void BeginUpdate() { ++FUpdateCount; }
  virtual void EndUpdate();
  [[nodiscard]] int UpdateCount() const { return FUpdateCount; }

  // Clears, then adds one item per item of Source and assigns it, inside one update bracket.
  void Assign(const TPersistent& Source) override;

protected:
  [[nodiscard]] virtual std::unique_ptr<TCollectionItem> CreateItem() = 0;
  // Item is null when the whole collection changed.
  virtual void Update(TCollectionItem* Item) { (void)Item; }
  // The collection's own change path: Update(nullptr) unless inside an update bracket.
  void Changed();

private:
  friend class TCollectionItem;
  std::vector<std::unique_ptr<TCollectionItem>> FItems;
  int FUpdateCount = 0;
};

// A collection of items of one class.
template <class TItem>
class TTypedCollection : public TCollection {
public:
  [[nodiscard]] TItem& Items(int Index) const { return static_cast<TItem&>(Item(Index)); }
  TItem& AddItem() { return static_cast<TItem&>(Add()); }

protected:
  [[nodiscard]] std::unique_ptr<TCollectionItem> CreateItem() override { return std::make_unique<TItem>(this); }
};

}  // namespace tesvarin
