// replace_journal_bench [FILES [KB [HITS [ROUNDS]]]]: a tree of FILES Japanese Shift-JIS files of
// KB kilobytes with HITS hits each, replaced through the window's logic (the real editor, no
// window) without the journal, with it, and taken back; each ROUNDS times from a fresh copy. Prints
// the medians of wall time and of user+sys CPU time, their ratios, and the journal's size per MB
// changed. The machine may be shared: the CPU times are the steadier figures.
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app/FormEditorEx.h"
#include "app/Form1.h"
#include "app/ReplaceJournal.h"
#include "support/SjisCodec.h"
#include "support/StringList.h"

using namespace tesvarin;
namespace fs = std::filesystem;

namespace {

class TYesDialogs : public IDialogs {
public:
  TMsgResult MessageBox(std::string_view, std::string_view, TMsgButtons) override { return idYes; }
  size_t Ask(const TQuestion& Q) override { return Q.Default; }
};

class TNoPump : public IEventPump {
public:
  void ProcessMessages() override {}
};

struct TTimes {
  double Wall = 0, Cpu = 0;
};

double CpuSeconds() {
  rusage U{};
  getrusage(RUSAGE_SELF, &U);
  auto S = [](const timeval& T) { return static_cast<double>(T.tv_sec) + static_cast<double>(T.tv_usec) / 1e6; };
  return S(U.ru_utime) + S(U.ru_stime);
}

template <class F>
TTimes Measure(F&& Work) {
  const double Cpu0 = CpuSeconds();
  const auto Wall0 = std::chrono::steady_clock::now();
  Work();
  return {std::chrono::duration<double>(std::chrono::steady_clock::now() - Wall0).count(), CpuSeconds() - Cpu0};
}

double Median(std::vector<double> V) {
  std::sort(V.begin(), V.end());
  return V[V.size() / 2];
}

// Japanese prose lines, picked and numbered so that they compress as real text does, with the
// needle spread evenly.
std::string FileText(size_t Bytes, int Hits, const std::string& Needle, int Seed) {
  static const std::vector<std::string> Sentences = [] {
    std::vector<std::string> S;
    for (const char* U : {"昨日の会議で決まった日程を確認し、資料をまとめて関係者に送付してください。",
                          "第三四半期の売上は前年同期比で一二パーセント増加しました。",
                          "システム更新作業のため、今週末はサーバーを停止します。",
                          "お客様からの問い合わせには、原則として二営業日以内に回答すること。",
                          "新しい製品の仕様書は共有フォルダの最新版を参照してください。",
                          "東京支社と大阪支社の合同研修は来月の第二火曜日に開催予定です。",
                          "請求書の発行日と支払期限を必ず確認してから送付すること。",
                          "設定ファイルの文字コードはShift_JISのまま保存してください。"}) {
      S.push_back(Utf8ToCp932(U));
    }
    return S;
  }();
  std::string Text;
  uint32_t R = static_cast<uint32_t>(Seed) * 2654435761u + 1;
  const size_t Lines = Bytes / 80;
  const size_t Every = std::max<size_t>(1, Lines / static_cast<size_t>(Hits));
  int Placed = 0;
  for (size_t I = 0; Text.size() < Bytes; ++I) {
    R = R * 1103515245u + 12345u;
    const std::string& Line = Sentences[(R >> 16) % Sentences.size()];
    Text += std::to_string(I + 1) + ": ";
    if (I % Every == Every / 2 && Placed < Hits) {
      Text += Line.substr(0, 20) + Needle + Line.substr(20);
      ++Placed;
    } else {
      Text += Line;
    }
    Text += (R >> 8) % 3 == 0 ? " " + std::to_string(R % 100000) + "\r\n" : std::string("\r\n");
  }
  return Text;
}

struct TBench {
  std::string Root, Tree, Pristine, Data;
  std::string Needle = Utf8ToCp932("検索語"), Replacement = Utf8ToCp932("置換後の語");
};

// One replace in the listed files; returns the journal run it made (0: none).
int Replace(const TBench& B, bool Journal) {
  TYesDialogs Dialogs;
  TNoPump Pump;
  TPlatform Platform;
  Platform.Dialogs = &Dialogs;
  Platform.EventPump = &Pump;
  TEditorEx Viewer(nullptr, TPlatform{});
  TFormEditorEx Editor(Viewer);
  TMainFormControls C;
  TFormEnvironment Env;
  Env.ProgramFolder = B.Root + "/";
  Env.DefaultDataFolder = B.Data;
  Env.Persistent = false;
  Env.Journal = Journal;
  TForm1 Form(C, Platform, Editor, Env);
  Form.FormCreate();
  Form.FormShow();
  C.cFolderName.SetText(B.Tree);
  C.cFileName.SetText("*.txt");
  C.cFindWord.SetText(Cp932ToUtf8(B.Needle));
  C.cReplaceWord.SetText(Cp932ToUtf8(B.Replacement));
  C.MakeBackFile.SetChecked(false);
  C.ConfirmSave.SetChecked(false);
  C.SelectFirstSearch.SetChecked(false);
  Form.Button1Click();
  Form.N4Click();
  return Form.JournaledRun();
}

void Fresh(const TBench& B) {
  fs::remove_all(B.Tree);
  fs::copy(B.Pristine, B.Tree, fs::copy_options::recursive);
}

}  // namespace

int main(int Argc, char** Argv) {
  const int Files = Argc > 1 ? std::atoi(Argv[1]) : 2000;
  const size_t Kb = Argc > 2 ? static_cast<size_t>(std::atoi(Argv[2])) : 50;
  const int Hits = Argc > 3 ? std::atoi(Argv[3]) : 25;
  const int Rounds = Argc > 4 ? std::atoi(Argv[4]) : 5;
  TBench B;
  std::string Template = (fs::temp_directory_path() / "replace-bench-XXXXXX").string();
  B.Root = mkdtemp(Template.data());
  B.Tree = B.Root + "/tree";
  B.Pristine = B.Root + "/pristine";
  B.Data = B.Root + "/data/";
  fs::create_directories(B.Pristine);
  fs::create_directories(B.Data);
  uint64_t Changed = 0;
  for (int I = 0; I < Files; ++I) {
    const std::string Text = FileText(Kb * 1024, Hits, B.Needle, I);
    Changed += Text.size();
    WriteFileBytes(B.Pristine + "/f" + std::to_string(I) + ".txt", Text);
  }
  std::vector<double> PlainWall, PlainCpu, JournalWall, JournalCpu, UndoWall, UndoCpu;
  uint64_t JournalBytes = 0;
  for (int R = 0; R < Rounds; ++R) {
    Fresh(B);
    TTimes Plain = Measure([&] { Replace(B, false); });
    Fresh(B);
    fs::remove_all(B.Data + "journal");
    int Run = 0;
    TTimes Journaled = Measure([&] { Run = Replace(B, true); });
    TReplaceJournal Journal(B.Data + "journal");
    JournalBytes = Journal.Run(Run)->Bytes;
    TTakeBackResult Back;
    TTimes Undo = Measure([&] { Back = Journal.TakeBack(Run); });
    if (Back.Restored != Files || !Back.Left.empty()) {
      std::fprintf(stderr, "take back restored %d of %d files\n", Back.Restored, Files);
      return 1;
    }
    PlainWall.push_back(Plain.Wall), PlainCpu.push_back(Plain.Cpu);
    JournalWall.push_back(Journaled.Wall), JournalCpu.push_back(Journaled.Cpu);
    UndoWall.push_back(Undo.Wall), UndoCpu.push_back(Undo.Cpu);
  }
  fs::remove_all(B.Root);
  const double MB = static_cast<double>(Changed) / (1024.0 * 1024.0);
  std::printf("%d files of %zu KB, %d hits each (%.1f MB changed), median of %d rounds\n", Files, Kb, Hits, MB, Rounds);
  std::printf("%-22s %10s %14s\n", "", "wall s", "user+sys s");
  std::printf("%-22s %10.3f %14.3f\n", "replace, no journal", Median(PlainWall), Median(PlainCpu));
  std::printf("%-22s %10.3f %14.3f\n", "replace with journal", Median(JournalWall), Median(JournalCpu));
  std::printf("%-22s %10.3f %14.3f\n", "take back", Median(UndoWall), Median(UndoCpu));
  std::printf("journal / no journal:  wall %.2fx  cpu %.2fx\n", Median(JournalWall) / Median(PlainWall),
              Median(JournalCpu) / Median(PlainCpu));
  std::printf("take back / replace:   wall %.2fx  cpu %.2fx\n", Median(UndoWall) / Median(JournalWall),
              Median(UndoCpu) / Median(JournalCpu));
  std::printf("journal size: %.1f KB per MB changed (%llu bytes)\n", static_cast<double>(JournalBytes) / 1024.0 / MB,
              static_cast<unsigned long long>(JournalBytes));
  return 0;
}
