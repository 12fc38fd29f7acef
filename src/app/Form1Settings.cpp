// Showing and closing the window: the per-user values, the history files and the INI folder.
#include <charconv>

#include "app/FileSystem.h"
#include "app/Form1.h"
#include "app/History.h"
#include "app/IniPath.h"
#include "app/WindowPlacement.h"
#include "support/SjisCodec.h"

namespace tesvarin {

namespace {

const char* const SettingsCaption = "設定と履歴";
const char* const HistorySaveFailed = "履歴を保存できませんでした。";
const char* const SettingsSaveFailed = "設定を保存できませんでした。";

// History files are code page 932; a name that code page 932 cannot hold is kept in its native bytes.
std::string ToHistory(const std::string& Utf8) {
  TConvertResult R = TryUtf8ToCp932(Utf8);
  return R.Ok ? R.Text : Utf8;
}

std::string FromHistory(const std::string& Bytes) {
  TConvertResult R = TryCp932ToUtf8(Bytes);
  return R.Ok ? R.Text : Bytes;
}

std::vector<std::string> ComboItems(const std::vector<std::string>& Entries) {
  std::vector<std::string> Items;
  Items.reserve(Entries.size());
  for (const std::string& E : Entries) Items.push_back(FromHistory(E));
  return Items;
}

std::optional<int> ParseDecimal(const std::string& Text) {
  int V = 0;
  auto [End, Ec] = std::from_chars(Text.data(), Text.data() + Text.size(), V);
  if (Ec != std::errc() || End != Text.data() + Text.size() || Text.empty()) return std::nullopt;
  return V;
}

std::string ColumnKey(int I) { return "Column" + std::to_string(I) + " Width"; }

// The result list's height above the splitter, in pixels; missing until the user moves it.
const char* const ListHeightKey = "ListHeight";

struct TBoolValue {
  const char* Name;
  TCheckBoxModel TMainFormControls::*Box;
  bool Default;
};

// After "FindSubFolder" and the four texts, in the order they are read and written.
const TBoolValue BoolValues[] = {
    {"DateCheck", &TMainFormControls::DateCheckBox, false},
    {"SizeCheck", &TMainFormControls::SizeCheckBox, false},
    {"MakeBackFile", &TMainFormControls::MakeBackFile, true},
    {"ConfirmSave", &TMainFormControls::ConfirmSave, true},
    {"SelectFirstSearch", &TMainFormControls::SelectFirstSearch, true},
    {"MatchCase", &TMainFormControls::CheckBox1, false},
    {"Regexp", &TMainFormControls::CheckBox2, false},
    {"Fuzzy", &TMainFormControls::CheckBox3, false},
    {"WholeWord", &TMainFormControls::CheckBox4, false},
    {"ReplacePreview", &TMainFormControls::ReplacePreview, true},
    {"OtherEncodings", &TMainFormControls::OtherEncodings, true},
};

struct TTextValue {
  const char* Name;
  TComboBoxModel TMainFormControls::*Box;
};

const TTextValue TextValues[] = {
    {"FindWord", &TMainFormControls::cFindWord},
    {"ReplaceWord", &TMainFormControls::cReplaceWord},
    {"FileName", &TMainFormControls::cFileName},
    {"FolderName", &TMainFormControls::cFolderName},
};

}  // namespace

std::optional<std::string> TForm1::ReadValue(const char* Section, const std::string& Name) const {
  if (!FEnv.Persistent || !FPlatform.UserStore) return std::nullopt;
  return FPlatform.UserStore->ReadString(Section, Name);
}

int TForm1::ReadInteger(const std::string& Name, int Default) const {
  std::optional<std::string> V = ReadValue(StoreSection, Name);
  if (!V) return Default;
  return ParseDecimal(*V).value_or(Default);
}

bool TForm1::ReadBool(const std::string& Name, bool Default) const { return ReadInteger(Name, Default ? 1 : 0) != 0; }

void TForm1::WriteValue(const std::string& Name, const std::string& Value) {
  if (FEnv.Persistent && FPlatform.UserStore) FPlatform.UserStore->WriteString(StoreSection, Name, Value);
}

void TForm1::ReadStoreValues() {
  TBounds B = C.Form1.Bounds();
  // Without saved bounds the window opens at a comfortable size in the middle of the screen.
  if (!FEnv.ScreenAreas.empty()) B = FirstStartBounds(FEnv.ScreenAreas.front());
  B.Left = ReadInteger("Left", B.Left);
  B.Top = ReadInteger("Top", B.Top);
  B.Width = ReadInteger("Width", B.Width);
  B.Height = ReadInteger("Height", B.Height);
  C.Form1.SetBounds(FitOnScreens(B, FEnv.ScreenAreas));
  C.Splitter1.SetPosition(ReadInteger(ListHeightKey, -1));
  for (int I = 0; I < ColumnCount; ++I) C.FileList.SetColumnWidth(I, ReadInteger(ColumnKey(I), C.FileList.ColumnWidth(I)));
  int State = ReadInteger("WindowState", 0);
  if (State == 0 || State == 2) {
    C.Form1.SetWindowState(wsNormal);
  } else {
    C.Form1.SetWindowState(wsMaximized);
  }
  C.FindSubFolder.SetChecked(ReadBool("FindSubFolder", true));
  FDataFolder = ReadValue(DirectorySection, "DataFolder").value_or(FEnv.DefaultDataFolder);
  for (const TTextValue& T : TextValues) (C.*T.Box).SetText(ReadValue(StoreSection, T.Name).value_or(""));
  for (const TBoolValue& V : BoolValues) (C.*V.Box).SetChecked(ReadBool(V.Name, V.Default));
}

void TForm1::WriteStoreValues() {
  if (C.Form1.WindowState() == wsNormal) {
    const TBounds& B = C.Form1.Bounds();
    WriteValue("Left", std::to_string(B.Left));
    WriteValue("Top", std::to_string(B.Top));
    WriteValue("Width", std::to_string(B.Width));
    WriteValue("Height", std::to_string(B.Height));
  }
  for (int I = 0; I < ColumnCount; ++I) WriteValue(ColumnKey(I), std::to_string(C.FileList.ColumnWidth(I)));
  if (C.Splitter1.Position() >= 0) WriteValue(ListHeightKey, std::to_string(C.Splitter1.Position()));
  int State = C.Form1.WindowState() == wsMaximized ? 1 : (C.Form1.WindowState() == wsMinimized ? 2 : 0);
  WriteValue("WindowState", std::to_string(State));
  WriteValue("FindSubFolder", C.FindSubFolder.Checked() ? "1" : "0");
  for (const TTextValue& T : TextValues) WriteValue(T.Name, (C.*T.Box).Text());
  for (const TBoolValue& V : BoolValues) WriteValue(V.Name, (C.*V.Box).Checked() ? "1" : "0");
}

void TForm1::RecordHistory(TStringList& List, TComboBoxModel& Box, const std::string& Text, const char* FileName) {
  UpdateHistory(List, ToHistory(Text));
  Box.SetItems(ComboItems(List.Items()));
  if (!FEnv.Persistent) return;
  const std::string Path = FDataFolder + FileName;
  try {
    SaveHistory(List, Path);
  } catch (const std::exception& E) {
    NoteSettingsProblem(Path, HistorySaveFailed + std::string(E.what()));
  }
}

void TForm1::FlushStore() {
  if (!FEnv.Persistent || !FPlatform.UserStore) return;
  try {
    FPlatform.UserStore->Flush();
  } catch (const std::exception& E) {
    NoteSettingsProblem("settings saved", SettingsSaveFailed + std::string(E.what()));
  }
}

void TForm1::NoteSettingsProblem(const std::string& Key, std::string Text) {
  if (FReportedProblems.insert(Key).second) FSettingsProblems.push_back(std::move(Text));
}

void TForm1::ReportSettingsProblems() {
  if (FSettingsProblems.empty() || !FPlatform.Dialogs) return;
  std::string Text;
  for (const std::string& P : FSettingsProblems) Text += (Text.empty() ? "" : "\r\n") + P;
  FSettingsProblems.clear();
  FPlatform.Dialogs->MessageBox(Text, SettingsCaption, mbOK);
}

void TForm1::LoadHistories() {
  const std::pair<TStringList*, TComboBoxModel*> Lists[] = {{&FFileNameHistory, &C.cFileName},
                                                            {&FFolderHistory, &C.cFolderName},
                                                            {&FFindWordHistory, &C.cFindWord},
                                                            {&FReplaceWordHistory, &C.cReplaceWord}};
  const char* const Files[] = {"FindFile.dat", "FindFolder.dat", "FindWord.dat", "ReplaceWord.dat"};
  for (size_t I = 0; I < 4; ++I) {
    Lists[I].first->Clear();
    if (FEnv.Persistent) {
      const std::string Path = FDataFolder + Files[I];
      try {
        LoadHistory(*Lists[I].first, Path);
      } catch (const std::exception& E) {
        NoteSettingsProblem(Path, E.what());
      }
    }
    Lists[I].second->SetItems(ComboItems(HistoryItems(*Lists[I].first)));
  }
}

void TForm1::SetStartDates() {
  TDate Today = FEnv.Today ? FEnv.Today() : LocalToday();
  C.DateTimePicker1.SetDate(AddDays(Today, -30));
  C.DateTimePicker2.SetDate(Today);
}

// The stored check states get the same enabling as a click on each box.
void TForm1::ApplyOptionRules() {
  CheckBox1Click();
  CheckBox2Click();
}

void TForm1::FormShow() {
  if (!FEnv.SettingsWarning.empty()) NoteSettingsProblem("environment", FEnv.SettingsWarning);
  ReadStoreValues();
  if (FEnv.Persistent && FPlatform.UserStore) {
    std::string Problem = FPlatform.UserStore->TakeLoadProblem();
    if (!Problem.empty()) NoteSettingsProblem("settings read", std::move(Problem));
  }
  FIniFolder = GetIniFolder(FEnv.ProgramFolder, FEnv.ConfigFolder);
  if (LoadEditorSettings) LoadEditorSettings(FIniFolder + IniFileName);
  LoadHistories();
  SetStartDates();
  C.PageControl1.SetActivePage(0);
  C.cFileName.SetFocus();
  ApplyOptionRules();
  Editor.Clear();
  if (!FEnv.Arguments.empty() && DirectoryExists(FEnv.Arguments.front())) C.cFolderName.SetText(FEnv.Arguments.front());
  ReportSettingsProblems();
}

bool TForm1::FormCloseQuery() {
  FAbortRequested = false;
  SaveIfModified();
  if (FAbortRequested) return false;  // Cancel at the save question
  WriteStoreValues();
  FlushStore();
  ReportSettingsProblems();
  return true;
}

}  // namespace tesvarin
