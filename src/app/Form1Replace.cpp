// The viewer commands, the option rules of the match check boxes, the replace flows and saving.
#include <algorithm>
#include <ctime>
#include <filesystem>

#include "app/FileSystem.h"
#include "app/Form1.h"
#include "app/SafeSave.h"
#include "app/SplicedReplace.h"
#include "support/EncodingConverter.h"

#include <cerrno>
#include <cstring>

#include "support/Exception.h"

namespace tesvarin {

namespace {

const char* const NotFoundPrefix = "検索文字列  \"";
const char* const NotFoundSuffix = "\"は見つかりませんでした。";
const char* const HitOf = "件中";
const char* const HitNumberSuffix = "件目";
const char* const ReplacedSuffix = " 個の置換作業が終了しました。";
const char* const FileReplaceCaption = "ファイル内の置換";
const char* const ListReplaceCaption = "リストされたファイルの置換";
const char* const ConfirmCaption = "確認";
const char* const SkippedSuffix = " 個のファイル・フォルダを処理できませんでした。";
const char* const NotSjisNote = " (Shift-JIS として正しくないため置換しませんでした)";
const char* const NotLosslessNote = " からシフトJISに変換すると元に戻らない文字があるため置換しませんでした)";
constexpr size_t SkippedNamed = 5;

}  // namespace

void TForm1::FileListClick() {
  // During a run or a batch the editor is the loop's scratch buffer.
  if (FRunning) return;
  int Selected = C.FileList.Selected();
  if (Selected < 0) return;
  if (!OpenFile(RowPath(C.FileList.Item(Selected)))) {
    // Cancel at a save question: the current file and its edits stay, and so does its row.
    SelectRowOf(C.fName.Caption());
    return;
  }
  // Without a search text there is no first hit, and the path stays in the status bar.
  if (C.SelectFirstSearch.Checked() && !C.cFindWord.Text().empty()) ShowFirstHit();
  ShowReadOnlyNote();
}

bool TForm1::OpenFile(const std::string& Path) {
  if (FRunning) return false;
  FAbortRequested = false;
  SaveIfModified();
  if (FAbortRequested) {
    FAbortRequested = false;
    return false;
  }
  C.StatusBar1.SetPanelText(1, Path);
  C.fName.SetCaption(Path);
  LoadCurrentFile(Path, ListedEncoding(Path));
  ShowReadOnlyNote();
  return true;
}

TTextEncoding TForm1::ListedEncoding(const std::string& Path) const {
  for (const TListItem& Row : C.FileList.Items()) {
    if (RowPath(Row) == Path) return RowEncoding(Row);
  }
  return teShiftJis;
}

void TForm1::ShowReadOnlyNote() {
  if (const std::string Note = ReadOnlyNote(); !Note.empty()) C.StatusBar1.SetPanelText(1, Note);
}

void TForm1::SelectRowOf(const std::string& Path) {
  for (int I = 0; I < C.FileList.Count(); ++I) {
    if (RowPath(C.FileList.Item(I)) == Path) {
      C.FileList.SetSelected(I);
      return;
    }
  }
  C.FileList.SetSelected(-1);
}

void TForm1::Search(bool Forward) {
  // During a run or a batch the editor is the loop's scratch buffer (F3 reaches here too).
  if (FRunning || !StartSearch()) return;
  StepToHit(Forward);
}

void TForm1::StepToHit(bool Forward) {
  if (!(Forward ? Editor.FindNext() : Editor.FindPrev())) return ShowNotFound();
  ShowHitNumber();
}

// A file just opened has its caret at the top, so its first hit is the first one the count meets:
// the count's single pass over the text finds it, where a search and then a count would read a
// big text twice.
void TForm1::ShowFirstHit() {
  if (FRunning || !StartSearch()) return;
  UpdateHits();
  const THitIndex::TMark* First = FHits.First();
  if (First == nullptr) return ShowNotFound();
  const auto Start = static_cast<int64_t>(First->Start);
  if (Editor.ShowHitFrom(static_cast<int64_t>(First->From), Start)) return ShowHitNumberAt(Start);
  // Not expected: the count steps as the viewer does. The viewer's own search has the last word.
  StepToHit(true);
}

bool TForm1::StartSearch() {
  C.StatusBar1.SetPanelText(1, {});
  Editor.SetFocus();
  // An empty text finds nothing, which is no news worth a message.
  if (C.cFindWord.Text().empty()) return false;
  Editor.SetFindString(FindBytes());
  SetSearchOptions();
  return true;
}

void TForm1::ShowNotFound() { C.StatusBar1.SetPanelText(1, NotFoundPrefix + C.cFindWord.Text() + NotFoundSuffix); }

void TForm1::UpdateHits() {
  THitsKey Key{Editor.FindString(), Editor.ExSearchOptions(), Editor.TextVersion()};
  if (FHitsKey == Key) return;
  FHitsKey.reset();
  FHits.Build([this](const TTextPieceSink& Take) { Editor.ProduceWholeText(Take); },
              [this] { return Editor.WholeText(); }, Key.Find, Key.Options);
  FHitsKey = std::move(Key);
}

void TForm1::ShowHitNumber() { ShowHitNumberAt(Editor.SelStart()); }

void TForm1::ShowHitNumberAt(int64_t Pos) {
  UpdateHits();
  const size_t Number = FHits.NumberAt(static_cast<size_t>(std::max<int64_t>(Pos, 0)));
  if (Number == 0) return;
  C.StatusBar1.SetPanelText(1, std::to_string(FHits.Count()) + HitOf + std::to_string(Number) + HitNumberSuffix);
}

void TForm1::SpeedButton1Click() { Search(true); }

void TForm1::SpeedButton3Click() { Search(false); }

void TForm1::CheckBox1Click() {
  if (C.CheckBox1.Checked()) {
    C.CheckBox2.SetChecked(false);
    C.CheckBox2.SetEnabled(false);
  } else {
    C.CheckBox2.SetEnabled(true);
  }
}

void TForm1::CheckBox2Click() {
  if (C.CheckBox2.Checked()) {
    C.CheckBox1.SetEnabled(false);
    C.CheckBox3.SetEnabled(true);
  } else {
    C.CheckBox1.SetEnabled(true);
    C.CheckBox3.SetEnabled(false);
  }
}

void TForm1::SpeedButton4Click() {
  RecordHistory(FReplaceWordHistory, C.cReplaceWord, C.cReplaceWord.Text(), "ReplaceWord.dat");
  ReportSettingsProblems();
  if (PopupReplaceMenu) PopupReplaceMenu();
}

int TForm1::ReplaceInEditor(TReplaceSpots* Spots) {
  C.StatusBar1.SetPanelText(1, {});
  Editor.SetSelLength(0);
  Editor.SetFindString(FindBytes());
  // The pass matches as the check boxes say, like the searches that listed and showed the file.
  SetSearchOptions();
  int N = Editor.ReplaceAll(ReplaceBytes(), true, Spots);
  if (N > 0) Editor.SetModified(true);
  return N;
}

void TForm1::BeginReplaceCommand() {
  C.Button1.SetEnabled(false);
  C.Button3.SetEnabled(false);
  C.Button2.SetEnabled(true);
  FAbortRequested = false;
}

void TForm1::EndReplaceCommand() {
  C.Button1.SetEnabled(true);
  C.Button3.SetEnabled(true);
  C.Button2.SetEnabled(false);
}

// A replace in a text whose bytes do not pair up into characters could cut one in two.
bool TForm1::ReplaceableText(const std::string& Path) {
  if (!FCurrentLossless) {
    NoteSkipped(Path + " (" + std::string(EncodingName(FCurrentEncoding)) + NotLosslessNote);
    return false;
  }
  if (Editor.WellFormed()) return true;
  NoteSkipped(Path + NotSjisNote);
  return false;
}

void TForm1::N2Click() {
  if (FRunning) return;
  BeginReplaceCommand();
  Editor.SetFocus();
  FSkippedCount = 0;
  FSkipped.clear();
  int N = 0;
  try {
    if (ReplaceableText(C.fName.Caption())) N = ReplaceInEditor();
  } catch (...) {
    EndReplaceCommand();
    throw;
  }
  std::string Message = std::to_string(N) + ReplacedSuffix;
  C.StatusBar1.SetPanelText(1, Message);
  EndReplaceCommand();
  FPlatform.Dialogs->MessageBox(Message, FileReplaceCaption, mbOK);
  ReportSkipped(FileReplaceCaption);
}

void TForm1::NoteSkipped(std::string Item) {
  ++FSkippedCount;
  if (FSkipped.size() < SkippedNamed) FSkipped.push_back(std::move(Item));
}

void TForm1::ReportSkipped(const char* Caption) {
  if (FSkippedCount == 0) return;
  const std::string Summary = std::to_string(FSkippedCount) + SkippedSuffix;
  std::string Panel = C.StatusBar1.PanelText(1);
  C.StatusBar1.SetPanelText(1, Panel.empty() ? Summary : Panel + "  " + Summary);
  std::string Text = Summary;
  for (const std::string& Item : FSkipped) Text += "\r\n" + Item;
  if (FSkippedCount > static_cast<int>(FSkipped.size())) Text += "\r\n...";
  FPlatform.Dialogs->WarningBox(Text, Caption);
}

bool TForm1::FirstVisit(const std::string& Path, std::set<TFileId>& Done) {
  int Error = 0;
  std::optional<TFileId> Id = FileIdOf(Path, &Error);
  if (!Id) {
    if (Error != ENOENT) NoteSkipped(Path + " (" + std::strerror(Error) + ")");
    return false;
  }
  return Done.insert(*Id).second && FileExists(Path);
}

// The batch finds the hits in the file's bytes, as the editor's replace-all would in its lines, and
// never loads the file into the editor: a file of any size is replaced in bounded memory.
std::optional<TReplacePlan> TForm1::PlanFile(const std::string& Path, TBatchFile& File, int& Total) {
  C.fName.SetCaption(Path);
  C.fEncoding.SetCaption(std::string(EncodingName(File.Encoding)));
  Editor.Clear();
  Editor.SetModified(false);
  FCurrentEncoding = File.Encoding;
  FLoadedStamp = File.Own.Stamp();
  // Characters outside code page 932 stay as they are: only the hits' bytes are written.
  if (File.Encoding != teShiftJis) (void)ConvertToCp932(File.Own.Bytes(), File.Encoding, File.Converted);
  // As the editor judges its lines: a lead byte before a break, or at the end, is out of form too.
  if (!IsWellFormedCp932(File.Text())) {
    NoteSkipped(Path + NotSjisNote);
    return std::nullopt;
  }
  C.StatusBar1.SetPanelText(1, {});
  // The pass matches as the check boxes say, like the searches that listed and showed the file.
  SetSearchOptions();
  FBatchSearch.SetFindString(FindBytes());
  FBatchSearch.SetExSearchOptions(Editor.ExSearchOptions());
  TReplaceSpots Spots;
  const int N = FindReplaceSpots(FBatchSearch, File.Text(), ReplaceBytes(), true, Spots);
  TReplacePlan Plan(File.Text(), Spots);
  if (File.Encoding != teShiftJis && N > 0) {
    // A hit that cannot be written back in the file's own encoding leaves the whole file alone.
    try {
      (void)SplicesOf(Plan, File.Own.Bytes(), File.Encoding);
    } catch (const EConvertError& E) {
      NoteSkipped(Path + " (" + E.what() + ")");
      return std::nullopt;
    }
  }
  Total += N;
  return Plan;
}

// Saves a batch file as its plan says, through the current file's save (question, stamp, backup,
// journal); the editor is left unmodified whatever happens.
void TForm1::SaveBatchFile(const TBatchFile& File, const TReplacePlan& Plan) {
  const TBatchWrite Write{File, Plan};
  FBatchWrite = &Write;
  struct TForget {
    TForm1& F;
    ~TForget() {
      F.FBatchWrite = nullptr;
      F.Editor.SetModified(false);
    }
  } Forget{*this};
  Editor.SetModified(true);
  SaveIfModified();
}

// One row of the batch. A file another row already led to is not replaced twice; a file that
// cannot be read or saved is noted and the batch goes on. What is saved is the file's plan spliced
// into the bytes read, the same plan the journal keeps.
void TForm1::ReplaceInListedFile(const std::string& Path, TTextEncoding Encoding, std::set<TFileId>& Done,
                                 int& Total) {
  if (!FirstVisit(Path, Done)) return;
  try {
    TBatchFile File(Path, Encoding);
    const std::optional<TReplacePlan> Plan = PlanFile(Path, File, Total);
    if (!Plan || Plan->Empty()) return;
    SaveBatchFile(File, *Plan);
    // Saving made a new file: the names still to come may lead to it.
    if (std::optional<TFileId> Saved = FileIdOf(Path)) Done.insert(*Saved);
  } catch (const EFileChangedOnDisk&) {
    NoteUnchanged(Path);
  } catch (const EInOutError& E) {
    NoteSkipped(E.what());
  } catch (const EConvertError& E) {
    // The replacement has no form in the file's encoding: the file stays as it was.
    NoteSkipped(Path + " (" + E.what() + ")");
  }
}

bool TForm1::PreviewListedFiles(std::vector<TPlannedFile>& Files) {
  BeginReplaceCommand();
  try {
    PlanListedFiles([&](const std::string& Path, std::string_view, const TReplacePlan& Plan) {
      Files.push_back({Path, Plan, FLoadedStamp.value_or(TFileStamp{}), FCurrentEncoding});
    });
  } catch (...) {
    EndReplaceCommand();
    throw;
  }
  EndReplaceCommand();
  if (FAbortRequested) return false;
  if (Files.empty()) {
    const std::string Message = std::string("0") + ReplacedSuffix;
    C.StatusBar1.SetPanelText(1, Message);
    FPlatform.Dialogs->MessageBox(Message, ListReplaceCaption, mbOK);
    ReportSkipped(ListReplaceCaption);
    return false;
  }
  return PreviewReplace(Files);
}

void TForm1::ReplaceInPlannedFile(const TPlannedFile& Planned, int& Total) {
  if (Planned.Plan.Empty()) return;
  C.fName.SetCaption(Planned.Path);
  try {
    const TBatchFile File(Planned.Path, Planned.Encoding);
    const TFileStamp& Now = File.Own.Stamp();
    // Changed while the preview was shown: the plan is no longer about these bytes.
    if (Now.Size != Planned.Stamp.Size || Now.Hash != Planned.Stamp.Hash) throw EFileChangedOnDisk(Planned.Path);
    FCurrentEncoding = File.Encoding;
    FLoadedStamp = Now;
    Total += static_cast<int>(Planned.Plan.TickedCount());
    SaveBatchFile(File, Planned.Plan);
  } catch (const EFileChangedOnDisk&) {
    NoteUnchanged(Planned.Path);
  } catch (const EInOutError& E) {
    NoteSkipped(E.what());
  } catch (const EConvertError& E) {
    NoteSkipped(Planned.Path + " (" + E.what() + ")");
  }
}

void TForm1::N4Click() {
  if (FRunning) return;
  std::string Question = "\"" + C.cFindWord.Text() + "\" を\r\n\"" + C.cReplaceWord.Text() + "\" に\r\n置き換えますか？";
  if (FPlatform.Dialogs->MessageBox(Question, ConfirmCaption, mbYesNo) != idYes) return;
  if (C.FileList.Count() == 0) return;
  // The batch takes over the viewer: edits of the current file are saved or dropped first, as the
  // user says, and Cancel stops the batch before it starts.
  FAbortRequested = false;
  SaveIfModified();
  if (FAbortRequested) return;
  const bool Preview = C.ReplacePreview.Checked() && PreviewReplace;
  std::vector<TPlannedFile> Previewed;
  if (Preview && !PreviewListedFiles(Previewed)) return;
  uint64_t Bytes = 0;
  if (Preview) {
    for (const TPlannedFile& F : Previewed) Bytes += F.Plan.Empty() ? 0 : F.Stamp.Size;
  } else {
    for (const TListItem& Row : C.FileList.Items()) {
      std::error_code Ec;
      const uintmax_t Size = std::filesystem::file_size(RowPath(Row), Ec);
      if (!Ec) Bytes += Size;
    }
  }
  std::optional<TJournalRecorder> Journal;
  if (!BeginJournal(Journal, Bytes)) return;
  int Total = 0;
  FSkippedCount = 0;
  FSkipped.clear();
  FUnchangedCount = 0;
  FUnchanged.clear();
  std::set<TFileId> Done;
  TBatchBackups Backups;
  FBatchBackups = &Backups;
  FJournal = Journal ? &*Journal : nullptr;
  BeginReplaceCommand();
  C.FileList.SetFocus();
  FRunning = true;
  Editor.BeginUpdate();
  auto Finish = [this] {
    EndEditorAsScratch();
    FBatchBackups = nullptr;
    FJournal = nullptr;
  };
  try {
    if (Preview) {
      for (size_t I = 0; I < Previewed.size() && !FAbortRequested; ++I) {
        ProcessMessages();
        ReplaceInPlannedFile(Previewed[I], Total);
      }
    } else {
      for (int I = 0; I < C.FileList.Count() && !FAbortRequested; ++I) {
        ProcessMessages();
        if (I >= C.FileList.Count()) break;  // rows purged while input was handled
        C.FileList.SetSelected(I);
        ReplaceInListedFile(RowPath(C.FileList.Item(I)), RowEncoding(C.FileList.Item(I)), Done, Total);
      }
    }
    if (Journal) {
      Journal->Finish();
      FJournaledRun = Journal->Number();
    }
  } catch (...) {
    // Every file is either old or new (saving is atomic); the window is left as after the command.
    Finish();
    EndReplaceCommand();
    throw;
  }
  Finish();
  std::string Message = std::to_string(Total) + ReplacedSuffix;
  C.StatusBar1.SetPanelText(1, Message);
  EndReplaceCommand();
  FPlatform.Dialogs->MessageBox(Message + BatchNotes(Backups), ListReplaceCaption, mbOK);
  ReportSkipped(ListReplaceCaption);
}

void TForm1::EndEditorAsScratch() {
  Editor.EndUpdate();
  Editor.Clear();
  C.fName.SetCaption({});
  C.fEncoding.SetCaption({});
  FRunning = false;
}

int TForm1::PlanListedFiles(const TPlanned& Planned) {
  if (FRunning) return 0;
  int Total = 0;
  FSkippedCount = 0;
  FSkipped.clear();
  std::set<TFileId> Done;
  FRunning = true;
  Editor.BeginUpdate();
  auto Finish = [this] { EndEditorAsScratch(); };
  try {
    FAbortRequested = false;
    for (int I = 0; I < C.FileList.Count() && !FAbortRequested; ++I) {
      ProcessMessages();
      if (I >= C.FileList.Count()) break;  // rows purged while input was handled
      const std::string Path = RowPath(C.FileList.Item(I));
      if (!FirstVisit(Path, Done)) continue;
      try {
        TBatchFile File(Path, RowEncoding(C.FileList.Item(I)));
        const std::optional<TReplacePlan> Plan = PlanFile(Path, File, Total);
        if (Plan && !Plan->Empty()) Planned(Path, File.Text(), *Plan);
      } catch (const EInOutError& E) {
        NoteSkipped(E.what());
      }
    }
  } catch (...) {
    Finish();
    throw;
  }
  Finish();
  return Total;
}

}  // namespace tesvarin
