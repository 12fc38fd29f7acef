// Writing a file back without ever losing it, with the optional ".bak" copy of its previous content.
#pragma once

#include <string>
#include <string_view>

namespace tesvarin {

// The path with the extension of its file name (from the last dot) replaced by ".bak"; a name without
// a dot gets ".bak" appended. memo.txt and memo.htm share memo.bak.
[[nodiscard]] std::string BackupName(const std::string& Path);

// Writes Bytes to a temporary file beside the target, flushes it to disk and renames it over the
// target, keeping the target's permission bits; a symbolic link keeps pointing to the file it named.
// With MakeBackup an existing file's previous content ends up under BackupName(Path) (not when that
// is the file itself). Raises EInOutError on failure; the original is then unchanged, or its previous
// content is under the backup name.
void SaveFileSafely(const std::string& Path, std::string_view Bytes, bool MakeBackup);

}  // namespace tesvarin
