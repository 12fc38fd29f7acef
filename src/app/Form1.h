// The main window's logic: the search run, the result list, the viewer commands, the replace flows,
// saving, settings and history. It works on the control models, the platform services and the window's
// one editor, so the Qt window, the command line and the tests drive the same code.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "app/BatchBackups.h"
#include "app/Controls.h"
#include "app/FileContentTest.h"
#include "app/FileSearch.h"
#include "app/FormEditor.h"
#include "app/HitIndex.h"
#include "app/ReplaceJournal.h"
#include "app/ReplacePlan.h"
#include "app/SafeSave.h"
#include "platform/Platform.h"
#include "support/FileBytes.h"
#include "support/StringList.h"
#include "support/TextEncoding.h"

namespace tesvarin {

enum TMouseButton : uint8_t { mbLeft, mbRight, mbMiddle };

// Where the window finds its files, and what it is started with.
struct TFormEnvironment {
  std::string ProgramFolder;                // the program's own folder
  std::optional<std::string> ConfigFolder;  // per-user configuration folder; none: the program's
  std::string DefaultDataFolder;            // history folder when the store names none; ends with "/"
  std::vector<std::string> Arguments;       // command-line arguments after the program name
  std::function<TDate()> Today;             // local date; empty: the system clock
  // The screens' available areas, the primary first; none: the window's bounds are used as read.
  std::vector<TBounds> ScreenAreas;
  bool Persistent = true;  // false: no per-user values and no history files are read or written
  std::string SettingsWarning;  // told to the user when the window is shown (why nothing is kept)
  bool Journal = false;  // keep a journal of the replace runs in the listed files, under the data folder
  TJournalBounds JournalBounds;
};

inline constexpr const char* StoreSection = "Tesvarin";
inline constexpr const char* DirectorySection = "Directory";
inline constexpr const char* FolderBrowserCaption = "ファイルを検索するフォルダを指定してください。";
// Characters that belong to words (file names, addresses) rather than separating them.
inline constexpr const char* WordCharacters = "#%-./:=?_~";

class TForm1 {
public:
  static constexpr int ColumnCount = 8;

  TForm1(TMainFormControls& Controls, TPlatform Platform, IFormEditor& Editor, TFormEnvironment Environment);
  TForm1(const TForm1&) = delete;
  TForm1& operator=(const TForm1&) = delete;

  // Life cycle.
  void FormCreate();
  void FormShow();
  // Saves a changed file, then writes the per-user values. A failed save raises and Cancel at the save
  // question returns false: both keep the window open, so the edits are not lost.
  bool FormCloseQuery();
  void FormDestroy();

  // The search run.
  void Button1Click();
  void Button2Click();
  void SearchFolder(const std::string& Folder);  // Folder ends with "/"
  void CheckFile(const std::string& Path);
  [[nodiscard]] static bool IsNonTextFile(const std::string& Path);
  bool FileContainsText(const std::string& Path);
  // The same test over bytes the walk already read.
  bool BytesContainText(std::string_view Bytes);

  // The result list.
  void FileListColumnClick(int Column);
  [[nodiscard]] int CompareRows(const TListItem& Row1, const TListItem& Row2, int Column) const;
  void FileListDblClick();
  void RunFile(const std::string& Path);
  void FileListMouseDown(TMouseButton Button, TPoint At);
  void FileListMouseUp(TMouseButton Button, TPoint At);
  void PurgeMissingFiles();
  void SpeedButton2Click();
  [[nodiscard]] static std::string RowPath(const TListItem& Row);

  // The viewer.
  void FileListClick();
  // Makes the file current in the viewer, saving the one before if it changed (a hit of a preview
  // opened); false when Cancel at the save question keeps the current file.
  bool OpenFile(const std::string& Path);
  void SpeedButton1Click();
  void SpeedButton3Click();
  void CheckBox1Click();
  void CheckBox2Click();

  // Replacing and saving.
  void SpeedButton4Click();
  // With Spots, each replacement is added to it, placed in the editor's SaveText as it was.
  int ReplaceInEditor(TReplaceSpots* Spots = nullptr);
  // False, with Path noted as skipped, when the editor's text is not code page 932 throughout.
  bool ReplaceableText(const std::string& Path);
  void N2Click();
  void N4Click();
  void SaveIfModified();
  // Works out the replace in the listed files and writes nothing: Planned sees each file that would
  // change, with the bytes the plan was made over. Returns the number of replacements.
  using TPlanned = std::function<void(const std::string& Path, std::string_view Original, const TReplacePlan& Plan)>;
  int PlanListedFiles(const TPlanned& Planned);
  // Where the journal of replace runs is kept; empty when none is.
  [[nodiscard]] std::string JournalFolder() const;
  // Takes back a journaled run (or only one file of it) and tells what was put back and what was
  // left because it changed since.
  void TakeBackRun(int Number, const std::string* OnlyPath = nullptr);
  // The number of the run the last replace in the list journaled; 0 when it journaled none.
  [[nodiscard]] int JournaledRun() const { return FJournaledRun; }

  // Shows PopupMenu1 under Button3; set by the view.
  std::function<void()> PopupReplaceMenu;
  // Shows what a replace in the listed files will change, hit by hit, and lets the user untick hits;
  // true: replace the ticked ones. Set by the view; unset, or with ReplacePreview unchecked, the
  // batch replaces without showing.
  std::function<bool(std::vector<TPlannedFile>& Files)> PreviewReplace;
  // Shows the journaled replace runs, to take one back (N5); set by the view.
  std::function<void()> ShowJournal;
  // Reads the INI file at the given path into the editor; set by whoever owns the real editor.
  std::function<void(const std::string& IniPath)> LoadEditorSettings;
  // Optional watchers of a search run, for a progress display: each folder as the walk enters it,
  // each file before its tests.
  std::function<void(const std::string& Folder)> OnSearchFolder;
  std::function<void()> OnFileLooked;

  // Files and folders the last search run or replace in the list could not handle: how many, and
  // the first few with their reasons.
  [[nodiscard]] int SkippedCount() const { return FSkippedCount; }
  [[nodiscard]] const std::vector<std::string>& SkippedItems() const { return FSkipped; }
  // Files the last replace in the list left as they were because they changed on disk after they
  // were read: how many, and the first few.
  [[nodiscard]] int UnchangedCount() const { return FUnchangedCount; }
  [[nodiscard]] const std::vector<std::string>& UnchangedItems() const { return FUnchanged; }

  [[nodiscard]] bool AbortRequested() const { return FAbortRequested; }
  [[nodiscard]] bool Running() const { return FRunning; }
  [[nodiscard]] const std::string& FilePattern() const { return FFilePattern; }
  [[nodiscard]] const std::string& DataFolder() const { return FDataFolder; }
  [[nodiscard]] const std::string& IniFolder() const { return FIniFolder; }
  [[nodiscard]] int SortDirection(int Column) const { return FSortDirection.at(static_cast<size_t>(Column)); }
  [[nodiscard]] const TStringList& FileNameHistory() const { return FFileNameHistory; }
  [[nodiscard]] const TStringList& FolderHistory() const { return FFolderHistory; }
  [[nodiscard]] const TStringList& FindWordHistory() const { return FFindWordHistory; }
  [[nodiscard]] const TStringList& ReplaceWordHistory() const { return FReplaceWordHistory; }

private:
  void WireControls();
  // Settings and history.
  void ReadStoreValues();
  void WriteStoreValues();
  [[nodiscard]] std::optional<std::string> ReadValue(const char* Section, const std::string& Name) const;
  [[nodiscard]] int ReadInteger(const std::string& Name, int Default) const;
  [[nodiscard]] bool ReadBool(const std::string& Name, bool Default) const;
  void WriteValue(const std::string& Name, const std::string& Value);
  void LoadHistories();
  void RecordHistory(TStringList& List, TComboBoxModel& Box, const std::string& Text, const char* FileName);
  void FlushStore();
  // A settings or history file that could not be read or written is told once per file, and never
  // stops the command that met it: the problems noted are shown together by ReportSettingsProblems.
  void NoteSettingsProblem(const std::string& Key, std::string Text);
  void ReportSettingsProblems();
  void ApplyOptionRules();
  void SetStartDates();
  // Status panel 0: the number of listed files.
  void ShowCount();

  // The search run.
  [[nodiscard]] TSearchCriteria Criteria() const;
  [[nodiscard]] TFileSearch MakeWalk();
  // False, with a message, when the folder box names no folder there is to search.
  [[nodiscard]] bool FolderToSearch(const std::string& FolderText);
  void EnableViewerCommands(bool Value);
  // A new run's rows in folder, then name order, as people count (file2 before file10).
  void SortNewRows();
  void AddRow(const TFoundFile& File);
  [[nodiscard]] bool SearchContent();
  // The find string and options of the window, as a content test is to search with them.
  void SetUpContentTest(TFileContentTest& Test);
  void EndRun();

  // The viewer and the replace flows.
  [[nodiscard]] std::string FindBytes() const;
  [[nodiscard]] std::string ReplaceBytes() const;
  void SetSearchOptions();
  void Search(bool Forward);
  // The first hit of the file just opened, shown with its number.
  void ShowFirstHit();
  // Clears status panel 1 and hands the find text and options to the editor; false when there is
  // no text to find.
  bool StartSearch();
  // One step of the search from the caret, with the hit's number or the miss shown.
  void StepToHit(bool Forward);
  void ShowNotFound();
  // Counts the hits unless they were counted for this text and search.
  void UpdateHits();
  // Status panel 1: which of the file's hits the viewer shows, "n件中m件目", for the hit at the
  // selection's start or at byte Pos.
  void ShowHitNumber();
  void ShowHitNumberAt(int64_t Pos);
  void NoteSkipped(std::string Item);
  // The status bar and a message name what was skipped, when anything was.
  void ReportSkipped(const char* Caption);
  void ReplaceInListedFile(const std::string& Path, TTextEncoding Encoding, std::set<TFileId>& Done, int& Total);
  // Whether a listed file not yet met is to be replaced in; notes it as met.
  [[nodiscard]] bool FirstVisit(const std::string& Path, std::set<TFileId>& Done);
  // A listed file as a batch reads it, never into the editor: its own bytes, mapped, and its text
  // as code page 932 (the bytes themselves for a Shift-JIS file), which its plan is made over.
  struct TBatchFile {
    TBatchFile(const std::string& Path, TTextEncoding Encoding) : Own(Path), Encoding(Encoding) {}
    TFileBytes Own;  // the file's own bytes
    TTextEncoding Encoding;
    std::string Converted;
    [[nodiscard]] std::string_view Text() const {
      return Encoding == teShiftJis ? Own.Bytes() : std::string_view(Converted);
    }
  };
  // Plans the replace in a listed file read as File; nothing when it is not to be replaced in.
  [[nodiscard]] std::optional<TReplacePlan> PlanFile(const std::string& Path, TBatchFile& File, int& Total);
  // Saves File with Plan's ticked hits spliced in, as the current file is saved.
  void SaveBatchFile(const TBatchFile& File, const TReplacePlan& Plan);
  // Starts the journal of a batch that changes files of Bytes in all; false when the user would
  // rather not replace.
  [[nodiscard]] bool BeginJournal(std::optional<TJournalRecorder>& Journal, uint64_t Bytes);
  // The plans of the listed files, shown to the user; false when nothing is to be replaced.
  [[nodiscard]] bool PreviewListedFiles(std::vector<TPlannedFile>& Files);
  // Writes one previewed file's ticked hits, if it still holds the bytes its plan was made over.
  void ReplaceInPlannedFile(const TPlannedFile& File, int& Total);
  void BeginReplaceCommand();
  void EndReplaceCommand();
  void ProcessMessages();
  // Loads the file into the editor as the current one and notes how it stood on disk. A file in
  // another encoding is shown converted, and read-only when it would not convert back unchanged.
  void LoadCurrentFile(const std::string& Path, TTextEncoding Encoding);
  // The encoding a search run told for the row's file.
  [[nodiscard]] static TTextEncoding RowEncoding(const TListItem& Row);
  // The editor's text to save, in the current file's own encoding; raises EConvertError naming a
  // character that encoding cannot hold.
  [[nodiscard]] std::string CurrentFileBytes() const;
  // Code page 932 text in the current file's own encoding (with its byte order mark).
  [[nodiscard]] std::string InCurrentEncoding(std::string Text) const;
  // Why the current file opened read-only; empty when it did not.
  [[nodiscard]] std::string ReadOnlyNote() const;
  // The encoding the list gives for Path; Shift-JIS when it is not listed.
  [[nodiscard]] TTextEncoding ListedEncoding(const std::string& Path) const;
  // Says in the status bar why the current file is read-only, when it is.
  void ShowReadOnlyNote();
  // Ends a batch's or a plan's use of the editor as its scratch buffer: no file is current.
  void EndEditorAsScratch();
  // Selects the row of Path, or none when it is not listed.
  void SelectRowOf(const std::string& Path);

  // Saves the editor's text over the current file, if it is still as loaded; else asks (in a batch,
  // raises EFileChangedOnDisk). In a batch the backup takes a name no other file of it took.
  void SaveCurrentFile(const std::string& Path);
  // The question when the file changed on disk since it was loaded; true: overwrite it after all.
  [[nodiscard]] bool OverwriteChangedFile(const std::string& Path, TSaveOptions& Options);
  void NoteUnchanged(const std::string& Path);
  // The lines the end message of a batch adds: backups written, files left unchanged.
  [[nodiscard]] std::string BatchNotes(const TBatchBackups& Backups) const;

  TMainFormControls& C;
  TPlatform FPlatform;
  IFormEditor& Editor;
  TFormEnvironment FEnv;
  // The run's content test: answers as the viewer would without loading each candidate into it.
  TFileContentTest FContentTest;

  bool FAbortRequested = false;
  bool FRunning = false;  // a search run or a replace loop is in progress
  int FSkippedCount = 0;
  std::vector<std::string> FSkipped;
  std::string FFilePattern;
  std::string FDataFolder;
  std::string FIniFolder;
  std::array<int, ColumnCount> FSortDirection{1, 1, 1, 1, 1, 1, 1, 1};
  TStringList FFileNameHistory;
  TStringList FFolderHistory;
  TStringList FFindWordHistory;
  TStringList FReplaceWordHistory;
  std::vector<std::string> FSettingsProblems;  // noted, not yet shown
  std::set<std::string> FReportedProblems;     // keys of the problems told already
  std::optional<TFileStamp> FLoadedStamp;  // of the current file's bytes, when loaded or last saved
  TTextEncoding FCurrentEncoding = teShiftJis;
  bool FCurrentLossless = true;  // its text converts back to the bytes it was read from
  TBatchBackups* FBatchBackups = nullptr;   // during a replace in the listed files
  // During a replace in the listed files: the current file and its plan, which saving splices into
  // its bytes, and the journal, which keeps them first.
  struct TBatchWrite {
    const TBatchFile& File;
    const TReplacePlan& Plan;
  };
  const TBatchWrite* FBatchWrite = nullptr;
  TEditorExSearch FBatchSearch;  // the editor's search, as a batch runs it over a file's bytes
  TJournalRecorder* FJournal = nullptr;
  int FJournaledRun = 0;
  int FUnchangedCount = 0;
  std::vector<std::string> FUnchanged;
  // The current file's hits, counted once for the text and search they were counted for.
  THitIndex FHits;
  struct THitsKey {
    std::string Find;
    TExSearchOptions Options;
    uint64_t TextVersion = 0;
    friend bool operator==(const THitsKey&, const THitsKey&) = default;
  };
  std::optional<THitsKey> FHitsKey;
};

// The local date today, days after 1970-01-01, and back.
[[nodiscard]] TDate LocalToday();
[[nodiscard]] TDate AddDays(TDate Date, int Days);

}  // namespace tesvarin
