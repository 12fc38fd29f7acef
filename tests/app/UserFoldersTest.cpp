// Where settings and histories go when HOME or the XDG folders are unset or odd, and how a file that
// holds no settings is kept.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <regex>

#include "FormTestWindow.h"
#include "app/UserFolders.h"
#include "support/StringList.h"

namespace tesvarin {
namespace {

namespace fs = std::filesystem;
using test::Tree;
using Opt = std::optional<std::string>;

TEST(UserFolders, HomeFromTheEnvironmentOrThePasswordDatabaseAndNeverARelativeOne) {
  Tree Tr;
  const std::string Pw = Tr.Root + "/pw";
  fs::create_directory(Pw);
  struct Case {
    const char* Home;
    const char* Config;
    const char* Data;
    Opt PasswordHome;
    Opt WantHome, WantConfig, WantData;
  };
  const Case Cases[] = {
      {"/h", nullptr, nullptr, Pw, "/h", "/h/.config", "/h/.local/share"},
      {"/h", "/c", "/d", Pw, "/h", "/c", "/d"},
      {nullptr, nullptr, nullptr, Pw, Pw, Pw + "/.config", Pw + "/.local/share"},
      {"", "", "", Pw, Pw, Pw + "/.config", Pw + "/.local/share"},
      {".", "rel", "rel", Pw, Pw, Pw + "/.config", Pw + "/.local/share"},
      // No home anywhere: nothing, not the current folder and not the root.
      {nullptr, nullptr, nullptr, std::nullopt, std::nullopt, std::nullopt, std::nullopt},
      {nullptr, nullptr, nullptr, "/", std::nullopt, std::nullopt, std::nullopt},
      {nullptr, nullptr, nullptr, Tr.Root + "/nonexistent", std::nullopt, std::nullopt, std::nullopt},
      {nullptr, nullptr, nullptr, "relative", std::nullopt, std::nullopt, std::nullopt},
      {nullptr, "/c", nullptr, std::nullopt, std::nullopt, "/c", std::nullopt},
  };
  for (const Case& C : Cases) {
    TUserFolders F = ResolveUserFolders(C.Home, C.Config, C.Data, C.PasswordHome);
    std::string Label = std::string(C.Home ? C.Home : "(unset)") + " " + C.PasswordHome.value_or("(none)");
    EXPECT_EQ(F.Home, C.WantHome) << Label;
    EXPECT_EQ(F.Config, C.WantConfig) << Label;
    EXPECT_EQ(F.Data, C.WantData) << Label;
  }
}

// Runs Body in a child process (the environment is changed there only); its exit status.
template <class F>
int InChild(F Body) {
  pid_t Pid = fork();
  if (Pid == 0) _exit(Body());
  int Status = 0;
  waitpid(Pid, &Status, 0);
  return WIFEXITED(Status) ? WEXITSTATUS(Status) : 100;
}

TEST(UserFolders, WithoutHomeTheProcessTakesItsUsersFolder) {
  std::optional<std::string> Pw = PasswordHomeFolder();
  if (!Pw || !fs::is_directory(*Pw) || *Pw == "/") GTEST_SKIP() << "this user has no home folder of its own";
  int Status = InChild([&] {
    unsetenv("HOME");
    unsetenv("XDG_CONFIG_HOME");
    unsetenv("XDG_DATA_HOME");
    TUserFolders F = UserFolders();
    if (F.Home != Pw || F.Config != *Pw + "/.config" || F.Data != *Pw + "/.local/share") return 1;
    if (!ProvideHomeVariable()) return 2;
    const char* Home = std::getenv("HOME");
    return Home != nullptr && *Pw == Home ? 0 : 3;
  });
  EXPECT_EQ(Status, 0);
}

TEST(UserFolders, AUserWithoutAHomeFolderGetsNone) {
  if (geteuid() != 0) GTEST_SKIP() << "becoming a user without a home folder needs root";
  int Status = InChild([] {
    if (setgid(65534) != 0 || setuid(65534) != 0) return 10;  // nobody: /nonexistent
    unsetenv("HOME");
    unsetenv("XDG_CONFIG_HOME");
    unsetenv("XDG_DATA_HOME");
    TUserFolders F = UserFolders();
    if (F.Home || F.Config || F.Data) return 1;
    if (ProvideHomeVariable()) return 2;
    return std::getenv("HOME") == nullptr ? 0 : 3;
  });
  EXPECT_EQ(Status, 0);
}

TEST(UserFolders, AFileThatHoldsNoSettingsIsKeptUnderADatedNameNeverOverAnother) {
  Tree Tr;
  const std::string Path = Tr.Root + "/config/Vimbre.conf";
  fs::create_directories(Tr.Root + "/config");
  const std::time_t When = 1700000000;
  const std::string Name = SetAsideName(Path, When);
  EXPECT_TRUE(std::regex_match(Name, std::regex(".*/config/Vimbre\\.conf\\.unreadable-[0-9]{8}-[0-9]{6}"))) << Name;
  std::vector<std::string> Kept;
  for (const char* Bytes : {"first", "second", "third"}) {
    WriteFileBytes(Path, Bytes);
    std::optional<std::string> Aside = SetAside(Path, When);
    ASSERT_TRUE(Aside);
    EXPECT_FALSE(fs::exists(Path));
    EXPECT_EQ(ReadFileBytes(*Aside), Bytes);
    Kept.push_back(*Aside);
  }
  EXPECT_EQ(Kept, (std::vector<std::string>{Name, Name + "-2", Name + "-3"}));
  EXPECT_FALSE(SetAside(Tr.Root + "/config/missing.conf", When));
}

}  // namespace
}  // namespace tesvarin
