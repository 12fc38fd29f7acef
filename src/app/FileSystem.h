// The file-system facts the search needs: folder entries, file details, and the first bytes of a file.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tesvarin {

enum TEntryKind : uint8_t { ekRegular, ekDirectory, ekOther };

struct TDirEntry {
  std::string Name;
  TEntryKind Kind;  // of what a symbolic link points to; a dangling link is ekOther
};

// Entries in enumeration order without "." and ".."; a folder that cannot be read gives none.
[[nodiscard]] std::vector<TDirEntry> ReadFolder(const std::string& Folder);

// Identifies a real folder whatever the links that lead to it.
struct TFileId {
  uint64_t Device = 0;
  uint64_t Inode = 0;
  friend auto operator<=>(const TFileId&, const TFileId&) = default;
};
[[nodiscard]] std::optional<TFileId> FileIdOf(const std::string& Path);

struct TFileInfo {
  uint64_t Size = 0;
  int64_t WriteTime = 0;                // seconds since the epoch
  std::optional<int64_t> CreationTime;  // birth time, when the file system keeps one
  bool ReadOnly = false;                // not writable by this user
  bool Regular = false;
};
[[nodiscard]] std::optional<TFileInfo> GetFileInfo(const std::string& Path);

[[nodiscard]] bool FileExists(const std::string& Path);       // a regular file (links followed)
[[nodiscard]] bool DirectoryExists(const std::string& Path);  // a folder (links followed)

// At most MaxBytes from the start of a regular file; raises EInOutError when it cannot be read.
[[nodiscard]] std::string ReadFilePrefix(const std::string& Path, size_t MaxBytes);

}  // namespace tesvarin
