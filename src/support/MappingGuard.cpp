#include "support/MappingGuard.h"

#include <sys/mman.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <csignal>
#include <cstdint>
#include <mutex>

namespace tesvarin {

namespace {

// The mappings a bus error may hit. A page past the end of a file cut short under its mapping
// raises SIGBUS when read; the handler puts a page of zeros there and marks the mapping, and the
// read goes on. A bus error anywhere else is left to the handler there was before.
struct TGuarded {
  std::atomic<uintptr_t> Start{0};
  std::atomic<size_t> Size{0};
  std::atomic<bool> Cut{false};
};
std::array<TGuarded, 64> Slots;
struct sigaction Unguarded {};
size_t PageSize = 4096;
constexpr uintptr_t Claimed = 1;  // a mark that is no address: the slot is being filled in

void OnBusError(int, siginfo_t* Info, void*) {
  const auto At = reinterpret_cast<uintptr_t>(Info->si_addr);
  for (TGuarded& G : Slots) {
    const uintptr_t Start = G.Start.load(std::memory_order_acquire);
    if (Start <= Claimed || At < Start || At - Start >= G.Size.load(std::memory_order_relaxed)) continue;
    void* Page = reinterpret_cast<void*>(At & ~(PageSize - 1));
    if (mmap(Page, PageSize, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0) == MAP_FAILED) break;
    G.Cut.store(true, std::memory_order_relaxed);
    return;
  }
  // Not a guarded page: the fault comes again at once, under the handler there was before.
  sigaction(SIGBUS, &Unguarded, nullptr);
}

void InstallGuard() {
  static std::once_flag Installed;
  std::call_once(Installed, [] {
    PageSize = static_cast<size_t>(sysconf(_SC_PAGESIZE));
    struct sigaction Action {};
    Action.sa_sigaction = OnBusError;
    Action.sa_flags = SA_SIGINFO;
    sigemptyset(&Action.sa_mask);
    sigaction(SIGBUS, &Action, &Unguarded);
  });
}

}  // namespace

TMappingGuard::TMappingGuard(const void* Begin, size_t Length) {
  InstallGuard();
  for (size_t I = 0; I < Slots.size(); ++I) {
    TGuarded& G = Slots[I];
    uintptr_t Free = 0;
    if (!G.Start.compare_exchange_strong(Free, Claimed, std::memory_order_acquire)) continue;
    G.Size.store(Length, std::memory_order_relaxed);
    G.Cut.store(false, std::memory_order_relaxed);
    G.Start.store(reinterpret_cast<uintptr_t>(Begin), std::memory_order_release);
    FSlot = static_cast<int>(I);
    return;
  }
}

TMappingGuard::~TMappingGuard() {
  if (FSlot >= 0) Slots[static_cast<size_t>(FSlot)].Start.store(0, std::memory_order_release);
}

bool TMappingGuard::Patched() const {
  return FSlot >= 0 && Slots[static_cast<size_t>(FSlot)].Cut.load(std::memory_order_relaxed);
}

}  // namespace tesvarin
