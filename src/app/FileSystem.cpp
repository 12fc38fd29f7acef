#include "app/FileSystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "support/Exception.h"

namespace tesvarin {

namespace {

TEntryKind KindOf(const struct stat& St) {
  if (S_ISREG(St.st_mode)) return ekRegular;
  if (S_ISDIR(St.st_mode)) return ekDirectory;
  return ekOther;
}

std::string JoinPath(const std::string& Folder, const char* Name) {
  if (!Folder.empty() && Folder.back() == '/') return Folder + Name;
  return Folder + "/" + Name;
}

}  // namespace

std::vector<TDirEntry> ReadFolder(const std::string& Folder) {
  std::vector<TDirEntry> Entries;
  DIR* Dir = opendir(Folder.c_str());
  if (Dir == nullptr) return Entries;
  while (const dirent* E = readdir(Dir)) {
    if (std::strcmp(E->d_name, ".") == 0 || std::strcmp(E->d_name, "..") == 0) continue;
    TEntryKind Kind = ekOther;
    if (E->d_type == DT_REG) {
      Kind = ekRegular;
    } else if (E->d_type == DT_DIR) {
      Kind = ekDirectory;
    } else if (E->d_type == DT_LNK || E->d_type == DT_UNKNOWN) {
      struct stat St {};
      if (stat(JoinPath(Folder, E->d_name).c_str(), &St) == 0) Kind = KindOf(St);
    }
    Entries.push_back({E->d_name, Kind});
  }
  closedir(Dir);
  return Entries;
}

std::optional<TFileId> FileIdOf(const std::string& Path) {
  struct stat St {};
  if (stat(Path.c_str(), &St) != 0) return std::nullopt;
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

}  // namespace tesvarin
