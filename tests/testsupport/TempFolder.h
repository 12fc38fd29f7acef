// A private folder under the system's temporary folder, removed with all it holds: fixed names
// there would clash with another user's left-over files and with runs at the same time.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <string>
#include <system_error>

namespace tesvarin::test {

class TempFolder {
public:
  TempFolder() {
    std::string Template = (std::filesystem::temp_directory_path() / "tesvarin-test-XXXXXX").string();
    Path = mkdtemp(Template.data());
  }
  ~TempFolder() {
    std::error_code Ec;
    std::filesystem::permissions(Path, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, Ec);
    std::filesystem::remove_all(Path, Ec);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  [[nodiscard]] std::string operator/(const std::string& Name) const { return Path + "/" + Name; }
  std::string Path;
};

}  // namespace tesvarin::test
