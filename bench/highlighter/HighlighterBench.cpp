// Colouring figures over a 100 MB Shift-JIS text held in the row store: the state of every row
// computed from the top, and every row tokenized from its stored state as the painter does.
// compare.sh puts them beside a word count of the same file.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <random>
#include <string>

#include "editor/text/EditorScreenStrings.h"
#include "editor/text/EditorStrings.h"
#include "editor/FakeEditorView.h"
#include "highlighter/EditorHighlighter.h"
#include "support/StringList.h"

namespace tesvarin {
namespace {

std::string BenchPath() {
  const char* Env = std::getenv("TESVARIN_HL_BENCH_FILE");
  return Env != nullptr && *Env != '\0' ? Env : "/tmp/tesvarin_highlighter_bench_100mb.txt";
}

// Kanji, kana, ASCII words, numbers, strings, URLs and comments that open on one line and close a
// few lines later; the same seed always gives the same bytes.
std::string GenerateText() {
  std::mt19937 Rng(11);
  const char* Pieces[] = {"\x8A\xBF\x8E\x9A",         "\x93\xFA\x96\x7B\x8C\xEA", "\x82\xA9\x82\xC8",
                          "\x83\x4A\x83\x5E\x83\x4A", "\xB6\xC0\xB6\xC5",         "begin",
                          "value_1",                  "end",                      "12345",
                          "3.14e-2",                  "0x1F",                     "\"str \"\"q\"\" \"",
                          "'\x95\xB6\x8E\x9A'",       "http://example.test/a?b=1", "www.host.test",
                          "user@mail.test",           "\t",                       "(",
                          ")",                        ";"};
  constexpr size_t PieceCount = sizeof(Pieces) / sizeof(Pieces[0]);
  std::string Out;
  Out.reserve(105u << 20);
  int CommentRows = 0;
  while (Out.size() < (100u << 20)) {
    const size_t Len = 20 + Rng() % 100;
    const size_t Start = Out.size();
    if (CommentRows == 0 && Rng() % 20 == 0) {
      Out += "/* ";
      CommentRows = 1 + static_cast<int>(Rng() % 4);
    }
    while (Out.size() - Start < Len) {
      Out += Pieces[Rng() % PieceCount];
      Out += ' ';
    }
    if (CommentRows > 0 && --CommentRows == 0) Out += " */";
    Out += "\r\n";
  }
  return Out;
}

const std::string& BigFile() {
  static const std::string Path = [] {
    std::string P = BenchPath();
    WriteFileBytes(P, GenerateText());
    return P;
  }();
  return Path;
}

// The row store of the file with an editor whose colouring scheme has a comment bracket.
struct ColouredStore {
  std::unique_ptr<TEditorHighlighter> H = THighlighter::New<TEditorHighlighter>();
  TEditorScreenStrings Rows;
  FakeEditorView View;
  TEditorStrings Lines{Rows, &View};

  ColouredStore() {
    auto& B = H->Brackets().AddItem();
    B.SetLeftBracket("/*");
    B.SetRightBracket("*/");
    H->SetQuotation("\"");
    H->SetUrl(true);
    H->SetMail(true);
    H->SetHexPrefix("0x");
    TStringList Words;
    Words.Add("begin");
    Words.Add("end");
    H->SetReserveWordList(Words);
    View.BracketsFull = true;
    View.Provider = H.get();
    Rows.AttachEditor(View);
    Lines.LoadFromFile(BigFile());
  }
};

void BM_RowStatesOfEveryRow(benchmark::State& State) {
  ColouredStore S;
  int Open = 0;
  for (auto _ : State) {
    S.Rows.RefreshAllRowStates();
    benchmark::DoNotOptimize(S.Rows.LastRefreshedRow());
  }
  for (int R = 0; R < S.Rows.Count(); ++R) Open += S.Rows.RowState(R).BracketIndex == 0 ? 1 : 0;
  State.counters["rows"] = S.Rows.Count();
  State.counters["rows_in_comment"] = Open;
  State.SetBytesProcessed(static_cast<int64_t>(State.iterations()) * (100 << 20));
}
BENCHMARK(BM_RowStatesOfEveryRow)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_PaintTokensOfEveryRow(benchmark::State& State) {
  ColouredStore S;
  S.Rows.RefreshAllRowStates();
  auto P = S.H->NewParser();
  int64_t Tokens = 0;
  std::string Joined;
  for (auto _ : State) {
    Tokens = 0;
    const int Count = S.Rows.Count();
    for (int R = 0; R < Count; ++R) {
      // A wrapped row is scanned with the next row appended, and painted up to its own end.
      const std::string_view Own = S.Rows.RowText(R);
      const TRowAttributeData State = S.Rows.RowState(R);
      if (S.Rows.RowAttribute(R) == raWrapped && R + 1 < Count) {
        Joined.assign(Own);
        Joined.append(S.Rows.RowText(R + 1));
        P->SetRowText(Joined, State);
      } else {
        P->SetRowText(Own, State);
      }
      const int Length = static_cast<int>(Own.size());
      while (P->NextToken() != ttEnd && P->TokenPos() < Length) {
        benchmark::DoNotOptimize(P->TokenColor());
        ++Tokens;
      }
    }
  }
  State.counters["tokens"] = static_cast<double>(Tokens);
  State.SetBytesProcessed(static_cast<int64_t>(State.iterations()) * (100 << 20));
}
BENCHMARK(BM_PaintTokensOfEveryRow)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace tesvarin

BENCHMARK_MAIN();
