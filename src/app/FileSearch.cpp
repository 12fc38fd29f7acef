#include "app/FileSearch.h"

#include "app/FilePattern.h"
#include "app/LocalTime.h"
#include "app/ResultRow.h"

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

void TFileSearch::SearchFolder(const std::string& Folder) {
  if (FAbort) return;
  std::optional<TFileId> Id = FileIdOf(Folder);
  if (!Id || !FWalked.insert(*Id).second) return;  // a link back into the tree
  if (OnFolder) OnFolder(Folder);
  std::vector<TDirEntry> Entries = ReadFolder(Folder);
  for (const TDirEntry& E : Entries) {
    if (!MatchesFilePattern(FCriteria.FilePattern, E.Name)) continue;
    Pump();
    // Only regular files: opening a FIFO or a device would hang or read forever.
    if (E.Kind != ekRegular || (IsHiddenName(E.Name) && !FCriteria.Hidden)) continue;
    CheckFile(Folder, E.Name);
  }
  if (!FCriteria.SubFolders) return;
  for (const TDirEntry& E : Entries) {
    Pump();
    if (E.Kind != ekDirectory || (IsHiddenName(E.Name) && !FCriteria.Hidden)) continue;
    SearchFolder(Folder + E.Name + "/");
  }
}

void TFileSearch::CheckFile(const std::string& Folder, const std::string& Name) {
  if (FAbort) return;
  if (OnCandidate) OnCandidate();
  std::string Path = Folder + Name;
  if (!FileExists(Path) || IsNonTextFile(Path)) return;
  std::optional<TFileInfo> Info = GetFileInfo(Path);
  if (!Info) return;
  bool Passes = PassesDateAndSize(*Info);
  // The content test runs for every candidate, as the window's own editor would see it.
  if (ContainsText && !ContainsText(Path)) Passes = false;
  if (Passes && OnFound) OnFound(TFoundFile{Folder, Name, *Info});
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
