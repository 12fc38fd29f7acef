// Painting the whole window at once and painting it in random strips must leave the same pixels:
// any disagreement between rectangles, rows and columns shows up as a differing pixel.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "editor/FakeEditorWindow.h"
#include "editor/RasterCanvas.h"
#include "editor/EditorEx.h"
#include "editor/view/EditorScroll.h"
#include "editor/caret/EditorSelection.h"
#include "editor/settings/EditorViewInfo.h"
#include "highlighter/EditorHighlighter.h"

namespace tesvarin {
namespace {

constexpr int Width = 300;
constexpr int Height = 160;

std::string RandomText(std::mt19937& Rng) {
  static const char* const Pieces[] = {"word ", "\t", "\x82\xa0\x82\xa2", "\x8a\xbf\x8e\x9a", "12345 ", "x = y; ",
                                       "\x81\x40", "  ", "http://a.jp/x ", "a@b.jp ", "\"str\" ", "(b) ", "\r\n"};
  std::string Text;
  const int Pieces_ = static_cast<int>(Rng() % 120);
  for (int I = 0; I < Pieces_; ++I) Text += Pieces[Rng() % std::size(Pieces)];
  if (Rng() % 4 == 0) Text += std::string(990 + Rng() % 30, 'z') + "\x82\xa0\r\nend";
  return Text;
}

void Configure(TEditorEx& E, std::mt19937& Rng) {
  const auto Coin = [&Rng] { return Rng() % 2 == 0; };
  E.Imagebar().SetVisible(Coin());
  E.Leftbar().SetVisible(Coin());
  E.Leftbar().SetEdge(Coin());
  E.Ruler().SetVisible(Coin());
  E.Ruler().SetEdge(Coin());
  E.Margin().SetLine(static_cast<int>(Rng() % 3));
  for (TEditorMark* M : {&E.Marks().EofMark(), &E.Marks().RetMark(), &E.Marks().WrapMark(), &E.Marks().HideMark(),
                         &E.Marks().Underline()}) {
    M->SetVisible(Coin());
  }
  for (TEditorMark* M : {&E.ExMarks().DBSpaceMark(), &E.ExMarks().SpaceMark(), &E.ExMarks().TabMark()}) {
    M->SetVisible(Coin());
    M->SetColor(clBlue);
  }
  E.ExMarks().FindMark().SetVisible(true);
  E.ExMarks().FindMark().SetColor(clRed);
  TEditorColors& C = E.View().Colors();
  C.Int().SetColor(clRed);
  C.Ank().SetBkColor(Coin() ? clYellow : clNone);
  C.DBCS().SetStyle(Coin() ? TFontStyles{fsUnderline} : TFontStyles{});
  C.Url().SetStyle(Rng() % 4 == 0 ? TFontStyles{fsItalic} : TFontStyles{fsBold});
  E.WrapOption().SetWrapByte(20 + static_cast<int>(Rng() % 30));
  E.SetWordWrap(Coin());
  E.SetFindString(Coin() ? "wo" : "\x82\xa2");
}

void Select(TEditorEx& E, std::mt19937& Rng) {
  const int Rows = std::max(E.RowCount(), 1);
  switch (Rng() % 4) {
    case 0: break;
    case 1:
      E.SetSelectionMode(Rng() % 2 == 0);
      E.SetRowCol(static_cast<int>(Rng() % Rows), static_cast<int>(Rng() % 30));
      E.Selection().Start();
      E.SetRowCol(static_cast<int>(Rng() % Rows), static_cast<int>(Rng() % 30));
      E.Selection().Extend();
      break;
    default:
      E.SetHitStyle(hsDraw);
      E.SetRowCol(static_cast<int>(Rng() % Rows), static_cast<int>(Rng() % 10));
      E.ShowHit(static_cast<int>(Rng() % 12));
      break;
  }
}

// Splits the window into columns of random widths, each into rows of random heights.
std::vector<TRect> RandomStrips(std::mt19937& Rng) {
  std::vector<TRect> Out;
  for (int X = 0; X < Width;) {
    const int X2 = std::min(Width, X + 1 + static_cast<int>(Rng() % 90));
    for (int Y = 0; Y < Height;) {
      const int Y2 = std::min(Height, Y + 1 + static_cast<int>(Rng() % 50));
      Out.push_back({X, Y, X2, Y2});
      Y = Y2;
    }
    X = X2;
  }
  std::shuffle(Out.begin(), Out.end(), Rng);
  return Out;
}

class EditorPaintDifferential : public ::testing::TestWithParam<int> {};

TEST_P(EditorPaintDifferential, WholeWindowEqualsRandomStrips) {
  std::mt19937 Rng(static_cast<unsigned>(GetParam()));
  for (int Round = 0; Round < 12; ++Round) {
    FakeEditorWindow Window;
    Window.Width = Width;
    Window.Height = Height;
    TEditorEx E(&Window, TPlatform{});
    Configure(E, Rng);
    E.Lines().SetLinesText(RandomText(Rng));
    Select(E, Rng);
    E.SetTopRow(static_cast<int>(Rng() % (E.RowCount() + 1)));
    E.SetLeftCol(Rng() % 3 == 0 ? static_cast<int>(Rng() % 1000) : static_cast<int>(Rng() % 5));
    RasterCanvas Whole(Width, Height);
    E.PaintRect(Whole, {0, 0, Width, Height});
    RasterCanvas Strips(Width, Height);
    for (const TRect& R : RandomStrips(Rng)) E.PaintRect(Strips, R);
    int Differing = 0;
    TPoint First{-1, -1};
    for (int Y = 0; Y < Height; ++Y)
      for (int X = 0; X < Width; ++X)
        if (Whole.Pixel(X, Y) != Strips.Pixel(X, Y)) {
          if (Differing++ == 0) First = {X, Y};
        }
    ASSERT_EQ(Differing, 0) << "round " << Round << ", first at " << First.X << "," << First.Y << ", top row "
                            << E.TopRow() << ", left col " << E.LeftCol();
    // Nothing is left unpainted.
    EXPECT_EQ(Whole.Count({0, 0, Width, Height}, RasterCanvas::Unpainted), 0) << "round " << Round;
  }
}

INSTANTIATE_TEST_SUITE_P(Seeds, EditorPaintDifferential, ::testing::Range(1, 17));

}  // namespace
}  // namespace tesvarin
