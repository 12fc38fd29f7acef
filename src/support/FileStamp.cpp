#include "support/FileStamp.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

#include "support/Exception.h"

namespace tesvarin {

namespace {

// Four independent multiply chains over 32-byte stripes keep the hash near memory speed.
constexpr uint64_t K1 = 0x9E3779B185EBCA87ULL;
constexpr uint64_t K2 = 0xC2B2AE3D27D4EB4FULL;
constexpr uint64_t K3 = 0x165667B19E3779F9ULL;
constexpr uint64_t K4 = 0x85EBCA77C2B2AE63ULL;
constexpr uint64_t K5 = 0x27D4EB2F165667C5ULL;

uint64_t Rotl(uint64_t X, int R) { return (X << R) | (X >> (64 - R)); }

uint64_t Round(uint64_t Acc, uint64_t Word) { return Rotl(Acc + Word * K2, 31) * K1; }

uint64_t Load64(const unsigned char* P) {
  uint64_t W;
  std::memcpy(&W, P, sizeof W);
  return W;
}

int64_t Nanoseconds(const timespec& T) { return static_cast<int64_t>(T.tv_sec) * 1000000000 + T.tv_nsec; }

struct TFdCloser {
  int Fd;
  ~TFdCloser() {
    if (Fd >= 0) close(Fd);
  }
};

}  // namespace

TStampHash::TStampHash() : FLane{K1 + K2, K2, 0, 0 - K1}, FPending{} {}

void TStampHash::Update(std::string_view Bytes) {
  if (Bytes.empty()) return;  // an empty view may have no data pointer at all
  auto Data = reinterpret_cast<const unsigned char*>(Bytes.data());
  size_t Left = Bytes.size();
  FTotal += Left;
  // The lanes live in locals: byte loads may alias any member, which would keep them in memory.
  uint64_t L0 = FLane[0], L1 = FLane[1], L2 = FLane[2], L3 = FLane[3];
  auto Consume = [&](const unsigned char* P) {
    L0 = Round(L0, Load64(P));
    L1 = Round(L1, Load64(P + 8));
    L2 = Round(L2, Load64(P + 16));
    L3 = Round(L3, Load64(P + 24));
  };
  if (FPendingSize > 0) {
    const size_t Take = std::min(Left, Stripe - FPendingSize);
    std::memcpy(FPending + FPendingSize, Data, Take);
    FPendingSize += Take;
    Data += Take;
    Left -= Take;
    if (FPendingSize == Stripe) {
      Consume(FPending);
      FPendingSize = 0;
    }
  }
  if (FPendingSize == 0) {
    for (; Left >= Stripe; Data += Stripe, Left -= Stripe) Consume(Data);
    std::memcpy(FPending, Data, Left);
    FPendingSize = Left;
  }
  FLane[0] = L0;
  FLane[1] = L1;
  FLane[2] = L2;
  FLane[3] = L3;
}

uint64_t TStampHash::Final() const {
  uint64_t H = Rotl(FLane[0], 1) + Rotl(FLane[1], 7) + Rotl(FLane[2], 12) + Rotl(FLane[3], 18);
  for (uint64_t Lane : FLane) H = (H ^ Round(0, Lane)) * K1 + K4;
  H += FTotal;
  size_t I = 0;
  for (; I + 8 <= FPendingSize; I += 8) H = Rotl(H ^ Round(0, Load64(FPending + I)), 27) * K1 + K4;
  for (; I < FPendingSize; ++I) H = Rotl(H ^ (FPending[I] * K5), 11) * K1;
  H ^= H >> 33;
  H *= K2;
  H ^= H >> 29;
  H *= K3;
  H ^= H >> 32;
  return H;
}

uint64_t StampHashOf(std::string_view Bytes) {
  TStampHash H;
  H.Update(Bytes);
  return H.Final();
}

bool SameFileState(const TFileStamp& Then, const TFileStamp& Now) {
  return Then.Steady && Now.Steady && Then.Device == Now.Device && Then.Inode == Now.Inode &&
         Then.Size == Now.Size && Then.ModifiedNs == Now.ModifiedNs && Then.Hash == Now.Hash;
}

bool StatMatches(const std::string& Path, const TFileStamp& Then) {
  struct stat St {};
  return stat(Path.c_str(), &St) == 0 && St.st_dev == Then.Device && St.st_ino == Then.Inode &&
         static_cast<uint64_t>(St.st_size) == Then.Size && Nanoseconds(St.st_mtim) == Then.ModifiedNs;
}

TStampTaker::TStampTaker(int Fd) {
  struct stat St {};
  FOk = fstat(Fd, &St) == 0;
  FDevice = St.st_dev;
  FInode = St.st_ino;
  FSize = static_cast<uint64_t>(St.st_size);
  FModifiedNs = Nanoseconds(St.st_mtim);
  FChangedNs = Nanoseconds(St.st_ctim);
}

TFileStamp TStampTaker::Finish(int Fd, uint64_t Hash, uint64_t BytesRead) const {
  struct stat St {};
  const bool Ok = fstat(Fd, &St) == 0;
  TFileStamp S;
  S.Device = St.st_dev;
  S.Inode = St.st_ino;
  S.Size = static_cast<uint64_t>(St.st_size);
  S.ModifiedNs = Nanoseconds(St.st_mtim);
  S.Hash = Hash;
  // A write while the bytes came in shows as a change of size or times; a regular file whose size
  // differs from what was read was cut or grown under the read.
  S.Steady = Ok && FOk && S.Device == FDevice && S.Inode == FInode && S.Size == FSize &&
             S.ModifiedNs == FModifiedNs && Nanoseconds(St.st_ctim) == FChangedNs &&
             (!S_ISREG(St.st_mode) || BytesRead == S.Size);
  return S;
}

std::optional<TFileStamp> StampOfOpenFile(int Fd) {
  const TStampTaker Taker(Fd);
  TStampHash Hash;
  std::vector<char> Buffer(1 << 20);
  uint64_t Offset = 0;
  for (;;) {
    const ssize_t N = pread(Fd, Buffer.data(), Buffer.size(), static_cast<off_t>(Offset));
    if (N < 0 && errno == EINTR) continue;
    if (N < 0) return std::nullopt;
    if (N == 0) break;
    Hash.Update(std::string_view(Buffer.data(), static_cast<size_t>(N)));
    Offset += static_cast<uint64_t>(N);
  }
  return Taker.Finish(Fd, Hash.Final(), Offset);
}

std::optional<TFileStamp> StampOfFile(const std::string& Path) {
  const TFdCloser File{open(Path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK)};
  if (File.Fd < 0) return std::nullopt;
  return StampOfOpenFile(File.Fd);
}

TFileStamp ReadFileStamped(const std::string& Path, std::string& Bytes) {
  const TFdCloser File{open(Path.c_str(), O_RDONLY | O_CLOEXEC)};
  if (File.Fd < 0) RaiseInOutError("ファイルを開けません", Path, errno);
  const TStampTaker Taker(File.Fd);
  Bytes.clear();
  char Buffer[65536];
  for (;;) {
    const ssize_t N = read(File.Fd, Buffer, sizeof Buffer);
    if (N < 0 && errno == EINTR) continue;
    if (N < 0) RaiseInOutError("ファイルを読めません", Path, errno);
    if (N == 0) break;
    Bytes.append(Buffer, static_cast<size_t>(N));
  }
  return Taker.Finish(File.Fd, Bytes);
}

}  // namespace tesvarin
