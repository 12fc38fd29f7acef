#include "editor/HugePages.h"

#include <sys/mman.h>

#include <cstdint>

namespace tesvarin {

namespace {

constexpr size_t HugePage = size_t{2} << 20;

}  // namespace

void* MapWithHugePages(size_t Size) {
  void* P = ::mmap(nullptr, Size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (P == MAP_FAILED) throw std::bad_alloc();
  // Only the whole huge pages inside; a refusal leaves small pages, which work as well.
  const auto Begin = (reinterpret_cast<uintptr_t>(P) + HugePage - 1) & ~(HugePage - 1);
  const auto End = (reinterpret_cast<uintptr_t>(P) + Size) & ~(HugePage - 1);
  if (End > Begin) (void)::madvise(reinterpret_cast<void*>(Begin), End - Begin, MADV_HUGEPAGE);
  return P;
}

void Unmap(void* P, size_t Size) { ::munmap(P, Size); }

}  // namespace tesvarin
