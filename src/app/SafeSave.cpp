#include "app/SafeSave.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

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

// A new temporary file in Folder holding Bytes, synced, with Mode; returns its path.
std::string WriteTemporary(const std::string& Folder, std::string_view Bytes, mode_t Mode, const std::string& ForPath) {
  std::string Template = Folder + "/.tesvarin-save-XXXXXX";
  int Fd = mkstemp(Template.data());
  if (Fd < 0) RaiseInOutError("保存用の一時ファイルを作成できません", ForPath, errno);
  bool Ok = fchmod(Fd, Mode) == 0 && WriteAll(Fd, Bytes) && fsync(Fd) == 0;
  int Err = errno;
  if (close(Fd) != 0 && Ok) {
    Ok = false;
    Err = errno;
  }
  if (!Ok) {
    unlink(Template.c_str());
    RaiseInOutError("ファイルに書き込めません", ForPath, Err != 0 ? Err : EIO);
  }
  return Template;
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

// Puts the current content of Target under Backup, replacing an older backup.
void MakeBackupOf(const std::string& Target, const std::string& Backup) {
  if (unlink(Backup.c_str()) != 0 && errno != ENOENT) RaiseInOutError("古いバックアップを削除できません", Backup, errno);
  if (link(Target.c_str(), Backup.c_str()) == 0) return;
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

void SaveFileSafely(const std::string& Path, std::string_view Bytes, bool MakeBackup) {
  std::string Target = ResolveTarget(Path);
  struct stat St {};
  bool Exists = stat(Target.c_str(), &St) == 0;
  mode_t Mode = Exists ? (St.st_mode & 07777) : (0666 & ~CurrentUmask());
  std::string Temporary = WriteTemporary(FolderOf(Target), Bytes, Mode, Path);
  try {
    std::string Backup = BackupName(Path);
    if (MakeBackup && Exists && ResolveTarget(Backup) != Target) MakeBackupOf(Target, Backup);
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
