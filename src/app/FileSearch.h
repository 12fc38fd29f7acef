// The folder walk of a search run: each folder's matching files first, in enumeration order, then
// each subfolder in turn; every candidate through the non-text, date, size and content tests.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "app/FileSystem.h"
#include "app/RequiredForms.h"
#include "support/ByteSearch.h"
#include "support/TextEncoding.h"

namespace tesvarin {

enum TSizeRule : uint8_t { srNone, srAtLeast, srAtMost };

struct TSearchCriteria {
  std::string FilePattern = "*.*";  // already normalised
  bool SubFolders = true;
  bool Hidden = false;  // visit dot-named files and folders too
  // Files pass when First < write time < Second (seconds since the epoch).
  std::optional<std::pair<int64_t, int64_t>> WriteTimeRange;
  TSizeRule SizeRule = srNone;
  uint64_t SizeBytes = 0;
  // Each file's encoding is told from its bytes, and a file in another encoding than Shift-JIS is
  // tested converted to code page 932. Off: every file is taken as Shift-JIS.
  bool OtherEncodings = false;
  // Code page 932 bytes every hit holds (ASCII letters in either case with RequiredFolds): a file in
  // another encoding that lacks them in its own bytes is not converted. Empty: nothing known.
  std::string RequiredText;
  bool RequiredFolds = false;
};

// Local midnight of the first day and of the day after the last: the exclusive bounds of a date range.
[[nodiscard]] std::pair<int64_t, int64_t> DayRange(int FromYear, int FromMonth, int FromDay, int ToYear, int ToMonth,
                                                   int ToDay);

struct TFoundFile {
  std::string Folder;  // ends with "/"
  std::string Name;
  TFileInfo Info;
  TTextEncoding Encoding = teShiftJis;
};

class TFileSearch {
public:
  TFileSearch(TSearchCriteria Criteria, const bool& AbortRequested);
  TFileSearch(TFileSearch&&) noexcept;
  ~TFileSearch();

  std::function<void()> ProcessMessages;
  std::function<void(const std::string& Folder)> OnFolder;  // a folder is about to be walked
  std::function<void()> OnCandidate;                         // a file is about to be tested
  // The content test over the candidate's bytes, read once for every test; empty: no content test.
  // A candidate bigger than StreamFrom is not read whole: the test is made on blocks of its whole
  // lines (see TLineBlocks) one after the other, until one holds the text.
  std::function<bool(const std::string& Path, std::string_view Bytes)> ContainsText;
  std::function<void(const TFoundFile& File)> OnFound;
  std::function<void()> OnChecked;  // after every file test that read the file's details
  // A file or folder that could not be read (Error is an errno value); the run goes on.
  std::function<void(const std::string& Path, int Error)> OnSkipped;

  // Threads that walk the later subfolders while the run walks the earlier ones. What they find is
  // kept until the run comes to it and reported then, so every callback above still comes on the
  // caller's thread in walk order. One where there are two cores or more.
  unsigned HelperThreads = std::thread::hardware_concurrency() >= 2 ? 1 : 0;
  // Makes the content test one helper thread runs, alike to ContainsText; called on the caller's
  // thread when the helpers start. A run with a content test but without this walks alone.
  std::function<std::function<bool(std::string_view Bytes)>()> MakeHelperContentTest;

  // Folder ends with "/". Each real folder is walked once, whatever the links that lead to it.
  void SearchFolder(const std::string& Folder);
  // NoFollow: the walk saw a regular file there, so a link swapped in is not followed.
  void CheckFile(const std::string& Folder, const std::string& Name, bool NoFollow = false);
  // By extension, then by a probe of the first bytes; raises EInOutError when the probe cannot read.
  [[nodiscard]] static bool IsNonTextFile(const std::string& Path);

  // A bigger candidate is read in pieces of this size, the window kept alive and Abort heard between
  // them: from a slow disk a whole big file would hold the window for seconds.
  static constexpr size_t ReadPiece = size_t{8} << 20;
  // Files above StreamFrom bytes are searched in blocks of about StreamBlock bytes, in memory of
  // that size whatever the file's; Abort is heard between blocks. A block small enough to stay in
  // the processor's cache between the read and the search makes the search half again as fast.
  size_t StreamFrom = size_t{8} << 20;
  size_t StreamBlock = size_t{256} << 10;

private:
  class THelpers;
  struct TSubtree;
  struct TLog;

  // True when the run is to stop; where a walk records itself, it notes the moment.
  [[nodiscard]] bool Aborted() const;
  void WalkSubfolders(const std::string& Folder, const std::vector<TDirEntry>& Entries);
  // The helpers this walk shares its subfolders with; none when it walks alone.
  [[nodiscard]] THelpers* Helpers();
  // Reports what another walk found in Sub as this walk would have; false when the run was aborted.
  [[nodiscard]] bool Replay(const TSubtree& Sub);
  // CheckFile with Name opened inside the folder open as At (AT_FDCWD: by the whole path).
  void CheckFileAt(int At, const std::string& Folder, const std::string& Name, bool NoFollow);
  [[nodiscard]] bool PassesDateAndSize(const TFileInfo& Info) const;
  // The content test of an open candidate whose first bytes, Head, are read; nullopt when the run
  // was aborted while it was read.
  [[nodiscard]] std::optional<bool> HoldsText(TCandidateFile& File, const std::string& Path, std::string_view Head,
                                              TTextEncoding& Encoding);
  // The content test of Bytes in Encoding: converted first unless they are in Shift-JIS.
  [[nodiscard]] bool TestBytes(const std::string& Path, std::string_view Bytes, TTextEncoding Encoding);
  // True when Bytes lack RequiredText in each encoding they may be in; false also when that is not
  // known.
  [[nodiscard]] bool LacksRequiredText(std::string_view Bytes, const TPossibleEncodings& Possible) const;
  void Pump() const;
  void Skip(const std::string& Path, int Error) const;

  TSearchCriteria FCriteria;
  const bool& FAbort;
  std::set<TFileId> FWalked;
  std::vector<TFileId> FAbove;  // the folder being walked and those that lead to it
  TBigString FBuffer;  // the candidates' bytes, kept from file to file
  std::string FConverted;  // a candidate's bytes as code page 932, when it is in another encoding
  // RequiredText in each encoding; null when nothing is known or every file is Shift-JIS. One for
  // the run and its helpers' walks.
  std::shared_ptr<const TRequiredForms> FRequired;
  std::unique_ptr<THelpers> FHelpers;  // the run's, started by the first folder worth sharing
  THelpers* FShared = nullptr;          // the run's, or the pool a helper's walk belongs to
  // Set only in a helper's own walk of a subtree, which records what the run is to report.
  TLog* FRecord = nullptr;
  const std::atomic<bool>* FStop = nullptr;
};

}  // namespace tesvarin
