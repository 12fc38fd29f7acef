#include "app/FileSystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "support/Exception.h"
#include "support/StringList.h"

namespace tesvarin {

namespace {

TEntryKind KindOf(const struct stat& St) {
  if (S_ISREG(St.st_mode)) return ekRegular;
  if (S_ISDIR(St.st_mode)) return ekDirectory;
  return ekOther;
}

// As big as a block on huge pages: a few huge pages take the place of a fault per small page.
constexpr size_t FirstBufferRoom = HugeMappingFrom;

}  // namespace

std::vector<TDirEntry> ReadFolder(const std::string& Folder, int* Error) {
  int Dummy = 0;
  int* Reason = Error != nullptr ? Error : &Dummy;
  TOpenFolder Dir;
  if (!Dir.Open(Folder, Reason)) return {};
  return Dir.Read(Reason);
}

bool TOpenFolder::Open(const std::string& Folder, int* Error) {
  Close();
  FFd = open(Folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  struct stat St {};
  if (FFd < 0 || fstat(FFd, &St) != 0) {
    *Error = errno;
    Close();
    return false;
  }
  *Error = 0;
  FId = TFileId{static_cast<uint64_t>(St.st_dev), static_cast<uint64_t>(St.st_ino)};
  return true;
}

void TOpenFolder::Close() {
  if (FFd >= 0) close(FFd);
  FFd = -1;
}

std::vector<TDirEntry> TOpenFolder::Read(int* Error) const {
  std::vector<TDirEntry> Entries;
  *Error = 0;
  alignas(struct dirent64) char Buffer[32768];
  for (;;) {
    const ssize_t Got = getdents64(FFd, Buffer, sizeof Buffer);
    if (Got < 0 && errno == EINTR) continue;
    if (Got < 0) {
      *Error = errno;  // a listing broken off is reported with what it gave
      break;
    }
    if (Got == 0) break;
    for (ssize_t At = 0; At < Got;) {
      const auto* E = reinterpret_cast<const struct dirent64*>(Buffer + At);
      At += E->d_reclen;
      if (std::strcmp(E->d_name, ".") == 0 || std::strcmp(E->d_name, "..") == 0) continue;
      TDirEntry Entry{E->d_name, ekOther};
      if (E->d_type == DT_REG) {
        Entry.Kind = ekRegular;
      } else if (E->d_type == DT_DIR) {
        Entry.Kind = ekDirectory;
      } else if (E->d_type == DT_LNK || E->d_type == DT_UNKNOWN) {
        struct stat St {};
        if (fstatat(FFd, E->d_name, &St, 0) == 0) {
          Entry.Kind = KindOf(St);
        } else if (errno != ENOENT) {
          Entry.Error = errno;  // a link loop, a chain too long, no access
        }
        Entry.Link = E->d_type == DT_LNK || (fstatat(FFd, E->d_name, &St, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(St.st_mode));
      }
      Entries.push_back(std::move(Entry));
    }
  }
  return Entries;
}

std::optional<TFileId> FileIdOf(const std::string& Path, int* Error) {
  struct stat St {};
  if (stat(Path.c_str(), &St) != 0) {
    if (Error != nullptr) *Error = errno;
    return std::nullopt;
  }
  return TFileId{static_cast<uint64_t>(St.st_dev), static_cast<uint64_t>(St.st_ino)};
}

std::optional<TFileInfo> GetFileInfo(const std::string& Path) {
  struct statx Sx {};
  if (statx(AT_FDCWD, Path.c_str(), 0, STATX_BASIC_STATS | STATX_BTIME, &Sx) != 0) return std::nullopt;
  TFileInfo Info;
  Info.Size = Sx.stx_size;
  Info.WriteTime = Sx.stx_mtime.tv_sec;
  if ((Sx.stx_mask & STATX_BTIME) != 0) Info.CreationTime = Sx.stx_btime.tv_sec;
  Info.ReadOnly = access(Path.c_str(), W_OK) != 0;
  Info.Regular = S_ISREG(Sx.stx_mode);
  return Info;
}

bool FileExists(const std::string& Path) {
  struct stat St {};
  return stat(Path.c_str(), &St) == 0 && S_ISREG(St.st_mode);
}

bool DirectoryExists(const std::string& Path) {
  struct stat St {};
  return stat(Path.c_str(), &St) == 0 && S_ISDIR(St.st_mode);
}

std::string ReadFilePrefix(const std::string& Path, size_t MaxBytes) {
  // O_NONBLOCK: should a FIFO slip in between the test and the open, the open must not hang.
  int Fd = open(Path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (Fd < 0) RaiseInOutError("ファイルを開けません", Path, errno);
  std::string Bytes(MaxBytes, '\0');
  size_t Got = 0;
  while (Got < MaxBytes) {
    ssize_t N = read(Fd, Bytes.data() + Got, MaxBytes - Got);
    if (N < 0 && errno == EINTR) continue;
    if (N < 0) {
      int Err = errno;
      close(Fd);
      RaiseInOutError("ファイルを読めません", Path, Err);
    }
    if (N == 0) break;
    Got += static_cast<size_t>(N);
  }
  close(Fd);
  Bytes.resize(Got);
  return Bytes;
}

TCandidateFile::~TCandidateFile() {
  if (FFd >= 0) close(FFd);
}

bool TCandidateFile::OpenAt(int Folder, const std::string& Path, const char* Name, bool NoFollow) {
  FPath = Path;
  FFd = openat(Folder, Name, O_RDONLY | O_NONBLOCK | O_CLOEXEC | (NoFollow ? O_NOFOLLOW : 0));
  if (FFd < 0) {
    // Gone since the folder was read: skipped without a word, as a vanished file always was.
    FError = errno == ENOENT ? 0 : errno;
    return false;
  }
  struct statx Sx {};
  if (statx(FFd, "", AT_EMPTY_PATH, STATX_BASIC_STATS | STATX_BTIME, &Sx) != 0) {
    FError = errno;
    return false;
  }
  // Whatever the name now leads to must still be a regular file: a FIFO or device is never read.
  if (!S_ISREG(Sx.stx_mode)) return false;
  FInfo.Size = Sx.stx_size;
  FInfo.WriteTime = Sx.stx_mtime.tv_sec;
  if ((Sx.stx_mask & STATX_BTIME) != 0) FInfo.CreationTime = Sx.stx_btime.tv_sec;
  FInfo.Regular = true;
  FId = TFileId{static_cast<uint64_t>(makedev(Sx.stx_dev_major, Sx.stx_dev_minor)), Sx.stx_ino};
  return true;
}

bool TCandidateFile::Writable() const {
  if (faccessat(FFd, "", W_OK, AT_EMPTY_PATH) == 0) return true;
  // Kernels before 5.8 know no descriptor form; the path gives the same answer there.
  if (errno == EINVAL || errno == ENOSYS) return access(FPath.c_str(), W_OK) == 0;
  return false;
}

std::string_view TCandidateFile::Head(size_t Count, size_t ReadAhead) {
  // Room for what is asked and one byte more, so that a file that grew shows it. Unless only a probe
  // is read, a run's first files get room for bigger ones to come: growing step by step would copy
  // into fresh pages.
  const uint64_t Wanted = std::min<uint64_t>(FInfo.Size, std::max(Count, ReadAhead));
  RequireMemoryFor(Wanted, FPath);
  const size_t Room = static_cast<size_t>(Wanted) + 1;
  if (FBuffer.size() < Room) {
    const bool ProbeOnly = std::max(Count, ReadAhead) < HeadReadAhead;
    if (FBuffer.capacity() < Room) FBuffer.reserve(ProbeOnly ? Room : std::max(Room, FirstBufferRoom));
    FBuffer.resize(Room);
  }
  while (!FEnded && FGot < Count) {
    if (FGot == FBuffer.size()) FBuffer.resize(FBuffer.size() + FBuffer.size() / 2 + 65536);
    // Small files come in one read; of a big one only a first part while only the head is wanted.
    const size_t Ask = std::min(FBuffer.size() - FGot, std::max(Count - FGot, ReadAhead));
    const ssize_t N = ReadSome(FBuffer.data() + FGot, Ask);
    FGot += static_cast<size_t>(N);
    // A short read is no end: only 0, or the size the descriptor gave, is.
    FEnded = N == 0 || FGot == FInfo.Size;
  }
  return {FBuffer.data(), std::min(FGot, FBuffer.size())};
}

// As Head, the file ends where it ended when it was opened: a log that keeps growing is not
// followed for ever.
size_t TCandidateFile::ReadOn(char* Into, size_t Max) {
  if (Max == 0 || FEnded) return 0;
  const ssize_t N = ReadSome(Into, Max);
  FGot += static_cast<size_t>(N);
  FEnded = N == 0 || FGot >= FInfo.Size;
  return static_cast<size_t>(N);
}

ssize_t TCandidateFile::ReadSome(char* Into, size_t Max) {
  for (;;) {
    const ssize_t N = read(FFd, Into, Max);
    if (N >= 0) return N;
    if (errno == EINTR) continue;
    if (errno == EAGAIN) return 0;  // no regular file says so; nothing more can be read without waiting
    RaiseInOutError("ファイルを読めません", FPath, errno);
  }
}

}  // namespace tesvarin
