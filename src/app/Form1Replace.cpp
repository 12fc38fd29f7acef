// The viewer commands, the option rules of the match check boxes, the replace flows and saving.
#include <algorithm>
#include <filesystem>

#include "app/FileSystem.h"
#include "app/Form1.h"
#include "app/SafeSave.h"

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
  std::string Path = RowPath(C.FileList.Item(Selected));
  const TTextEncoding Encoding = RowEncoding(C.FileList.Item(Selected));
  FAbortRequested = false;
  SaveIfModified();
  if (FAbortRequested) {
    // Cancel at a save question: the current file and its edits stay, and so does its row.
    FAbortRequested = false;
    SelectRowOf(C.fName.Caption());
    return;
  }
  C.StatusBar1.SetPanelText(1, Path);
  C.fName.SetCaption(Path);
  LoadCurrentFile(Path, Encoding);
  // Without a search text there is no first hit, and the path stays in the status bar.
  if (C.SelectFirstSearch.Checked() && !C.cFindWord.Text().empty()) SpeedButton1Click();
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
  if (FRunning) return;
  C.StatusBar1.SetPanelText(1, {});
  Editor.SetFocus();
  // An empty text finds nothing, which is no news worth a message.
  if (C.cFindWord.Text().empty()) return;
  Editor.SetFindString(FindBytes());
  SetSearchOptions();
  bool Found = Forward ? Editor.FindNext() : Editor.FindPrev();
  if (!Found) {
    C.StatusBar1.SetPanelText(1, NotFoundPrefix + C.cFindWord.Text() + NotFoundSuffix);
    return;
  }
  ShowHitNumber();
}

void TForm1::ShowHitNumber() {
  THitsKey Key{Editor.FindString(), Editor.ExSearchOptions(), Editor.TextVersion()};
  if (FHitsKey != Key) {
    FHitsKey.reset();
    FHits.Build(Editor.WholeText(), Key.Find, Key.Options);
    FHitsKey = std::move(Key);
  }
  const size_t Number = FHits.NumberAt(static_cast<size_t>(std::max<int64_t>(Editor.SelStart(), 0)));
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

int TForm1::ReplaceInEditor() {
  C.StatusBar1.SetPanelText(1, {});
  Editor.SetSelLength(0);
  Editor.SetFindString(FindBytes());
  // The pass matches as the check boxes say, like the searches that listed and showed the file.
  SetSearchOptions();
  int N = Editor.ReplaceAll(ReplaceBytes(), true);
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

// One row of the batch. A file another row already led to is not replaced twice; a file that
// cannot be read or saved is noted and the batch goes on.
void TForm1::ReplaceInListedFile(const std::string& Path, TTextEncoding Encoding, std::set<TFileId>& Done, int& Total) {
  int Error = 0;
  std::optional<TFileId> Id = FileIdOf(Path, &Error);
  if (!Id) {
    if (Error != ENOENT) NoteSkipped(Path + " (" + std::strerror(Error) + ")");
    return;
  }
  if (!Done.insert(*Id).second || !FileExists(Path)) return;
  C.fName.SetCaption(Path);
  try {
    LoadCurrentFile(Path, Encoding);
    if (!ReplaceableText(Path)) return;
    Total += ReplaceInEditor();
    SaveIfModified();
    // Saving made a new file: the names still to come may lead to it.
    if (std::optional<TFileId> Saved = FileIdOf(Path)) Done.insert(*Saved);
  } catch (const EFileChangedOnDisk&) {
    NoteUnchanged(Path);
    Editor.SetModified(false);
  } catch (const EInOutError& E) {
    NoteSkipped(E.what());
    Editor.SetModified(false);
  } catch (const EConvertError& E) {
    // The replacement has no form in the file's encoding: the file stays as it was.
    NoteSkipped(Path + " (" + E.what() + ")");
    Editor.SetModified(false);
  }
}

void TForm1::N4Click() {
  if (FRunning) return;
  std::string Question = "\"" + C.cFindWord.Text() + "\" を\r\n\"" + C.cReplaceWord.Text() + "\" に\r\n置き換えますか？";
  if (FPlatform.Dialogs->MessageBox(Question, ConfirmCaption, mbYesNo) != idYes) return;
  if (C.FileList.Count() == 0) return;
  int Total = 0;
  FSkippedCount = 0;
  FSkipped.clear();
  FUnchangedCount = 0;
  FUnchanged.clear();
  std::set<TFileId> Done;
  TBatchBackups Backups;
  FBatchBackups = &Backups;
  BeginReplaceCommand();
  C.FileList.SetFocus();
  FRunning = true;
  Editor.BeginUpdate();
  auto Finish = [this] {
    Editor.EndUpdate();
    Editor.Clear();
    C.fName.SetCaption({});
    C.fEncoding.SetCaption({});
    FRunning = false;
    FBatchBackups = nullptr;
  };
  try {
    for (int I = 0; I < C.FileList.Count() && !FAbortRequested; ++I) {
      ProcessMessages();
      if (I >= C.FileList.Count()) break;  // rows purged while input was handled
      C.FileList.SetSelected(I);
      ReplaceInListedFile(RowPath(C.FileList.Item(I)), RowEncoding(C.FileList.Item(I)), Done, Total);
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

}  // namespace tesvarin
