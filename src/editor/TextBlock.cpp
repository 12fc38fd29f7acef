#include "editor/TextBlock.h"

#include <sys/mman.h>

#include <cstdint>
#include <new>

namespace tesvarin {

namespace {

constexpr size_t HugePage = size_t{2} << 20;
// Below this a block gains too few whole huge pages to be worth a mapping of its own.
constexpr size_t MappedFrom = 4 * HugePage;

}  // namespace

void TTextBlockFree::operator()(char* P) const {
  if (Mapped != 0)
    ::munmap(P, Mapped);
  else
    delete[] P;
}

TTextBlock NewTextBlock(size_t Size) {
  if (Size < MappedFrom) return TTextBlock(new char[Size], TTextBlockFree{});
  void* P = ::mmap(nullptr, Size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (P == MAP_FAILED) throw std::bad_alloc();
  // Only the whole huge pages inside; a refusal leaves small pages, which work as well.
  const auto Begin = (reinterpret_cast<uintptr_t>(P) + HugePage - 1) & ~(HugePage - 1);
  const auto End = (reinterpret_cast<uintptr_t>(P) + Size) & ~(HugePage - 1);
  if (End > Begin) (void)::madvise(reinterpret_cast<void*>(Begin), End - Begin, MADV_HUGEPAGE);
  return TTextBlock(static_cast<char*>(P), TTextBlockFree{Size});
}

}  // namespace tesvarin
