// Row store figures against a plain read-and-split of the same file: loading (wrap off and on),
// resident memory, typing and line breaks in the middle of large texts, undo and redo, saving.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "editor/text/EditorScreenStrings.h"
#include "editor/text/EditorStrings.h"
#include "editor/text/EditorUndo.h"
#include "support/StringList.h"

namespace tesvarin {
namespace {

// About 100 MB of mixed kanji, kana, ASCII and tabs, CR LF breaks, a few lines of 10,000 bytes.
const std::string& BigFile() {
  static const std::string Path = [] {
    std::string P = "/tmp/tesvarin_rows_bench_100mb.txt";
    std::mt19937 Rng(7);
    const char* Words[] = {"\x8A\xBF\x8E\x9A", "\x82\xA9\x82\xC8", "ascii", "\t", " ", "\x83\x4A\x83\x69",
                           "text", "\x93\xFA\x96\x7B", "1234", ","};
    std::string Out;
    Out.reserve(105u << 20);
    size_t Lines = 0;
    while (Out.size() < (100u << 20)) {
      size_t Len = (++Lines % 100000 == 0) ? 10000 : 20 + Rng() % 110;
      size_t Start = Out.size();
      while (Out.size() - Start < Len) Out += Words[Rng() % 10];
      Out += "\r\n";
    }
    WriteFileBytes(P, Out);
    return P;
  }();
  return Path;
}

// Short rows, for the edit figures.
std::string RowsFile(int Rows) {
  std::string P = "/tmp/tesvarin_rows_bench_" + std::to_string(Rows) + ".txt";
  std::ifstream Probe(P);
  if (Probe.good()) return P;
  std::string Out;
  Out.reserve(static_cast<size_t>(Rows) * 12);
  for (int I = 0; I < Rows; ++I) Out += "row \x82\xA0" + std::to_string(I % 1000) + "\r\n";
  WriteFileBytes(P, Out);
  return P;
}

long ResidentBytes() {
  long Pages = 0, Resident = 0;
  FILE* F = std::fopen("/proc/self/statm", "r");
  if (F == nullptr) return 0;
  if (std::fscanf(F, "%ld %ld", &Pages, &Resident) != 2) Resident = 0;
  std::fclose(F);
  return Resident * 4096;
}

void BM_BaselineReadSplit(benchmark::State& State) {
  const std::string& P = BigFile();
  for (auto _ : State) {
    std::string All = ReadFileBytes(P);
    std::vector<std::string> Lines;
    size_t Start = 0;
    for (;;) {
      size_t End = All.find('\n', Start);
      if (End == std::string::npos) break;
      size_t Len = End - Start;
      if (Len > 0 && All[End - 1] == '\r') --Len;
      Lines.emplace_back(All, Start, Len);
      Start = End + 1;
    }
    if (Start < All.size()) Lines.emplace_back(All, Start);
    benchmark::DoNotOptimize(Lines.data());
  }
}
BENCHMARK(BM_BaselineReadSplit)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_LoadFromFile(benchmark::State& State) {
  const std::string& P = BigFile();
  const bool Wrap = State.range(0) != 0;
  long Before = ResidentBytes();
  long After = 0;
  int Rows = 0;
  for (auto _ : State) {
    TEditorScreenStrings Store;
    Store.SetWordWrap(Wrap);
    TEditorStrings Lines(Store, nullptr);
    Lines.LoadFromFile(P);
    Rows = Store.Count();
    After = ResidentBytes();
  }
  State.counters["rows"] = Rows;
  State.counters["resident_MB"] = static_cast<double>(After - Before) / (1 << 20);
  State.counters["file_MB_plus_24B_row"] = (100.0 * (1 << 20) + 24.0 * Rows) / (1 << 20);
}
BENCHMARK(BM_LoadFromFile)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);

// One load in the process, the store alive when measured: run it alone
// (--benchmark_filter=BM_LoadResident) so no earlier case leaves memory behind.
void BM_LoadResident(benchmark::State& State) {
  const std::string& P = BigFile();
  const double FileBytes = static_cast<double>(ReadFileBytes(P).size());
  for (auto _ : State) {
    const long Before = ResidentBytes();
    TEditorScreenStrings Store;
    TEditorStrings Lines(Store, nullptr);
    Lines.LoadFromFile(P);
    const long After = ResidentBytes();
    const double Target = 1.5 * FileBytes + 24.0 * Store.Count();
    State.counters["rows"] = Store.Count();
    State.counters["resident_MB"] = static_cast<double>(After - Before) / (1 << 20);
    State.counters["target_MB"] = Target / (1 << 20);
    State.counters["ratio_to_target"] = static_cast<double>(After - Before) / Target;
  }
}
BENCHMARK(BM_LoadResident)->Unit(benchmark::kMillisecond)->Iterations(1);

// Lines.Get of every line in order with word wrap on; one line in three is wrapped into rows.
void BM_WrappedLinesGet(benchmark::State& State) {
  const int N = static_cast<int>(State.range(0));
  std::string Text;
  Text.reserve(static_cast<size_t>(N) * 80);
  for (int I = 0; I < N; ++I) {
    Text += "line \x82\xA0" + std::to_string(I);
    if (I % 3 == 0) Text.append(190, 'w');
    Text += "\r\n";
  }
  TEditorScreenStrings Store;
  Store.SetWordWrap(true);
  TEditorStrings Lines(Store, nullptr);
  Lines.SetLinesText(Text);
  size_t Bytes = 0;
  for (auto _ : State) {
    for (int I = 0; I < Lines.Count(); ++I) Bytes += Lines.Get(I).size();
  }
  benchmark::DoNotOptimize(Bytes);
  State.counters["lines"] = Lines.Count();
  State.counters["rows"] = Store.Count();
}
BENCHMARK(BM_WrappedLinesGet)->Arg(1000000)->Arg(20000)->Unit(benchmark::kMillisecond)->Iterations(1);

// The row and column of the text's last byte, walked from the first row, as opening a file at a hit
// on its last line does; word wrap on, so rows outnumber lines.
void BM_OffsetToLastRow(benchmark::State& State) {
  TEditorScreenStrings Store;
  Store.SetWordWrap(true);
  TEditorStrings Lines(Store, nullptr);
  Lines.LoadFromFile(BigFile());
  const auto Last = static_cast<int64_t>(ReadFileBytes(BigFile()).size()) - 3;
  int Row = 0, Col = 0;
  for (auto _ : State) Store.OffsetToRowCol(0, Last, Row, Col);
  State.counters["rows"] = Store.Count();
  State.counters["found_row"] = Row;
}
BENCHMARK(BM_OffsetToLastRow)->Unit(benchmark::kMillisecond)->Iterations(10);

struct Timings {
  std::vector<double> Us;
  void Report(benchmark::State& State) {
    std::sort(Us.begin(), Us.end());
    if (Us.empty()) return;
    State.counters["median_us"] = Us[Us.size() / 2];
    State.counters["p99_us"] = Us[std::min(Us.size() - 1, Us.size() * 99 / 100)];
  }
};

template <class F>
double TimeUs(F&& Fn) {
  auto T0 = std::chrono::steady_clock::now();
  Fn();
  return std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - T0).count();
}

// range(0): rows; range(1): 0 typing, 1 line break, 2 undo/redo of line breaks.
void BM_Edit(benchmark::State& State) {
  const int N = static_cast<int>(State.range(0));
  const int Kind = static_cast<int>(State.range(1));
  TEditorScreenStrings Store;
  TEditorStrings Lines(Store, nullptr);
  Lines.LoadFromFile(RowsFile(N));
  Store.UndoObj().SetUndoListMax(100000);
  const int Mid = N / 2;
  Store.UpdateRows(Mid, 1, Store.Get(Mid) + "\r\n");  // the first edit there computes the states above
  Timings T;
  for (auto _ : State) {
    for (int I = 0; I < 1000; ++I) {
      std::string Row = Store.Get(Mid);
      if (Kind == 0) {
        T.Us.push_back(TimeUs([&] { Store.UpdateRows(Mid, 1, Row + "x\r\n"); }));
      } else if (Kind == 1) {
        const std::string Text = I % 2 == 0 ? Row.substr(0, 3) + "\r\n" + Row.substr(3) + "\r\n" : "";
        if (I % 2 == 0)
          T.Us.push_back(TimeUs([&] { Store.UpdateRows(Mid, 1, Text); }));
        else
          T.Us.push_back(TimeUs([&] { Store.UpdateRows(Mid, 2, Store.Get(Mid) + Store.Get(Mid + 1) + "\r\n"); }));
      } else {
        Store.UpdateRows(Mid, 1, Row.substr(0, 3) + "\r\n" + Row.substr(3) + "\r\n");
        T.Us.push_back(TimeUs([&] { Store.UndoObj().Undo(); }));
        T.Us.push_back(TimeUs([&] { Store.UndoObj().Redo(); }));
        Store.UndoObj().Undo();
      }
    }
  }
  T.Report(State);
}
BENCHMARK(BM_Edit)
    ->Args({1000000, 0})
    ->Args({1000000, 1})
    ->Args({1000000, 2})
    ->Args({10000000, 1})
    ->Args({10000000, 2})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

void BM_SaveToFile(benchmark::State& State) {
  TEditorScreenStrings Store;
  TEditorStrings Lines(Store, nullptr);
  Lines.LoadFromFile(BigFile());
  for (auto _ : State) Lines.SaveToFile("/tmp/tesvarin_rows_bench_save.txt");
}
BENCHMARK(BM_SaveToFile)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_BaselinePlainWrite(benchmark::State& State) {
  std::string All = ReadFileBytes(BigFile());
  for (auto _ : State) WriteFileBytes("/tmp/tesvarin_rows_bench_save.txt", All);
}
BENCHMARK(BM_BaselinePlainWrite)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace tesvarin

BENCHMARK_MAIN();
