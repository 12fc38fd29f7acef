// Typing and Enter one key at a time in the middle of a one-million-row text, caret update and
// undo item included; reports the median and the 99th percentile per key.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "editor/Editor.h"

namespace tesvarin {
namespace {

constexpr int Rows = 1000000;
constexpr int Keys = 10000;

std::unique_ptr<TEditor> MillionRowEditor() {
  std::string Text;
  Text.reserve(static_cast<size_t>(Rows) * 40);
  for (int I = 0; I < Rows; ++I) Text.append("    row text \x82\xa0\x82\xa2 of a long file ").append(std::to_string(I)).append("\r\n");
  auto E = std::make_unique<TEditor>(nullptr, TPlatform{});
  E->Lines().SetLinesText(Text);
  E->SetRowCol(Rows / 2, 10);
  return E;
}

void Report(benchmark::State& State, std::vector<double>& Micros) {
  std::sort(Micros.begin(), Micros.end());
  State.counters["median_us"] = Micros[Micros.size() / 2];
  State.counters["p99_us"] = Micros[Micros.size() * 99 / 100];
}

template <class Press>
void TimeKeys(benchmark::State& State, Press&& Fn) {
  auto E = MillionRowEditor();
  std::vector<double> Micros;
  Micros.reserve(Keys);
  for (auto _ : State) {
    for (int I = 0; I < Keys; ++I) {
      const auto T0 = std::chrono::steady_clock::now();
      Fn(*E, I);
      const auto T1 = std::chrono::steady_clock::now();
      Micros.push_back(std::chrono::duration<double, std::micro>(T1 - T0).count());
    }
  }
  Report(State, Micros);
}

void BM_TypeInTheMiddle(benchmark::State& State) {
  TimeKeys(State, [](TEditor& E, int I) { E.KeyPress(I % 3 == 0 ? std::string_view("\x82\xa0") : "x"); });
}
BENCHMARK(BM_TypeInTheMiddle)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_EnterInTheMiddle(benchmark::State& State) {
  TimeKeys(State, [](TEditor& E, int) { E.KeyPress("\r"); });
}
BENCHMARK(BM_EnterInTheMiddle)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tesvarin

