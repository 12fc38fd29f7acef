// The string-level editor search over a generated 100 MB Shift-JIS text, side by side with grep and
// sed on the same file. Each search is per line, as the editor searches its lines.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "editor/EditorEx.h"
#include "editor/EditorExSearch.h"
#include "support/StringList.h"

using namespace tesvarin;

namespace {

const char* const TextPath = "/tmp/tesvarin-exsearch-bench.txt";
const char* const CopyPath = "/tmp/tesvarin-exsearch-bench-copy.txt";
// grep stops at the first line when its output is /dev/null, so its count goes to a file.
const char* const CountPath = " > /tmp/tesvarin-exsearch-bench-count.txt";
constexpr size_t TargetBytes = 100u << 20;

// Lines of ASCII words, hiragana, katakana and kanji; every 13th line holds the literal "needle7".
std::string GenerateText() {
  static const char* const Pieces[] = {"alpha ", "\x82\xa0\x82\xa2\x82\xa4", "beta-", "\x83\x41\x83\x43",
                                       "\x8a\xbf\x8e\x9a", "gamma_", "\x81\x40", "delta ", "\xb1\xb2\xb3",
                                       "nee", "dle ", "\x95\x5c\x8e\xa6"};
  std::string Text;
  Text.reserve(TargetBytes + 200);
  uint32_t Seed = 12345;
  for (size_t Line = 0; Text.size() < TargetBytes; ++Line) {
    const size_t Start = Text.size();
    while (Text.size() - Start < 70) {
      Seed = Seed * 1103515245u + 12345u;
      Text += Pieces[(Seed >> 16) % 12];
    }
    if (Line % 13 == 0) Text += " needle7 ";
    Text += "\r\n";
  }
  return Text;
}

struct TData {
  std::vector<std::string> Lines;
  TData() {
    std::string Text = GenerateText();
    WriteFileBytes(TextPath, Text);
    TStringList L;
    L.SetText(Text);
    Lines = L.Items();
  }
};

const TData& Data() {
  static const TData D;
  return D;
}

int CountHits(TEditorExSearch& S) {
  int Count = 0;
  for (const std::string& Line : Data().Lines) {
    std::string_view Rest = Line;
    int Len = 0;
    for (int P = S.StrSearch(Rest, Len); P > 0; P = S.StrSearch(Rest, Len)) {
      ++Count;
      Rest.remove_prefix(TEditorExSearch::NextSearchStart(Rest, static_cast<size_t>(P - 1), static_cast<size_t>(Len)));
    }
  }
  return Count;
}

void RunSearch(benchmark::State& State, const char* Find, TExSearchOptions Options) {
  TEditorExSearch S;
  S.SetFindString(Find);
  S.SetExSearchOptions(Options);
  (void)Data();
  int Hits = 0;
  for (auto _ : State) benchmark::DoNotOptimize(Hits = CountHits(S));
  State.counters["hits"] = Hits;
}

void RunShell(benchmark::State& State, const std::string& Command) {
  (void)Data();
  for (auto _ : State)
    if (std::system(Command.c_str()) != 0) State.SkipWithError("command failed");
}

void BM_StrSearchLiteral(benchmark::State& State) { RunSearch(State, "needle7", {soMatchCase}); }
void BM_StrSearchLiteralFolded(benchmark::State& State) { RunSearch(State, "needle7", {}); }
void BM_GrepLiteral(benchmark::State& State) {
  RunShell(State, std::string("LC_ALL=C grep -c needle7 ") + TextPath + CountPath);
}
void BM_StrSearchRegexp(benchmark::State& State) { RunSearch(State, "ne+dle[0-9]", {soRegexp}); }
void BM_GrepRegexp(benchmark::State& State) {
  RunShell(State, std::string("LC_ALL=C grep -cE 'ne+dle[0-9]' ") + TextPath + CountPath);
}

void BM_ReplaceLines(benchmark::State& State) {
  TEditorExSearch S;
  S.SetFindString("needle7");
  S.SetExSearchOptions({soMatchCase});
  (void)Data();
  int Count = 0;
  for (auto _ : State) {
    State.PauseTiming();
    TStringList Lines;
    for (const std::string& L : Data().Lines) Lines.Add(L);
    State.ResumeTiming();
    Count = S.ReplaceInLines(Lines, "NEEDLE7");
    WriteFileBytes(CopyPath, Lines.Text());
  }
  State.counters["replaced"] = Count;
}
// The text loaded in an editor, as the viewer holds it.
TEditorEx& LoadedEditor() {
  (void)Data();
  static TEditorEx Editor(nullptr, TPlatform{});
  static const bool Loaded = [] {
    Editor.Lines().LoadFromFile(TextPath);
    return true;
  }();
  (void)Loaded;
  return Editor;
}

// Every hit in turn, from the start of the text forward or from its end back.
void RunStepping(benchmark::State& State, const char* Find, TExSearchOptions Options, bool Back = false) {
  TEditorEx& E = LoadedEditor();
  E.SetFindString(Find);
  E.SetExSearchOptions(Options);
  int Hits = 0;
  for (auto _ : State) {
    E.SetSelStart(0);
    if (Back) E.SetRowCol(E.RowCount(), 0);
    Hits = 0;
    while (Back ? E.FindPrev() : E.FindNext()) ++Hits;
  }
  State.counters["hits"] = Hits;
}

void BM_FindNextLiteral(benchmark::State& State) { RunStepping(State, "needle7", {soMatchCase}); }
void BM_FindNextLiteralFolded(benchmark::State& State) { RunStepping(State, "needle7", {}); }
void BM_FindPrevLiteral(benchmark::State& State) { RunStepping(State, "needle7", {soMatchCase}, true); }
void BM_FindNextRegexp(benchmark::State& State) { RunStepping(State, "ne+dle[0-9]", {soRegexp}); }

void BM_EditorReplaceAll(benchmark::State& State) {
  int Count = 0;
  for (auto _ : State) {
    State.PauseTiming();
    TEditorEx E(nullptr, TPlatform{});
    E.Lines().LoadFromFile(TextPath);
    E.SetFindString("needle7");
    E.SetExSearchOptions({soMatchCase});
    State.ResumeTiming();
    Count = E.ReplaceAll("NEEDLE7", true);
    E.Lines().SaveToFile(CopyPath);
  }
  State.counters["replaced"] = Count;
}

void BM_SedReplace(benchmark::State& State) {
  RunShell(State, std::string("LC_ALL=C sed 's/needle7/NEEDLE7/g' ") + TextPath + " > " + CopyPath);
}

}  // namespace

BENCHMARK(BM_StrSearchLiteral)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_StrSearchLiteralFolded)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_GrepLiteral)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_StrSearchRegexp)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_GrepRegexp)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_FindNextLiteral)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_FindNextRegexp)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_FindNextLiteralFolded)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_FindPrevLiteral)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_EditorReplaceAll)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);
BENCHMARK(BM_ReplaceLines)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SedReplace)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
