#include "app/TemporaryFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <random>
#include <set>

#include "support/Exception.h"

namespace tesvarin {

namespace {

constexpr size_t RandomDigits = 16;
// A save that stopped this long ago with its process gone is over; one this old is over anyway
// (its process id may have been taken by another program since).
constexpr time_t StaleAfter = 60 * 60;
constexpr time_t StaleWhatever = 7 * 24 * 60 * 60;

uint64_t RandomPart() {
  uint64_t R = 0;
  if (getrandom(&R, sizeof R, GRND_NONBLOCK) == static_cast<ssize_t>(sizeof R)) return R;
  static std::mt19937_64 Fallback{std::random_device{}()};
  return Fallback();
}

bool ProcessGone(pid_t Pid) { return kill(Pid, 0) != 0 && errno == ESRCH; }

}  // namespace

std::string NewTemporaryName(const std::string& Folder) {
  char Random[RandomDigits + 1];
  std::snprintf(Random, sizeof Random, "%016llx", static_cast<unsigned long long>(RandomPart()));
  return Folder + "/" + TemporaryPrefix + std::to_string(getpid()) + "-" + Random;
}

bool IsTemporaryName(std::string_view Name, pid_t* Pid) {
  const std::string_view Prefix = TemporaryPrefix;
  if (Name.substr(0, Prefix.size()) != Prefix) return false;
  Name.remove_prefix(Prefix.size());
  const size_t Dash = Name.find('-');
  if (Dash == 0 || Dash == std::string_view::npos || Dash > 10) return false;
  long long Id = 0;
  for (char Ch : Name.substr(0, Dash)) {
    if (Ch < '0' || Ch > '9') return false;
    Id = Id * 10 + (Ch - '0');
  }
  const std::string_view Random = Name.substr(Dash + 1);
  if (Random.size() != RandomDigits) return false;
  for (char Ch : Random) {
    if (!((Ch >= '0' && Ch <= '9') || (Ch >= 'a' && Ch <= 'f'))) return false;
  }
  if (Id <= 0 || Id > INT32_MAX) return false;
  if (Pid != nullptr) *Pid = static_cast<pid_t>(Id);
  return true;
}

void RemoveStaleTemporaries(const std::string& Folder) {
  static std::set<std::string> Cleaned;
  if (!Cleaned.insert(Folder).second) return;
  DIR* Dir = opendir(Folder.c_str());
  if (Dir == nullptr) return;
  const time_t Now = std::time(nullptr);
  while (const dirent* E = readdir(Dir)) {
    pid_t Pid = 0;
    if (!IsTemporaryName(E->d_name, &Pid) || Pid == getpid()) continue;
    struct stat St {};
    if (fstatat(dirfd(Dir), E->d_name, &St, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(St.st_mode) ||
        St.st_uid != geteuid()) {
      continue;
    }
    const time_t Age = Now - St.st_mtime;
    if ((Age >= StaleAfter && ProcessGone(Pid)) || Age >= StaleWhatever) unlinkat(dirfd(Dir), E->d_name, 0);
  }
  closedir(Dir);
}

TTemporaryFile::TTemporaryFile(const std::string& Folder, const std::string& ForPath) : FFolder(Folder) {
  RemoveStaleTemporaries(Folder);
  FFd = open(Folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
  for (int Try = 0; FFd < 0 && Try < 8; ++Try) {
    // No unnamed files here: a name of ours, made new.
    FName = NewTemporaryName(Folder);
    FFd = open(FName.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (FFd < 0) FName.clear();
    if (FFd < 0 && errno != EEXIST) break;
  }
  if (FFd < 0) RaiseInOutError("保存用の一時ファイルを作成できません", ForPath, errno);
}

TTemporaryFile::~TTemporaryFile() {
  if (!FName.empty()) unlink(FName.c_str());
  if (FFd >= 0) close(FFd);
}

bool TTemporaryFile::GiveName() {
  if (!FName.empty()) return true;
  const std::string Name = NewTemporaryName(FFolder);
  if (!LinkAs(Name)) return false;
  FName = Name;
  return true;
}

bool TTemporaryFile::RenameOver(const std::string& Target) {
  if (!GiveName()) return false;
  if (rename(FName.c_str(), Target.c_str()) != 0) return false;
  FName.clear();
  return true;
}

bool TTemporaryFile::LinkAs(const std::string& Name) {
  if (!FName.empty()) return link(FName.c_str(), Name.c_str()) == 0;
  const std::string Self = "/proc/self/fd/" + std::to_string(FFd);
  return linkat(AT_FDCWD, Self.c_str(), AT_FDCWD, Name.c_str(), AT_SYMLINK_FOLLOW) == 0;
}

}  // namespace tesvarin
