#include "app/UserFolders.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace tesvarin {

namespace {

std::optional<std::string> Absolute(const char* Value) {
  if (Value == nullptr || Value[0] != '/') return std::nullopt;
  return std::string(Value);
}

bool IsUsableHome(const std::string& Path) {
  struct stat St {};
  return Path.size() > 1 && Path[0] == '/' && stat(Path.c_str(), &St) == 0 && S_ISDIR(St.st_mode);
}

}  // namespace

TUserFolders ResolveUserFolders(const char* Home, const char* ConfigHome, const char* DataHome,
                                const std::optional<std::string>& PasswordHome) {
  TUserFolders F;
  F.Home = Absolute(Home);
  if (!F.Home && PasswordHome && IsUsableHome(*PasswordHome)) F.Home = PasswordHome;
  F.Config = Absolute(ConfigHome);
  if (!F.Config && F.Home) F.Config = *F.Home + "/.config";
  F.Data = Absolute(DataHome);
  if (!F.Data && F.Home) F.Data = *F.Home + "/.local/share";
  return F;
}

std::optional<std::string> PasswordHomeFolder() {
  long Hint = sysconf(_SC_GETPW_R_SIZE_MAX);
  std::vector<char> Buffer(Hint > 0 ? static_cast<size_t>(Hint) : 16384);
  passwd Entry{};
  passwd* Found = nullptr;
  while (getpwuid_r(getuid(), &Entry, Buffer.data(), Buffer.size(), &Found) == ERANGE) Buffer.resize(Buffer.size() * 2);
  if (Found == nullptr || Found->pw_dir == nullptr || Found->pw_dir[0] == 0) return std::nullopt;
  return std::string(Found->pw_dir);
}

TUserFolders UserFolders() {
  const char* Home = std::getenv("HOME");
  return ResolveUserFolders(Home, std::getenv("XDG_CONFIG_HOME"), std::getenv("XDG_DATA_HOME"),
                            Absolute(Home) ? std::nullopt : PasswordHomeFolder());
}

bool ProvideHomeVariable() {
  std::optional<std::string> Home = UserFolders().Home;
  if (!Home) return false;
  const char* Current = std::getenv("HOME");
  if (Current == nullptr || *Home != Current) setenv("HOME", Home->c_str(), 1);
  return true;
}

std::string SetAsideName(const std::string& Path, std::time_t When) {
  std::tm Local{};
  localtime_r(&When, &Local);
  char Stamp[32];
  std::strftime(Stamp, sizeof Stamp, "%Y%m%d-%H%M%S", &Local);
  return Path + ".unreadable-" + Stamp;
}

std::optional<std::string> SetAside(const std::string& Path, std::time_t When) {
  const std::string Base = SetAsideName(Path, When);
  for (int I = 1; I < 1000; ++I) {
    std::string Name = I == 1 ? Base : Base + "-" + std::to_string(I);
    // Never over an earlier file set aside in the same second.
    if (renameat2(AT_FDCWD, Path.c_str(), AT_FDCWD, Name.c_str(), RENAME_NOREPLACE) == 0) return Name;
    if (errno == EEXIST) continue;
    if (errno != EINVAL && errno != ENOSYS) return std::nullopt;
    // A file system without the flag: look first, then rename.
    struct stat St {};
    if (lstat(Name.c_str(), &St) == 0) continue;
    if (std::rename(Path.c_str(), Name.c_str()) == 0) return Name;
    return std::nullopt;
  }
  return std::nullopt;
}

}  // namespace tesvarin
