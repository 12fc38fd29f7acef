// One full frame of the editor (1920 x 1080, about 60 rows of 200 columns) painted through PaintRect
// into a canvas that only counts its calls: coloured Japanese text with word wrap, the same frame at
// the top, middle and end of a million-row text, and in a row of a 10 MB line without a break.
//   build-bench/bench/paint/paint_bench --benchmark_repetitions=10 --benchmark_report_aggregates_only
#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <string>

#include "editor/EditorEx.h"
#include "editor/view/EditorScroll.h"
#include "editor/settings/EditorViewInfo.h"
#include "highlighter/EditorHighlighter.h"

namespace tesvarin {
namespace {

class CountingCanvas : public ICanvas {
public:
  void FillRect(const TRect&, TColor) override { ++Fills; }
  void FrameRect(const TRect&, TColor) override { ++Lines; }
  void Line(int, int, int, int, TColor) override { ++Lines; }
  void SetFont(const TFontSpec&) override { ++States; }
  void SetBrushColor(TColor) override { ++States; }
  void TextOut(int, int, const TRect&, std::string_view Text, int, bool) override {
    ++Texts;
    Bytes += Text.size();
  }
  void DrawImage(int, int, const TImage&, int, int) override { ++Images; }
  void DrawImageRect(int, int, const TImage&, const TRect&) override { ++Images; }
  [[nodiscard]] TTextMetrics TextMetrics() const override { return {18, 0, 9, 14}; }
  int64_t Fills = 0, Lines = 0, States = 0, Texts = 0, Images = 0;
  size_t Bytes = 0;
};

class FrameWindow : public IEditorWindow {
public:
  [[nodiscard]] int ClientWidth() const override { return 1920; }
  [[nodiscard]] int ClientHeight() const override { return 1080; }
  [[nodiscard]] bool Focused() const override { return true; }
  void SetFocus() override {}
  [[nodiscard]] TTextMetrics FontMetrics(const TFontSpec&) const override { return {18, 0, 9, 14}; }
  [[nodiscard]] int HorzScrollBarHeight() const override { return 16; }
  [[nodiscard]] int VertScrollArrowHeight() const override { return 16; }
  void Invalidate(const TRect&) override {}
  void Update() override {}
  void ScrollArea(const TRect&, int, int) override {}
  void CreateCaret(int, int) override {}
  void SetCaretPos(TPoint) override {}
  void ShowCaret() override {}
  void HideCaret() override {}
  void ShowScrollBars(bool, bool) override {}
  void SetScrollRange(bool, int, int, int) override {}
  void SetScrollPos(bool, int) override {}
  void SetImePos(TPoint) override {}
  void PopupContextMenu(TPoint) override {}
};

// Lines of kanji, kana, ASCII words and numbers, with a URL and a mail address now and then.
std::string JapaneseText(int Lines, std::mt19937& Rng, size_t Spread = 260) {
  static const char* const Pieces[] = {"\x93\xfa\x96\x7b\x8c\xea",   // kanji
                                       "\x82\xcd\x82\xa9\x82\xe8",   // hiragana
                                       "\x83\x65\x83\x4c\x83\x58\x83\x67",  // katakana
                                       "\x81\x41", "word ", "search ", "12345 ", "3.14 ", "(x) ", "\"str\" "};
  std::string Text;
  for (int L = 0; L < Lines; ++L) {
    const size_t Target = 40 + Rng() % Spread;
    const size_t Start = Text.size();
    while (Text.size() - Start < Target) Text += Pieces[Rng() % std::size(Pieces)];
    if (L % 25 == 3) Text += " http://example.jp/index.html ";
    if (L % 25 == 11) Text += " user@example.jp ";
    Text += "\r\n";
  }
  return Text;
}

struct TFrame {
  FrameWindow Window;
  TEditorEx Editor{&Window, TPlatform{}};
  CountingCanvas Canvas;

  explicit TFrame(bool Wrap) {
    Editor.SetScrollBars(ssVertical);
    Editor.Imagebar().SetVisible(false);
    Editor.ExMarks().FindMark().SetVisible(true);
    Editor.ExMarks().FindMark().SetColor(clRed);
    Editor.SetFindString("search");
    TEditorColors& C = Editor.View().Colors();
    C.Ank().SetColor(clNavy);
    C.DBCS().SetColor(clMaroon);
    C.Int().SetColor(clRed);
    C.Str().SetColor(clPurple);
    C.Symbol().SetColor(clTeal);
    C.Url().SetColor(clBlue);
    C.Url().SetStyle({fsUnderline});
    C.Mail().SetColor(clBlue);
    Editor.WrapOption().SetWrapByte(200);
    Editor.SetWordWrap(Wrap);
  }
  void Paint(benchmark::State& State) {
    const TRect All{0, 0, Window.ClientWidth(), Window.ClientHeight()};
    Editor.PaintRect(Canvas, All);  // the colouring states of the rows shown are computed once
    Canvas = CountingCanvas();
    for (auto _ : State) Editor.PaintRect(Canvas, All);
    const double Frames = static_cast<double>(State.iterations());
    const double Rows = Editor.Scroll().VisibleRows() + 1;
    State.counters["rows"] = Rows;
    State.counters["cols"] = Editor.Scroll().VisibleCols();
    State.counters["texts_per_row"] = static_cast<double>(Canvas.Texts) / Frames / Rows;
    State.counters["calls_per_frame"] =
        static_cast<double>(Canvas.Texts + Canvas.Fills + Canvas.Lines + Canvas.Images + Canvas.States) / Frames;
  }
};

void BM_FullFrameJapaneseWrapped(benchmark::State& State) {
  std::mt19937 Rng(932);
  TFrame F(true);
  F.Editor.Lines().SetLinesText(JapaneseText(200, Rng));
  F.Paint(State);
}
BENCHMARK(BM_FullFrameJapaneseWrapped)->Unit(benchmark::kMicrosecond);

TFrame& MillionRows() {
  static TFrame* F = [] {
    std::mt19937 Rng(932);
    auto* Frame = new TFrame(true);
    Frame->Editor.Lines().SetLinesText(JapaneseText(1000000, Rng, 150));
    return Frame;
  }();
  return *F;
}

void BM_MillionRowText(benchmark::State& State) {
  TFrame& F = MillionRows();
  const int Rows = F.Editor.RowCount();
  const int Top = State.range(0) == 0 ? 0 : State.range(0) == 1 ? Rows / 2 : Rows - F.Editor.Scroll().VisibleRows();
  F.Editor.SetTopRow(Top);
  F.Paint(State);
}
BENCHMARK(BM_MillionRowText)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

// 10 MB of Japanese text without a line break.
std::string TenMegabyteLine() {
  std::mt19937 Rng(932);
  std::string Line = JapaneseText(60000, Rng);
  for (size_t I = 0; I + 1 < Line.size(); ++I)
    if (Line[I] == '\r' && Line[I + 1] == '\n') Line.replace(I, 2, "  ");
  Line.resize(10u * 1024u * 1024u, 'x');
  return Line;
}

// Arg 0: the line is one row of 10 MB; arg 1: word wrap cuts it into rows, the frame in the middle.
void BM_TenMegabyteSingleLine(benchmark::State& State) {
  TFrame F(State.range(0) == 1);
  F.Editor.Lines().SetLinesText(TenMegabyteLine());
  F.Editor.SetTopRow(F.Editor.RowCount() / 2);
  F.Paint(State);
}
BENCHMARK(BM_TenMegabyteSingleLine)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// Loading that line with word wrap on: cutting it into rows must stay linear in its length.
void BM_TenMegabyteSingleLineWrappedLoad(benchmark::State& State) {
  const std::string Line = TenMegabyteLine();
  TFrame F(true);
  for (auto _ : State) F.Editor.Lines().SetLinesText(Line);
  State.counters["rows"] = F.Editor.RowCount();
}
BENCHMARK(BM_TenMegabyteSingleLineWrappedLoad)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tesvarin

BENCHMARK_MAIN();
