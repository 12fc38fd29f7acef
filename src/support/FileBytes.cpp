#include "support/FileBytes.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <mutex>

#include "support/Exception.h"

namespace tesvarin {

namespace {

struct TFdCloser {
  int Fd;
  ~TFdCloser() {
    if (Fd >= 0) close(Fd);
  }
};

// The mappings a bus error may hit. A page past the end of a file cut short under its mapping
// raises SIGBUS when read; the handler puts a page of zeros there and marks the mapping, and the
// read goes on. A bus error anywhere else is left to the handler there was before.
struct TGuarded {
  std::atomic<uintptr_t> Start{0};
  std::atomic<size_t> Size{0};
  std::atomic<bool> Cut{false};
};
std::array<TGuarded, 64> Guarded;
struct sigaction Unguarded {};
size_t PageSize = 4096;

void OnBusError(int, siginfo_t* Info, void*) {
  const auto At = reinterpret_cast<uintptr_t>(Info->si_addr);
  for (TGuarded& G : Guarded) {
    const uintptr_t Start = G.Start.load(std::memory_order_acquire);
    if (Start <= 1 || At < Start || At - Start >= G.Size.load(std::memory_order_relaxed)) continue;
    void* Page = reinterpret_cast<void*>(At & ~(PageSize - 1));
    if (mmap(Page, PageSize, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0) == MAP_FAILED) break;
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

// A free slot for the mapping, or -1 when all are taken (the mapping is then unguarded). A slot is
// claimed with a mark that is no address before it is filled in.
int Guard(const void* Start, size_t Size) {
  constexpr uintptr_t Claimed = 1;
  InstallGuard();
  for (size_t I = 0; I < Guarded.size(); ++I) {
    TGuarded& G = Guarded[I];
    uintptr_t Free = 0;
    if (!G.Start.compare_exchange_strong(Free, Claimed, std::memory_order_acquire)) continue;
    G.Size.store(Size, std::memory_order_relaxed);
    G.Cut.store(false, std::memory_order_relaxed);
    G.Start.store(reinterpret_cast<uintptr_t>(Start), std::memory_order_release);
    return static_cast<int>(I);
  }
  return -1;
}

}  // namespace

TFileBytes::TFileBytes(const std::string& Path, size_t MapFrom) {
  struct stat St {};
  if (stat(Path.c_str(), &St) != 0 || !S_ISREG(St.st_mode) || static_cast<uint64_t>(St.st_size) < MapFrom) {
    FStamp = ReadFileStamped(Path, FRead);
    return;
  }
  const TFdCloser File{open(Path.c_str(), O_RDONLY | O_CLOEXEC)};
  if (File.Fd < 0) RaiseInOutError("ファイルを開けません", Path, errno);
  const TStampTaker Taker(File.Fd);
  if (fstat(File.Fd, &St) != 0) RaiseInOutError("ファイルを読めません", Path, errno);
  const auto Size = static_cast<size_t>(St.st_size);
  if (Size > 0) {
    void* Data = mmap(nullptr, Size, PROT_READ, MAP_PRIVATE, File.Fd, 0);
    if (Data == MAP_FAILED) RaiseInOutError("ファイルを読めません", Path, errno);
    FMapped = Data;
    FMappedSize = Size;
    FGuard = Guard(FMapped, FMappedSize);
    // Read front to back, once or twice.
    (void)madvise(FMapped, FMappedSize, MADV_SEQUENTIAL);
  }
  FStamp = Taker.Finish(File.Fd, Bytes());
}

TFileBytes::~TFileBytes() {
  if (FGuard >= 0) Guarded[static_cast<size_t>(FGuard)].Start.store(0, std::memory_order_release);
  if (FMapped != nullptr) munmap(FMapped, FMappedSize);
}

bool TFileBytes::Cut() const {
  return FGuard >= 0 && Guarded[static_cast<size_t>(FGuard)].Cut.load(std::memory_order_relaxed);
}

}  // namespace tesvarin
