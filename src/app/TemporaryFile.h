// A new file written beside others and given its place only when complete.
#pragma once

#include <sys/types.h>

#include <string>
#include <string_view>

namespace tesvarin {

// Names only this program makes: the prefix, the process id and a random part, as in
// ".tesvarin-save-1234-0123456789abcdef". Anything else that starts with the prefix is the user's.
inline constexpr const char* TemporaryPrefix = ".tesvarin-save-";
[[nodiscard]] std::string NewTemporaryName(const std::string& Folder);
// Whether a file name (without folder) is one of those; Pid gets the process that made it.
[[nodiscard]] bool IsTemporaryName(std::string_view Name, pid_t* Pid = nullptr);

// Leftovers of a killed save are removed once they are surely nobody's work in progress: of our
// naming, this user's regular files, and old (their process gone, or days old whatever the process
// table says). Looked at once per folder and process.
void RemoveStaleTemporaries(const std::string& Folder);

// A file in a folder, mode 0600, open for reading and writing. It has no name while it is written
// where the file system allows, so a kill leaves nothing; else it has one of our temporary names.
// Unless it was renamed over a target or linked under another name, it leaves nothing behind.
class TTemporaryFile {
public:
  // Raises EInOutError naming ForPath when no file can be made in Folder.
  TTemporaryFile(const std::string& Folder, const std::string& ForPath);
  TTemporaryFile(const TTemporaryFile&) = delete;
  TTemporaryFile& operator=(const TTemporaryFile&) = delete;
  ~TTemporaryFile();

  [[nodiscard]] int Fd() const { return FFd; }
  // Puts the file in Target's place in one step (Target must be in the same folder's file system).
  // False with errno set when that fails; the file is then still only ours.
  bool RenameOver(const std::string& Target);
  // Gives the file the name Name, which must not exist yet; false with errno set (EEXIST among others).
  bool LinkAs(const std::string& Name);

private:
  bool GiveName();

  std::string FFolder;
  std::string FName;  // our temporary name, when the file has one
  int FFd = -1;
};

}  // namespace tesvarin
