#include "editor/text/TextBlock.h"

#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <cstdint>
#include <cstring>
#include <thread>

#include "editor/text/HugePages.h"
#include "support/FileStamp.h"
#include "support/MappingGuard.h"

namespace tesvarin {

namespace {

constexpr uintptr_t HugePage = uintptr_t{2} << 20;
constexpr size_t CopyChunk = size_t{8} << 20;

size_t PageRounded(size_t N) {
  static const auto PageSize = static_cast<size_t>(::sysconf(_SC_PAGESIZE));
  return (N + PageSize - 1) & ~(PageSize - 1);
}

}  // namespace

struct TBlockCopier::TState {
  char* Block;
  size_t Length;  // whole pages
  TMappingGuard Guard;
  std::atomic<bool> Stopping{false};
  std::mutex Lock;
  std::condition_variable Signal;
  bool Hashed = false;
  std::optional<uint64_t> HashValue;
  bool CopyAllowed = false;
  std::atomic<bool> Copied{false};
  std::thread Worker;

  TState(char* B, size_t L) : Block(B), Length(L), Guard(B, L) {}

  void Run(size_t Size) {
    std::optional<uint64_t> Value = HashOf(Size);
    {
      const std::lock_guard L(Lock);
      HashValue = Value;
      Hashed = true;
    }
    Signal.notify_all();
    {
      std::unique_lock L(Lock);
      Signal.wait(L, [this] { return CopyAllowed || Stopping.load(); });
    }
    // The copy waits for whatever the user does meanwhile.
    (void)::setpriority(PRIO_PROCESS, static_cast<id_t>(::syscall(SYS_gettid)), 10);
    Copy();
  }

  std::optional<uint64_t> HashOf(size_t Size) {
    TStampHash H;
    for (size_t At = 0; At < Size; At += CopyChunk) {
      if (Stopping.load(std::memory_order_relaxed)) return std::nullopt;
      H.Update(std::string_view(Block + At, std::min(CopyChunk, Size - At)));
    }
    return H.Final();
  }

  void Copy() {
    for (size_t At = 0; At < Length && !Stopping.load(std::memory_order_relaxed); At += CopyChunk) {
      const size_t N = std::min(CopyChunk, Length - At);
      void* Own = nullptr;
      try {
        Own = MapWithHugePages(N);
      } catch (const std::bad_alloc&) {
        return;  // the rest stays mapped from the file, which reads as well
      }
      std::memcpy(Own, Block + At, N);
      if (::mremap(Own, N, N, MREMAP_MAYMOVE | MREMAP_FIXED, Block + At) == MAP_FAILED) {
        Unmap(Own, N);
        return;
      }
    }
    Copied.store(!Stopping.load(std::memory_order_relaxed));
  }
};

TBlockCopier::TBlockCopier(char* Block, size_t Length) : FState(std::make_unique<TState>(Block, Length)) {}

TBlockCopier::~TBlockCopier() { Stop(); }

void TBlockCopier::Start(size_t Size) {
  if (FState->Worker.joinable()) return;
  FState->Worker = std::thread([S = FState.get(), Size] { S->Run(Size); });
}

std::optional<uint64_t> TBlockCopier::Hash() {
  if (!FState->Worker.joinable()) return std::nullopt;
  std::unique_lock L(FState->Lock);
  FState->Signal.wait(L, [this] { return FState->Hashed; });
  return FState->HashValue;
}

void TBlockCopier::AllowCopy() {
  {
    const std::lock_guard L(FState->Lock);
    FState->CopyAllowed = true;
  }
  FState->Signal.notify_all();
}

void TBlockCopier::Wait() {
  if (FState->Worker.joinable()) FState->Worker.join();
}

bool TBlockCopier::MakeOwn() {
  AllowCopy();
  Wait();
  return FState->Copied.load();
}

void TBlockCopier::Stop() {
  {
    const std::lock_guard L(FState->Lock);
    FState->Stopping.store(true);
  }
  FState->Signal.notify_all();
  Wait();
}

bool TBlockCopier::CutShort() const { return FState->Guard.Patched(); }

void TTextBlockFree::operator()(char* P) const {
  if (Text) {
    Text.reset();
    return;
  }
  if (Copier) Copier->Stop();
  if (Mapped != 0)
    Unmap(P, Mapped);
  else
    delete[] P;
}

TTextBlock TextBlockOf(TBigString&& Text) {
  // Moved, a string that is not kept inside itself keeps its buffer where it was.
  auto Owner = std::make_shared<TBigString>(std::move(Text));
  char* Bytes = Owner->data();
  return TTextBlock(Bytes, TTextBlockFree{0, nullptr, std::move(Owner)});
}

TTextBlock NewTextBlock(size_t Size) {
  if (Size < HugeMappingFrom) return TTextBlock(new char[Size], TTextBlockFree{});
  return TTextBlock(static_cast<char*>(MapWithHugePages(Size)), TTextBlockFree{Size, nullptr, nullptr});
}

TTextBlock MapFileBlock(int Fd, size_t Size) {
  if (Size == 0) return {};
  const size_t Length = PageRounded(Size);
  // Placed on a huge-page boundary, so the copied chunks can keep their huge pages.
  void* Room = ::mmap(nullptr, Length + HugePage, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
  if (Room == MAP_FAILED) return {};
  const auto RoomAt = reinterpret_cast<uintptr_t>(Room);
  const uintptr_t Begin = (RoomAt + HugePage - 1) & ~(HugePage - 1);
  void* Mapped = ::mmap(reinterpret_cast<void*>(Begin), Length, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_FIXED, Fd, 0);
  if (Mapped == MAP_FAILED) {
    ::munmap(Room, Length + HugePage);
    return {};
  }
  if (Begin > RoomAt) ::munmap(Room, Begin - RoomAt);
  if (RoomAt + HugePage > Begin) ::munmap(reinterpret_cast<void*>(Begin + Length), RoomAt + HugePage - Begin);
  TTextBlock Block(static_cast<char*>(Mapped), TTextBlockFree{Length, nullptr, nullptr});
  Block.get_deleter().Copier = std::make_shared<TBlockCopier>(Block.get(), Length);
  return Block;
}

}  // namespace tesvarin
