#include "app/FileSearch.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <exception>
#include <list>
#include <mutex>

#include "app/FilePattern.h"
#include "app/LineBlocks.h"
#include "app/LocalTime.h"
#include "app/ResultRow.h"
#include "support/EncodingConverter.h"
#include "support/Exception.h"

namespace tesvarin {

namespace {

std::string NameOf(const std::string& Path) {
  size_t Slash = Path.rfind('/');
  return Slash == std::string::npos ? Path : Path.substr(Slash + 1);
}

}  // namespace

std::pair<int64_t, int64_t> DayRange(int FromYear, int FromMonth, int FromDay, int ToYear, int ToMonth, int ToDay) {
  // mktime normalises the day after the last one across month and year ends.
  return {LocalMidnight(FromYear, FromMonth, FromDay), LocalMidnight(ToYear, ToMonth, ToDay + 1)};
}

// What a helper's walk reported, kept in the order the walk made it for the run to report. An event
// is its kind alone; what it carries is the next entry of its kind's table, so the frequent kinds
// (a checkpoint, a pump, a candidate) cost one byte each.
struct TFileSearch::TLog {
  enum TKind : uint8_t { Checkpoint, Enter, Leave, Folder, Candidate, Skipped, Found, Checked, Pumped, Raised, Nested };
  void Add(TKind Kind) { Events.push_back(Kind); }
  template <class T, class V>
  void Add(TKind Kind, std::vector<T>& Table, V&& Value) {
    Table.push_back(std::forward<V>(Value));
    Events.push_back(Kind);
  }
  std::vector<TKind> Events;
  std::vector<std::pair<std::string, int>> Paths;   // Folder (error 0), Skipped
  std::vector<TFileId> Ids;                         // Enter
  std::vector<TFoundFile> Files;                    // Found
  std::vector<std::exception_ptr> Exceptions;       // Raised
  std::vector<std::shared_ptr<TSubtree>> Subtrees;  // Nested: a subfolder another walk took
};

// A subfolder offered to the helpers, and what the walk that took it found there.
struct TFileSearch::TSubtree {
  TSubtree(std::string F, std::vector<TFileId> A) : Folder(std::move(F)), Above(std::move(A)) {}
  std::string Folder;
  std::vector<TFileId> Above;  // the folders that lead to it: a link back to one is not walked again
  TLog Log;
  bool Done = false;  // under THelpers' lock
};

// The helper threads and the subfolders offered to them. Every walk, the run's and the helpers',
// offers the subfolders of each folder as a group and takes them from its front as it comes to them;
// whoever is idle takes from the back of the oldest group, the part its walk will come to last. A
// helper that finds a subfolder taken notes where it was and goes on; only the run waits, and while
// it waits it walks offered subfolders as a helper would.
class TFileSearch::THelpers {
public:
  using TGroup = std::deque<std::shared_ptr<TSubtree>>;

  THelpers(const TFileSearch& Run, unsigned Threads)
      : FCriteria(Run.FCriteria),
        FRunAbort(Run.FAbort),
        FMakeTest(Run.ContainsText ? Run.MakeHelperContentTest : nullptr),
        FStreamFrom(Run.StreamFrom),
        FStreamBlock(Run.StreamBlock),
        FRequired(Run.FRequired) {
    // Every content test first: one that cannot be made must leave no thread waiting behind.
    std::vector<TWorker> Workers(Threads);
    if (FMakeTest) {
      for (TWorker& W : Workers) W.Test = FMakeTest();
    }
    try {
      for (TWorker& W : Workers) FThreads.emplace_back([this, W = std::move(W)]() mutable { Work(W); });
    } catch (...) {
      Stop();
      throw;
    }
  }
  THelpers(const THelpers&) = delete;
  THelpers& operator=(const THelpers&) = delete;
  ~THelpers() { Stop(); }

  TGroup& Offer(const std::vector<std::shared_ptr<TSubtree>>& Subs) {
    std::unique_lock Lock(FLock);
    TGroup& Group = FGroups.emplace_back(Subs.begin(), Subs.end());
    Lock.unlock();
    FChanged.notify_all();
    return Group;
  }
  // True when no other walk has taken Sub, the next of Group: the caller walks it itself.
  bool Claim(TGroup& Group, const TSubtree& Sub) {
    std::lock_guard Lock(FLock);
    if (Group.empty() || Group.front().get() != &Sub) return false;
    Group.pop_front();
    return true;
  }
  // Group's walk is done with it: what is left in it (after an abort) is never walked.
  void Withdraw(TGroup& Group) {
    std::lock_guard Lock(FLock);
    FGroups.remove_if([&Group](const TGroup& G) { return &G == &Group; });
  }
  // On the run's thread: until another walk has finished Sub, walks what is offered, and pumps at
  // least every 10 ms while nothing is. False when the run was aborted.
  bool WaitFor(const TSubtree& Sub, const std::function<void()>& Pump) {
    std::unique_lock Lock(FLock);
    while (!Sub.Done) {
      if (FRunAbort) return false;
      if (std::shared_ptr<TSubtree> Other = Take()) {
        Lock.unlock();
        // The run's own test, made the first time it walks for the helpers: most runs never do.
        if (FMakeTest && !FRunWorker.Test) FRunWorker.Test = FMakeTest();
        Walk(FRunWorker, *Other, FRunAbort, Pump);
        Lock.lock();
        Finish(*Other);
        continue;
      }
      FChanged.wait_for(Lock, std::chrono::milliseconds(10));
      Lock.unlock();
      if (Pump) Pump();
      Lock.lock();
    }
    return true;
  }

private:
  struct TWorker {
    std::function<bool(std::string_view)> Test;
    TBigString Buffer;  // the candidates' bytes, kept from subtree to subtree
  };

  void Stop() {
    FStopping = true;
    {
      std::lock_guard Lock(FLock);
      FStop = true;
    }
    FChanged.notify_all();
    FThreads.clear();  // joins; a helper stops at its walk's next check
  }
  void Work(TWorker& W) {
    static const bool Never = false;
    std::unique_lock Lock(FLock);
    for (;;) {
      std::shared_ptr<TSubtree> Sub;
      FChanged.wait(Lock, [this, &Sub] { return FStop || (Sub = Take()) != nullptr; });
      if (FStop) return;
      Lock.unlock();
      Walk(W, *Sub, Never, nullptr);
      Lock.lock();
      Finish(*Sub);
    }
  }
  // Under the lock: the last subfolder of the oldest group that has one left.
  std::shared_ptr<TSubtree> Take() {
    for (TGroup& Group : FGroups) {
      if (Group.empty()) continue;
      std::shared_ptr<TSubtree> Sub = std::move(Group.back());
      Group.pop_back();
      return Sub;
    }
    return nullptr;
  }
  // Under the lock.
  void Finish(TSubtree& Sub) {
    Sub.Done = true;
    FChanged.notify_all();
  }
  // A walk of Sub alone and from scratch (a folder reached twice is told apart by the run when it
  // reports), with every callback recorded. Pump: the run's own, when the run walks it.
  void Walk(TWorker& W, TSubtree& Sub, const bool& Abort, const std::function<void()>& Pump) {
    TFileSearch Own(FCriteria, Abort);
    TLog& Log = Sub.Log;
    Own.FShared = this;
    Own.FRequired = FRequired;
    Own.FRecord = &Log;
    Own.FStop = &FStopping;
    Own.FBuffer = std::move(W.Buffer);
    Own.StreamFrom = FStreamFrom;
    Own.StreamBlock = FStreamBlock;
    Own.FWalked.insert(Sub.Above.begin(), Sub.Above.end());
    Own.FAbove = Sub.Above;
    Own.ProcessMessages = [&Log, &Pump] {
      Log.Add(TLog::Pumped);
      if (Pump) Pump();
    };
    Own.OnFolder = [&Log](const std::string& F) { Log.Add(TLog::Folder, Log.Paths, std::pair(F, 0)); };
    Own.OnCandidate = [&Log] { Log.Add(TLog::Candidate); };
    if (W.Test) Own.ContainsText = [&W](const std::string&, std::string_view Bytes) { return W.Test(Bytes); };
    Own.OnFound = [&Log](const TFoundFile& F) { Log.Add(TLog::Found, Log.Files, F); };
    Own.OnChecked = [&Log] { Log.Add(TLog::Checked); };
    Own.OnSkipped = [&Log](const std::string& P, int E) { Log.Add(TLog::Skipped, Log.Paths, std::pair(P, E)); };
    try {
      Own.SearchFolder(Sub.Folder);
    } catch (...) {
      // Raised where the run reports it, as if its own walk had raised there.
      Log.Add(TLog::Raised, Log.Exceptions, std::current_exception());
    }
    W.Buffer = std::move(Own.FBuffer);
  }

  const TSearchCriteria FCriteria;
  const bool& FRunAbort;
  const std::function<std::function<bool(std::string_view)>()> FMakeTest;  // empty: no content test
  const size_t FStreamFrom;
  const size_t FStreamBlock;
  const std::shared_ptr<const TRequiredForms> FRequired;
  TWorker FRunWorker;  // used on the run's thread, while it waits
  std::mutex FLock;
  std::condition_variable FChanged;  // an offer, a subtree done, or the stop
  bool FStop = false;
  std::atomic<bool> FStopping{false};
  std::list<TGroup> FGroups;  // oldest first; a list, so that a walk's group stays where it is
  std::vector<std::jthread> FThreads;
};

TFileSearch::TFileSearch(TSearchCriteria Criteria, const bool& AbortRequested)
    : FCriteria(std::move(Criteria)), FAbort(AbortRequested) {
  const std::string& Text = FCriteria.RequiredText;
  if (FCriteria.OtherEncodings && !Text.empty() && Text.find_first_of("\r\n") == std::string::npos)
    FRequired = std::make_shared<const TRequiredForms>(Text, FCriteria.RequiredFolds);
}

TFileSearch::TFileSearch(TFileSearch&&) noexcept = default;

TFileSearch::~TFileSearch() = default;

void TFileSearch::Pump() const {
  if (ProcessMessages) ProcessMessages();
}

void TFileSearch::Skip(const std::string& Path, int Error) const {
  if (OnSkipped) OnSkipped(Path, Error);
}

bool TFileSearch::Aborted() const {
  if (FRecord != nullptr) FRecord->Add(TLog::Checkpoint);
  return FAbort || (FStop != nullptr && FStop->load(std::memory_order_relaxed));
}

TFileSearch::THelpers* TFileSearch::Helpers() {
  // A helper's walk shares its pool; the run starts one at the first folder worth sharing.
  if (FShared != nullptr || FRecord != nullptr) return FShared;
  if (HelperThreads == 0 || (ContainsText && !MakeHelperContentTest)) return nullptr;
  FHelpers = std::make_unique<THelpers>(*this, HelperThreads);
  FShared = FHelpers.get();
  return FShared;
}

void TFileSearch::SearchFolder(const std::string& Folder) {
  if (Aborted()) return;
  int Error = 0;
  TOpenFolder Dir;
  // What cannot be opened is looked at by its name, so that it is reported as it always was.
  std::optional<TFileId> Id = Dir.Open(Folder, &Error) ? Dir.Id() : FileIdOf(Folder, &Error);
  if (!Id) {
    if (Error != ENOENT) Skip(Folder, Error);  // one gone since its parent was read is no fault
    return;
  }
  if (!FWalked.insert(*Id).second) return;  // a link back into the tree
  if (FRecord != nullptr) FRecord->Add(TLog::Enter, FRecord->Ids, *Id);
  FAbove.push_back(*Id);
  struct TLeave {
    std::vector<TFileId>& Above;
    ~TLeave() { Above.pop_back(); }
  } Leave{FAbove};
  if (OnFolder) OnFolder(Folder);
  std::vector<TDirEntry> Entries = Dir.IsOpen() ? Dir.Read(&Error) : ReadFolder(Folder, &Error);
  if (Error != 0 && Error != ENOENT) Skip(Folder, Error);
  const int At = Dir.IsOpen() ? Dir.Fd() : AT_FDCWD;
  for (const TDirEntry& E : Entries) {
    if (!MatchesFilePattern(FCriteria.FilePattern, E.Name)) continue;
    Pump();
    if (IsHiddenName(E.Name) && !FCriteria.Hidden) continue;
    if (E.Error != 0) Skip(Folder + E.Name, E.Error);
    // Only regular files: opening a FIFO or a device would hang or read forever.
    if (E.Kind != ekRegular) continue;
    CheckFileAt(At, Folder, E.Name, !E.Link);
  }
  Dir.Close();  // a deep tree holds no descriptor per level
  if (FCriteria.SubFolders) WalkSubfolders(Folder, Entries);
  if (FRecord != nullptr) FRecord->Add(TLog::Leave);
}

void TFileSearch::WalkSubfolders(const std::string& Folder, const std::vector<TDirEntry>& Entries) {
  auto Walked = [this](const TDirEntry& E) {
    return E.Kind == ekDirectory && !(IsHiddenName(E.Name) && !FCriteria.Hidden);
  };
  std::vector<std::string> Subfolders;
  for (const TDirEntry& E : Entries) {
    if (Walked(E)) Subfolders.push_back(Folder + E.Name + "/");
  }
  // Two subfolders or more are worth sharing: with one, the walk goes there next itself.
  THelpers* Shared = Subfolders.size() < 2 ? nullptr : Helpers();
  if (Shared == nullptr) {
    for (const std::string& Sub : Subfolders) {
      Pump();
      SearchFolder(Sub);
    }
    return;
  }
  std::vector<std::shared_ptr<TSubtree>> Subs;
  for (std::string& Sub : Subfolders) Subs.push_back(std::make_shared<TSubtree>(std::move(Sub), FAbove));
  THelpers::TGroup& Group = Shared->Offer(Subs);
  struct TWithdraw {
    THelpers& Helpers;
    THelpers::TGroup& Group;
    ~TWithdraw() { Helpers.Withdraw(Group); }
  } Withdraw{*Shared, Group};
  for (const auto& Sub : Subs) {
    Pump();
    if (Shared->Claim(Group, *Sub)) {
      SearchFolder(Sub->Folder);
    } else if (FRecord != nullptr) {
      FRecord->Add(TLog::Nested, FRecord->Subtrees, Sub);  // the run waits for it when it reports
    } else if (!Shared->WaitFor(*Sub, ProcessMessages) || !Replay(*Sub)) {
      return;
    }
  }
}

bool TFileSearch::Replay(const TSubtree& Sub) {
  const TLog& Log = Sub.Log;
  // The next entry of each table.
  size_t Path = 0, Id = 0, File = 0, Exception = 0, Nested = 0;
  int Unwalked = 0;  // depth inside a folder this run had walked before the helper came to it
  for (const TLog::TKind Kind : Log.Events) {
    switch (Kind) {
      case TLog::Checkpoint:
        if (Unwalked == 0 && FAbort) return false;
        break;
      case TLog::Enter:
        if (Unwalked > 0) {
          ++Unwalked;
        } else if (!FWalked.insert(Log.Ids[Id]).second) {
          Unwalked = 1;
        }
        ++Id;
        break;
      case TLog::Leave:
        if (Unwalked > 0) --Unwalked;
        break;
      case TLog::Folder:
        if (Unwalked == 0 && OnFolder) OnFolder(Log.Paths[Path].first);
        ++Path;
        break;
      case TLog::Candidate:
        if (Unwalked == 0 && OnCandidate) OnCandidate();
        break;
      case TLog::Skipped:
        if (Unwalked == 0) Skip(Log.Paths[Path].first, Log.Paths[Path].second);
        ++Path;
        break;
      case TLog::Found:
        if (Unwalked == 0 && OnFound) OnFound(Log.Files[File]);
        ++File;
        break;
      case TLog::Checked:
        if (Unwalked == 0 && OnChecked) OnChecked();
        break;
      case TLog::Pumped:
        if (Unwalked == 0) Pump();
        break;
      case TLog::Raised:
        if (Unwalked == 0) std::rethrow_exception(Log.Exceptions[Exception]);
        ++Exception;
        break;
      case TLog::Nested: {
        const TSubtree& Inner = *Log.Subtrees[Nested++];
        if (Unwalked == 0 && !(FShared->WaitFor(Inner, ProcessMessages) && Replay(Inner))) return false;
        break;
      }
    }
  }
  return true;
}

void TFileSearch::CheckFile(const std::string& Folder, const std::string& Name, bool NoFollow) {
  CheckFileAt(AT_FDCWD, Folder, Name, NoFollow);
}

// One open, one look at the open descriptor and one read serve every test: the non-text probe takes
// the first bytes of what the content test then searches.
void TFileSearch::CheckFileAt(int At, const std::string& Folder, const std::string& Name, bool NoFollow) {
  if (Aborted()) return;
  if (OnCandidate) OnCandidate();
  std::string Path = Folder + Name;
  if (HasNonTextExtension(Name)) return;
  TCandidateFile File(FBuffer);
  // Inside the open folder the name alone is looked up; elsewhere the whole path is.
  if (!File.OpenAt(At, Path, At == AT_FDCWD ? Path.c_str() : Name.c_str(), NoFollow)) {
    if (File.Error() != 0) Skip(Path, File.Error());
    return;
  }
  bool Passes = false;
  TTextEncoding Encoding = teShiftJis;
  try {
    // The probe first: a non-text file is never read whole, and without a content test nothing
    // more than the probe is read of any file.
    const std::string_view Head =
        File.Head(NonTextProbeSize, ContainsText ? TCandidateFile::HeadReadAhead : NonTextProbeSize);
    // UTF-16 holds a NUL in every ASCII character: its mark, not the probe, says it is text.
    const bool Utf16 = FCriteria.OtherEncodings && IsUtf16(EncodingOfMark(Head));
    if (!Utf16 && IsBinaryProbe(Head.substr(0, NonTextProbeSize))) return;
    Passes = PassesDateAndSize(File.Info());
    // The content test runs for every candidate, as the window's own editor would see it.
    if (ContainsText) {
      const std::optional<bool> Holds = HoldsText(File, Path, Head, Encoding);
      if (!Holds) return;
      Passes = Passes && *Holds;
    } else if (Passes && FCriteria.OtherEncodings) {
      Encoding = DetectTextEncoding(File.Head(DetectionWindow, DetectionWindow), File.Ended());
    }
  } catch (const EInOutError& E) {
    Skip(Path, E.ErrorCode());
    return;
  }
  if (Passes && OnFound) {
    TFileInfo Info = File.Info();
    Info.ReadOnly = !File.Writable();  // only for the rows shown
    OnFound(TFoundFile{Folder, Name, Info, Encoding});
  }
  if (OnChecked) OnChecked();
  Pump();
}

bool TFileSearch::LacksRequiredText(std::string_view Bytes, const TPossibleEncodings& Possible) const {
  if (Possible.Marked) return false;  // the mark alone tells the encoding
  if (!FRequired) return false;
  auto Holds = [&](TTextEncoding E) {
    const TByteFinder* Form = FRequired->In(E);
    return !Form || Form->Find(Bytes) != std::string_view::npos;
  };
  return !(Possible.Utf8 && Holds(teUtf8)) && !Holds(teShiftJis) && !(Possible.EucJp && Holds(teEucJp));
}

bool TFileSearch::TestBytes(const std::string& Path, std::string_view Bytes, TTextEncoding Encoding) {
  if (Encoding == teShiftJis) return ContainsText(Path, Bytes);
  // Most files lack the text: in their own bytes that is told without converting them.
  if (const TByteFinder* Form = FRequired ? FRequired->In(Encoding) : nullptr;
      Form && Form->Find(Bytes) == std::string_view::npos)
    return false;
  FConverted.clear();
  ConvertToCp932(Bytes, Encoding, FConverted);
  return ContainsText(Path, FConverted);
}

std::optional<bool> TFileSearch::HoldsText(TCandidateFile& File, const std::string& Path, std::string_view Head,
                                           TTextEncoding& Encoding) {
  Encoding = teShiftJis;
  if (File.Info().Size > StreamFrom && FCriteria.OtherEncodings) Encoding = DetectTextEncoding(Head, false);
  // UTF-16 is read whole: its blocks could not be cut at line ends byte by byte.
  if (File.Info().Size > StreamFrom && !IsUtf16(Encoding)) {
    // Pumped as it is read, as a file read whole is: one line may make a block of any size.
    size_t Unpumped = Head.size();
    bool Stopped = false;
    auto Read = [&](char* Into, size_t Max) -> size_t {
      if (Unpumped >= ReadPiece) {
        Unpumped = 0;
        Pump();
        Stopped = Aborted();
        if (Stopped) return 0;
      }
      const size_t Got = File.ReadOn(Into, Max);
      Unpumped += Got;
      return Got;
    };
    TLineBlocks Blocks(FBuffer, Head.size(), Read, StreamBlock, Path);
    // A mark at the file's start is left out of the first block only.
    TTextEncoding BlockEncoding = Encoding;
    for (std::string_view Block; Blocks.Next(Block) && !Stopped; BlockEncoding = Encoding == teUtf8Bom ? teUtf8 : Encoding)
      if (TestBytes(Path, Block, BlockEncoding)) return true;
    if (Stopped) return std::nullopt;
    return false;
  }
  std::string_view Bytes = Head;
  while (!File.Ended()) {
    if (Bytes.size() >= ReadPiece) {
      Pump();
      if (Aborted()) return std::nullopt;
    }
    Bytes = File.Head(Bytes.size() + ReadPiece);
  }
  // Most files are told to be Shift-JIS from their first kana or kanji. Of the others, most lack the
  // text whatever their encoding, and need not be told at all.
  if (FCriteria.OtherEncodings && !IsUtf16(Encoding)) {
    if (const TPossibleEncodings Possible = PossibleEncodings(Bytes, true); !Possible.OnlyShiftJis()) {
      if (LacksRequiredText(Bytes, Possible)) return false;
      Encoding = DetectTextEncoding(Bytes, true);
    }
  }
  return TestBytes(Path, Bytes, Encoding);
}

bool TFileSearch::PassesDateAndSize(const TFileInfo& Info) const {
  if (FCriteria.WriteTimeRange) {
    auto [Start, End] = *FCriteria.WriteTimeRange;
    if (!(Start < Info.WriteTime && Info.WriteTime < End)) return false;
  }
  if (FCriteria.SizeRule == srAtLeast && Info.Size < FCriteria.SizeBytes) return false;
  if (FCriteria.SizeRule == srAtMost && Info.Size > FCriteria.SizeBytes) return false;
  return true;
}

bool TFileSearch::IsNonTextFile(const std::string& Path) {
  if (HasNonTextExtension(NameOf(Path))) return true;
  return IsBinaryProbe(ReadFilePrefix(Path, NonTextProbeSize));
}

}  // namespace tesvarin
