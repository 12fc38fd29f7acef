// A gap buffer: a vector with a movable hole, so runs of insertions and deletions at one place cost
// only the distance the hole travels, not the size of the whole array.
#pragma once

#include <algorithm>
#include <cstddef>
#include <utility>
#include <vector>

#include "editor/text/HugePages.h"

namespace tesvarin {

template <class T>
class TSplitVector {
public:
  [[nodiscard]] int Size() const { return static_cast<int>(FBody.size() - FGapLength); }
  [[nodiscard]] int Capacity() const { return static_cast<int>(FBody.size()); }

  // Index must lie in 0 .. Size-1; callers check.
  [[nodiscard]] T& operator[](int Index) { return FBody[Physical(Index)]; }
  [[nodiscard]] const T& operator[](int Index) const { return FBody[Physical(Index)]; }

  // The elements from Index (0 .. Size-1) on that lie next to each other, up to the gap or the end:
  // a walk over many of them reads them as an array.
  [[nodiscard]] const T* Run(int Index, int& Count) const {
    Count = Index < FGapStart ? FGapStart - Index : Size() - Index;
    return FBody.data() + Physical(Index);
  }

  // Never shrinks below Size.
  void SetCapacity(int NewCapacity) {
    if (NewCapacity < Size()) NewCapacity = Size();
    if (NewCapacity == Capacity()) return;
    MoveGap(Size());
    FBody.resize(static_cast<size_t>(NewCapacity));
    FGapLength = FBody.size() - static_cast<size_t>(FGapStart);
  }

  // Opens Count default-constructed elements at Index (0 .. Size).
  void InsertEmpty(int Index, int Count) {
    if (Count <= 0) return;
    if (static_cast<size_t>(Count) > FGapLength) Grow(Size() + Count);
    MoveGap(Index);
    // Gap slots may hold moved-from elements whose plain fields kept their values.
    for (int I = 0; I < Count; ++I) FBody[static_cast<size_t>(FGapStart + I)] = T{};
    FGapStart += Count;
    FGapLength -= static_cast<size_t>(Count);
  }

  // Appends Count elements, each made in place by Make(Element, K) from a default-constructed one;
  // when the array must grow it leaves room for Spare more.
  template <class F>
  void Append(int Count, int Spare, F&& Make) {
    if (Count <= 0) return;
    MoveGap(Size());
    const size_t Old = static_cast<size_t>(Size());
    const size_t Needed = Old + static_cast<size_t>(Count);
    if (Needed > FBody.size()) {
      // Built straight into their place: the gap's spare records would be written twice.
      FBody.resize(Old);
      FBody.reserve(Needed + static_cast<size_t>(std::max(Spare, 0)));
      {
        TPrefault Ahead(FBody.data() + Old, static_cast<size_t>(Count) * sizeof(T), true);
        for (int K = 0; K < Count; ++K) {
          Make(FBody.emplace_back(), K);
          if ((K & 0xFFFF) == 0xFFFF) Ahead.Filled(static_cast<size_t>(K + 1) * sizeof(T));
        }
      }
      FBody.resize(FBody.capacity());
      FGapStart = static_cast<int>(Needed);
      FGapLength = FBody.size() - Needed;
      return;
    }
    for (int K = 0; K < Count; ++K) {
      T& Slot = FBody[Old + static_cast<size_t>(K)];
      Slot = T{};
      Make(Slot, K);
    }
    FGapStart += Count;
    FGapLength -= static_cast<size_t>(Count);
  }

  // A rebuild in place, front to back: the gap goes to the front with room for Lead more elements,
  // TakeNext moves the next old element out and PutNext places a new one before the old ones left.
  // The new ones may run at most Lead ahead of those taken; a whole array rebuilt this way never
  // needs a second copy of itself.
  void BeginRestream(int Lead) {
    if (Lead <= 0 || static_cast<size_t>(Lead) <= FGapLength) {
      MoveGap(0);
      return;
    }
    // Grown straight into the rebuild's layout, so each element moves once.
    decltype(FBody) Body;
    Body.reserve(static_cast<size_t>(Size()) + static_cast<size_t>(Lead));
    Body.resize(static_cast<size_t>(Lead));
    for (int I = 0; I < Size(); ++I) Body.push_back(std::move((*this)[I]));
    FBody.swap(Body);
    FGapStart = 0;
    FGapLength = static_cast<size_t>(Lead);
  }
  [[nodiscard]] bool HasNext() const { return FGapStart + FGapLength < FBody.size(); }
  [[nodiscard]] T TakeNext() {
    T& Slot = FBody[static_cast<size_t>(FGapStart) + FGapLength];
    T Value = std::move(Slot);
    Slot = T{};
    ++FGapLength;
    return Value;
  }
  void PutNext(T Value) {
    if (FGapLength == 0) {  // a Lead too small costs a copy, never an element
      const int At = FGapStart;
      Grow(Size() + 1);
      MoveGap(At);
    }
    FBody[static_cast<size_t>(FGapStart)] = std::move(Value);
    ++FGapStart;
    --FGapLength;
  }

  // Removes Count elements from Index; their resources are released at once.
  void Delete(int Index, int Count) {
    if (Count <= 0) return;
    MoveGap(Index);
    for (int I = 0; I < Count; ++I) FBody[FGapStart + FGapLength + static_cast<size_t>(I)] = T{};
    FGapLength += static_cast<size_t>(Count);
  }

  void Clear() {
    FBody.clear();
    FBody.shrink_to_fit();
    FGapStart = 0;
    FGapLength = 0;
  }

private:
  [[nodiscard]] size_t Physical(int Index) const {
    return static_cast<size_t>(Index) < static_cast<size_t>(FGapStart) ? static_cast<size_t>(Index)
                                                                         : static_cast<size_t>(Index) + FGapLength;
  }

  // Growth in steps: a quarter above 64, 16 from 9 to 64, 4 up to 8.
  static int NextCapacity(int Cap) {
    if (Cap > 64) return Cap + Cap / 4;
    if (Cap > 8) return Cap + 16;
    return Cap + 4;
  }

  void Grow(int Needed) {
    int Cap = Capacity();
    while (Cap < Needed) Cap = NextCapacity(Cap);
    SetCapacity(Cap);
  }

  void MoveGap(int Position) {
    if (Position == FGapStart) return;
    if (Position < FGapStart) {
      auto First = FBody.begin() + Position;
      auto Last = FBody.begin() + FGapStart;
      std::move_backward(First, Last, Last + static_cast<std::ptrdiff_t>(FGapLength));
    } else {
      auto First = FBody.begin() + FGapStart + static_cast<std::ptrdiff_t>(FGapLength);
      auto Last = FBody.begin() + Position + static_cast<std::ptrdiff_t>(FGapLength);
      std::move(First, Last, FBody.begin() + FGapStart);
    }
    FGapStart = Position;
  }

  std::vector<T, THugePageAllocator<T>> FBody;  // row records of a big text are read in long walks
  int FGapStart = 0;      /// invariant: 0 <= FGapStart <= Size()
  size_t FGapLength = 0;  /// invariant: FGapLength == FBody.size() - Size()
};

}  // namespace tesvarin
