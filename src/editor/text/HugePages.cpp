#include "editor/text/HugePages.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>

namespace tesvarin {

namespace {

constexpr size_t HugePage = size_t{2} << 20;

}  // namespace

void* MapWithHugePages(size_t Size) {
  // One huge page more, so that the block can start on a huge page boundary: its first bytes,
  // touched first and most, are then on a huge page too.
  void* Raw = ::mmap(nullptr, Size + HugePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (Raw == MAP_FAILED) throw std::bad_alloc();
  static const auto PageSize = static_cast<uintptr_t>(::sysconf(_SC_PAGESIZE));
  const auto RawAt = reinterpret_cast<uintptr_t>(Raw);
  const auto Begin = (RawAt + HugePage - 1) & ~(HugePage - 1);
  const auto End = (Begin + Size + PageSize - 1) & ~(PageSize - 1);
  if (Begin > RawAt) ::munmap(Raw, Begin - RawAt);
  if (RawAt + Size + HugePage > End) ::munmap(reinterpret_cast<void*>(End), RawAt + Size + HugePage - End);
  // Only the whole huge pages inside; a refusal leaves small pages, which work as well.
  const auto HugeEnd = (Begin + Size) & ~(HugePage - 1);
  if (HugeEnd > Begin) (void)::madvise(reinterpret_cast<void*>(Begin), HugeEnd - Begin, MADV_HUGEPAGE);
  return reinterpret_cast<void*>(Begin);
}

void Unmap(void* P, size_t Size) { ::munmap(P, Size); }

}  // namespace tesvarin
