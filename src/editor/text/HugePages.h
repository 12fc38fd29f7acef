// Big arrays that every search streams through — loaded text, row records — live in anonymous
// mappings of their own that ask for huge pages: on 4 KB pages the TLB misses alone cost a third of
// a pass, and a heap block would reuse pages already mapped small.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <new>
#include <string>
#include <thread>

namespace tesvarin {

// Below this an array gains too few whole huge pages to be worth a mapping of its own.
inline constexpr size_t HugeMappingFrom = size_t{8} << 20;

// Size bytes (at least HugeMappingFrom) of a fresh mapping; raises std::bad_alloc when none is left.
[[nodiscard]] void* MapWithHugePages(size_t Size);
void Unmap(void* P, size_t Size);
// Gives the whole huge pages of [Begin, Begin + Size), inside one mapping of MapWithHugePages, back
// to the system: an array read once can shed what was read while its reader's output grows. The
// range stays mapped and reads as zeros.
void GiveBackPages(void* Begin, size_t Size);

// Faults in the fresh pages of a big range on a second thread while the caller fills it from the
// front: the kernel's zeroing of each new page, most of the cost of filling fresh memory, is then
// done beside the filling. Small ranges, or a single core, are left to fault as they are written.
class TPrefault {
public:
  // Paced: the caller tells with Filled how far it is, and the pages made run at most PaceLead
  // ahead of it. A caller that gives memory back as it fills then has done so before the range is
  // whole, rather than holding both at once.
  TPrefault(void* Begin, size_t Size, bool Paced = false);
  ~TPrefault();
  TPrefault(const TPrefault&) = delete;
  TPrefault& operator=(const TPrefault&) = delete;

  void Filled(size_t Bytes);

  static constexpr size_t PaceLead = size_t{64} << 20;

private:
  void Run(uintptr_t First, uintptr_t End, bool Paced);

  std::atomic<size_t> FFilled{0};
  std::atomic<bool> FStop{false};
  uintptr_t FBegin = 0;
  std::thread FWorker;
};

// A standard allocator that maps big arrays with MapWithHugePages and takes small ones from the heap.
template <class T>
struct THugePageAllocator {
  static_assert(alignof(T) <= __STDCPP_DEFAULT_NEW_ALIGNMENT__, "the heap part gives the default alignment");
  using value_type = T;
  THugePageAllocator() = default;
  template <class U>
  THugePageAllocator(const THugePageAllocator<U>&) {}

  // Whether an array of N has a mapping of its own.
  [[nodiscard]] static bool Mapped(size_t N) { return N * sizeof(T) >= HugeMappingFrom; }

  [[nodiscard]] T* allocate(size_t N) {
    if (N > static_cast<size_t>(-1) / sizeof(T)) throw std::bad_array_new_length();
    if (!Mapped(N)) return static_cast<T*>(::operator new(N * sizeof(T)));
    return static_cast<T*>(MapWithHugePages(N * sizeof(T)));
  }
  void deallocate(T* P, size_t N) {
    if (!Mapped(N))
      ::operator delete(P);
    else
      Unmap(P, N * sizeof(T));
  }
  friend bool operator==(const THugePageAllocator&, const THugePageAllocator&) { return true; }
};

// Bytes that may grow big (a whole text joined for one pass, a run's candidate buffer): on small
// pages, faulting in a fresh 100 MB string costs more than a pass over it.
using TBigString = std::basic_string<char, std::char_traits<char>, THugePageAllocator<char>>;

}  // namespace tesvarin
