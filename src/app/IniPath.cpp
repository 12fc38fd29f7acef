#include "app/IniPath.h"

#include <filesystem>
#include <system_error>

namespace tesvarin {

std::string IncludeTrailingSlash(std::string Path) {
  if (Path.empty() || Path.back() != '/') Path += '/';
  return Path;
}

std::string GetIniFolder(const std::string& ProgramFolder, const std::optional<std::string>& AppDataFolder) {
  namespace fs = std::filesystem;
  std::string Program = IncludeTrailingSlash(ProgramFolder);
  std::error_code Ec;
  if (fs::is_regular_file(Program + IniFileName, Ec)) return Program;
  if (!AppDataFolder || AppDataFolder->empty()) return Program;
  std::string Folder = IncludeTrailingSlash(*AppDataFolder) + "Bramwhirl";
  fs::create_directory(Folder, Ec);
  Folder += "/Vimbre";
  fs::create_directory(Folder, Ec);
  if (!fs::is_directory(Folder, Ec)) return Program;
  return Folder + "/";
}

}  // namespace tesvarin
