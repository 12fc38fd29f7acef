// How a save goes. A file with one name: the new bytes go to a temporary beside it, are flushed and
// read back, the file is compared with what was read at loading, the old content is put under the
// backup name, and the temporary is renamed over the file. A file with more names is rewritten in
// place: its old bytes are first copied (to the new backup, or a private temporary), so a failed
// write can be undone from the copy.
#include "app/SafeSave.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "app/TemporaryFile.h"

namespace tesvarin {

namespace {

constexpr size_t Chunk = 1 << 20;

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

class TFd {
public:
  explicit TFd(int Fd) : FFd(Fd) {}
  TFd(const TFd&) = delete;
  TFd& operator=(const TFd&) = delete;
  ~TFd() {
    if (FFd >= 0) close(FFd);
  }
  [[nodiscard]] int Get() const { return FFd; }

private:
  int FFd;
};

[[noreturn]] void Fail(const std::string& What, const std::string& Path, int Err) {
  RaiseInOutError(What, Path, Err != 0 ? Err : EIO);
}

bool WriteAll(int Fd, std::string_view Bytes) {
  while (!Bytes.empty()) {
    ssize_t N = write(Fd, Bytes.data(), Bytes.size());
    if (N < 0 && errno == EINTR) continue;
    if (N == 0) errno = EIO;
    if (N <= 0) return false;
    Bytes.remove_prefix(static_cast<size_t>(N));
  }
  return true;
}

// What the cache kept of a write is dropped first, so that the bytes come back from the disk.
void ForgetCachedPages(int Fd) { (void)posix_fadvise(Fd, 0, 0, POSIX_FADV_DONTNEED); }

// Whether Fd holds exactly Bytes; Hash gets their hash. A difference sets errno to EIO.
bool ReadBackEquals(int Fd, std::string_view Bytes, uint64_t& Hash) {
  ForgetCachedPages(Fd);
  TStampHash H;
  std::vector<char> Buffer(Chunk);
  uint64_t Offset = 0;
  for (;;) {
    const ssize_t N = pread(Fd, Buffer.data(), Buffer.size(), static_cast<off_t>(Offset));
    if (N < 0 && errno == EINTR) continue;
    if (N < 0) return false;
    if (N == 0) break;
    const auto Got = static_cast<size_t>(N);
    if (Offset + Got > Bytes.size() || std::memcmp(Buffer.data(), Bytes.data() + Offset, Got) != 0) {
      errno = EIO;
      return false;
    }
    H.Update(std::string_view(Buffer.data(), Got));
    Offset += Got;
  }
  if (Offset != Bytes.size()) {
    errno = EIO;
    return false;
  }
  Hash = H.Final();
  return true;
}

// Whether Fd holds Size bytes that hash to Hash, as read back from the disk.
bool ReadBackHashes(int Fd, uint64_t Size, uint64_t Hash) {
  ForgetCachedPages(Fd);
  const std::optional<TFileStamp> S = StampOfOpenFile(Fd);
  if (S && S->Size == Size && S->Hash == Hash) return true;
  errno = EIO;
  return false;
}

// What a save writes: bytes given whole, or the old file's bytes with splices made, copied from a
// descriptor that holds them while they are written.
class TNewBytes {
public:
  explicit TNewBytes(std::string_view Whole) : FWhole(Whole), FSize(Whole.size()) {}
  TNewBytes(const TByteSplices& Splices, uint64_t OldSize)
      : FSplices(&Splices), FOldSize(OldSize), FSize(SplicedSize(OldSize, Splices)) {}

  [[nodiscard]] uint64_t Size() const { return FSize; }
  // Whether the splices lie in order within the old bytes.
  [[nodiscard]] bool Valid() const {
    uint64_t At = 0;
    if (FSplices == nullptr) return true;
    for (const TByteSplice& S : *FSplices) {
      if (S.Offset < At || S.Length > FOldSize - S.Offset) return false;
      At = S.Offset + S.Length;
    }
    return true;
  }
  // Writes them at Fd's offset, the old bytes read from Old; false with errno set, EIO when Old
  // holds fewer bytes than it should. Old is read and the new bytes written a chunk at a time, so
  // a file with many hits costs no call per hit.
  bool Write(int Fd, int Old) {
    if (FSplices == nullptr) return WriteAll(Fd, FWhole);
    TStampHash H;
    std::vector<char> In(Chunk);
    uint64_t InAt = 0;  // the offset in Old of In's first byte
    size_t InSize = 0;
    std::string Out;
    Out.reserve(Chunk);
    auto Emit = [&](std::string_view Piece) {
      Out.append(Piece);
      if (Out.size() < Chunk) return true;
      H.Update(Out);
      const bool Ok = WriteAll(Fd, Out);
      Out.clear();
      return Ok;
    };
    auto Copy = [&](uint64_t From, uint64_t To) {
      while (From < To) {
        if (From < InAt || From >= InAt + InSize) {
          const ssize_t N = pread(Old, In.data(), In.size(), static_cast<off_t>(From));
          if (N < 0 && errno == EINTR) continue;
          if (N == 0) errno = EIO;
          if (N <= 0) return false;
          InAt = From;
          InSize = static_cast<size_t>(N);
        }
        const auto Take = static_cast<size_t>(std::min(To, InAt + InSize) - From);
        if (!Emit(std::string_view(In.data() + (From - InAt), Take))) return false;
        From += Take;
      }
      return true;
    };
    uint64_t At = 0;
    for (const TByteSplice& S : *FSplices) {
      if (!Copy(At, S.Offset) || !Emit(S.New)) return false;
      At = S.Offset + S.Length;
    }
    if (!Copy(At, FOldSize)) return false;
    H.Update(Out);
    if (!WriteAll(Fd, Out)) return false;
    FHash = H.Final();
    return true;
  }
  // Whether Fd, read back from the disk, holds what Write wrote; Hash gets its hash.
  bool ReadBack(int Fd, uint64_t& Hash) const {
    if (FSplices == nullptr) return ReadBackEquals(Fd, FWhole, Hash);
    Hash = FHash;
    return ReadBackHashes(Fd, FSize, FHash);
  }

private:
  std::string_view FWhole;
  const TByteSplices* FSplices = nullptr;
  uint64_t FOldSize = 0;
  uint64_t FSize = 0;
  uint64_t FHash = 0;
};

// Everything From holds, from its start, written at To's offset; Hash and Size get what was copied.
bool CopyBytes(int From, int To, uint64_t& Hash, uint64_t& Size) {
  TStampHash H;
  std::vector<char> Buffer(Chunk);
  uint64_t Offset = 0;
  for (;;) {
    const ssize_t N = pread(From, Buffer.data(), Buffer.size(), static_cast<off_t>(Offset));
    if (N < 0 && errno == EINTR) continue;
    if (N < 0) return false;
    if (N == 0) break;
    const std::string_view Piece(Buffer.data(), static_cast<size_t>(N));
    if (!WriteAll(To, Piece)) return false;
    H.Update(Piece);
    Offset += Piece.size();
  }
  Hash = H.Final();
  Size = Offset;
  return true;
}

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

// A new file takes over the old one's owner, group, attributes and permission bits. The owner first:
// changing it clears set-user-ID bits that the mode then puts back. Only root may give a file away;
// others may still give it a group of theirs. A group that cannot be kept gets no right others
// lack, so the new file is never more open than the old one.
bool TakeOver(int Fd, const struct stat* Old, int OldFd, mode_t Mode) {
  if (Old != nullptr) {
    if (fchown(Fd, Old->st_uid, Old->st_gid) != 0) (void)fchown(Fd, static_cast<uid_t>(-1), Old->st_gid);
    struct stat Now {};
    if (fstat(Fd, &Now) != 0 || Now.st_gid != Old->st_gid) Mode = (Mode & ~mode_t{070}) | (Mode & (Mode << 3) & 070);
    if (OldFd >= 0) CopyAttributes(OldFd, Fd);
  }
  return fchmod(Fd, Mode) == 0;
}

mode_t CurrentUmask() {
  mode_t Mask = umask(0);
  umask(Mask);
  return Mask;
}

// A copy never carries the set-ID bits: they belong to the one file that was meant to have them.
mode_t CopyMode(const struct stat& St) { return St.st_mode & 01777; }

struct TTarget {
  std::string Path;  // as given, for messages
  std::string File;  // the file itself, through any symbolic links
  bool Exists = false;
  struct stat St {};
};

TFileStamp StampOfWritten(int Fd, uint64_t Hash, uint64_t Size) { return TStampTaker(Fd).Finish(Fd, Hash, Size); }

void RequireUnchanged(int Fd, const TSaveOptions& O, const std::string& Path) {
  if (!O.Expected) return;
  errno = 0;
  const std::optional<TFileStamp> Now = StampOfOpenFile(Fd);
  if (!Now) Fail("ファイルを読めません", Path, errno);
  if (!SameFileState(*O.Expected, *Now)) throw EFileChangedOnDisk(Path);
}

// Copy gets the bytes of the open file Old, flushed and read back; returns their hash and size.
void FillCopy(TTemporaryFile& Copy, int OldFd, const struct stat* Old, const std::string& What,
              const std::string& Name, uint64_t& Hash, uint64_t& Size) {
  const bool Ok = (Old == nullptr || TakeOver(Copy.Fd(), Old, OldFd, CopyMode(*Old))) &&
                  CopyBytes(OldFd, Copy.Fd(), Hash, Size) && fsync(Copy.Fd()) == 0;
  if (!Ok || !ReadBackHashes(Copy.Fd(), Size, Hash)) Fail(What, Name, errno);
}

// The content of the open file goes under Backup: complete beside the old backup first, then renamed
// over it, so that a failure leaves the previous backup as it was. A hard link of the very file that
// was checked where the file system allows, else a copy.
void WriteBackup(int OldFd, const struct stat& Old, const std::string& Backup) {
  const std::string Folder = FolderOf(Backup);
  const std::string Link = NewTemporaryName(Folder);
  const std::string Self = "/proc/self/fd/" + std::to_string(OldFd);
  if (linkat(AT_FDCWD, Self.c_str(), AT_FDCWD, Link.c_str(), AT_SYMLINK_FOLLOW) == 0) {
    if (rename(Link.c_str(), Backup.c_str()) == 0) return;
    const int Err = errno;
    unlink(Link.c_str());
    Fail("バックアップを作成できません", Backup, Err);
  }
  TTemporaryFile Copy(Folder, Backup);
  uint64_t Hash = 0, Size = 0;
  FillCopy(Copy, OldFd, &Old, "バックアップを作成できません", Backup, Hash, Size);
  if (!Copy.RenameOver(Backup)) Fail("バックアップを作成できません", Backup, errno);
}

TSaveResult SaveByRename(const TTarget& T, TNewBytes& Bytes, const TSaveOptions& O, const std::string& Backup,
                         const std::function<void()>& BeforeReplace) {
  const TFd Old(T.Exists ? open(T.File.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK) : -1);
  if (T.Exists && Old.Get() < 0 && (O.Expected || !Backup.empty())) Fail("ファイルを開けません", T.Path, errno);
  const mode_t Mode = T.Exists ? (T.St.st_mode & 07777) : (0666 & ~CurrentUmask());
  TTemporaryFile Temp(FolderOf(T.File), T.Path);
  // The bytes before the mode: a write by a user who is not root clears the set-ID bits again.
  if (!Bytes.Write(Temp.Fd(), Old.Get()) || !TakeOver(Temp.Fd(), T.Exists ? &T.St : nullptr, Old.Get(), Mode) ||
      fsync(Temp.Fd()) != 0) {
    const int Err = errno;
    // Old bytes that ran short were changed under the save, which says so rather than fail.
    if (Old.Get() >= 0) RequireUnchanged(Old.Get(), O, T.Path);
    Fail("ファイルに書き込めません", T.Path, Err);
  }
  uint64_t Hash = 0;
  if (!Bytes.ReadBack(Temp.Fd(), Hash)) Fail("書き込んだ内容を確かめられません", T.Path, errno);
  if (Old.Get() >= 0) RequireUnchanged(Old.Get(), O, T.Path);
  if (!Backup.empty()) WriteBackup(Old.Get(), T.St, Backup);
  if (O.Expected && !StatMatches(T.File, *O.Expected)) throw EFileChangedOnDisk(T.Path);
  if (BeforeReplace) BeforeReplace();
  if (!Temp.RenameOver(T.File)) Fail("ファイルを置き換えられません", T.Path, errno);
  return {StampOfWritten(Temp.Fd(), Hash, Bytes.Size()), Backup};
}

// Room for the new bytes is taken before the first old byte is overwritten, where the file system
// can promise it: a disk without that room refuses the save with the file untouched.
void Reserve(int Fd, size_t Size, const std::string& Path) {
  if (Size == 0 || fallocate(Fd, FALLOC_FL_KEEP_SIZE, 0, static_cast<off_t>(Size)) == 0) return;
  if (errno == ENOSPC || errno == EDQUOT) Fail("ディスクに空きがないため保存しません", Path, errno);
}

// A copy that could not be put back is kept under a name of its own; empty when none could be made.
std::string KeepCopy(TTemporaryFile& Copy, const std::string& Path) {
  std::vector<std::string> Names{BackupName(Path), Path + ".bak"};
  for (int N = 2; N < 100; ++N) Names.push_back(Path + "." + std::to_string(N) + ".bak");
  for (const std::string& Name : Names) {
    if (Copy.LinkAs(Name)) return Name;
    if (errno != EEXIST) break;
  }
  return {};
}

// Puts the old bytes back from the copy after a failed write in place. Where even that fails, the
// copy is kept under a name (the backup already is one) and the error says where.
[[noreturn]] void Undo(int Fd, TTemporaryFile& Copy, uint64_t OldSize, uint64_t OldHash, const TTarget& T,
                       const std::string& Backup, int Err) {
  uint64_t Hash = 0, Size = 0;
  // Cutting first frees what the new bytes took, so that the old ones fit again.
  if (ftruncate(Fd, static_cast<off_t>(OldSize)) == 0 && lseek(Fd, 0, SEEK_SET) == 0 &&
      CopyBytes(Copy.Fd(), Fd, Hash, Size) && fsync(Fd) == 0 && ReadBackHashes(Fd, OldSize, OldHash)) {
    Fail("ファイルに書き込めません", T.Path, Err);
  }
  const std::string Kept = Backup.empty() ? KeepCopy(Copy, T.Path) : Backup;
  if (Kept.empty()) Fail("ファイルに書き込めず、元に戻せませんでした", T.Path, Err);
  Fail("ファイルに書き込めず、元に戻せませんでした。元の内容は " + Kept + " にあります", T.Path, Err);
}

// The kernel clears the set-ID bits of a file written by a user who is not root; its owner may put
// them back, as they stood. Others leave the file without them.
void KeepSetIdBits(int Fd, const struct stat& Old) {
  struct stat Now {};
  if ((Old.st_mode & 06000) != 0 && fstat(Fd, &Now) == 0 && (Now.st_mode & 07777) != (Old.st_mode & 07777))
    (void)fchmod(Fd, Old.st_mode & 07777);
}

TSaveResult SaveInPlace(const TTarget& T, TNewBytes& Bytes, const TSaveOptions& O, const std::string& Backup,
                        const std::function<void()>& BeforeReplace) {
  const TFd File(open(T.File.c_str(), O_RDWR | O_CLOEXEC | O_NONBLOCK));
  const int Fd = File.Get();
  if (Fd < 0) Fail("ファイルに書き込めません", T.Path, errno);
  // The old bytes first go to a copy on a disk with room for them: the new backup, or a private
  // temporary beside the file. Without that room nothing is touched.
  const bool Backs = !Backup.empty();
  TTemporaryFile Copy(Backs ? FolderOf(Backup) : FolderOf(T.File), T.Path);
  const TStampTaker Taker(Fd);
  uint64_t OldHash = 0, OldSize = 0;
  FillCopy(Copy, Fd, Backs ? &T.St : nullptr, Backs ? "バックアップを作成できません" : "元の内容を退避できません",
           Backs ? Backup : T.Path, OldHash, OldSize);
  const TFileStamp Old = Taker.Finish(Fd, OldHash, OldSize);
  if (!Old.Steady || (O.Expected && !SameFileState(*O.Expected, Old))) throw EFileChangedOnDisk(T.Path);
  Reserve(Fd, Bytes.Size(), T.Path);
  if (BeforeReplace) BeforeReplace();
  if (Backs && !Copy.RenameOver(Backup)) Fail("バックアップを作成できません", Backup, errno);
  uint64_t Hash = 0;
  // Spliced bytes come from the copy: the file itself is being overwritten.
  bool Ok = lseek(Fd, 0, SEEK_SET) == 0 && Bytes.Write(Fd, Copy.Fd()) &&
            ftruncate(Fd, static_cast<off_t>(Bytes.Size())) == 0 && fsync(Fd) == 0 && Bytes.ReadBack(Fd, Hash);
  if (!Ok) Undo(Fd, Copy, OldSize, OldHash, T, Backup, errno);
  KeepSetIdBits(Fd, T.St);
  return {StampOfWritten(Fd, Hash, Bytes.Size()), Backup};
}

// Like the desktop's read-only attribute: a file nobody may write is refused, by root too.
bool IsReadOnly(const std::string& Target, const struct stat& St) {
  return (St.st_mode & 0222) == 0 || access(Target.c_str(), W_OK) != 0;
}

}  // namespace

EFileChangedOnDisk::EFileChangedOnDisk(const std::string& Path)
    : EInOutError("読み込んだ後に他で変更されたため保存しません: " + Path, EAGAIN) {}

std::string BackupName(const std::string& Path) {
  size_t Slash = Path.rfind('/');
  size_t NameStart = Slash == std::string::npos ? 0 : Slash + 1;
  size_t Dot = Path.rfind('.');
  if (Dot == std::string::npos || Dot < NameStart) return Path + ".bak";
  return Path.substr(0, Dot) + ".bak";
}

namespace {

TSaveResult Save(const std::string& Path, TNewBytes& Bytes, const TSaveOptions& Options,
                 const std::function<void()>& BeforeReplace) {
  // A write past the file-size limit must fail as an error, not end the process.
  static const bool IgnoringFileSizeSignal = std::signal(SIGXFSZ, SIG_IGN) != SIG_ERR;
  (void)IgnoringFileSizeSignal;
  TTarget T;
  T.Path = Path;
  T.File = ResolveTarget(Path);
  T.Exists = stat(T.File.c_str(), &T.St) == 0;
  if (!T.Exists && Options.Expected) throw EFileChangedOnDisk(Path);
  if (T.Exists && !S_ISREG(T.St.st_mode)) Fail("通常のファイルではないため保存しません", Path, EINVAL);
  if (T.Exists && IsReadOnly(T.File, T.St)) Fail("読み取り専用のファイルには保存できません", Path, EACCES);
  std::string Backup;
  if (Options.MakeBackup && T.Exists) {
    Backup = Options.BackupPath.empty() ? BackupName(Path) : Options.BackupPath;
    if (ResolveTarget(Backup) == T.File) Backup.clear();  // the file itself: simply overwritten
  }
  if (T.Exists && T.St.st_nlink > 1) return SaveInPlace(T, Bytes, Options, Backup, BeforeReplace);
  return SaveByRename(T, Bytes, Options, Backup, BeforeReplace);
}

}  // namespace

TSaveResult SaveFileSafely(const std::string& Path, std::string_view Bytes, const TSaveOptions& Options,
                           const std::function<void()>& BeforeReplace) {
  TNewBytes New(Bytes);
  return Save(Path, New, Options, BeforeReplace);
}

uint64_t SplicedSize(uint64_t OldSize, const TByteSplices& Splices) {
  uint64_t Size = OldSize;
  for (const TByteSplice& S : Splices) Size = Size - S.Length + S.New.size();
  return Size;
}

TSaveResult SaveFileSpliced(const std::string& Path, const TByteSplices& Splices, const TSaveOptions& Options,
                            const std::function<void()>& BeforeReplace) {
  if (!Options.Expected) Fail("ファイルに書き込めません", Path, EINVAL);
  TNewBytes New(Splices, Options.Expected->Size);
  if (!New.Valid()) Fail("ファイルに書き込めません", Path, EINVAL);
  return Save(Path, New, Options, BeforeReplace);
}

void SaveFileSafely(const std::string& Path, std::string_view Bytes, bool MakeBackup) {
  TSaveOptions Options;
  Options.MakeBackup = MakeBackup;
  (void)SaveFileSafely(Path, Bytes, Options);
}

}  // namespace tesvarin
