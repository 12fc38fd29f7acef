// The seam for system calls of the app tests: FaultInjectionTest.cpp puts its own read, write,
// fsync, linkat, rename, fchown and fallocate in front of the C library's, and every test of this
// program can arm them. Only descriptors above standard error are touched.
#pragma once

#include <sys/types.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

struct TFaults {
  bool Armed = false;
  size_t ReadCap = 0;  // a read returns at most this many bytes (0: as asked)
  bool InterruptNextRead = false;
  // Runs with the descriptor whenever a read comes to the end of a file: a change made there lands
  // after the bytes were read and before anything else looks at the file.
  std::function<void(int Fd)> AtEndOfRead{};
  size_t WriteCap = 0;    // a write takes at most this many bytes (0: as asked)
  int FailWriteAt = 0;    // the n-th write fails with WriteError (0: none)
  int FailWritesFrom = 0; // the n-th and every later write fail with WriteError (0: none)
  int WriteError = ENOSPC;
  int CorruptWriteAt = 0; // the n-th write puts other bytes on the disk than it was given, and says it did
  bool FailRename = false;
  bool RefuseChown = false;  // fchown fails with EPERM, as for a user who is not root
  bool RefuseFallocate = false;  // fallocate finds no room (ENOSPC)
  int KillAtStep = 0;  // the n-th write, fsync, linkat or rename kills the process first
  int Writes = 0;
  int Steps = 0;
  std::vector<std::pair<uid_t, gid_t>> Chowns{};  // what fchown was asked for, refused or not
};
extern TFaults Faults;

namespace tesvarin::test {

// Arms the seam for one scope.
struct TArmed {
  explicit TArmed(TFaults F) {
    Faults = std::move(F);
    Faults.Armed = true;
  }
  TArmed(const TArmed&) = delete;
  TArmed& operator=(const TArmed&) = delete;
  ~TArmed() { Faults = TFaults{}; }
};

// Names of our own temporaries (and of anything else with their prefix) left in a folder.
std::vector<std::string> Temporaries(const std::string& Folder);
// Text lines "line N\r\n" cut at Size bytes.
std::string Sample(size_t Size);
// The path an open descriptor names.
std::string PathOfFd(int Fd);
// Sets a file's modification time this many seconds into the past.
void AgeFile(const std::string& Path, long Seconds);

}  // namespace tesvarin::test
