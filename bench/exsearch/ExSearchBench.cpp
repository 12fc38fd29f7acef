// The string-level editor search over a generated 100 MB Shift-JIS text, side by side with grep and
// sed on the same file. Each search is per line, as the editor searches its lines. A second 100 MB
// text is Japanese prose, where every byte of a Japanese needle is common.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "editor/EditorEx.h"
#include "editor/search/EditorExSearch.h"
#include "support/StringList.h"

using namespace tesvarin;

namespace {

const char* const TextPath = "/tmp/tesvarin-exsearch-bench.txt";
const char* const JapanesePath = "/tmp/tesvarin-exsearch-bench-ja.txt";
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

// Frequent kanji first: a Zipf law over this list keeps a few lead bytes everywhere. Neither 語 nor 酒
// is among them, so 日本語 and 日本酒 stand only where planted.
const char* const Kanji[] = {"\x93\xfa", "\x90\x6c", "\x94\x4e", "\x91\xe5", "\x88\xea", "\x8d\x91", "\x92\x86",
                             "\x96\x7b", "\x8f\x6f", "\x8e\x71", "\x89\xef", "\x8f\xe3", "\x90\xb6", "\x8e\xa9",
                             "\x95\xaa", "\x8e\x96", "\x92\x6e", "\x8d\x73", "\x95\xfb", "\x8e\x9e", "\x8a\xd4",
                             "\x8a\x77", "\x8e\xd0", "\x8e\xe8", "\x8c\xa9", "\x8b\xc6", "\x92\xb7", "\x8a\xd6",
                             "\x94\xad", "\x8e\xd2", "\x8f\x8a", "\x91\xce", "\x95\x94", "\x8b\x43", "\x93\x49",
                             "\x91\x4f", "\x97\x9d", "\x93\x96", "\x8d\x87", "\x93\xe0", "\x91\x53", "\x93\xae",
                             "\x90\x56", "\x8f\xea", "\x8e\xc0", "\x89\xc6", "\x97\xcd", "\x90\xac", "\x92\xe8",
                             "\x8c\x6f", "\x8d\x82", "\x93\xaf", "\x96\x40", "\x8e\xe5", "\x92\xb2", "\x93\x78"};
// の に は を が と で も から, then 、 and the endings です。 ます。 した。
const char* const Kana[] = {"\x82\xcc", "\x82\xc9", "\x82\xcd", "\x82\xf0", "\x82\xaa", "\x82\xc6", "\x82\xc5",
                            "\x82\xe0", "\x82\xa9\x82\xe7"};
const char* const Endings[] = {"\x82\xc5\x82\xb7\x81\x42", "\x82\xdc\x82\xb7\x81\x42", "\x82\xb5\x82\xbd\x81\x42"};
// データ ファイル システム, and ASCII words between spaces.
const char* const Others[] = {"\x83\x66\x81\x5b\x83\x5e", "\x83\x74\x83\x40\x83\x43\x83\x8b",
                              "\x83\x56\x83\x58\x83\x65\x83\x80", " file ", " OK ", " 2026 ", "\x81\x41"};
const char* const Nihon = "\x93\xfa\x96\x7b";                    // 日本
const char* const NihonAfter[] = {"\x90\x6c", "\x8d\x91", "\x92\x86", "\x8a\x43", "\x94\xc5"};  // 人 国 中 海 版

// Lines of Japanese prose; 日本 and another kanji stand on most lines, 日本語 on every 13th.
std::string GenerateJapaneseText() {
  std::string Text;
  Text.reserve(TargetBytes + 400);
  uint32_t Seed = 54321;
  const auto Next = [&Seed](uint32_t N) {
    Seed = Seed * 1103515245u + 12345u;
    return (Seed >> 8) % N;
  };
  constexpr uint32_t KanjiCount = sizeof Kanji / sizeof Kanji[0];
  const auto ZipfKanji = [&] {
    uint32_t R = KanjiCount;
    while (R >= KanjiCount) R = static_cast<uint32_t>(std::pow(KanjiCount + 1.0, Next(10000) / 10000.0)) - 1;
    return Kanji[R];
  };
  for (size_t Line = 0; Text.size() < TargetBytes; ++Line) {
    const size_t Start = Text.size();
    if (Next(10) < 8) Text.append(Nihon).append(NihonAfter[Next(5)]).append(Kana[Next(9)]);
    while (Text.size() - Start < 80) {
      const uint32_t K = Next(10);
      if (K < 6) Text.append(ZipfKanji()).append(ZipfKanji()).append(Kana[Next(9)]);
      else if (K < 8) Text.append(Others[Next(7)]);
      else Text.append(Endings[Next(3)]);
    }
    if (Line % 13 == 0) Text.append("\x93\xfa\x96\x7b\x8c\xea").append(Endings[Next(3)]);  // 日本語
    Text += "\r\n";
  }
  return Text;
}

struct TData {
  std::vector<std::string> Lines;
  TData() {
    std::string Text = GenerateText();
    WriteFileBytes(TextPath, Text);
    WriteFileBytes(JapanesePath, GenerateJapaneseText());
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
// The text of Path loaded in an editor, as the viewer holds it; one editor per text.
TEditorEx& LoadedEditor(const char* Path) {
  (void)Data();
  static TEditorEx Ascii(nullptr, TPlatform{}), Japanese(nullptr, TPlatform{});
  TEditorEx& Editor = Path == TextPath ? Ascii : Japanese;
  if (Editor.Lines().Count() == 0) Editor.Lines().LoadFromFile(Path);
  return Editor;
}

// Every hit in turn, from the start of the text forward or from its end back.
void RunStepping(benchmark::State& State, const char* Find, TExSearchOptions Options, bool Back = false,
                 const char* Path = TextPath) {
  TEditorEx& E = LoadedEditor(Path);
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

const char* const NihonGo = "\x93\xfa\x96\x7b\x8c\xea";                  // 日本語
const char* const NihonGoOrSake = "\x93\xfa\x96\x7b(\x8c\xea|\x8e\xf0)";  // 日本(語|酒)
void BM_FindNextJapanese(benchmark::State& State) { RunStepping(State, NihonGo, {soMatchCase}, false, JapanesePath); }
void BM_FindNextJapaneseFolded(benchmark::State& State) { RunStepping(State, NihonGo, {}, false, JapanesePath); }
void BM_FindNextJapaneseWord(benchmark::State& State) {
  RunStepping(State, NihonGo, {soMatchCase, soWholeWord}, false, JapanesePath);
}
void BM_FindNextJapaneseRegexp(benchmark::State& State) {
  RunStepping(State, NihonGoOrSake, {soRegexp}, false, JapanesePath);
}
void BM_GrepJapanese(benchmark::State& State) {
  RunShell(State, std::string("LC_ALL=C grep -c ") + NihonGo + " " + JapanesePath + CountPath);
}
void BM_GrepJapaneseRegexp(benchmark::State& State) {
  RunShell(State, std::string("LC_ALL=C grep -cE '") + NihonGoOrSake + "' " + JapanesePath + CountPath);
}
// Needles none of which is in the Japanese text, so the content test reads it whole: a frequent word
// plus a kanji, hiragana, half-width katakana, an ASCII word, expressions; with the grep command for
// the same bytes. The options index: 0 match case, 1 without case, 2 expression.
struct TAbsent {
  const char* Find;
  int Options;
  const char* Grep;
};
const TAbsent Absent[] = {
    {"\x93\xfa\x96\x7b\x8e\xf0", 0, "-cF"},                             // 日本酒
    {"\x93\xfa\x96\x7b\x8e\xf0", 1, "-ciF"},
    {"\x82\xb7\x82\xdd\x82\xdc\x82\xb9\x82\xf1", 0, "-cF"},         // すみません
    {"\xc3\xbd\xc4", 0, "-cF"},                                           // ﾃｽﾄ
    {"needle", 1, "-ciF"},
    {"\x93\xfa\x96\x7b(\x8e\xf0|\x92\x83)", 2, "-cE"},                // 日本(酒|茶)
    {"\x82\xb7\x82\xdd\x82\xdc\x82\xb9\x82\xf1|\x93\x73\x92\xa1", 2, "-cE"},  // すみません|都庁
};
const TExSearchOptions AbsentOptions[] = {{soMatchCase}, {}, {soRegexp}};

// The content test's first step on a loaded file: whether its bytes can hold a hit at all.
void BM_ContentTestJapanese(benchmark::State& State) {
  const TAbsent& A = Absent[State.range(0)];
  (void)Data();
  static const std::string Text = ReadFileBytes(JapanesePath);
  TEditorExSearch S;
  S.SetFindString(A.Find);
  S.SetExSearchOptions(AbsentOptions[A.Options]);
  for (auto _ : State) benchmark::DoNotOptimize(S.FirstCandidate(Text, 0));
  State.SetBytesProcessed(static_cast<int64_t>(State.iterations() * Text.size()));
}
void BM_GrepContentJapanese(benchmark::State& State) {
  const TAbsent& A = Absent[State.range(0)];
  // No line matches, so grep fails by its exit code.
  RunShell(State, std::string("LC_ALL=C grep ") + A.Grep + " '" + A.Find + "' " + JapanesePath + CountPath + " || true");
}

void BM_EditorReplaceAllJapanese(benchmark::State& State) {
  int Count = 0;
  for (auto _ : State) {
    State.PauseTiming();
    TEditorEx E(nullptr, TPlatform{});
    E.Lines().LoadFromFile(JapanesePath);
    E.SetFindString(NihonGo);
    E.SetExSearchOptions({soMatchCase});
    State.ResumeTiming();
    Count = E.ReplaceAll("\x93\xfa\x96\x7b", true);
    E.Lines().SaveToFile(CopyPath);
  }
  State.counters["replaced"] = Count;
}
void BM_SedReplaceJapanese(benchmark::State& State) {
  RunShell(State, std::string("LC_ALL=C sed 's/") + NihonGo + "/\x93\xfa\x96\x7b/g' " + JapanesePath + " > " + CopyPath);
}

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
BENCHMARK(BM_FindNextJapanese)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_GrepJapanese)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_FindNextJapaneseFolded)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_FindNextJapaneseWord)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_FindNextJapaneseRegexp)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_GrepJapaneseRegexp)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ContentTestJapanese)->DenseRange(0, 6)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_GrepContentJapanese)->DenseRange(0, 6)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_EditorReplaceAllJapanese)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);
BENCHMARK(BM_SedReplaceJapanese)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_EditorReplaceAll)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);
BENCHMARK(BM_ReplaceLines)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SedReplace)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
