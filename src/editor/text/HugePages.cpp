#include "editor/text/HugePages.h"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <system_error>

namespace tesvarin {

namespace {

constexpr size_t HugePage = size_t{2} << 20;

// Page is a power of two.
constexpr uintptr_t RoundUp(uintptr_t X, uintptr_t Page) { return (X + Page - 1) & ~(Page - 1); }
constexpr uintptr_t RoundDown(uintptr_t X, uintptr_t Page) { return X & ~(Page - 1); }

}  // namespace

void* MapWithHugePages(size_t Size) {
  // One huge page more, so that the block can start on a huge page boundary: its first bytes,
  // touched first and most, are then on a huge page too.
  void* Raw = ::mmap(nullptr, Size + HugePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (Raw == MAP_FAILED) throw std::bad_alloc();
  static const auto PageSize = static_cast<uintptr_t>(::sysconf(_SC_PAGESIZE));
  const auto RawAt = reinterpret_cast<uintptr_t>(Raw);
  const auto Begin = RoundUp(RawAt, HugePage);
  const auto End = RoundUp(Begin + Size, PageSize);
  if (Begin > RawAt) ::munmap(Raw, Begin - RawAt);
  if (RawAt + Size + HugePage > End) ::munmap(reinterpret_cast<void*>(End), RawAt + Size + HugePage - End);
  // Only the whole huge pages inside; a refusal leaves small pages, which work as well.
  const auto HugeEnd = RoundDown(Begin + Size, HugePage);
  if (HugeEnd > Begin) (void)::madvise(reinterpret_cast<void*>(Begin), HugeEnd - Begin, MADV_HUGEPAGE);
  return reinterpret_cast<void*>(Begin);
}

void Unmap(void* P, size_t Size) { ::munmap(P, Size); }

void GiveBackPages(void* Begin, size_t Size) {
  // Whole huge pages only: one given back in part would be split first.
  const auto At = reinterpret_cast<uintptr_t>(Begin);
  const uintptr_t First = RoundUp(At, HugePage);
  const uintptr_t End = RoundDown(At + Size, HugePage);
  if (End > First) (void)::madvise(reinterpret_cast<void*>(First), End - First, MADV_DONTNEED);
}

TPrefault::TPrefault(void* Begin, size_t Size, bool Paced) : FBegin(reinterpret_cast<uintptr_t>(Begin)) {
  static const auto PageSize = static_cast<uintptr_t>(::sysconf(_SC_PAGESIZE));
  if (Size < (size_t{64} << 20) || std::thread::hardware_concurrency() < 2) return;
  const uintptr_t First = RoundUp(FBegin, PageSize);
  const uintptr_t End = RoundDown(FBegin + Size, PageSize);
  if (End <= First) return;
  try {
    FWorker = std::thread([this, First, End, Paced] { Run(First, End, Paced); });
  } catch (const std::system_error&) {
  }
}

TPrefault::~TPrefault() {
  if (!FWorker.joinable()) return;
  // A caller that stopped filling, by a throw say, must not leave the worker waiting for it.
  FStop.store(true);
  FFilled.store(SIZE_MAX);
  FFilled.notify_one();
  FWorker.join();
}

void TPrefault::Filled(size_t Bytes) {
  FFilled.store(Bytes, std::memory_order_relaxed);
  FFilled.notify_one();
}

void TPrefault::Run(uintptr_t First, uintptr_t End, bool Paced) {
  constexpr size_t Step = size_t{16} << 20;
  for (uintptr_t At = First; At < End && !FStop.load(std::memory_order_relaxed);) {
    const uintptr_t Next = std::min<uintptr_t>(End, At + Step);
    for (size_t Seen = FFilled.load(); Paced && !FStop.load() && Next - FBegin > PaceLead + Seen;
         Seen = FFilled.load())
      FFilled.wait(Seen);
    // An older kernel refuses the advice: the pages then fault as they are written.
    if (::madvise(reinterpret_cast<void*>(At), Next - At, MADV_POPULATE_WRITE) != 0) return;
    At = Next;
  }
}

}  // namespace tesvarin
