#include "app/SafeSave.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <set>
#include <vector>

#include "support/Exception.h"

namespace tesvarin {

namespace {

std::string FolderOf(const std::string& Path) {
  size_t Slash = Path.rfind('/');
  if (Slash == std::string::npos) return ".";
  if (Slash == 0) return "/";
  return Path.substr(0, Slash);
}

// The file a path names, through any symbolic links; the path itself when it does not exist yet.
std::string ResolveTarget(const std::string& Path) {
  char Buffer[PATH_MAX];
  if (realpath(Path.c_str(), Buffer) != nullptr) return Buffer;
  return Path;
}

bool WriteAll(int Fd, std::string_view Bytes) {
  while (!Bytes.empty()) {
    ssize_t N = write(Fd, Bytes.data(), Bytes.size());
    if (N < 0 && errno == EINTR) continue;
    if (N <= 0) return false;
    Bytes.remove_prefix(static_cast<size_t>(N));
  }
  return true;
}

const char* const TemporaryPrefix = ".tesvarin-save-";

// Extended attributes (ACLs among them) of From onto To; a file system without them, or an
// attribute this user may not set, is no reason to refuse the save.
void CopyAttributes(int From, int To) {
  ssize_t Size = flistxattr(From, nullptr, 0);
  if (Size <= 0) return;
  std::vector<char> Names(static_cast<size_t>(Size));
  Size = flistxattr(From, Names.data(), Names.size());
  if (Size <= 0) return;
  for (size_t I = 0; I < static_cast<size_t>(Size); I += std::strlen(Names.data() + I) + 1) {
    const char* Name = Names.data() + I;
    const ssize_t Length = fgetxattr(From, Name, nullptr, 0);
    if (Length < 0) continue;
    std::vector<char> Value(static_cast<size_t>(Length));
    if (fgetxattr(From, Name, Value.data(), Value.size()) == Length) (void)fsetxattr(To, Name, Value.data(), Value.size(), 0);
  }
}

// The new file takes the old one's owner, group, permission bits and attributes. The owner first:
// changing it clears set-user-ID bits that the mode then puts back.
bool TakeOver(int Fd, const struct stat* Old, mode_t Mode, const std::string& Target) {
  if (Old != nullptr) {
    (void)fchown(Fd, Old->st_uid, Old->st_gid);  // only root may give a file away; others keep theirs
    const int From = open(Target.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (From >= 0) {
      CopyAttributes(From, Fd);
      close(From);
    }
  }
  return fchmod(Fd, Mode) == 0;
}

// Temporaries of our own naming that a killed save left behind are removed by the next save there.
// Once per folder and process is enough: a save of this process that is cut short ends the process.
void RemoveStaleTemporaries(const std::string& Folder) {
  static std::set<std::string> Cleaned;
  if (!Cleaned.insert(Folder).second) return;
  DIR* Dir = opendir(Folder.c_str());
  if (Dir == nullptr) return;
  const size_t PrefixLength = std::strlen(TemporaryPrefix);
  while (const dirent* E = readdir(Dir)) {
    if (std::strncmp(E->d_name, TemporaryPrefix, PrefixLength) != 0) continue;
    struct stat St {};
    if (fstatat(dirfd(Dir), E->d_name, &St, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(St.st_mode) && St.st_uid == geteuid())
      unlinkat(dirfd(Dir), E->d_name, 0);
  }
  closedir(Dir);
}

std::string TemporaryName(const std::string& Folder) {
  static std::atomic<unsigned> Counter{0};
  return Folder + "/" + TemporaryPrefix + std::to_string(getpid()) + "-" + std::to_string(++Counter);
}

// A new file in Folder holding Bytes, synced, owned and permitted as the old one; returns its path.
// An unnamed file gets its name only just before it is renamed over the target, so a kill while it
// is written leaves nothing; where unnamed files are not supported, a named one is used.
std::string WriteTemporary(const std::string& Folder, std::string_view Bytes, mode_t Mode, const struct stat* Old,
                           const std::string& Target, const std::string& ForPath) {
  RemoveStaleTemporaries(Folder);
  int Fd = open(Folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
  const bool Unnamed = Fd >= 0;
  std::string Name;
  if (!Unnamed) {
    Name = Folder + "/" + TemporaryPrefix + "XXXXXX";
    Fd = mkstemp(Name.data());
  }
  if (Fd < 0) RaiseInOutError("保存用の一時ファイルを作成できません", ForPath, errno);
  bool Ok = TakeOver(Fd, Old, Mode, Target) && WriteAll(Fd, Bytes) && fsync(Fd) == 0;
  int Err = errno;
  if (Ok && Unnamed) {
    Name = TemporaryName(Folder);
    const std::string Self = "/proc/self/fd/" + std::to_string(Fd);
    Ok = linkat(AT_FDCWD, Self.c_str(), AT_FDCWD, Name.c_str(), AT_SYMLINK_FOLLOW) == 0;
    Err = errno;
  }
  if (close(Fd) != 0 && Ok) {
    Ok = false;
    Err = errno;
  }
  if (!Ok) {
    if (!Name.empty()) unlink(Name.c_str());
    RaiseInOutError("ファイルに書き込めません", ForPath, Err != 0 ? Err : EIO);
  }
  return Name;
}

// A file with other names is rewritten where it is, so that every name sees the new text.
void WriteInPlace(const std::string& Target, std::string_view Bytes, const std::string& ForPath) {
  const int Fd = open(Target.c_str(), O_WRONLY | O_CLOEXEC | O_NONBLOCK);
  if (Fd < 0) RaiseInOutError("ファイルに書き込めません", ForPath, errno);
  bool Ok = WriteAll(Fd, Bytes) && ftruncate(Fd, static_cast<off_t>(Bytes.size())) == 0 && fsync(Fd) == 0;
  int Err = errno;
  if (close(Fd) != 0 && Ok) {
    Ok = false;
    Err = errno;
  }
  if (!Ok) RaiseInOutError("ファイルに書き込めません", ForPath, Err != 0 ? Err : EIO);
}

void CopyFileBytes(const std::string& From, const std::string& To) {
  int In = open(From.c_str(), O_RDONLY | O_CLOEXEC);
  if (In < 0) RaiseInOutError("バックアップを作成できません", To, errno);
  int Out = open(To.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (Out < 0) {
    int Err = errno;
    close(In);
    RaiseInOutError("バックアップを作成できません", To, Err);
  }
  char Buffer[65536];
  bool Ok = true;
  for (;;) {
    ssize_t N = read(In, Buffer, sizeof Buffer);
    if (N < 0 && errno == EINTR) continue;
    if (N < 0) Ok = false;
    if (N <= 0) break;
    if (!WriteAll(Out, std::string_view(Buffer, static_cast<size_t>(N)))) {
      Ok = false;
      break;
    }
  }
  int Err = errno;
  Ok = fsync(Out) == 0 && Ok;
  close(In);
  close(Out);
  if (!Ok) RaiseInOutError("バックアップを作成できません", To, Err != 0 ? Err : EIO);
}

// Puts the current content of Target under Backup, replacing an older backup. A file rewritten in
// place needs a copy: a second name would see the new text too.
void MakeBackupOf(const std::string& Target, const std::string& Backup, bool Copy) {
  if (unlink(Backup.c_str()) != 0 && errno != ENOENT) RaiseInOutError("古いバックアップを削除できません", Backup, errno);
  if (!Copy && link(Target.c_str(), Backup.c_str()) == 0) return;
  CopyFileBytes(Target, Backup);  // another file system, or one without hard links
}

mode_t CurrentUmask() {
  mode_t Mask = umask(0);
  umask(Mask);
  return Mask;
}

}  // namespace

std::string BackupName(const std::string& Path) {
  size_t Slash = Path.rfind('/');
  size_t NameStart = Slash == std::string::npos ? 0 : Slash + 1;
  size_t Dot = Path.rfind('.');
  if (Dot == std::string::npos || Dot < NameStart) return Path + ".bak";
  return Path.substr(0, Dot) + ".bak";
}

// Like the desktop's read-only attribute: a file nobody may write is refused, by root too.
bool IsReadOnly(const std::string& Target, const struct stat& St) {
  return (St.st_mode & 0222) == 0 || access(Target.c_str(), W_OK) != 0;
}

void SaveFileSafely(const std::string& Path, std::string_view Bytes, bool MakeBackup) {
  // A write past the file-size limit must fail as an error, not end the process.
  static const bool IgnoringFileSizeSignal = std::signal(SIGXFSZ, SIG_IGN) != SIG_ERR;
  (void)IgnoringFileSizeSignal;
  std::string Target = ResolveTarget(Path);
  struct stat St {};
  bool Exists = stat(Target.c_str(), &St) == 0;
  if (Exists && IsReadOnly(Target, St)) RaiseInOutError("読み取り専用のファイルには保存できません", Path, EACCES);
  mode_t Mode = Exists ? (St.st_mode & 07777) : (0666 & ~CurrentUmask());
  const bool InPlace = Exists && St.st_nlink > 1;
  const std::string Backup = BackupName(Path);
  const bool Backs = MakeBackup && Exists && ResolveTarget(Backup) != Target;
  if (InPlace) {
    if (Backs) MakeBackupOf(Target, Backup, true);
    WriteInPlace(Target, Bytes, Path);
    return;
  }
  std::string Temporary = WriteTemporary(FolderOf(Target), Bytes, Mode, Exists ? &St : nullptr, Target, Path);
  try {
    if (Backs) MakeBackupOf(Target, Backup, false);
  } catch (...) {
    unlink(Temporary.c_str());
    throw;
  }
  if (rename(Temporary.c_str(), Target.c_str()) != 0) {
    int Err = errno;
    unlink(Temporary.c_str());
    RaiseInOutError("ファイルを置き換えられません", Path, Err);
  }
}

}  // namespace tesvarin
