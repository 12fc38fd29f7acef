#include "app/FileSearch.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>

#include "app/FilePattern.h"
#include "app/LocalTime.h"
#include "app/ResultRow.h"
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

// One thing the walk reported, kept by a helper in the order the walk made it.
struct TFileSearch::TEvent {
  enum TKind : uint8_t { Checkpoint, Enter, Leave, Folder, Candidate, Skipped, Found, Checked, Pumped, Raised };
  explicit TEvent(TKind K) : Kind(K) {}
  // Adds one to Log; the caller fills in what its kind carries.
  static TEvent& Add(std::vector<TEvent>& Log, TKind K) { return Log.emplace_back(K); }
  TKind Kind;
  std::string Path;  // Folder, Skipped
  int Error = 0;     // Skipped
  TFileId Id;        // Enter
  TFoundFile File;   // Found
  std::exception_ptr Exception;  // Raised
};

// A subfolder offered to the helpers, and what a helper found in it.
struct TFileSearch::TSubtree {
  TSubtree(std::string F, std::vector<TFileId> A) : Folder(std::move(F)), Above(std::move(A)) {}
  std::string Folder;
  std::vector<TFileId> Above;  // the folders that lead to it: a link back to one is not walked again
  std::vector<TEvent> Log;
  bool Done = false;  // under THelpers' lock
};

// The helper threads and the subfolders offered to them. Each walked folder offers its subfolders as
// a group; the run takes them from the front of the newest group, as it comes to them, and a helper
// from the back of the oldest, the one the run will come to last.
class TFileSearch::THelpers {
public:
  THelpers(const TFileSearch& Owner, unsigned Threads) : FCriteria(Owner.FCriteria) {
    // Every content test first: one that cannot be made must leave no thread waiting behind.
    std::vector<std::function<bool(std::string_view)>> Tests(Threads);
    if (Owner.ContainsText) {
      for (auto& Test : Tests) Test = Owner.MakeHelperContentTest();
    }
    try {
      for (auto& Test : Tests) FThreads.emplace_back([this, Test = std::move(Test)] { Work(Test); });
    } catch (...) {
      Stop();
      throw;
    }
  }
  THelpers(const THelpers&) = delete;
  THelpers& operator=(const THelpers&) = delete;
  ~THelpers() { Stop(); }

  void Offer(const std::vector<std::shared_ptr<TSubtree>>& Subs) {
    {
      std::lock_guard Lock(FLock);
      FGroups.emplace_back(Subs.begin(), Subs.end());
    }
    FWake.notify_all();
  }
  // True when no helper has taken Sub: the run walks it itself.
  bool Claim(const TSubtree& Sub) {
    std::lock_guard Lock(FLock);
    std::deque<std::shared_ptr<TSubtree>>& Group = FGroups.back();
    if (Group.empty() || Group.front().get() != &Sub) return false;
    Group.pop_front();
    return true;
  }
  // The newest group, done with: what is left in it (after an abort) is never walked.
  void Withdraw() {
    std::lock_guard Lock(FLock);
    FGroups.pop_back();
  }
  // Waits at most Timeout for a helper to finish Sub.
  bool WaitFor(const TSubtree& Sub, std::chrono::milliseconds Timeout) {
    std::unique_lock Lock(FLock);
    return FDone.wait_for(Lock, Timeout, [&Sub] { return Sub.Done; });
  }

private:
  void Stop() {
    FStopping = true;
    {
      std::lock_guard Lock(FLock);
      FStop = true;
    }
    FWake.notify_all();
    FThreads.clear();  // joins; a helper stops at its walk's next check
  }
  void Work(const std::function<bool(std::string_view)>& Test) {
    std::string Buffer;
    for (;;) {
      std::shared_ptr<TSubtree> Sub;
      {
        std::unique_lock Lock(FLock);
        FWake.wait(Lock, [this] { return FStop || HasOffer(); });
        if (FStop) return;
        for (auto& Group : FGroups) {
          if (Group.empty()) continue;
          Sub = std::move(Group.back());
          Group.pop_back();
          break;
        }
      }
      Walk(Test, *Sub, Buffer);
      {
        std::lock_guard Lock(FLock);
        Sub->Done = true;
      }
      FDone.notify_all();
    }
  }
  bool HasOffer() const {
    for (const auto& Group : FGroups) {
      if (!Group.empty()) return true;
    }
    return false;
  }
  // The helper's own walk of Sub, alone and from scratch (a folder reached twice is told apart by
  // the run when it reports), with every callback recorded.
  void Walk(const std::function<bool(std::string_view)>& Test, TSubtree& Sub, std::string& Buffer) {
    static const bool Never = false;
    TFileSearch Own(FCriteria, Never);
    std::vector<TEvent>& Log = Sub.Log;
    Own.HelperThreads = 0;
    Own.FRecord = &Log;
    Own.FStop = &FStopping;
    Own.FBuffer = std::move(Buffer);
    Own.FWalked.insert(Sub.Above.begin(), Sub.Above.end());
    Own.ProcessMessages = [&Log] { TEvent::Add(Log, TEvent::Pumped); };
    Own.OnFolder = [&Log](const std::string& F) { TEvent::Add(Log, TEvent::Folder).Path = F; };
    Own.OnCandidate = [&Log] { TEvent::Add(Log, TEvent::Candidate); };
    if (Test) Own.ContainsText = [&Test](const std::string&, std::string_view Bytes) { return Test(Bytes); };
    Own.OnFound = [&Log](const TFoundFile& F) { TEvent::Add(Log, TEvent::Found).File = F; };
    Own.OnChecked = [&Log] { TEvent::Add(Log, TEvent::Checked); };
    Own.OnSkipped = [&Log](const std::string& P, int E) {
      TEvent& Event = TEvent::Add(Log, TEvent::Skipped);
      Event.Path = P;
      Event.Error = E;
    };
    try {
      Own.SearchFolder(Sub.Folder);
    } catch (...) {
      // Raised where the run reports it, as if its own walk had raised there.
      TEvent::Add(Log, TEvent::Raised).Exception = std::current_exception();
    }
    Buffer = std::move(Own.FBuffer);
  }

  const TSearchCriteria FCriteria;
  std::mutex FLock;
  std::condition_variable FWake;
  std::condition_variable FDone;
  bool FStop = false;
  std::atomic<bool> FStopping{false};
  std::vector<std::deque<std::shared_ptr<TSubtree>>> FGroups;
  std::vector<std::jthread> FThreads;
};

TFileSearch::TFileSearch(TSearchCriteria Criteria, const bool& AbortRequested)
    : FCriteria(std::move(Criteria)), FAbort(AbortRequested) {}

TFileSearch::TFileSearch(TFileSearch&&) noexcept = default;

TFileSearch::~TFileSearch() = default;

void TFileSearch::Pump() const {
  if (ProcessMessages) ProcessMessages();
}

void TFileSearch::Skip(const std::string& Path, int Error) const {
  if (OnSkipped) OnSkipped(Path, Error);
}

bool TFileSearch::Aborted() const {
  if (FRecord != nullptr) TEvent::Add(*FRecord, TEvent::Checkpoint);
  return FAbort || (FStop != nullptr && FStop->load(std::memory_order_relaxed));
}

bool TFileSearch::UsesHelpers() const {
  return HelperThreads > 0 && FRecord == nullptr && (!ContainsText || MakeHelperContentTest);
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
  if (FRecord != nullptr) TEvent::Add(*FRecord, TEvent::Enter).Id = *Id;
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
  if (FRecord != nullptr) TEvent::Add(*FRecord, TEvent::Leave);
}

void TFileSearch::WalkSubfolders(const std::string& Folder, const std::vector<TDirEntry>& Entries) {
  auto Walked = [this](const TDirEntry& E) {
    return E.Kind == ekDirectory && !(IsHiddenName(E.Name) && !FCriteria.Hidden);
  };
  // Two subfolders or more are worth sharing: with one, the run goes there next itself.
  std::vector<std::shared_ptr<TSubtree>> Subs;
  if (UsesHelpers()) {
    for (const TDirEntry& E : Entries) {
      if (Walked(E)) Subs.push_back(std::make_shared<TSubtree>(Folder + E.Name + "/", FAbove));
    }
    if (Subs.size() < 2) Subs.clear();
  }
  if (!Subs.empty()) {
    if (!FHelpers) FHelpers = std::make_unique<THelpers>(*this, HelperThreads);
    FHelpers->Offer(Subs);
  }
  struct TWithdraw {
    THelpers* Helpers;
    ~TWithdraw() {
      if (Helpers != nullptr) Helpers->Withdraw();
    }
  } Withdraw{Subs.empty() ? nullptr : FHelpers.get()};
  size_t Next = 0;
  for (const TDirEntry& E : Entries) {
    Pump();
    if (!Walked(E)) continue;
    if (Subs.empty()) {
      SearchFolder(Folder + E.Name + "/");
      continue;
    }
    const TSubtree& Sub = *Subs[Next++];
    if (FHelpers->Claim(Sub)) {
      SearchFolder(Sub.Folder);
    } else if (FAbort || !WaitFor(Sub)) {
      return;
    } else {
      Replay(Sub);
    }
  }
}

bool TFileSearch::WaitFor(const TSubtree& Sub) const {
  // The window stays alive, and Abort is heard, while a helper finishes.
  while (!FHelpers->WaitFor(Sub, std::chrono::milliseconds(10))) {
    Pump();
    if (FAbort) return false;
  }
  return true;
}

void TFileSearch::Replay(const TSubtree& Sub) {
  int Unwalked = 0;  // depth inside a folder this run had walked before the helper came to it
  for (const TEvent& E : Sub.Log) {
    if (Unwalked > 0) {
      if (E.Kind == TEvent::Enter) ++Unwalked;
      if (E.Kind == TEvent::Leave) --Unwalked;
      continue;
    }
    switch (E.Kind) {
      case TEvent::Checkpoint:
        if (FAbort) return;
        break;
      case TEvent::Enter:
        if (!FWalked.insert(E.Id).second) Unwalked = 1;
        break;
      case TEvent::Leave: break;
      case TEvent::Folder:
        if (OnFolder) OnFolder(E.Path);
        break;
      case TEvent::Candidate:
        if (OnCandidate) OnCandidate();
        break;
      case TEvent::Skipped: Skip(E.Path, E.Error); break;
      case TEvent::Found:
        if (OnFound) OnFound(E.File);
        break;
      case TEvent::Checked:
        if (OnChecked) OnChecked();
        break;
      case TEvent::Pumped: Pump(); break;
      case TEvent::Raised: std::rethrow_exception(E.Exception);
    }
  }
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
  try {
    const size_t Want = ContainsText ? std::string::npos : NonTextProbeSize;
    // The probe first: a non-text file is never read whole.
    std::string_view Bytes = File.Head(NonTextProbeSize);
    if (IsBinaryProbe(Bytes.substr(0, NonTextProbeSize))) return;
    Bytes = File.Head(Want);
    Passes = PassesDateAndSize(File.Info());
    // The content test runs for every candidate, as the window's own editor would see it.
    if (ContainsText && !ContainsText(Path, Bytes)) Passes = false;
  } catch (const EInOutError& E) {
    Skip(Path, E.ErrorCode());
    return;
  }
  if (Passes && OnFound) {
    TFileInfo Info = File.Info();
    Info.ReadOnly = !File.Writable();  // only for the rows shown
    OnFound(TFoundFile{Folder, Name, Info});
  }
  if (OnChecked) OnChecked();
  Pump();
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
