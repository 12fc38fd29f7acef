// Writing a file back without ever losing it, with the optional ".bak" copy of its previous content.
#pragma once

#include <string>
#include <string_view>

namespace tesvarin {

// The path with the extension of its file name (from the last dot) replaced by ".bak"; a name without
// a dot gets ".bak" appended. memo.txt and memo.htm share memo.bak.
[[nodiscard]] std::string BackupName(const std::string& Path);

// Writes Bytes to a new file beside the target, flushes it to disk and renames it over the target;
// the new file keeps the old one's owner and group (where this user may set them), permission bits
// and extended attributes, and a symbolic link keeps pointing to the file it named. A file with more
// than one hard link is rewritten in place instead, so every name sees the new text. A file nobody
// may write is refused. With MakeBackup an existing file's previous content ends up under
// BackupName(Path) (not when that is the file itself). Raises EInOutError on failure; the original is
// then unchanged, or its previous content is under the backup name. A kill while saving leaves no
// temporary file that outlives the next save in that folder.
void SaveFileSafely(const std::string& Path, std::string_view Bytes, bool MakeBackup);

}  // namespace tesvarin
