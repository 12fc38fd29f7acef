// What a file held when it was read: its identity, size and modification time around the read and a
// hash of the bytes read, so that a later save can tell whether anyone changed it since.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tesvarin {

// A fast 64-bit hash for telling contents apart (not for security). Fed in pieces of any size, it
// gives what one call over the whole would.
class TStampHash {
public:
  TStampHash();
  void Update(std::string_view Bytes);
  [[nodiscard]] uint64_t Final() const;

private:
  static constexpr size_t Stripe = 32;
  uint64_t FLane[4];
  unsigned char FPending[Stripe];
  size_t FPendingSize = 0;
  uint64_t FTotal = 0;
};

[[nodiscard]] uint64_t StampHashOf(std::string_view Bytes);

struct TFileStamp {
  uint64_t Device = 0;
  uint64_t Inode = 0;
  uint64_t Size = 0;
  int64_t ModifiedNs = 0;
  uint64_t Hash = 0;
  bool Steady = true;  // the file did not change while it was read; else it matches nothing
};

// Then and Now show one file holding the same bytes: nobody wrote, replaced or touched it between.
[[nodiscard]] bool SameFileState(const TFileStamp& Then, const TFileStamp& Now);

// Whether the file at Path is still the stamped one by identity, size and modification time,
// without reading it: the cheap last look just before a file is replaced.
[[nodiscard]] bool StatMatches(const std::string& Path, const TFileStamp& Then);

// Takes the stamp around a read: the descriptor's state before, then after the read with the bytes.
class TStampTaker {
public:
  explicit TStampTaker(int Fd);
  [[nodiscard]] TFileStamp Finish(int Fd, uint64_t Hash, uint64_t BytesRead) const;
  [[nodiscard]] TFileStamp Finish(int Fd, std::string_view Bytes) const {
    return Finish(Fd, StampHashOf(Bytes), Bytes.size());
  }

private:
  bool FOk = false;
  uint64_t FDevice = 0, FInode = 0, FSize = 0;
  int64_t FModifiedNs = 0, FChangedNs = 0;
};

// The stamp of an open file, read whole from its start without moving its offset; nothing when it
// cannot be read (errno tells why).
[[nodiscard]] std::optional<TFileStamp> StampOfOpenFile(int Fd);
// The same by path; nothing when there is no file there or it cannot be read.
[[nodiscard]] std::optional<TFileStamp> StampOfFile(const std::string& Path);
// Reads a whole file into Bytes and returns its stamp; raises EInOutError when it cannot be read.
TFileStamp ReadFileStamped(const std::string& Path, std::string& Bytes);

}  // namespace tesvarin
