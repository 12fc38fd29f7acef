// The search extension's marks over painted rows: white space and hit bars, where they start and
// stop, and a bad expression that leaves the rows without bars.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor/FakeEditorWindow.h"
#include "editor/RasterCanvas.h"
#include "editor/EditorEx.h"
#include "editor/view/EditorScroll.h"
#include "regexp/REChars.h"

namespace tesvarin {
namespace {

class EditorExPaintTest : public ::testing::Test {
protected:
  static constexpr int X0 = 19;
  static constexpr int W = 6;
  static constexpr int H = 12;
  FakeEditorWindow Window;
  TEditorEx Editor{&Window, TPlatform{}};
  RasterCanvas Canvas{400, 200};

  EditorExPaintTest() {
    Editor.Imagebar().SetVisible(false);
    Editor.ExMarks().FindMark().SetVisible(true);
    Editor.ExMarks().FindMark().SetColor(clRed);
  }
  void Paint(const TRect& Area = {0, 0, 400, 200}) {
    Canvas.Clear();
    Editor.PaintRect(Canvas, Area);
  }
  static int RowY(int Row) { return 2 + Row * H; }
  // The columns of row Row that carry the hit bar.
  std::string Bar(int Row, int Cols = 30) const {
    std::string Out;
    for (int C = 0; C < Cols; ++C) Out += Canvas.Pixel(X0 + C * W + 1, RowY(Row) + H - 1) == clRed ? '#' : '.';
    return Out;
  }
};

TEST_F(EditorExPaintTest, HitBarsCrossWrappedRowsAndStopAtTheRowEnd) {
  Editor.WrapOption().SetWrapByte(20);
  Editor.SetWordWrap(true);
  Editor.Lines().SetLinesText(std::string(18, 'a') + "bcd" + std::string(19, 'x'));
  ASSERT_EQ(Editor.RowView(0).size(), 20u);
  Editor.SetFindString("bcd");
  Paint();
  // The hit begins at byte 18 of row 0 and ends in row 1, which gets a record starting at 1.
  EXPECT_EQ(Bar(0, 22), "..................##..");
  EXPECT_EQ(Bar(1, 4), "#...");
  ASSERT_EQ(Editor.GetFindHits(1), 1);
  EXPECT_EQ(Editor.FindHits()[0], (TFindHit{1, 1}));
  ASSERT_EQ(Editor.GetFindHits(0), 1);
  EXPECT_EQ(Editor.FindHits()[0], (TFindHit{19, 2}));
}

TEST_F(EditorExPaintTest, EmptyMatchesAndBadExpressionsPaintWithoutBars) {
  Editor.Lines().SetLinesText("ab\r\ncd");
  Editor.SetFindString("x*");
  Editor.SetExSearchOptions({soRegexp});
  EXPECT_EQ(Editor.GetFindHits(0), 0);  // an empty match is no hit
  Paint();
  EXPECT_EQ(Bar(0, 4), "....");
  Editor.SetFindString("a(");
  Editor.SetExSearchOptions({soRegexp});
  EXPECT_THROW(Editor.GetFindHits(0), ERegExpParser);
  const int Shown = Window.CaretShown;
  EXPECT_NO_THROW(Paint());
  EXPECT_EQ(Window.CaretShown, Shown);  // hidden and shown again in step
  EXPECT_EQ(Canvas.TextsOf("ab").size(), 1u);
  EXPECT_EQ(Canvas.TextsOf("cd").size(), 1u);
  EXPECT_THROW(Editor.FindNext(), ERegExpParser);  // the command still meets the error
}

TEST_F(EditorExPaintTest, SpaceMarksOnlyAtCharacterStartsAndInsideTheRectangle) {
  Editor.ExMarks().DBSpaceMark().SetVisible(true);
  Editor.ExMarks().SpaceMark().SetVisible(true);
  Editor.ExMarks().TabMark().SetVisible(true);
  Editor.ExMarks().DBSpaceMark().SetColor(clBlue);
  Editor.ExMarks().SpaceMark().SetColor(clGreen);
  Editor.ExMarks().TabMark().SetColor(clFuchsia);
  // A full-width space, then 0x81 0x40 as the trail of one character and the lead of the next.
  Editor.Lines().SetLinesText("\x81\x40 \x88\x81\x40\x41\tz");
  Paint();
  const int Y = RowY(0);
  EXPECT_EQ(Canvas.Pixel(X0, Y), clBlue);             // the full-width space's frame
  EXPECT_EQ(Canvas.Pixel(X0 + 2 * W - 2, Y), clBlue);
  EXPECT_EQ(Canvas.Pixel(X0 + 2 * W, Y), clGreen);     // the space
  EXPECT_NE(Canvas.Pixel(X0 + 4 * W, Y), clBlue);      // 0x81 0x40 inside other characters
  const int M = Y + (H - 2) / 2;
  EXPECT_EQ(Canvas.Pixel(X0 + 7 * W, M), clFuchsia);   // the tab's arrow
  // A strip that starts right of a mark's cell leaves it out.
  Paint({X0 + 2 * W + 1, 0, 400, 200});
  EXPECT_EQ(Canvas.Pixel(X0 + 2 * W, Y), clGreen);  // still the pixels of the first paint
  EXPECT_EQ(Canvas.Pixel(X0 + 3 * W - 2, Y), clGreen);
}

TEST_F(EditorExPaintTest, MarksPastColumn1000AreNotDrawn) {
  Editor.ExMarks().SpaceMark().SetVisible(true);
  Editor.ExMarks().SpaceMark().SetColor(clGreen);
  Editor.Lines().SetLinesText(std::string(999, 'x') + "   x");
  Editor.SetLeftCol(TEditorScroll::MaxCols);
  Paint();
  const int Left = Editor.LeftCol();
  EXPECT_EQ(Canvas.Pixel(X0 + (999 - Left) * W, RowY(0)), clGreen);
  EXPECT_NE(Canvas.Pixel(X0 + (1001 - Left) * W, RowY(0)), clGreen);
}

// A descendant draws marks of its own: each mark reaches its hook where the built-in one would go,
// and only the hooks it keeps draw the built-in shape.
class TSpacelessEditor : public TEditorEx {
public:
  using TEditorEx::TEditorEx;
  std::vector<std::string> Calls;

protected:
  void DrawSpaceMark(int X, int Y) override { Calls.push_back("space " + std::to_string(X) + "," + std::to_string(Y)); }
  void DrawFindMark(int X1, int Y, int X2) override {
    Calls.push_back("find " + std::to_string(X1) + "-" + std::to_string(X2) + "," + std::to_string(Y));
    TEditorEx::DrawFindMark(X1, Y, X2);
  }
};

TEST_F(EditorExPaintTest, ADescendantsHooksDrawTheMarksInPlaceOfTheBuiltInShapes) {
  TSpacelessEditor Own{&Window, TPlatform{}};
  Own.Imagebar().SetVisible(false);
  Own.ExMarks().SpaceMark().SetVisible(true);
  Own.ExMarks().SpaceMark().SetColor(clGreen);
  Own.ExMarks().FindMark().SetVisible(true);
  Own.ExMarks().FindMark().SetColor(clRed);
  Own.Lines().SetLinesText("a bc d");
  Own.SetFindString("bc");
  Canvas.Clear();
  Own.PaintRect(Canvas, {0, 0, 400, 200});
  const std::string Y = std::to_string(RowY(0));
  EXPECT_EQ(Own.Calls, (std::vector<std::string>{"space " + std::to_string(X0 + W) + "," + Y,
                                                 "space " + std::to_string(X0 + 4 * W) + "," + Y,
                                                 "find " + std::to_string(X0 + 2 * W) + "-" + std::to_string(X0 + 4 * W) + "," + Y}));
  // The space's own hook drew nothing; the hit bar is the built-in one.
  EXPECT_NE(Canvas.Pixel(X0 + W, RowY(0)), clGreen);
  EXPECT_EQ(Canvas.Pixel(X0 + 2 * W + 1, RowY(0) + H - 1), clRed);
}

}  // namespace
}  // namespace tesvarin
