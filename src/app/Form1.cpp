#include "app/Form1.h"

#include <chrono>
#include <cstring>
#include <ctime>
#include <memory>

#include "app/FilePattern.h"
#include "app/FileSystem.h"
#include "app/ResultRow.h"
#include "support/SjisCodec.h"
#include "support/TextEncoding.h"

namespace tesvarin {

namespace {

const char* const FoundMessage = " 個のファイルが見つかりました。";
const char* const FoundCaption = "ファイルの検索";
const char* const CountSuffix = " 個のファイル";
const char* const SearchingSuffix = "を検索中...";
const char* const Aborted = "中断しました。";
const char* const NoFolder = "探す場所を指定してください。";
const char* const MissingFolder = "探す場所のフォルダが見つかりません。\r\n";
const char* const Larger = "より大きい";
const char* const Smaller = "より小さい";

std::string WithTrailingSlash(std::string Folder) {
  if (Folder.empty() || Folder.back() != '/') Folder += '/';
  return Folder;
}

}  // namespace

TDate LocalToday() {
  std::time_t Now = std::time(nullptr);
  std::tm Local{};
  localtime_r(&Now, &Local);
  return TDate{Local.tm_year + 1900, Local.tm_mon + 1, Local.tm_mday};
}

TDate AddDays(TDate Date, int Days) {
  using namespace std::chrono;
  sys_days D = year_month_day{year{Date.Year}, month{static_cast<unsigned>(Date.Month)},
                              day{static_cast<unsigned>(Date.Day)}};
  year_month_day R{D + days{Days}};
  return TDate{static_cast<int>(R.year()), static_cast<int>(static_cast<unsigned>(R.month())),
               static_cast<int>(static_cast<unsigned>(R.day()))};
}

TForm1::TForm1(TMainFormControls& Controls, TPlatform Platform, IFormEditor& Editor, TFormEnvironment Environment)
    : C(Controls), FPlatform(Platform), Editor(Editor), FEnv(std::move(Environment)) {
  WireControls();
}

void TForm1::WireControls() {
  C.Button1.OnClick = [this] { Button1Click(); };
  C.Button2.OnClick = [this] { Button2Click(); };
  C.Button3.OnClick = [this] { SpeedButton4Click(); };
  C.SpeedButton1.OnClick = [this] { SpeedButton1Click(); };
  C.SpeedButton2.OnClick = [this] { SpeedButton2Click(); };
  C.SpeedButton3.OnClick = [this] { SpeedButton3Click(); };
  C.CheckBox1.OnClick = [this] { CheckBox1Click(); };
  C.CheckBox2.OnClick = [this] { CheckBox2Click(); };
  C.FileList.OnClick = [this] { FileListClick(); };
  C.FileList.OnDblClick = [this] { FileListDblClick(); };
  C.FileList.OnColumnClick = [this](int Column) { FileListColumnClick(Column); };
  C.N2.OnClick = [this] { N2Click(); };
  C.N4.OnClick = [this] { N4Click(); };
  C.N5.OnClick = [this] {
    if (ShowJournal && !FRunning) ShowJournal();
  };
}

void TForm1::FormCreate() {
  FSortDirection.fill(1);
  Editor.RemoveDelimiters(WordCharacters);
  FFileNameHistory.Clear();
  FFolderHistory.Clear();
  FFindWordHistory.Clear();
  FReplaceWordHistory.Clear();
  C.fName.SetCaption({});
  C.fEncoding.SetCaption({});
}

void TForm1::FormDestroy() {
  FFileNameHistory.Clear();
  FFolderHistory.Clear();
  FFindWordHistory.Clear();
  FReplaceWordHistory.Clear();
}

void TForm1::ProcessMessages() {
  if (FPlatform.EventPump) FPlatform.EventPump->ProcessMessages();
}

std::string TForm1::FindBytes() const { return Utf8ToCp932(C.cFindWord.Text()); }

std::string TForm1::ReplaceBytes() const { return Utf8ToCp932(C.cReplaceWord.Text()); }

void TForm1::Button1Click() {
  // A second run inside the first would share the content test's buffer and the update brackets.
  if (FRunning) return;
  std::string NameText = C.cFileName.Text();
  C.FileList.SetFocus();
  if (NameText.empty()) C.cFileName.SetText("*.*");
  RecordHistory(FFileNameHistory, C.cFileName, NameText, "FindFile.dat");
  std::string FolderText = C.cFolderName.Text();
  if (!FolderToSearch(FolderText)) {
    ReportSettingsProblems();
    return;
  }
  RecordHistory(FFolderHistory, C.cFolderName, FolderText, "FindFolder.dat");
  RecordHistory(FFindWordHistory, C.cFindWord, C.cFindWord.Text(), "FindWord.dat");
  ReportSettingsProblems();
  // A text that code page 932 cannot hold is refused before anything changes.
  std::string Word = FindBytes();
  // The run's content tests reuse the editor: edits of the current file are saved or kept first.
  FAbortRequested = false;
  SaveIfModified();
  if (FAbortRequested) return;  // Cancel at the save question

  C.Button2.SetEnabled(true);
  EnableViewerCommands(false);
  FAbortRequested = false;
  FSkippedCount = 0;
  FSkipped.clear();
  C.FileList.Clear();
  std::string Folder = WithTrailingSlash(FolderText);
  FRunning = true;
  C.FileList.BeginUpdate();
  Editor.BeginUpdate();
  try {
    FFilePattern = NormalizeFilePattern(C.cFileName.Text());
    C.StatusBar1.SetPanelText(0, {});
    Editor.SetFindString(Word);
    SearchFolder(Folder);
  } catch (...) {
    // An unreadable candidate or a bad expression ends the run; the window stays usable.
    EndRun();
    throw;
  }
  const bool WasAborted = FAbortRequested;
  EndRun();
  const std::string Found = std::to_string(C.FileList.Count()) + FoundMessage;
  if (WasAborted) {
    // The count of a stopped run is not the count of the folder: say so wherever it shows.
    ShowCount();
    C.StatusBar1.SetPanelText(1, Aborted);
  }
  FPlatform.Dialogs->MessageBox(WasAborted ? Aborted + Found : Found, FoundCaption, mbOK);
  ReportSkipped(FoundCaption);
}

// An empty box or a folder that is not there would run for nothing and report no file found, as if
// the folder held none: the user is told instead.
bool TForm1::FolderToSearch(const std::string& FolderText) {
  if (FolderText.empty()) {
    FPlatform.Dialogs->WarningBox(NoFolder, FoundCaption);
  } else if (!DirectoryExists(FolderText)) {
    FPlatform.Dialogs->WarningBox(MissingFolder + FolderText, FoundCaption);
  } else {
    return true;
  }
  C.cFolderName.SetFocus();
  return false;
}

void TForm1::ShowCount() { C.StatusBar1.SetPanelText(0, std::to_string(C.FileList.Count()) + CountSuffix); }

// The commands that use the editor or start another run wait while a run uses it as scratch buffer.
void TForm1::EnableViewerCommands(bool Value) {
  C.Button1.SetEnabled(Value);
  C.SpeedButton1.SetEnabled(Value);
  C.SpeedButton3.SetEnabled(Value);
  C.Button3.SetEnabled(Value && C.FileList.Count() > 0);
}

void TForm1::EndRun() {
  SortNewRows();
  C.FileList.EndUpdate();
  C.FileList.SetFocus();
  C.StatusBar1.SetPanelText(1, {});
  C.fName.SetCaption({});
  C.fEncoding.SetCaption({});
  C.Button2.SetEnabled(false);
  Editor.Clear();
  Editor.EndUpdate();
  FContentTest.Clear();
  EnableViewerCommands(true);
  FRunning = false;
}

void TForm1::Button2Click() {
  FAbortRequested = true;
  C.Button2.SetEnabled(false);
  C.Button1.SetEnabled(true);
  C.Button3.SetEnabled(true);
}

TSearchCriteria TForm1::Criteria() const {
  TSearchCriteria K;
  K.FilePattern = FFilePattern.empty() ? NormalizeFilePattern(C.cFileName.Text()) : FFilePattern;
  K.SubFolders = C.FindSubFolder.Checked();
  K.Hidden = C.CheckBox6.Checked();
  if (C.DateCheckBox.Checked()) {
    const TDate& F = C.DateTimePicker1.Date();
    const TDate& T = C.DateTimePicker2.Date();
    K.WriteTimeRange = DayRange(F.Year, F.Month, F.Day, T.Year, T.Month, T.Day);
  }
  if (C.SizeCheckBox.Checked()) {
    K.SizeBytes = static_cast<uint64_t>(C.UpDown3.Position()) * 1024;
    if (C.ComboBox3.Text() == Larger) K.SizeRule = srAtLeast;
    if (C.ComboBox3.Text() == Smaller) K.SizeRule = srAtMost;
  }
  K.OtherEncodings = C.OtherEncodings.Checked();
  // A plain find string is what a hit holds byte for byte; an expression says less. Match case
  // rules the expression out, as the editor's option rules have it.
  if (K.OtherEncodings && !(C.CheckBox2.Checked() && !C.CheckBox1.Checked())) {
    K.RequiredText = FindBytes();
    K.RequiredFolds = !C.CheckBox1.Checked();
  }
  return K;
}

TFileSearch TForm1::MakeWalk() {
  TFileSearch Walk(Criteria(), FAbortRequested);
  Walk.ProcessMessages = [this] { ProcessMessages(); };
  Walk.OnFolder = [this](const std::string& Folder) {
    C.StatusBar1.SetPanelText(1, Folder + SearchingSuffix);
    if (OnSearchFolder) OnSearchFolder(Folder);
  };
  Walk.OnCandidate = [this] {
    if (OnFileLooked) OnFileLooked();
  };
  if (!C.cFindWord.Text().empty()) {
    // Set up once: what is typed or ticked during the run does not change what it looks for.
    SetUpContentTest(FContentTest);
    Walk.ContainsText = [this](const std::string&, std::string_view Bytes) {
      FContentTest.LoadBytes(Bytes);
      return FContentTest.FindNext();
    };
    // A helper thread's test is set up here, on the window's thread, as the run starts; its find
    // string and options then stay as they were for the whole run.
    Walk.MakeHelperContentTest = [this] {
      auto Test = std::make_shared<TFileContentTest>();
      SetUpContentTest(*Test);
      return [Test](std::string_view Bytes) {
        Test->LoadBytes(Bytes);
        return Test->FindNext();
      };
    };
  }
  Walk.OnFound = [this](const TFoundFile& File) { AddRow(File); };
  Walk.OnSkipped = [this](const std::string& Path, int Error) { NoteSkipped(Path + " (" + std::strerror(Error) + ")"); };
  Walk.OnChecked = [this] { ShowCount(); };
  return Walk;
}

void TForm1::SearchFolder(const std::string& Folder) { MakeWalk().SearchFolder(WithTrailingSlash(Folder)); }

void TForm1::CheckFile(const std::string& Path) {
  size_t Slash = Path.rfind('/');
  std::string Folder = Slash == std::string::npos ? std::string() : Path.substr(0, Slash + 1);
  MakeWalk().CheckFile(Folder, Path.substr(Folder.size()));
}

bool TForm1::IsNonTextFile(const std::string& Path) { return TFileSearch::IsNonTextFile(Path); }

void TForm1::AddRow(const TFoundFile& File) {
  std::string Path = File.Folder + File.Name;
  TListItem Row;
  Row.Caption = File.Name;
  Row.SubItems = {File.Folder,
                  FormatKilobytes(File.Info.Size),
                  FPlatform.Shell ? FPlatform.Shell->TypeName(Path) : std::string(),
                  FormatWriteTime(File.Info.WriteTime),
                  FormatCreationTime(File.Info.CreationTime),
                  AttributeLetters(File.Info.ReadOnly, IsHiddenName(File.Name)),
                  std::string(EncodingName(File.Encoding))};
  Row.ImageIndex = FPlatform.Shell ? FPlatform.Shell->IconIndex(Path) : -1;
  C.FileList.Add(std::move(Row));
}

bool TForm1::FileContainsText(const std::string& Path) {
  if (!FileExists(Path) || C.cFindWord.Text().empty()) return false;
  FContentTest.LoadFromFile(Path);
  return SearchContent();
}

bool TForm1::BytesContainText(std::string_view Bytes) {
  if (C.cFindWord.Text().empty()) return false;
  FContentTest.LoadBytes(Bytes);
  return SearchContent();
}

bool TForm1::SearchContent() {
  SetUpContentTest(FContentTest);
  return FContentTest.FindNext();
}

void TForm1::SetUpContentTest(TFileContentTest& Test) {
  Test.SetFindString(FindBytes());
  // The viewer's option rules decide, so the test and the viewer always search alike.
  SetSearchOptions();
  Test.SetExSearchOptions(Editor.ExSearchOptions());
}

void TForm1::SetSearchOptions() {
  const std::pair<const TCheckBoxModel*, TExSearchOption> Boxes[] = {
      {&C.CheckBox1, soMatchCase}, {&C.CheckBox2, soRegexp}, {&C.CheckBox3, soFuzzy}, {&C.CheckBox4, soWholeWord}};
  // One option at a time: the editor's own rules decide what survives each step.
  for (const auto& [Box, Option] : Boxes) {
    TExSearchOptions Options = Editor.ExSearchOptions();
    if (Box->Checked()) {
      Options.Include(Option);
    } else {
      Options.Exclude(Option);
    }
    Editor.SetExSearchOptions(Options);
  }
}

}  // namespace tesvarin
