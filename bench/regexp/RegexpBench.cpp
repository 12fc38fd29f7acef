// The hot path of the editor search, SetRegExp + Match once per line, over a generated 50 MB text,
// with RE2 (Latin-1, per line) beside it. Extra modes serve compare.sh:
//   regexp_bench gen PATH        writes the text
//   regexp_bench patterns        prints "name<TAB>grep-mode<TAB>hex of the byte-wise peer pattern"
//   regexp_bench explode         matches the exploding expression over 1 MB and prints the resident peak
#include <benchmark/benchmark.h>
#include <re2/re2.h>
#include <sys/resource.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "BenchText.h"
#include "regexp/REMatchStr.h"
#include "support/Sjis.h"

using namespace tesvarin;

namespace {

struct Pattern {
  const char* Name;
  const char* Expr;      // the engine's expression
  bool Fuzzy;
  const char* GrepMode;  // -F or -E
  const char* Peer;      // the same search as a byte-wise ERE for grep -E and RE2; empty: the fuzzy expansion
};

const Pattern Patterns[] = {
    {"ascii_literal", "kernel", false, "-F", "kernel"},
    {"japanese_literal", "\x95\x5C\x8E\xA6", false, "-F", "\x95\\\\\x8E\xA6"},
    {"katakana_class", "[\x83\x40-\x83\x96]+\x81\x5B", false, "-E", "(\x83[\x40-\x96])+\x81\\["},
    {"five_words", "alpha|delta|\x83\x5C\x81\x5B\x83\x58|\x95\x5C\x8E\xA6|window", false, "-E",
     "alpha|delta|\x83\\\\\x81\\[\x83\x58|\x95\\\\\x8E\xA6|window"},
    {"anchored", "^search.*2026$", false, "-E", "^search.*2026\r?$"},
    {"closures", "alpha.*kernel.*line", false, "-E", "alpha.*kernel.*line"},
    {"fuzzy_kana4", "\x83\x65\x83\x4C\x83\x58\x83\x67", true, "-E", ""},
};

constexpr size_t TextBytes = size_t{50} << 20;

const std::vector<std::string>& Lines() {
  static const std::vector<std::string> L = bench::SplitLines(bench::MakeText(TextBytes));
  return L;
}

// A trail byte that is an ERE metacharacter is escaped, so a byte-wise peer reads it literally.
std::string EscapeTrailBytes(const std::string& S) {
  std::string Out;
  for (size_t I = 0; I < S.size(); ++I) {
    Out += S[I];
    if (!IsLeadByte(S[I]) || I + 1 >= S.size()) continue;
    if (std::strchr("\\[](){}|*+?.^$", S[I + 1]) != nullptr) Out += '\\';
    Out += S[++I];
  }
  return Out;
}

std::string PeerPattern(const Pattern& P) {
  if (P.Peer[0] != '\0') return P.Peer;
  TREMatchStr M;
  M.SetUseFuzzyCharDic(true);
  M.SetRegExp(P.Expr);
  return EscapeTrailBytes(M.CacheString(M.CurrentIndex()));
}

// grep -F takes the expression itself; -E and RE2 take the escaped byte-wise form.
std::string GrepPattern(const Pattern& P) { return std::strcmp(P.GrepMode, "-F") == 0 ? P.Expr : PeerPattern(P); }

void EngineScan(benchmark::State& State, const Pattern& P) {
  TREMatchStr M;
  M.SetUseFuzzyCharDic(P.Fuzzy);
  // The editor keeps its search text as a string and sets it again before every line.
  const std::string Expr = P.Expr;
  size_t Bytes = 0, Hits = 0;
  for (auto _ : State) {
    Hits = 0;
    for (const std::string& L : Lines()) {
      M.SetRegExp(Expr);
      int Pos = 0, Len = 0;
      if (M.Match(L, Pos, Len) > 0) ++Hits;
      Bytes += L.size() + 2;
    }
  }
  State.SetBytesProcessed(static_cast<int64_t>(Bytes));
  State.counters["lines"] = static_cast<double>(Hits);
}

void Re2Scan(benchmark::State& State, const Pattern& P) {
  RE2::Options O;
  O.set_encoding(RE2::Options::EncodingLatin1);
  O.set_log_errors(false);
  const RE2 Re(PeerPattern(P), O);
  size_t Bytes = 0, Hits = 0;
  for (auto _ : State) {
    Hits = 0;
    for (const std::string& L : Lines()) {
      if (RE2::PartialMatch(L, Re)) ++Hits;
      Bytes += L.size() + 2;
    }
  }
  State.SetBytesProcessed(static_cast<int64_t>(Bytes));
  State.counters["lines"] = static_cast<double>(Hits);
}

// Every iteration compiles an expression the cache does not hold (more variants than entries).
void CompileNew(benchmark::State& State, bool Fuzzy) {
  TREMatchStr M;
  M.SetUseFuzzyCharDic(Fuzzy);
  const std::string Base = Fuzzy ? "\x82\xC4\x82\xAB\x82\xB7\x82\xC6\x82\xD3\x82\x9F\x82\xA2\x82\xE9\x82\xF0"
                                 : "file[0-9]+\\.(txt|ini)|";
  std::vector<std::string> Variants;
  for (char C = 'a'; C <= 'z'; ++C) Variants.push_back(Base + C);
  for (char C = '0'; C <= '9'; ++C) Variants.push_back(Base + C);
  size_t I = 0;
  for (auto _ : State) M.SetRegExp(Variants[I++ % Variants.size()]);
}

long ResidentPeakKb() {
  rusage U{};
  getrusage(RUSAGE_SELF, &U);
  return U.ru_maxrss;
}

int Explode() {
  std::string E = "(a|b)*a";
  for (int I = 0; I < 20; ++I) E += "(a|b)";
  std::string Text;
  uint32_t S = 1;
  while (Text.size() < (size_t{1} << 20)) {
    S = S * 1664525u + 1013904223u;
    Text += (S >> 16) & 1 ? 'a' : 'b';
  }
  TREMatchStr M;
  M.SetRegExp(E);
  int Pos = 0, Len = 0;
  M.Match(Text, Pos, Len);
  std::printf("explode match %d %d states %d flushes %d peak_rss_kb %ld\n", Pos, Len, M.DFA().StateCount(),
              M.DFA().FlushCount(), ResidentPeakKb());
  return 0;
}

int WriteText(const char* Path) {
  std::ofstream Out(Path, std::ios::binary);
  const std::string T = bench::MakeText(TextBytes);
  Out.write(T.data(), static_cast<std::streamsize>(T.size()));
  return Out ? 0 : 1;
}

std::string Hex(const std::string& S) {
  std::string Out;
  char Buf[3];
  for (unsigned char C : S) {
    std::snprintf(Buf, sizeof Buf, "%02x", C);
    Out += Buf;
  }
  return Out;
}

}  // namespace

int main(int Argc, char** Argv) {
  if (Argc == 3 && std::strcmp(Argv[1], "gen") == 0) return WriteText(Argv[2]);
  if (Argc == 2 && std::strcmp(Argv[1], "explode") == 0) return Explode();
  if (Argc == 2 && std::strcmp(Argv[1], "patterns") == 0) {
    for (const Pattern& P : Patterns) std::printf("%s\t%s\t%s\n", P.Name, P.GrepMode, Hex(GrepPattern(P)).c_str());
    return 0;
  }
  for (const Pattern& P : Patterns) {
    benchmark::RegisterBenchmark((std::string("Engine/") + P.Name).c_str(), EngineScan, P)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark((std::string("RE2/") + P.Name).c_str(), Re2Scan, P)->Unit(benchmark::kMillisecond);
  }
  benchmark::RegisterBenchmark("Compile/new", CompileNew, false)->Unit(benchmark::kMicrosecond);
  benchmark::RegisterBenchmark("Compile/fuzzy10", CompileNew, true)->Unit(benchmark::kMicrosecond);
  benchmark::Initialize(&Argc, Argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
