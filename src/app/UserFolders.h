// Where this user's settings and histories live. The home folder comes from HOME, or from the
// password database when HOME is unset; without either there is no such folder, and nothing is
// written into the current folder or the root instead.
#pragma once

#include <ctime>
#include <optional>
#include <string>

namespace tesvarin {

struct TUserFolders {
  std::optional<std::string> Home;
  std::optional<std::string> Config;  // the per-user configuration folder (~/.config)
  std::optional<std::string> Data;    // the per-user data folder (~/.local/share)
};

// The environment's values (null when unset) and the password database's home folder. A relative
// value counts as unset; the password database's home counts only when it is a folder other than "/".
[[nodiscard]] TUserFolders ResolveUserFolders(const char* Home, const char* ConfigHome, const char* DataHome,
                                              const std::optional<std::string>& PasswordHome);
// This process's: its environment and its user's entry in the password database.
[[nodiscard]] TUserFolders UserFolders();
// The home folder of the process's user in the password database, when it has one.
[[nodiscard]] std::optional<std::string> PasswordHomeFolder();
// When HOME is unset, empty or relative, sets it to the home folder found above, so that libraries
// reading HOME alone agree; false when no home folder was found.
bool ProvideHomeVariable();

// Told when there is no folder for settings and histories.
inline constexpr const char* NoUserFolderWarning =
    "ホームフォルダが見つからないため、設定と履歴は保存されません。";

// The name a file that could not be read as settings is kept under: the path with the local date
// and time of When added, "Vimbre.conf.unreadable-20240315-093000".
[[nodiscard]] std::string SetAsideName(const std::string& Path, std::time_t When);
// Renames the file to SetAsideName (a name taken already gets "-2", "-3", ...), never replacing
// another file; the new name, or nothing when the rename failed.
std::optional<std::string> SetAside(const std::string& Path, std::time_t When);

}  // namespace tesvarin
