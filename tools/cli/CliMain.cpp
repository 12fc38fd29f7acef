// tesvarin-cli: the main window's search and replace driven from the command line.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <map>

#include "TerminalPlatform.h"
#include "app/FileSystem.h"
#include "app/Form1.h"
#include "app/FormEditorEx.h"
#include "support/Exception.h"

using namespace tesvarin;

namespace {

const char* const Usage =
    "usage: tesvarin-cli [options] FOLDER\n"
    "  -n, --name PATTERN   file-name pattern (default *.*)\n"
    "  -t, --text TEXT      text the files must contain\n"
    "  -R, --replace TEXT   replace in every listed file (\\r\\n is a line break)\n"
    "  -c, --match-case  -e, --regexp  -f, --fuzzy  -w, --whole-word\n"
    "      --no-subfolders  --hidden  --from YYYY/MM/DD  --to YYYY/MM/DD  --larger KB | --smaller KB\n"
    "      --no-backup  --confirm  --yes  --paths  --use-settings\n";

struct TOptions {
  std::map<std::string, std::string> Values;  // options with an argument, by long name
  std::map<std::string, bool> Flags;
  std::string Folder;
};

[[noreturn]] void Fail(const std::string& Message) {
  std::cerr << "tesvarin-cli: " << Message << '\n';
  std::exit(2);
}

TOptions ParseArguments(int Argc, char** Argv) {
  static const std::map<std::string, std::string> Short = {{"-n", "--name"},       {"-t", "--text"},
                                                           {"-R", "--replace"},    {"-c", "--match-case"},
                                                           {"-e", "--regexp"},     {"-f", "--fuzzy"},
                                                           {"-w", "--whole-word"}};
  static const char* const WithValue[] = {"--name", "--text", "--replace", "--from", "--to", "--larger", "--smaller"};
  static const char* const Flags[] = {"--match-case", "--regexp", "--fuzzy",   "--whole-word", "--no-subfolders",
                                      "--hidden",     "--no-backup", "--confirm", "--yes",       "--paths",
                                      "--use-settings"};
  TOptions O;
  for (int I = 1; I < Argc; ++I) {
    std::string A = Argv[I];
    if (auto It = Short.find(A); It != Short.end()) A = It->second;
    bool Known = false;
    for (const char* V : WithValue) {
      if (A == V) {
        if (++I >= Argc) Fail("missing value for " + A);
        O.Values[A] = Argv[I];
        Known = true;
      }
    }
    for (const char* F : Flags) {
      if (A == F) O.Flags[A] = Known = true;
    }
    if (Known) continue;
    if (A == "-h" || A == "--help") {
      std::cout << Usage;
      std::exit(0);
    }
    if (!A.empty() && A[0] == '-') Fail("unknown option " + A + "\n" + Usage);
    if (!O.Folder.empty()) Fail("more than one folder given");
    O.Folder = A;
  }
  if (O.Folder.empty()) Fail(std::string("no folder given\n") + Usage);
  if (!DirectoryExists(O.Folder)) Fail("not a folder: " + O.Folder);
  if (O.Values.count("--larger") && O.Values.count("--smaller")) Fail("--larger and --smaller exclude each other");
  return O;
}

TDate ParseDate(const std::string& Text) {
  TDate D;
  char Tail = 0;
  if (std::sscanf(Text.c_str(), "%d/%d/%d%c", &D.Year, &D.Month, &D.Day, &Tail) != 3 || D.Month < 1 || D.Month > 12 ||
      D.Day < 1 || D.Day > 31) {
    Fail("not a date (YYYY/MM/DD): " + Text);
  }
  return D;
}

int ParseKilobytes(const std::string& Text) {
  char* End = nullptr;
  long V = std::strtol(Text.c_str(), &End, 10);
  if (Text.empty() || *End != 0 || V < 0 || V > 10000) Fail("not a size in KB (0 to 10000): " + Text);
  return static_cast<int>(V);
}

// As a user would click it: a box the rules disabled stays as it is.
void Click(TCheckBoxModel& Box, bool Checked) {
  if (Box.Enabled()) Box.SetChecked(Checked);
}

void ApplyOptions(const TOptions& O, TMainFormControls& C) {
  auto Flag = [&](const char* Name) { return O.Flags.count(Name) != 0; };
  auto Value = [&](const char* Name) -> const std::string* {
    auto It = O.Values.find(Name);
    return It == O.Values.end() ? nullptr : &It->second;
  };
  C.cFolderName.SetText(O.Folder);
  C.cFileName.SetText(Value("--name") ? *Value("--name") : "*.*");
  C.cFindWord.SetText(Value("--text") ? *Value("--text") : "");
  C.cReplaceWord.SetText(Value("--replace") ? *Value("--replace") : "");
  Click(C.CheckBox1, Flag("--match-case"));
  Click(C.CheckBox2, Flag("--regexp"));
  Click(C.CheckBox3, Flag("--fuzzy"));
  Click(C.CheckBox4, Flag("--whole-word"));
  C.FindSubFolder.SetChecked(!Flag("--no-subfolders"));
  C.CheckBox6.SetChecked(Flag("--hidden"));
  C.MakeBackFile.SetChecked(!Flag("--no-backup"));
  C.ConfirmSave.SetChecked(Flag("--confirm"));
  C.SelectFirstSearch.SetChecked(false);
  if (Value("--from") || Value("--to")) {
    C.DateCheckBox.SetChecked(true);
    C.DateTimePicker1.SetDate(Value("--from") ? ParseDate(*Value("--from")) : TDate{1980, 1, 1});
    C.DateTimePicker2.SetDate(Value("--to") ? ParseDate(*Value("--to")) : TDate{9999, 12, 31});
  } else {
    C.DateCheckBox.SetChecked(false);
  }
  C.SizeCheckBox.SetChecked(Value("--larger") || Value("--smaller"));
  if (Value("--larger")) {
    C.UpDown3.SetPosition(ParseKilobytes(*Value("--larger")));
    C.ComboBox3.SetText("より大きい");
  } else if (Value("--smaller")) {
    C.UpDown3.SetPosition(ParseKilobytes(*Value("--smaller")));
    C.ComboBox3.SetText("より小さい");
  }
}

std::string HomeFolder(const char* Xdg, const char* Fallback) {
  if (const char* V = std::getenv(Xdg); V && *V) return V;
  const char* Home = std::getenv("HOME");
  return std::string(Home ? Home : ".") + Fallback;
}

std::string ProgramFolder() {
  char Buffer[4096];
  ssize_t N = readlink("/proc/self/exe", Buffer, sizeof Buffer - 1);
  if (N <= 0) return "./";
  std::string Path(Buffer, static_cast<size_t>(N));
  return Path.substr(0, Path.rfind('/') + 1);
}

void PrintRows(const TListViewModel& List, bool PathsOnly) {
  for (const TListItem& Row : List.Items()) {
    if (PathsOnly) {
      std::cout << TForm1::RowPath(Row) << '\n';
      continue;
    }
    std::cout << Row.Caption;
    for (const std::string& S : Row.SubItems) std::cout << '\t' << S;
    std::cout << '\n';
  }
}

}  // namespace

int main(int Argc, char** Argv) {
  TOptions O = ParseArguments(Argc, Argv);
  bool UseSettings = O.Flags.count("--use-settings") != 0;
  std::string Config = HomeFolder("XDG_CONFIG_HOME", "/.config");
  std::string Data = HomeFolder("XDG_DATA_HOME", "/.local/share") + "/Bramwhirl/Vimbre/";
  cli::TTerminalDialogs Dialogs;
  Dialogs.YesToBatch = O.Flags.count("--yes") != 0;
  cli::TNoEventPump Pump;
  cli::TFileUserStore Store(UseSettings ? Config + "/Bramwhirl/tesvarin-cli.conf" : std::string());
  cli::TNoShell Shell;
  TPlatform Platform;
  Platform.Dialogs = &Dialogs;
  Platform.EventPump = &Pump;
  Platform.UserStore = &Store;
  Platform.Shell = &Shell;
  // The window's own editor without a window: the replace flow loads, replaces and saves as there.
  TEditorEx Viewer(nullptr, TPlatform{});
  TFormEditorEx Editor(Viewer);
  TMainFormControls Controls;
  TFormEnvironment Env;
  Env.ProgramFolder = ProgramFolder();
  Env.ConfigFolder = Config;
  Env.DefaultDataFolder = Data;
  Env.Persistent = UseSettings;
  try {
    if (UseSettings) std::filesystem::create_directories(Data);
    TForm1 Form(Controls, Platform, Editor, Env);
    Form.FormCreate();
    Form.FormShow();
    ApplyOptions(O, Controls);
    Form.Button1Click();
    PrintRows(Controls.FileList, O.Flags.count("--paths") != 0);
    std::cout.flush();
    if (O.Values.count("--replace") && Controls.FileList.Count() > 0) Form.N4Click();
    Form.FormCloseQuery();
    if (UseSettings) Store.Save();
    Form.FormDestroy();
    // What was skipped is on standard error already, through the window's message.
    if (Form.SkippedCount() > 0) return 2;
  } catch (const std::exception& E) {
    std::cout.flush();
    std::cerr << "tesvarin-cli: " << E.what() << '\n';
    return 2;
  }
  return Controls.FileList.Count() > 0 ? 0 : 1;
}
