// tesvarin-cli: the main window's search and replace driven from the command line.
#include <getopt.h>
#include <langinfo.h>
#include <unistd.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <map>
#include <optional>

#include "ProgressLine.h"
#include "TerminalPlatform.h"
#include "app/FileSystem.h"
#include "app/Form1.h"
#include "app/FormEditorEx.h"
#include "app/LocalTime.h"
#include "app/ReplaceJournal.h"
#include "app/UserFolders.h"
#include "support/Exception.h"
#include "support/SjisCodec.h"

using namespace tesvarin;

namespace {

const char* const Usage =
    "usage: tesvarin-cli [options] FOLDER\n"
    "       tesvarin-cli --journal\n"
    "       tesvarin-cli --undo [N]\n"
    "Lists the files under FOLDER whose names match and that hold the text, and replaces in them.\n"
    "\n"
    "  -n, --name PATTERN   file-name pattern, * and ? as wildcards (default *.*)\n"
    "  -t, --text TEXT      text the files must contain\n"
    "  -R, --replace TEXT   replace in every listed file (\\r\\n is a line break)\n"
    "  -c, --match-case     tell capitals from small letters (an expression always does)\n"
    "  -e, --regexp         TEXT is a regular expression\n"
    "  -f, --fuzzy          with -e: full-width and half-width forms, hiragana and katakana,\n"
    "                       capitals and small letters count as equal (drops -c)\n"
    "  -w, --whole-word     TEXT matches whole words only\n"
    "      --no-subfolders  do not walk subfolders\n"
    "      --hidden         visit dot-named files and folders too\n"
    "      --sjis-only      read every file as Shift-JIS (default: each file in its own encoding,\n"
    "                       UTF-8, EUC-JP or UTF-16 told from its bytes)\n"
    "      --from YYYY/MM/DD, --to YYYY/MM/DD   modification date range\n"
    "      --larger KB | --smaller KB           size limit in kilobytes (0 to 10000)\n"
    "      --no-backup      do not keep the previous content as a .bak file\n"
    "      --dry-run        with -R: change nothing, print what would change as a unified diff\n"
    "      --confirm        ask before saving each file\n"
    "      --yes            answer the question before replacing in every file with yes\n"
    "      --paths          print only the full path of each file\n"
    "  -0, --null           print only paths, each ended by a NUL byte (for xargs -0)\n"
    "      --use-settings   keep histories and settings as the window does\n"
    "      --journal        list the journaled replace runs, newest first\n"
    "      --undo [N]       take back replace run N (default: the newest not yet taken back);\n"
    "                       a file changed since the run is left as it is and named\n"
    "  -h, --help           show this help and exit\n"
    "  -V, --version        show the version and exit\n"
    "\n"
    "Exit status: 0 when files were listed, 1 when none were, 2 on a usage error, a failure, or when\n"
    "any file or folder was skipped or left unchanged because it changed on disk after it was read.\n"
    "With --dry-run: 0 when a file would change, 1 when none would. With --undo: 0 when every file\n"
    "was put back, 2 when any was left.\n";

struct TOptions {
  std::map<std::string, std::string> Values;  // options with an argument, by long name
  std::map<std::string, bool> Flags;
  std::string Folder;
};

[[noreturn]] void Fail(const std::string& Message) {
  std::cerr << "tesvarin-cli: " << Message << "\nTry 'tesvarin-cli --help' for more information.\n";
  std::exit(2);
}

enum : int { LongOnly = 256 };

// After getopt_long has refused an option: Token is the last argument it read.
[[noreturn]] void UsageError(int Code, const option* Table, const std::string& Token) {
  const option* Known = nullptr;
  for (const option* T = Table; T->name; ++T) {
    if (optopt != 0 && T->val == optopt) Known = T;
  }
  bool Long = Token.rfind("--", 0) == 0;
  if (Code == ':') {
    Fail(std::string("missing value for ") + (Long || optopt >= LongOnly ? "--" + std::string(Known->name)
                                                                         : std::string("-") + char(optopt)));
  }
  if (Known) Fail("--" + std::string(Known->name) + " takes no value");
  Fail("unknown option " + (optopt == 0 ? Token.substr(0, Token.find('=')) : std::string("-") + char(optopt)));
}

TOptions ParseArguments(int Argc, char** Argv) {
  static const option Table[] = {
      {"name", required_argument, nullptr, 'n'},          {"text", required_argument, nullptr, 't'},
      {"replace", required_argument, nullptr, 'R'},       {"match-case", no_argument, nullptr, 'c'},
      {"regexp", no_argument, nullptr, 'e'},              {"fuzzy", no_argument, nullptr, 'f'},
      {"whole-word", no_argument, nullptr, 'w'},          {"null", no_argument, nullptr, '0'},
      {"help", no_argument, nullptr, 'h'},                {"version", no_argument, nullptr, 'V'},
      {"no-subfolders", no_argument, nullptr, LongOnly},  {"hidden", no_argument, nullptr, LongOnly + 1},
      {"from", required_argument, nullptr, LongOnly + 2}, {"to", required_argument, nullptr, LongOnly + 3},
      {"larger", required_argument, nullptr, LongOnly + 4}, {"smaller", required_argument, nullptr, LongOnly + 5},
      {"no-backup", no_argument, nullptr, LongOnly + 6},  {"confirm", no_argument, nullptr, LongOnly + 7},
      {"yes", no_argument, nullptr, LongOnly + 8},        {"paths", no_argument, nullptr, LongOnly + 9},
      {"use-settings", no_argument, nullptr, LongOnly + 10}, {"dry-run", no_argument, nullptr, LongOnly + 11},
      {"journal", no_argument, nullptr, LongOnly + 12},   {"undo", no_argument, nullptr, LongOnly + 13},
      {"sjis-only", no_argument, nullptr, LongOnly + 14},
      {nullptr, 0, nullptr, 0}};
  TOptions O;
  opterr = 0;  // the messages below say it in this program's words
  int Code;
  while ((Code = getopt_long(Argc, Argv, ":n:t:R:cefw0hV", Table, nullptr)) != -1) {
    if (Code == '?' || Code == ':') UsageError(Code, Table, Argv[optind - 1]);
    if (Code == 'h') {
      std::cout << Usage;
      std::exit(0);
    }
    if (Code == 'V') {
      std::cout << "tesvarin-cli " TESVARIN_VERSION "\n";
      std::exit(0);
    }
    const option* T = Table;
    while (T->val != Code) ++T;
    std::string Name = std::string("--") + T->name;
    if (T->has_arg == required_argument) {
      O.Values[Name] = optarg;
    } else {
      O.Flags[Name] = true;
    }
  }
  for (int I = optind; I < Argc; ++I) {
    if (!O.Folder.empty()) Fail("more than one folder given");
    O.Folder = Argv[I];
  }
  if (O.Flags.count("--journal") || O.Flags.count("--undo")) {
    if (O.Flags.count("--journal") && O.Flags.count("--undo")) Fail("--journal and --undo exclude each other");
    if (O.Flags.count("--journal") && !O.Folder.empty()) Fail("--journal takes no folder");
    if (O.Flags.count("--undo") && !O.Folder.empty() && O.Folder.find_first_not_of("0123456789") != std::string::npos) {
      Fail("not a run number: " + O.Folder);
    }
    return O;
  }
  if (O.Folder.empty()) Fail("no folder given");
  if (O.Flags.count("--dry-run") && !O.Values.count("--replace")) Fail("--dry-run needs -R (--replace)");
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

struct TMatchFlags {
  bool MatchCase = false, Regexp = false, Fuzzy = false;
};

// The window's check boxes take match case or a regular expression, never both, and fuzzy only
// with a regular expression. An expression tells capitals from small letters by itself, so -c with
// -e is kept by the expression alone; what cannot be kept is dropped, in one line on stderr.
TMatchFlags HonouredMatchFlags(TMatchFlags F) {
  if (F.Fuzzy && !F.Regexp) {
    std::cerr << "tesvarin-cli: -f (--fuzzy) dropped: fuzzy matching works only with -e (--regexp)\n";
    F.Fuzzy = false;
  }
  if (F.MatchCase && F.Regexp) {
    if (F.Fuzzy) std::cerr << "tesvarin-cli: -c (--match-case) dropped: with -f capitals and small letters match each other\n";
    F.MatchCase = false;
  }
  return F;
}

// Both boxes are unchecked first, so that a box a restored setting disabled can be clicked.
void ApplyMatchFlags(const TMatchFlags& F, TMainFormControls& C) {
  Click(C.CheckBox1, false);
  Click(C.CheckBox2, false);
  Click(C.CheckBox1, F.MatchCase);
  Click(C.CheckBox2, F.Regexp);
  Click(C.CheckBox3, F.Fuzzy);
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
  ApplyMatchFlags(HonouredMatchFlags({Flag("--match-case"), Flag("--regexp"), Flag("--fuzzy")}), C);
  Click(C.CheckBox4, Flag("--whole-word"));
  C.FindSubFolder.SetChecked(!Flag("--no-subfolders"));
  C.CheckBox6.SetChecked(Flag("--hidden"));
  C.OtherEncodings.SetChecked(!Flag("--sjis-only"));
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

std::string ProgramFolder() {
  char Buffer[4096];
  ssize_t N = readlink("/proc/self/exe", Buffer, sizeof Buffer - 1);
  if (N <= 0) return "./";
  std::string Path(Buffer, static_cast<size_t>(N));
  return Path.substr(0, Path.rfind('/') + 1);
}

// Paths end with Terminator; the columns of a row are separated by tabs.
void PrintRows(const TListViewModel& List, bool PathsOnly, char Terminator) {
  for (const TListItem& Row : List.Items()) {
    if (PathsOnly) {
      std::cout << TForm1::RowPath(Row) << Terminator;
      continue;
    }
    std::cout << Row.Caption;
    for (const std::string& S : Row.SubItems) std::cout << '\t' << S;
    std::cout << '\n';
  }
}

// Text of the files goes out in the locale's encoding: as it is where that is Shift-JIS, else as UTF-8.
std::string ForTerminal(std::string_view Sjis) {
  const char* Set = nl_langinfo(CODESET);
  if (Set && (std::strstr(Set, "SJIS") || std::strstr(Set, "932") || std::strstr(Set, "Shift_JIS"))) {
    return std::string(Sjis);
  }
  return Cp932ToUtf8Lossy(Sjis);
}

int ListJournal(const TReplaceJournal& Journal) {
  for (const TJournalRun& Run : Journal.Runs()) {
    std::cout << Run.Number << '\t' << FormatLocalTime(Run.Info.Time) << '\t' << Run.Info.Folder << '\t'
              << Run.Info.Needle << '\t' << Run.Info.Replacement << '\t' << Run.FileCount() << '\t' << Run.StateText()
              << '\n';
  }
  return 0;
}

int TakeBack(TReplaceJournal& Journal, const std::string& Number) {
  std::optional<TJournalRun> Run =
      Number.empty() ? Journal.NewestToTakeBack() : Journal.Run(std::atoi(Number.c_str()));
  if (!Run) {
    std::cerr << "tesvarin-cli: "
              << (Number.empty() ? "no replace run to take back" : "no replace run " + Number + " in the journal")
              << '\n';
    return 2;
  }
  const TTakeBackResult R = Journal.TakeBack(Run->Number);
  std::cout << "run " << Run->Number << ": " << R.Restored << " file(s) put back\n";
  for (const std::string& Left : R.Left) std::cerr << "tesvarin-cli: left as it is: " << Left << '\n';
  return R.Left.empty() ? 0 : 2;
}

}  // namespace

int main(int Argc, char** Argv) {
  std::setlocale(LC_CTYPE, "");
  TOptions O = ParseArguments(Argc, Argv);
  const TUserFolders Folders = UserFolders();
  // Without a home folder nothing is kept: never the current folder or the root in its place.
  const bool HasFolders = Folders.Config && Folders.Data;
  bool UseSettings = O.Flags.count("--use-settings") != 0;
  std::string Config = Folders.Config.value_or("");
  std::string Data = HasFolders ? *Folders.Data + "/Bramwhirl/Vimbre/" : std::string();
  cli::TTerminalDialogs TerminalDialogs;
  TerminalDialogs.YesToBatch = O.Flags.count("--yes") != 0;
  // Only a person watching a terminal wants the progress line; a pipe or a log file never gets it.
  std::optional<cli::TProgressLine> Progress;
  if (isatty(STDERR_FILENO)) Progress.emplace(std::cerr, [] { return cli::TerminalColumns(STDERR_FILENO); });
  cli::TProgressDialogs Dialogs(TerminalDialogs, Progress ? &*Progress : nullptr);
  cli::TNoEventPump Pump;
  cli::TFileUserStore Store(UseSettings && HasFolders ? Config + "/Bramwhirl/tesvarin-cli.conf" : std::string());
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
  Env.ConfigFolder = Folders.Config;
  Env.DefaultDataFolder = Data;
  Env.Persistent = UseSettings && HasFolders;
  Env.Journal = HasFolders && !O.Flags.count("--dry-run");
  if (UseSettings && !HasFolders) Env.SettingsWarning = NoUserFolderWarning;
  if (Env.Persistent) {
    // A folder that cannot be made is told when the first history is written; the search goes on.
    std::error_code Ec;
    std::filesystem::create_directories(Data, Ec);
  }
  try {
    TForm1 Form(Controls, Platform, Editor, Env);
    Form.FormCreate();
    Form.FormShow();
    if (O.Flags.count("--journal") || O.Flags.count("--undo")) {
      if (Form.JournalFolder().empty()) throw Exception("no data folder: no journal is kept");
      TReplaceJournal Journal(Form.JournalFolder());
      return O.Flags.count("--journal") ? ListJournal(Journal) : TakeBack(Journal, O.Folder);
    }
    ApplyOptions(O, Controls);
    if (Progress) {
      Form.OnSearchFolder = [&](const std::string& Folder) { Progress->EnterFolder(Folder); };
      Form.OnFileLooked = [&] { Progress->FileLooked(Controls.FileList.Count()); };
    }
    Form.Button1Click();
    if (Progress) Progress->Clear();
    if (O.Flags.count("--dry-run")) {
      int Changing = 0;
      Form.PlanListedFiles([&](const std::string& Path, std::string_view Original, const TReplacePlan& Plan) {
        ++Changing;
        std::cout << "--- " << Path << "\n+++ " << Path << '\n' << ForTerminal(DiffHunks(Original, Plan));
      });
      std::cout.flush();
      const int Troubles = Form.SkippedCount();
      Form.FormDestroy();
      return Troubles > 0 ? 2 : Changing > 0 ? 0 : 1;
    }
    bool Null = O.Flags.count("--null") != 0;
    PrintRows(Controls.FileList, Null || O.Flags.count("--paths") != 0, Null ? '\0' : '\n');
    std::cout.flush();
    // The search's and the replace's troubles: each run starts its own count.
    int Troubles = Form.SkippedCount();
    if (O.Values.count("--replace") && Controls.FileList.Count() > 0) {
      Form.N4Click();
      Troubles += Form.SkippedCount() + Form.UnchangedCount();
    }
    Form.FormCloseQuery();
    Form.FormDestroy();
    // What was skipped or left unchanged is on standard error already, through the window's messages.
    if (Troubles > 0) return 2;
  } catch (const std::exception& E) {
    if (Progress) Progress->Clear();
    std::cout.flush();
    std::cerr << "tesvarin-cli: " << E.what() << '\n';
    return 2;
  }
  return Controls.FileList.Count() > 0 ? 0 : 1;
}
