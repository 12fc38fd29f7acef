// The journal of replace runs: for each run its search and replacement, and for each file it
// changed the old bytes (compressed) and a hash of the bytes written, so that the run can be taken
// back later, file by file, wherever the file still holds what the run wrote. One file per run under
// the journal folder, appended as the run goes and synced before each file is replaced.
#pragma once

#include <cstdint>
#include <future>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/SafeSave.h"

namespace tesvarin {

struct TJournalBounds {
  size_t MaxRuns = 20;
  uint64_t MaxBytes = uint64_t(1) << 30;
};

struct TJournalRunInfo {
  int64_t Time = 0;  // seconds since 1970
  std::string Folder, Needle, Replacement, Options;
};

enum class TJournalFileState : uint8_t { Written, Dropped, TakenBack };

struct TJournalEntry {
  std::string Path;
  uint64_t OldSize = 0, OldHash = 0, NewSize = 0, NewHash = 0;
  uint64_t DataAt = 0, DataSize = 0;  // the compressed old bytes in the run's file
  TJournalFileState State = TJournalFileState::Written;
};

struct TJournalRun {
  int Number = 0;
  std::string File;
  uint64_t Bytes = 0;     // of the run's file
  uint64_t ValidEnd = 0;  // where its last whole record ends
  TJournalRunInfo Info;
  std::vector<TJournalEntry> Files;  // in the order written, the latest state of each
  bool Finished = false;

  // Files the run changed (a file recorded but then not written is not counted).
  [[nodiscard]] int FileCount() const;
  [[nodiscard]] int TakenBackCount() const;
  // "置換済み", "中断" (the run never ended: a crash or a kill), "一部を元に戻し済み", "元に戻し済み".
  [[nodiscard]] std::string StateText() const;
};

struct TTakeBackResult {
  int Restored = 0;               // files that hold their old bytes again (or still did)
  std::vector<std::string> Left;  // files left as they are, each with the reason
};

class TJournalRecorder;

class TReplaceJournal {
public:
  explicit TReplaceJournal(std::string Folder, TJournalBounds Bounds = {});

  [[nodiscard]] const std::string& Folder() const { return FFolder; }
  [[nodiscard]] const TJournalBounds& Bounds() const { return FBounds; }
  // Whether a run that changes files of this many bytes in all can be kept within the bounds.
  [[nodiscard]] bool Fits(uint64_t Bytes) const { return Bytes <= FBounds.MaxBytes; }
  // The runs kept, newest first; a file that is not a run is passed over.
  [[nodiscard]] std::vector<TJournalRun> Runs() const;
  [[nodiscard]] std::optional<TJournalRun> Run(int Number) const;
  // The newest run with a file not yet taken back.
  [[nodiscard]] std::optional<TJournalRun> NewestToTakeBack() const;

  // Starts recording a run: the oldest runs go until there is room for it. Raises EInOutError when
  // the folder or the run's file cannot be made.
  [[nodiscard]] TJournalRecorder Begin(const TJournalRunInfo& Info);

  // Puts back each file of the run (or only OnlyPath) that still holds what the run wrote, through
  // the safe save, and marks it taken back; a file changed or removed since is left and named. A
  // file already taken back is not touched again.
  TTakeBackResult TakeBack(int Number, const std::string* OnlyPath = nullptr);

  // Removes the oldest runs beyond the bounds, never Keep.
  void Prune(int Keep = 0) const;

private:
  std::string FFolder;  // ends with "/"
  TJournalBounds FBounds;
};

// The writing end of one run. Destroyed without a file recorded (or with each recorded one dropped),
// it leaves nothing behind.
class TJournalRecorder {
public:
  TJournalRecorder(TJournalRecorder&& Other) noexcept;
  TJournalRecorder& operator=(TJournalRecorder&&) = delete;
  ~TJournalRecorder();

  [[nodiscard]] int Number() const { return FNumber; }
  // Keeps Old and the hash of New for Path. The record reaches the disk while the new file is
  // written; Durable waits until it has. Raises EInOutError when it cannot: the file must then not
  // be replaced.
  void Record(const std::string& Path, std::string_view Old, std::string_view New);
  // The same, given the size and JournalHash of the new bytes.
  void Record(const std::string& Path, std::string_view Old, uint64_t NewSize, uint64_t NewHash);
  // Returns once the last record is on disk; raises EInOutError when it could not be synced.
  void Durable();
  // The file recorded last was not replaced after all.
  void Dropped(const std::string& Path);
  // The run ended; the oldest runs go when the journal grew past its bounds.
  void Finish();

private:
  friend class TReplaceJournal;
  TJournalRecorder(const TReplaceJournal& Journal, int Number, std::string Path, int Fd);
  void Append(std::string_view Bytes, bool Sync);
  // Appends FileRecord and the data record of Old, compressed.
  void AppendCompressed(const std::string& FileRecord, std::string_view Old);

  TReplaceJournal FJournal;  // a copy: the recorder may outlive the object that began it
  int FNumber;
  std::string FPath;
  int FFd;
  uint64_t FEnd = 0;  // of the last whole record
  int FRecorded = 0;  // files recorded and not dropped: without any, the run leaves no file
  void* FContext = nullptr;  // the compressor, kept for the run
  std::future<int> FSyncing;  // the last record's sync: 0, or the error
};

// The hash the journal keeps of file contents.
[[nodiscard]] uint64_t JournalHash(std::string_view Bytes);
// The same of Old with Splices made, without making them.
[[nodiscard]] uint64_t JournalHash(std::string_view Old, const TByteSplices& Splices);

}  // namespace tesvarin
