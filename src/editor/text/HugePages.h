// Big arrays that every search streams through — loaded text, row records — live in anonymous
// mappings of their own that ask for huge pages: on 4 KB pages the TLB misses alone cost a third of
// a pass, and a heap block would reuse pages already mapped small.
#pragma once

#include <cstddef>
#include <new>
#include <string>
#include <thread>

namespace tesvarin {

// Below this an array gains too few whole huge pages to be worth a mapping of its own.
inline constexpr size_t HugeMappingFrom = size_t{8} << 20;

// Size bytes (at least HugeMappingFrom) of a fresh mapping; raises std::bad_alloc when none is left.
[[nodiscard]] void* MapWithHugePages(size_t Size);
void Unmap(void* P, size_t Size);

// Faults in the fresh pages of a big range on a second thread while the caller fills it from the
// front: the kernel's zeroing of each new page, most of the cost of filling fresh memory, is then
// done beside the filling. Small ranges, or a single core, are left to fault as they are written.
class TPrefault {
public:
  TPrefault(void* Begin, size_t Size);
  ~TPrefault();
  TPrefault(const TPrefault&) = delete;
  TPrefault& operator=(const TPrefault&) = delete;

private:
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

  [[nodiscard]] T* allocate(size_t N) {
    if (N > static_cast<size_t>(-1) / sizeof(T)) throw std::bad_array_new_length();
    const size_t Bytes = N * sizeof(T);
    if (Bytes < HugeMappingFrom) return static_cast<T*>(::operator new(Bytes));
    return static_cast<T*>(MapWithHugePages(Bytes));
  }
  void deallocate(T* P, size_t N) {
    const size_t Bytes = N * sizeof(T);
    if (Bytes < HugeMappingFrom)
      ::operator delete(P);
    else
      Unmap(P, Bytes);
  }
  friend bool operator==(const THugePageAllocator&, const THugePageAllocator&) { return true; }
};

// Bytes that may grow big (a whole text joined for one pass, a run's candidate buffer): on small
// pages, faulting in a fresh 100 MB string costs more than a pass over it.
using TBigString = std::basic_string<char, std::char_traits<char>, THugePageAllocator<char>>;

}  // namespace tesvarin
