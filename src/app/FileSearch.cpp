#include "app/FileSearch.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

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

void TFileSearch::Pump() const {
  if (ProcessMessages) ProcessMessages();
}

void TFileSearch::Skip(const std::string& Path, int Error) const {
  if (OnSkipped) OnSkipped(Path, Error);
}

void TFileSearch::SearchFolder(const std::string& Folder) {
  if (FAbort) return;
  int Error = 0;
  TOpenFolder Dir;
  // What cannot be opened is looked at by its name, so that it is reported as it always was.
  std::optional<TFileId> Id = Dir.Open(Folder, &Error) ? Dir.Id() : FileIdOf(Folder, &Error);
  if (!Id) {
    if (Error != ENOENT) Skip(Folder, Error);  // one gone since its parent was read is no fault
    return;
  }
  if (!FWalked.insert(*Id).second) return;  // a link back into the tree
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
  if (!FCriteria.SubFolders) return;
  for (const TDirEntry& E : Entries) {
    Pump();
    if (E.Kind != ekDirectory || (IsHiddenName(E.Name) && !FCriteria.Hidden)) continue;
    SearchFolder(Folder + E.Name + "/");
  }
}

void TFileSearch::CheckFile(const std::string& Folder, const std::string& Name, bool NoFollow) {
  CheckFileAt(AT_FDCWD, Folder, Name, NoFollow);
}

// One open, one look at the open descriptor and one read serve every test: the non-text probe takes
// the first bytes of what the content test then searches.
void TFileSearch::CheckFileAt(int At, const std::string& Folder, const std::string& Name, bool NoFollow) {
  if (FAbort) return;
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
