// Where the shared INI file of the program suite lives.
#pragma once

#include <optional>
#include <string>

namespace tesvarin {

inline constexpr const char* IniFileName = "Vimbre.ini";

// The program's own folder when it holds the INI file; otherwise AppData/Bramwhirl/Vimbre/ (both
// created when missing); the program's folder when there is no application-data folder or it cannot
// be created. The result ends with a slash.
[[nodiscard]] std::string GetIniFolder(const std::string& ProgramFolder, const std::optional<std::string>& AppDataFolder);

// Appends a slash unless the path already ends with one.
[[nodiscard]] std::string IncludeTrailingSlash(std::string Path);

}  // namespace tesvarin
