// Saving the current file: the save question, the check that the file on disk is still the one
// loaded, and the backups of a batch.
#include "app/Form1.h"
#include "app/SplicedReplace.h"

namespace tesvarin {

namespace {

const char* const SaveCaption = "保存確認";
const char* const ChangedOnDisk =
    "\r\n\r\nこのファイルは読み込んだ後に他で変更されています。\r\n上書き保存すると、その変更は失われます。";
constexpr size_t UnchangedNamed = 5;

}  // namespace

void TForm1::SaveIfModified() {
  const std::string Path = C.fName.Caption();
  if (Path.empty() || !Editor.Modified()) return;
  if (C.ConfirmSave.Checked()) {
    std::string Question = Path + "\r\n\r\nこのファイルは変更されています。\r\n保存しますか?";
    TMsgResult Answer = FPlatform.Dialogs->MessageBox(Question, SaveCaption, mbYesNoCancel);
    if (Answer == idNo) return;
    if (Answer == idCancel) {
      FAbortRequested = true;
      return;
    }
  }
  SaveCurrentFile(Path);
}

void TForm1::SaveCurrentFile(const std::string& Path) {
  TSaveOptions Options;
  Options.MakeBackup = C.MakeBackFile.Checked();
  if (Options.MakeBackup && FBatchBackups != nullptr) Options.BackupPath = FBatchBackups->NameFor(Path);
  Options.Expected = FLoadedStamp;
  const bool Planned = FBatchWrite != nullptr;
  // A batch writes the file's own bytes with the plan's hits spliced in, in the file's encoding.
  const TByteSplices Splices =
      Planned ? SplicesOf(FBatchWrite->Plan, FBatchWrite->File.Own.Bytes(), FBatchWrite->File.Encoding) : TByteSplices();
  const std::string Bytes = Planned ? std::string() : CurrentFileBytes();
  // The journal keeps the old bytes before the file is replaced, so a crash can still be taken back.
  std::function<void()> BeforeReplace;
  if (FJournal != nullptr && Planned) {
    const std::string_view Old = FBatchWrite->File.Own.Bytes();
    FJournal->Record(Path, Old, SplicedSize(Old.size(), Splices), JournalHash(Old, Splices));
    BeforeReplace = [Journal = FJournal] { Journal->Durable(); };
  }
  if (Planned) {
    // Cut short under its mapping while the plan was made: the plan is about bytes the file no
    // longer holds.
    BeforeReplace = [Then = std::move(BeforeReplace), &Own = FBatchWrite->File.Own, Path] {
      if (Own.Cut()) throw EFileChangedOnDisk(Path);
      if (Then) Then();
    };
  }
  for (;;) {
    try {
      // On failure this raises with the file unchanged (or its old content under the backup name),
      // and Modified stays set.
      TSaveResult Saved;
      try {
        Saved = Planned ? SaveFileSpliced(Path, Splices, Options, BeforeReplace)
                        : SaveFileSafely(Path, Bytes, Options, BeforeReplace);
      } catch (...) {
        if (FJournal != nullptr && Planned) FJournal->Dropped(Path);
        throw;
      }
      Editor.SetModified(false);
      FLoadedStamp = Saved.Stamp;
      if (FBatchBackups != nullptr) FBatchBackups->Written(Path, Saved.Backup);
      return;
    } catch (const EFileChangedOnDisk&) {
      if (FBatchBackups != nullptr) throw;  // the batch leaves the file alone and says so at the end
      if (!OverwriteChangedFile(Path, Options)) return;
    }
  }
}

// Enter and Escape keep the newer file and the edits: only an explicit answer overwrites it, or
// drops the edits for it.
bool TForm1::OverwriteChangedFile(const std::string& Path, TSaveOptions& Options) {
  enum : size_t { Overwrite, Reload, Keep };
  TQuestion Question{Path + ChangedOnDisk, SaveCaption, {"上書き保存(&O)", "読み込み直す(&R)", "キャンセル"}, Keep, Keep};
  switch (FPlatform.Dialogs->Ask(Question)) {
    case Overwrite:
      // What is there now is what the user chose to overwrite; a further change is asked about again.
      Options.Expected = StampOfFile(Path);
      return true;
    case Reload:
      LoadCurrentFile(Path, FCurrentEncoding);
      return false;
    default:
      FAbortRequested = true;
      return false;
  }
}

void TForm1::NoteUnchanged(const std::string& Path) {
  ++FUnchangedCount;
  if (FUnchanged.size() < UnchangedNamed) FUnchanged.push_back(Path);
}

std::string TForm1::BatchNotes(const TBatchBackups& Backups) const {
  std::string Notes;
  if (const std::string Summary = Backups.Summary(); !Summary.empty()) Notes += "\r\n\r\n" + Summary;
  if (FUnchangedCount > 0) {
    Notes += "\r\n\r\n読み込んだ後に他で変更されたため、" + std::to_string(FUnchangedCount) +
             " 個のファイルは変更していません:";
    for (const std::string& Path : FUnchanged) Notes += "\r\n" + Path;
    if (FUnchangedCount > static_cast<int>(FUnchanged.size())) Notes += "\r\n...";
  }
  return Notes;
}

}  // namespace tesvarin
