// SelectAll + GetSelText of a 100 MB text loaded in the editor, against a plain copy of its bytes.
#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <string>

#include "editor/Editor.h"

namespace tesvarin {
namespace {

constexpr size_t TextBytes = 100u * 1024u * 1024u;

// Lines of 20 to 140 bytes mixing ASCII words, tabs and double-byte characters, CR LF breaks.
std::string MakeText() {
  std::mt19937 Rng(932);
  std::string Out;
  Out.reserve(TextBytes + 256);
  const char* Pieces[] = {"word ", "\t", "\x82\xa0\x82\xa2", "\x8a\xbf\x8e\x9a", "12345 ", "x = y; "};
  while (Out.size() < TextBytes) {
    const size_t Target = 20 + Rng() % 120;
    const size_t Start = Out.size();
    while (Out.size() - Start < Target) Out += Pieces[Rng() % 6];
    Out += "\r\n";
  }
  return Out;
}

struct TLoaded {
  std::string Text = MakeText();
  std::unique_ptr<TEditor> Editor;
  TLoaded() : Editor(std::make_unique<TEditor>(nullptr, TPlatform{})) { Editor->Lines().SetLinesText(Text); }
};

TLoaded& Loaded() {
  static TLoaded L;
  return L;
}

void BM_PlainCopy(benchmark::State& State) {
  const std::string& Text = Loaded().Text;
  for (auto _ : State) {
    std::string Copy = Text;
    benchmark::DoNotOptimize(Copy.data());
  }
  State.SetBytesProcessed(static_cast<int64_t>(State.iterations()) * static_cast<int64_t>(Text.size()));
}

void BM_SelectAllGetSelText(benchmark::State& State) {
  TEditor& E = *Loaded().Editor;
  for (auto _ : State) {
    E.SelectAll();
    std::string Sel = E.GetSelText();
    benchmark::DoNotOptimize(Sel.data());
    if (Sel.size() != Loaded().Text.size()) State.SkipWithError("selected text differs in length");
  }
  State.SetBytesProcessed(static_cast<int64_t>(State.iterations()) * static_cast<int64_t>(Loaded().Text.size()));
}

BENCHMARK(BM_PlainCopy)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_SelectAllGetSelText)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace
}  // namespace tesvarin

BENCHMARK_MAIN();
