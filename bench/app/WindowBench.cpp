// The real main window, offscreen, timed as a user meets it.
//   window_bench search ROOT WORD        one search run (pattern *.*), prints its seconds and rows
//   window_bench abort ROOT WORD TRIES   Abort pressed at a random moment of a run; prints the
//                                        milliseconds from the press to the run's end, p50 and p99
//   window_bench sort ROWS               ROWS synthetic rows, one header click per column, twice;
//                                        prints the milliseconds of each click, painted
//   window_bench open FILE               lists FILE's folder (no search text), clicks FILE's row and
//                                        paints the editor; prints the seconds from the click to the
//                                        first page painted and the resident memory (now and peak)
//   window_bench open FILE wrap          then word wrap off and on again, each until painted
//   window_bench open FILE end           then Ctrl+End and Ctrl+Home, each until painted
//   window_bench open FILE find WORD     lists the folder searching for WORD (the run timed too); the
//                                        click then opens the file at its first hit
#include <QApplication>
#include <QHeaderView>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "app/Form1.h"
#include "editor/EditorEx.h"
#include "qt/EditorWidget.h"
#include "qt/FileListView.h"
#include "qt/MainForm.h"
#include "qt/MainWindow.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace tesvarin;

// Every question is answered at once; the moment of the count message ends a run.
class ScriptedDialogs : public IDialogs {
public:
  TMsgResult MessageBox(std::string_view, std::string_view, TMsgButtons Buttons) override {
    Answered = Clock::now();
    return Buttons == mbOK ? idOK : idYes;
  }
  size_t Ask(const TQuestion& Question) override {
    Answered = Clock::now();
    return Question.Default;
  }
  Clock::time_point Answered;
};

class MemoryStore : public IUserStore {
public:
  std::optional<std::string> ReadString(std::string_view, std::string_view) const override { return std::nullopt; }
  void WriteString(std::string_view, std::string_view, std::string_view) override {}
};

struct Bench {
  Bench() {
    TFormEnvironment Env;
    Env.Persistent = false;
    Form = std::make_unique<qt::MainForm>(Env, &Dialogs, &Store);
    Form->Window().show();
    QApplication::processEvents();
  }
  void Prepare(const char* Root, const char* Word) {
    TMainFormControls& C = Form->Controls();
    C.cFileName.SetText("*.*");
    C.cFolderName.SetText(Root);
    C.cFindWord.SetText(Word);
  }
  ScriptedDialogs Dialogs;
  MemoryStore Store;
  std::unique_ptr<qt::MainForm> Form;
};

double Ms(Clock::duration D) { return std::chrono::duration<double, std::milli>(D).count(); }

int Search(const char* Root, const char* Word) {
  Bench B;
  B.Prepare(Root, Word);
  auto Start = Clock::now();
  B.Form->Controls().Button1.Click();
  std::printf("search %.3f s, %d rows\n", Ms(Clock::now() - Start) / 1000, B.Form->Controls().FileList.Count());
  return 0;
}

int Abort(const char* Root, const char* Word, int Tries) {
  Bench B;
  B.Prepare(Root, Word);
  // One whole run first: every press then falls inside a run, so each try counts.
  auto Whole = Clock::now();
  B.Form->Controls().Button1.Click();
  const int RunMs = static_cast<int>(Ms(Clock::now() - Whole));
  std::mt19937 Rng(20261209);
  std::vector<double> Latency;
  for (int I = 0; I < Tries; ++I) {
    int DelayMs = std::uniform_int_distribution<int>(RunMs / 20, RunMs * 7 / 10)(Rng);
    std::atomic<int64_t> PressedAt{0};
    // The press arrives from outside as input does: queued to the window while the run is busy.
    std::thread Presser([&] {
      std::this_thread::sleep_for(std::chrono::milliseconds(DelayMs));
      PressedAt = Clock::now().time_since_epoch().count();
      QMetaObject::invokeMethod(&B.Form->Window(), [&B] { B.Form->Controls().Button2.Click(); }, Qt::QueuedConnection);
    });
    B.Form->Controls().Button1.Click();
    Presser.join();
    QApplication::processEvents();
    Clock::time_point Pressed{Clock::duration(PressedAt.load())};
    if (B.Dialogs.Answered < Pressed) {
      std::printf("try %d: the run ended before Abort (%d ms); use a bigger tree\n", I, DelayMs);
      continue;
    }
    Latency.push_back(Ms(B.Dialogs.Answered - Pressed));
  }
  if (Latency.empty()) return 1;
  std::sort(Latency.begin(), Latency.end());
  auto At = [&](double P) { return Latency[std::min(Latency.size() - 1, static_cast<size_t>(P * static_cast<double>(Latency.size())))]; };
  std::printf("abort latency over %zu tries: p50 %.1f ms, p99 %.1f ms, max %.1f ms\n", Latency.size(), At(0.5), At(0.99),
              Latency.back());
  return 0;
}

int Sort(int Rows) {
  Bench B;
  TListViewModel& List = B.Form->Controls().FileList;
  std::mt19937 Rng(7);
  List.BeginUpdate();
  for (int I = 0; I < Rows; ++I) {
    std::string N = std::to_string(Rng() % 100000);
    List.Add(TListItem{"file" + N + ".txt",
                       {"/data/folder" + std::to_string(Rng() % 500) + "/", std::to_string(Rng() % 10000) + "KB", "text/plain",
                        "2024/0" + std::to_string(1 + Rng() % 9) + "/1" + std::to_string(Rng() % 10) + " 10:00:00",
                        "2023/11/0" + std::to_string(1 + Rng() % 9) + " 08:00:00", Rng() % 2 ? "R" : ""},
                       -1});
  }
  List.EndUpdate();
  QApplication::processEvents();
  QHeaderView* Header = B.Form->Window().FileList()->header();
  double Worst = 0;
  for (int Round = 0; Round < 2; ++Round) {
    for (int Column = 0; Column < TForm1::ColumnCount; ++Column) {
      auto Start = Clock::now();
      emit Header->sectionClicked(Column);
      B.Form->Window().FileList()->viewport()->repaint();
      double T = Ms(Clock::now() - Start);
      Worst = std::max(Worst, T);
      std::printf("sort %d rows by column %d: %.1f ms\n", Rows, Column, T);
    }
  }
  std::printf("sort worst click: %.1f ms\n", Worst);
  return 0;
}

// A field of /proc/self/status in MiB: VmRSS (resident now), VmHWM (resident at its peak).
double StatusMb(const std::string& Field) {
  std::ifstream In("/proc/self/status");
  std::string Name;
  while (In >> Name) {
    if (Name == Field + ":") {
      double Kb = 0;
      In >> Kb;
      return Kb / 1024;
    }
    In.ignore(1 << 10, '\n');
  }
  return -1;
}

// Word wrap turned off and on again on the loaded text, as the settings dialog does, each until the
// page is painted again.
void ToggleWrap(qt::MainForm& Form) {
  TEditorEx& Editor = Form.Editor();
  auto& View = Form.EditorView();
  for (const bool Wrap : {!Editor.WordWrap(), Editor.WordWrap()}) {
    const auto Start = Clock::now();
    Editor.SetWordWrap(Wrap);
    View.viewport()->repaint();
    std::printf("word wrap %s: %.3f s to the page painted, %d rows; resident %.0f MiB, peak %.0f MiB\n",
                Wrap ? "on" : "off", Ms(Clock::now() - Start) / 1000, Editor.Lines().Count(), StatusMb("VmRSS"),
                StatusMb("VmHWM"));
  }
}

// Ctrl+End and Ctrl+Home on the loaded text, each until the page is painted.
void JumpToEnds(qt::MainForm& Form) {
  auto& View = Form.EditorView();
  for (const Qt::Key Key : {Qt::Key_End, Qt::Key_Home}) {
    const auto Start = Clock::now();
    QTest::keyClick(View.viewport(), Key, Qt::ControlModifier);
    View.viewport()->repaint();
    std::printf("ctrl+%s: %.3f s to the page painted, caret row %d; resident %.0f MiB (anonymous %.0f), peak %.0f MiB\n",
                Key == Qt::Key_End ? "end" : "home", Ms(Clock::now() - Start) / 1000, Form.Editor().CaretRow(),
                StatusMb("VmRSS"), StatusMb("RssAnon"), StatusMb("VmHWM"));
  }
}

// "Replace in this file" on the shown text, then Ctrl+Z, each until the page is painted again; nothing
// is saved.
void ReplaceShown(qt::MainForm& Form, const std::string& With) {
  Form.Controls().cReplaceWord.SetText(With);
  const auto Start = Clock::now();
  Form.Form().N2Click();
  Form.EditorView().viewport()->repaint();
  std::printf("replace in the shown file: %.3f s to the page painted, %s; resident %.0f MiB, peak %.0f MiB\n",
              Ms(Clock::now() - Start) / 1000, Form.Controls().StatusBar1.PanelText(1).c_str(), StatusMb("VmRSS"),
              StatusMb("VmHWM"));
  auto& View = Form.EditorView();
  const auto Undo = Clock::now();
  QTest::keyClick(View.viewport(), Qt::Key_Z, Qt::ControlModifier);
  View.viewport()->repaint();
  std::printf("ctrl+z: %.3f s to the page painted; resident %.0f MiB, peak %.0f MiB\n", Ms(Clock::now() - Undo) / 1000,
              StatusMb("VmRSS"), StatusMb("VmHWM"));
}

int Open(const std::string& File, const std::string& Then, const std::string& Word, const std::string& With = "") {
  const size_t Slash = File.rfind('/');
  if (Slash == std::string::npos) {
    std::fprintf(stderr, "open: give the file with its folder\n");
    return 2;
  }
  Bench B;
  const std::string Folder = File.substr(0, Slash);
  B.Prepare(Folder.c_str(), Word.c_str());
  B.Form->Controls().cFileName.SetText(File.substr(Slash + 1));
  const auto Listing = Clock::now();
  B.Form->Controls().Button1.Click();
  if (!Word.empty()) std::printf("search %.3f s\n", Ms(Clock::now() - Listing) / 1000);
  QApplication::processEvents();
  auto* List = B.Form->Window().FileList();
  if (B.Form->Controls().FileList.Count() != 1) {
    std::fprintf(stderr, "open: the folder listed %d rows, not one\n", B.Form->Controls().FileList.Count());
    return 1;
  }
  const double Before = StatusMb("VmRSS");
  const QRect Row = List->visualRect(List->model()->index(0, 0));
  auto Start = Clock::now();
  QTest::mouseClick(List->viewport(), Qt::LeftButton, {}, Row.center());
  auto& View = B.Form->EditorView();
  View.viewport()->repaint();
  const double Seconds = Ms(Clock::now() - Start) / 1000;
  TEditorEx& Editor = B.Form->Editor();
  std::printf("open %.3f s to the first page painted; %d rows, word wrap %s, vertical range %d, caret row %d\n",
              Seconds, Editor.Lines().Count(), Editor.WordWrap() ? "on" : "off", View.verticalScrollBar()->maximum(),
              Editor.CaretRow());
  std::printf("resident before the click %.0f MiB, after %.0f MiB, peak %.0f MiB\n", Before, StatusMb("VmRSS"),
              StatusMb("VmHWM"));
  if (Then == "wrap") ToggleWrap(*B.Form);
  if (Then == "end") JumpToEnds(*B.Form);
  if (!With.empty()) ReplaceShown(*B.Form, With);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication App(argc, argv);
  std::string Mode = argc > 1 ? argv[1] : "";
  if (Mode == "search" && argc == 4) return Search(argv[2], argv[3]);
  if (Mode == "abort" && argc == 5) return Abort(argv[2], argv[3], std::stoi(argv[4]));
  if (Mode == "sort" && argc == 3) return Sort(std::stoi(argv[2]));
  const std::string Then = argc >= 4 ? argv[3] : "";
  if (Mode == "open" && (argc == 3 || (argc == 4 && (Then == "wrap" || Then == "end"))))
    return Open(argv[2], Then, "");
  if (Mode == "open" && argc == 5 && Then == "find") return Open(argv[2], "", argv[4]);
  if (Mode == "open" && argc == 7 && Then == "find" && std::string(argv[5]) == "replace")
    return Open(argv[2], "", argv[4], argv[6]);
  std::fprintf(stderr, "usage: window_bench search ROOT WORD | abort ROOT WORD TRIES | sort ROWS | "
                       "open FILE [wrap|end|find WORD [replace WITH]]\n");
  return 2;
}
