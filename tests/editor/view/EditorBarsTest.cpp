// The bars around the text: line numbers, the ruler's gauge, numbers and caret-column mark, the
// corner and the image bar.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "editor/FakeEditorWindow.h"
#include "editor/RasterCanvas.h"
#include "editor/Editor.h"
#include "editor/view/EditorBarImages.h"
#include "editor/view/EditorScroll.h"

namespace tesvarin {
namespace {

class EditorBarsTest : public ::testing::Test {
protected:
  static constexpr int W = 6;
  FakeEditorWindow Window;
  TEditor Editor{&Window, TPlatform{}};
  RasterCanvas Canvas{400, 200};

  EditorBarsTest() { Editor.Imagebar().SetVisible(false); }
  void Paint() {
    Canvas.Clear();
    Editor.PaintRect(Canvas, {0, 0, Window.Width, Window.Height});
  }
  // The leftbar number texts in row order, with the rows they stand in.
  std::vector<std::pair<int, std::string>> Numbers() const {
    std::vector<std::pair<int, std::string>> Out;
    const TEditorScroll& S = Editor.Scroll();
    for (const auto& T : Canvas.Texts)
      if (T.Clip.Right <= S.LeftOffset()) Out.emplace_back((T.Y - S.TopOffset()) / S.RowHeight(), T.Text);
    return Out;
  }
  // True when the glyph of digit D is drawn in Ink with its top left corner at (X, Y).
  bool GlyphAt(int X, int Y, int D, TColor Ink) const {
    const TImage& Glyphs = RulerDigitGlyphs();
    for (int Gy = 0; Gy < GlyphHeight; ++Gy)
      for (int Gx = 0; Gx < (D == 1 ? 3 : GlyphWidth); ++Gx)
        if ((Glyphs.Pixel(D * GlyphWidth + Gx, Gy) == clBlack) != (Canvas.Pixel(X + Gx, Y + Gy) == Ink)) return false;
    return true;
  }
};

TEST_F(EditorBarsTest, LeftbarNumbersRowsWithZeroLeadAndWidensForFiveDigits) {
  Editor.Leftbar().SetVisible(true);
  Editor.Leftbar().SetZeroLead(true);
  Editor.Lines().SetLinesText("a\r\nb\r\n");
  Paint();
  // The row after a final break is numbered; the blank rows below are only filled.
  using N = std::vector<std::pair<int, std::string>>;
  EXPECT_EQ(Numbers(), (N{{0, "0001"}, {1, "0002"}, {2, "0003"}}));
  EXPECT_EQ(Canvas.Texts.front().Brush, clSilver);
  EXPECT_EQ(Canvas.Pixel(9, Editor.Scroll().RowToY(5) + 3), clSilver);

  std::string Big;
  for (int I = 0; I < 12345; ++I) Big += "x\r\n";
  Big.resize(Big.size() - 2);
  Editor.Lines().SetLinesText(Big);
  EXPECT_EQ(Editor.Scroll().LeftbarDigits(), 5);
  EXPECT_EQ(Editor.Scroll().LeftbarWidth(), 8 + 5 * W + 4 + 2);
}

TEST_F(EditorBarsTest, LineModeLeavesContinuationRowsBlank) {
  Editor.Leftbar().SetVisible(true);
  Editor.Leftbar().SetShowNumberMode(nmLine);
  Editor.WrapOption().SetWrapByte(20);
  Editor.SetWordWrap(true);
  Editor.Lines().SetLinesText(std::string(50, 'x') + "\r\nshort");
  ASSERT_EQ(Editor.RowCount(), 4);
  Paint();
  using N = std::vector<std::pair<int, std::string>>;
  EXPECT_EQ(Numbers(), (N{{0, "   1"}, {3, "   2"}}));
}

TEST_F(EditorBarsTest, RulerGaugeTicksNumbersAndCaretColumnMark) {
  Editor.Ruler().SetVisible(true);
  Editor.Ruler().SetGaugeRange(8);
  Editor.Ruler().SetEdge(false);
  Editor.Lines().SetLinesText("text");
  Paint();
  const int X0 = Editor.Scroll().LeftOffset();
  const int Bottom = Editor.Scroll().RulerHeight() - 1;
  // Full ticks at each period, a half tick at column 4, short ones between.
  EXPECT_EQ(Canvas.Pixel(X0 + 8 * W, 1), clBlack);
  EXPECT_EQ(Canvas.Pixel(X0 + 12 * W, 3), clBlack);
  EXPECT_EQ(Canvas.Pixel(X0 + 12 * W, 2), clSilver);
  EXPECT_EQ(Canvas.Pixel(X0 + 13 * W, 6), clBlack);
  EXPECT_EQ(Canvas.Pixel(X0 + 13 * W, 5), clSilver);
  EXPECT_EQ(Canvas.Pixel(X0 + 13 * W + 2, Bottom), clBlack);  // the bottom line
  EXPECT_TRUE(GlyphAt(X0 + 8 * W + 1, 0, 8, clBlack));
  EXPECT_TRUE(GlyphAt(X0 + 16 * W + 1, 0, 1, clBlack));
  EXPECT_TRUE(GlyphAt(X0 + 16 * W + 4, 0, 6, clBlack));
  // The caret's column (0) is inverted: mark colour inside the cell.
  EXPECT_EQ(Canvas.Pixel(X0 + 1 + W - 2, Bottom - 1), clBlack);
  EXPECT_EQ(Canvas.Pixel(X0 + W + 1 + W - 2, Bottom - 1), clSilver);

  Window.Invalidated.clear();
  Editor.SetRowCol(0, 1);
  EXPECT_EQ(Editor.MarkedRulerColumn(), 1);
  ASSERT_EQ(Window.Invalidated.size() >= 2, true);
  Paint();
  EXPECT_EQ(Canvas.Pixel(X0 + 1 + W - 2, Bottom - 1), clSilver);
  EXPECT_EQ(Canvas.Pixel(X0 + W + 1 + W - 2, Bottom - 1), clBlack);
}

TEST_F(EditorBarsTest, RulerNumbersFollowHorizontalScrolling) {
  Editor.Ruler().SetVisible(true);
  Editor.Lines().SetLinesText(std::string(300, 'x'));
  Editor.SetLeftCol(23);  // numbering starts at 20, three columns left of the text area
  Paint();
  const int X0 = Editor.Scroll().LeftOffset();
  EXPECT_TRUE(GlyphAt(X0 + 7 * W + 1, 0, 3, clBlack));  // 30
  EXPECT_TRUE(GlyphAt(X0 + 7 * W + 6, 0, 0, clBlack));
}

TEST_F(EditorBarsTest, CornerCarriesTheEdgesOfLeftbarAndRuler) {
  Editor.Leftbar().SetVisible(true);
  Editor.Ruler().SetVisible(true);
  Paint();
  const int BarRight = Editor.Scroll().LeftbarWidth();
  EXPECT_EQ(Canvas.Pixel(BarRight - 2, 0), clWhite);
  EXPECT_EQ(Canvas.Pixel(BarRight - 1, 0), clGray);
  EXPECT_EQ(Canvas.Pixel(BarRight + 2, 9), clWhite);
  EXPECT_EQ(Canvas.Pixel(BarRight + 2, 10), clGray);
  EXPECT_EQ(Canvas.Pixel(BarRight + 2, 3), clSilver);
  // The leftbar's own edge runs on below the corner.
  EXPECT_EQ(Canvas.Pixel(BarRight - 2, Editor.Scroll().TopOffset() + 3), clWhite);
}

TEST_F(EditorBarsTest, ImagebarDrawsTheLowestDigitAndMarkOfARow) {
  Editor.Imagebar().SetVisible(true);
  Editor.Imagebar().SetMarkWidth(11);
  Editor.Lines().SetLinesText("a\r\nb");
  Editor.SetRowMarks(1, static_cast<uint16_t>((1u << 3) | (1u << 7) | (1u << 12) | (1u << 14)));
  Paint();
  std::vector<const TImage*> RowImages;
  for (const TImage* I : Canvas.Images)
    if (I->Width() <= 11) RowImages.push_back(I);
  ASSERT_EQ(RowImages.size(), 2u);
  EXPECT_EQ(RowImages[0], &DefaultImageDigits()[3]);
  EXPECT_EQ(RowImages[1], &DefaultImageMarks()[2]);
  const int Y = Editor.Scroll().RowToY(1) + 2;
  EXPECT_EQ(Canvas.Pixel(2 + 3, Y + 5), DefaultImageDigits()[3].Pixel(3, 5));
  // An image of the editor's own list replaces the built-in one.
  Editor.SetImageDigits({TImage(), TImage(), TImage(), TImage(8, 11, clRed)});
  Paint();
  EXPECT_EQ(Canvas.Pixel(2 + 3, Y + 5), clRed);
  // A changed mark repaints only that row's strip.
  Window.Invalidated.clear();
  Editor.SetRowMarks(0, 1);
  ASSERT_EQ(Window.Invalidated.size(), 1u);
  EXPECT_EQ(Window.Invalidated[0], (TRect{0, Editor.Scroll().RowToY(0), 2 + 8 + 11 + 2, Editor.Scroll().RowToY(1)}));
}

TEST_F(EditorBarsTest, ColourAndFontChangesRebuildTheRulerAndCorner) {
  Editor.Ruler().SetVisible(true);
  Editor.Ruler().SetBkColor(clNone);  // the editor's colour
  Editor.Ruler().SetEdge(false);
  Paint();
  const int X0 = Editor.Scroll().LeftOffset();
  EXPECT_EQ(Canvas.Pixel(X0 + 3 * W + 3, 2), clWhite);
  EXPECT_EQ(Canvas.Pixel(2, 2), clWhite);
  Editor.SetColor(clYellow);
  Paint();
  EXPECT_EQ(Canvas.Pixel(X0 + 3 * W + 3, 2), clYellow);
  EXPECT_EQ(Canvas.Pixel(2, 2), clYellow);
  // A wider font moves the ticks with the columns.
  Window.Metrics.AveCharWidth = 8;
  TFontSpec Font = Editor.Font();
  Font.Size = 12;
  Editor.SetFont(Font);
  Paint();
  EXPECT_EQ(Canvas.Pixel(X0 + 3 * 8, 7), clBlack);
  EXPECT_EQ(Canvas.Pixel(X0 + 3 * W, 7), clYellow);
}

TEST_F(EditorBarsTest, LeftbarRowsAreInvalidatedInEitherOrderAndRepaintedAtOnce) {
  Editor.Leftbar().SetVisible(true);
  Editor.Lines().SetLinesText("a\r\nb\r\nc\r\nd");
  Window.Invalidated.clear();
  const int Updates = Window.Updates;
  Editor.InvalidateLeftbarRows(2, 1);
  ASSERT_EQ(Window.Invalidated.size(), 1u);
  const TEditorScroll& S = Editor.Scroll();
  EXPECT_EQ(Window.Invalidated[0], (TRect{0, S.RowToY(1), S.LeftbarWidth(), S.RowToY(3)}));
  EXPECT_EQ(Window.Updates, Updates + 1);
}

TEST(EditorBarImages, GlyphsAndDefaultImagesHaveTheirSizes) {
  EXPECT_EQ(RulerDigitGlyphs().Width(), 56);
  EXPECT_EQ(RulerDigitGlyphs().Height(), 9);
  EXPECT_EQ(GlyphNumberWidth(1010), 3 + 5 + 3 + 5);
  ASSERT_EQ(DefaultImageDigits().size(), 10u);
  ASSERT_EQ(DefaultImageMarks().size(), 6u);
  EXPECT_EQ(DefaultImageDigits()[0].Width(), 8);
  EXPECT_EQ(DefaultImageDigits()[0].Height(), 11);
  EXPECT_EQ(DefaultImageMarks()[5].Width(), 11);
  EXPECT_EQ(DefaultImageMarks()[0].Pixel(0, 0), clNone);  // clear around the shape
}

}  // namespace
}  // namespace tesvarin
