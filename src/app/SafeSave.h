// Writing a file back without ever losing it, with the optional ".bak" copy of its previous content.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "support/Exception.h"
#include "support/FileStamp.h"

namespace tesvarin {

// The path with the extension of its file name (from the last dot) replaced by ".bak"; a name without
// a dot gets ".bak" appended. memo.txt and memo.htm share memo.bak.
[[nodiscard]] std::string BackupName(const std::string& Path);

// The file is no longer what was read from it: someone wrote, replaced or removed it since.
class EFileChangedOnDisk : public EInOutError {
public:
  explicit EFileChangedOnDisk(const std::string& Path);
};

struct TSaveOptions {
  bool MakeBackup = false;
  std::string BackupPath;               // where the previous content goes; empty: BackupName(Path)
  std::optional<TFileStamp> Expected;   // the file must still be as stamped, checked at the last moment
};

struct TSaveResult {
  TFileStamp Stamp;    // of the file as written
  std::string Backup;  // where the previous content went; empty when no backup was made
};

// Writes Bytes to a new file beside the target, flushes it, reads it back to compare and renames it
// over the target; the new file keeps the old one's owner and group (where this user may set them;
// else it is never more open than the old one), permission bits and extended attributes, and a
// symbolic link keeps pointing to the file it named. A file with more than one hard link is
// rewritten in place, so every name sees the new text: its old bytes are first copied (to the backup,
// or to a private temporary) so that a failed write is undone, and a disk without room for that
// copy refuses the save before the file is touched. A backup is written beside the old one and
// renamed over it only when complete. A file nobody may write is refused. With Expected, the file
// is compared with the stamp just before it is replaced; EFileChangedOnDisk leaves it as it is.
// Raises EInOutError on failure; the original is then unchanged, or its previous content is under
// the backup name. A kill while saving leaves no temporary file that outlives the next save there
// once it is old.
// BeforeReplace runs when the new bytes are safe beside the file, just before it is replaced;
// raising there leaves the file as it was.
TSaveResult SaveFileSafely(const std::string& Path, std::string_view Bytes, const TSaveOptions& Options,
                           const std::function<void()>& BeforeReplace = {});
void SaveFileSafely(const std::string& Path, std::string_view Bytes, bool MakeBackup);

// Length bytes of a file from Offset on, to be replaced by New.
struct TByteSplice {
  uint64_t Offset = 0;
  uint64_t Length = 0;
  std::string New;
};
using TByteSplices = std::vector<TByteSplice>;

// The size of OldSize bytes with Splices made.
[[nodiscard]] uint64_t SplicedSize(uint64_t OldSize, const TByteSplices& Splices);

// As SaveFileSafely, the new bytes being the file's own with Splices (ascending, apart, within the
// file) made: the bytes between them are copied from the file while the new one is written, so a
// file of any size is saved in bounded memory. Options.Expected is required, since the splices are
// about the bytes it stamps; the new bytes are checked against the hash of what was written.
TSaveResult SaveFileSpliced(const std::string& Path, const TByteSplices& Splices, const TSaveOptions& Options,
                            const std::function<void()>& BeforeReplace = {});

}  // namespace tesvarin
