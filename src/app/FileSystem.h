// The file-system facts the search needs: folder entries, file details, and the first bytes of a file.
#pragma once

#include <fcntl.h>
#include <sys/types.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "editor/text/HugePages.h"

namespace tesvarin {

enum TEntryKind : uint8_t { ekRegular, ekDirectory, ekOther };

struct TDirEntry {
  std::string Name;
  TEntryKind Kind;    // of what a symbolic link points to; a dangling link is ekOther
  bool Link = false;  // the kind is that of a link's target
  int Error = 0;      // why a link's target could not be looked at (not for a dangling link)
};

// Entries in enumeration order without "." and ".."; a folder that cannot be read gives none, and
// Error (when given) gets the reason.
[[nodiscard]] std::vector<TDirEntry> ReadFolder(const std::string& Folder, int* Error = nullptr);

// Identifies a real folder whatever the links that lead to it.
struct TFileId {
  uint64_t Device = 0;
  uint64_t Inode = 0;
  friend auto operator<=>(const TFileId&, const TFileId&) = default;
};

// A folder held open while its files are looked at: its identity and entries come from the open
// descriptor, and its files open relative to it, so no path is walked again for each of them.
class TOpenFolder {
public:
  TOpenFolder() = default;
  TOpenFolder(const TOpenFolder&) = delete;
  TOpenFolder& operator=(const TOpenFolder&) = delete;
  ~TOpenFolder() { Close(); }

  // False with Error set (an errno value) when the folder cannot be opened or looked at.
  bool Open(const std::string& Folder, int* Error);
  void Close();
  [[nodiscard]] bool IsOpen() const { return FFd >= 0; }
  [[nodiscard]] int Fd() const { return FFd; }
  [[nodiscard]] TFileId Id() const { return FId; }
  // As ReadFolder, once after Open; Error gets the reason should the listing break off.
  [[nodiscard]] std::vector<TDirEntry> Read(int* Error) const;

private:
  int FFd = -1;
  TFileId FId;
};
// Error (when given) gets the reason when there is none.
[[nodiscard]] std::optional<TFileId> FileIdOf(const std::string& Path, int* Error = nullptr);

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

// One candidate of a search run, opened once: its details come from the open descriptor and its
// bytes are read through it into a buffer the caller keeps from file to file.
class TCandidateFile {
public:
  explicit TCandidateFile(TBigString& Buffer) : FBuffer(Buffer) {}
  TCandidateFile(const TCandidateFile&) = delete;
  TCandidateFile& operator=(const TCandidateFile&) = delete;
  ~TCandidateFile();

  // Without blocking (a FIFO swapped in for the file cannot hang the run) and, with NoFollow,
  // without following a link swapped in. False with Error() set when it cannot be opened, or with
  // Error() 0 when it is gone or is no regular file now.
  bool Open(const std::string& Path, bool NoFollow) { return OpenAt(AT_FDCWD, Path, Path.c_str(), NoFollow); }
  // The same for Name inside the folder open as Folder; Path names the file in messages.
  bool OpenAt(int Folder, const std::string& Path, const char* Name, bool NoFollow);
  [[nodiscard]] int Error() const { return FError; }
  [[nodiscard]] const TFileInfo& Info() const { return FInfo; }
  [[nodiscard]] TFileId Id() const { return FId; }
  // The first bytes, at least Count of them unless the file is shorter; then the whole file.
  // Reads until read() returns 0 or the size the descriptor gave is read; raises EInOutError. Up to
  // ReadAhead bytes come in the same read, so that a small file is read in one; the buffer holds no
  // more than that beyond Count, whatever the file's size.
  std::string_view Head(size_t Count, size_t ReadAhead = HeadReadAhead);
  std::string_view All() { return Head(std::string::npos); }
  // Reads on from where Head stopped, into Into; 0 at the file's end. Raises EInOutError.
  size_t ReadOn(char* Into, size_t Max);
  static constexpr size_t HeadReadAhead = 256 * 1024;
  [[nodiscard]] bool Ended() const { return FEnded; }  // the whole file is in
  // Whether this user may write the file: asked of the open descriptor, so no path is walked again.
  [[nodiscard]] bool Writable() const;

private:
  // One read() that is not interrupted; 0 at the end.
  ssize_t ReadSome(char* Into, size_t Max);

  TBigString& FBuffer;
  std::string FPath;
  int FFd = -1;
  int FError = 0;
  size_t FGot = 0;
  bool FEnded = false;
  TFileInfo FInfo;
  TFileId FId;
};

}  // namespace tesvarin
