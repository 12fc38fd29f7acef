// The scrolling model: metrics from the font and the bars, scroll ranges, the scroll-bar commands,
// scrolling the caret into view, mouse positions, invalidated rectangles and the system caret.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "editor/FakeEditorWindow.h"
#include "editor/Editor.h"
#include "editor/view/EditorScroll.h"

namespace tesvarin {
namespace {

// The fake window is 400 x 200 with 6 x 12 cells; the editor's defaults give a 19-pixel left margin,
// a 12-pixel image bar and a 2-pixel top margin: LeftOffset 31, TopOffset 2, 16 rows, 61 columns.
struct ScrollFixture : testing::Test {
  FakeEditorWindow Window;
  TEditor Editor{&Window, TPlatform{}};
  TEditorScroll& S() { return Editor.Scroll(); }

  void Rows(int Count) {
    std::string Text;
    for (int I = 0; I < Count; ++I) Text += "x\r\n";
    Editor.Lines().SetLinesText(Text);
    Editor.Refresh();
  }
};

struct MetricsCase {
  const char* Name;
  std::function<void(TEditor&, FakeEditorWindow&)> Setup;
  int FontHeight, ColWidth, RowHeight, TopOffset, LeftOffset, VisibleRows, VisibleCols;
};

TEST_F(ScrollFixture, MetricsWithEachBarAndMargin) {
  const MetricsCase Cases[] = {
      {"defaults", [](TEditor&, FakeEditorWindow&) {}, 12, 6, 12, 2, 31, 16, 61},
      {"ruler with edge", [](TEditor& E, FakeEditorWindow&) { E.Ruler().SetVisible(true); }, 12, 6, 12, 13, 31, 15, 61},
      {"ruler without edge",
       [](TEditor& E, FakeEditorWindow&) {
         E.Ruler().SetVisible(true);
         E.Ruler().SetEdge(false);
       },
       12, 6, 12, 12, 31, 15, 61},
      // 8 + 4 digits x 6 + 4 + 2 = 38 pixels of leftbar.
      {"leftbar", [](TEditor& E, FakeEditorWindow&) { E.Leftbar().SetVisible(true); }, 12, 6, 12, 2, 69, 16, 54},
      {"no image bar", [](TEditor& E, FakeEditorWindow&) { E.Imagebar().SetVisible(false); }, 12, 6, 12, 2, 19, 16, 63},
      {"wider image bar", [](TEditor& E, FakeEditorWindow&) { E.Imagebar().SetMarkWidth(11); }, 12, 6, 12, 2, 42, 16, 59},
      {"character margin", [](TEditor& E, FakeEditorWindow&) { E.Margin().SetCharacter(2); }, 12, 8, 12, 2, 31, 16, 45},
      {"line margin", [](TEditor& E, FakeEditorWindow&) { E.Margin().SetLine(3); }, 12, 6, 15, 2, 31, 12, 61},
      {"top margin", [](TEditor& E, FakeEditorWindow&) { E.Margin().SetTop(20); }, 12, 6, 12, 20, 31, 14, 61},
      {"left margin", [](TEditor& E, FakeEditorWindow&) { E.Margin().SetLeft(0); }, 12, 6, 12, 2, 12, 16, 64},
      {"underline", [](TEditor& E, FakeEditorWindow&) { E.Marks().Underline().SetVisible(true); }, 12, 6, 13, 2, 31, 14, 61},
      {"vertical bar", [](TEditor& E, FakeEditorWindow&) { E.SetScrollBars(ssVertical); }, 12, 6, 12, 2, 31, 16, 58},
      {"horizontal bar", [](TEditor& E, FakeEditorWindow&) { E.SetScrollBars(ssHorizontal); }, 12, 6, 12, 2, 31, 14, 61},
      {"both bars", [](TEditor& E, FakeEditorWindow&) { E.SetScrollBars(ssBoth); }, 12, 6, 12, 2, 31, 14, 58},
      {"external leading",
       [](TEditor& E, FakeEditorWindow& W) {
         W.Metrics.ExternalLeading = 2;
         E.Resize();
       },
       14, 6, 14, 2, 31, 13, 61},
      {"tiny window",
       [](TEditor& E, FakeEditorWindow& W) {
         W.Width = 20;
         W.Height = 5;
         E.Resize();
       },
       12, 6, 12, 2, 31, 1, 1},
  };
  for (const MetricsCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    FakeEditorWindow W;
    TEditor E(&W, TPlatform{});
    C.Setup(E, W);
    const TEditorScroll& M = E.Scroll();
    EXPECT_EQ(M.FontHeight(), C.FontHeight);
    EXPECT_EQ(M.ColWidth(), C.ColWidth);
    EXPECT_EQ(M.RowHeight(), C.RowHeight);
    EXPECT_EQ(M.TopOffset(), C.TopOffset);
    EXPECT_EQ(M.LeftOffset(), C.LeftOffset);
    EXPECT_EQ(M.VisibleRows(), C.VisibleRows);
    EXPECT_EQ(M.VisibleCols(), C.VisibleCols);
  }
}

TEST_F(ScrollFixture, UnderlineMakesEveryRowOnePixelTallerAndBack) {
  Editor.Marks().Underline().SetVisible(true);
  EXPECT_EQ(Editor.Margin().UnderlineAllowance(), 1);
  EXPECT_EQ(S().RowHeight(), 13);
  Editor.Marks().Underline().SetVisible(false);
  EXPECT_EQ(Editor.Margin().UnderlineAllowance(), 0);
  EXPECT_EQ(S().RowHeight(), 12);
}

struct DigitsCase {
  const char* Name;
  std::string Text;
  int Column;
  bool ZeroBase;
  bool ShowNumber;
  int Digits;
};

std::string Lines(int Count, bool TrailingBreak) {
  std::string Text;
  for (int I = 0; I < Count; ++I) Text += I + 1 < Count || TrailingBreak ? "x\r\n" : "x";
  return Text;
}

TEST(EditorScrollDigits, LeftbarDigitsFollowTheLargestNumber) {
  const DigitsCase Cases[] = {
      {"9 lines ending in a break: 10 is shown after them", Lines(9, true), 1, false, true, 2},
      {"9 lines without a last break", Lines(9, false), 1, false, true, 1},
      {"zero base counts from 0", Lines(10, false), 1, true, true, 1},
      {"zero base with a break after 10 lines", Lines(10, true), 1, true, true, 2},
      {"12345 rows need 5 digits", Lines(12345, true), 4, false, true, 5},
      {"Column is the minimum", Lines(3, true), 3, false, true, 3},
      {"numbers off: Column", Lines(12345, true), 4, false, false, 4},
      {"empty text", "", 1, false, true, 1},
  };
  for (const DigitsCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    FakeEditorWindow W;
    TEditor E(&W, TPlatform{});
    E.Leftbar().SetColumn(C.Column);
    E.Leftbar().SetZeroBase(C.ZeroBase);
    E.Leftbar().SetShowNumber(C.ShowNumber);
    E.Leftbar().SetVisible(true);
    E.Lines().SetLinesText(C.Text);
    E.RowCountChanged();
    EXPECT_EQ(E.Scroll().LeftbarDigits(), C.Digits);
    EXPECT_EQ(E.Scroll().LeftbarWidth(), 8 + C.Digits * 6 + 4 + 2);
    EXPECT_EQ(E.Scroll().LeftOffset(), 19 + 12 + E.Scroll().LeftbarWidth());
  }
}

TEST_F(ScrollFixture, HiddenLeftbarTakesNoWidthWhateverItsDigits) {
  Rows(12345);
  Editor.RowCountChanged();
  EXPECT_EQ(S().LeftbarWidth(), 0);
  EXPECT_EQ(S().LeftOffset(), 31);
}

TEST_F(ScrollFixture, ScrollRangesOfBothBars) {
  Editor.SetScrollBars(ssBoth);  // 14 rows, 58 columns
  Rows(30);
  EXPECT_TRUE(Window.VertBarShown);
  EXPECT_TRUE(Window.HorzBarShown);
  EXPECT_EQ(S().MaxTopRow(), 30 + 14 - 1);
  EXPECT_EQ(Window.VertRange.Max, 43);
  EXPECT_EQ(Window.VertRange.Page, 14);
  EXPECT_EQ(Window.HorzRange.Max, 29 + 1000);
  EXPECT_EQ(Window.HorzRange.Page, 58);
  Editor.SetTopRow(7);
  EXPECT_EQ(Window.VertRange.Pos, 7);
  Editor.SetLeftCol(12);
  EXPECT_EQ(Window.HorzRange.Pos, 12);
  // An empty text still offers one page.
  Rows(0);
  EXPECT_EQ(Window.VertRange.Max, 14);
}

TEST_F(ScrollFixture, WithoutBarsNoRangeIsSet) {
  Rows(30);
  EXPECT_EQ(Window.VertRange.Max, 0);
  EXPECT_EQ(Window.HorzRange.Max, 0);
}

struct CommandCase {
  TScrollCode Code;
  int Pos;
  int Start;
  int Expected;
};

TEST_F(ScrollFixture, VerticalScrollBarCommands) {
  Rows(100);  // 16 rows visible: the largest top row of the bar is 115, the view stops at 100
  const CommandCase Cases[] = {
      {SB_LINEUP, 0, 50, 49},          {SB_LINEDOWN, 0, 50, 51},     {SB_PAGEUP, 0, 50, 34},
      {SB_PAGEDOWN, 0, 50, 66},        {SB_TOP, 0, 50, 0},           {SB_BOTTOM, 0, 50, 100},
      {SB_THUMBTRACK, 70, 50, 70},     {SB_THUMBPOSITION, 20, 50, 20}, {SB_ENDSCROLL, 0, 50, 50},
      {SB_PAGEDOWN, 0, 95, 100},       {SB_LINEUP, 0, 0, 0},         {SB_PAGEUP, 0, 5, 0},
      {SB_THUMBTRACK, 500, 50, 100},   {SB_THUMBTRACK, -4, 50, 0},
  };
  for (const CommandCase& C : Cases) {
    SCOPED_TRACE(testing::Message() << "code " << int(C.Code) << " from " << C.Start);
    Editor.SetTopRow(C.Start);
    Editor.VScroll(C.Code, C.Pos);
    EXPECT_EQ(Editor.TopRow(), C.Expected);
  }
}

TEST_F(ScrollFixture, HorizontalScrollBarCommands) {
  // 61 columns: the bar ends at 30 + 1000, the view at 1000 - 30.
  const CommandCase Cases[] = {
      {SB_LINEUP, 0, 100, 99},      {SB_LINEDOWN, 0, 100, 101},  {SB_PAGEUP, 0, 100, 39},
      {SB_PAGEDOWN, 0, 100, 161},   {SB_TOP, 0, 100, 0},         {SB_BOTTOM, 0, 100, 970},
      {SB_THUMBTRACK, 500, 0, 500}, {SB_THUMBPOSITION, 7, 0, 7}, {SB_PAGEUP, 0, 10, 0},
      {SB_ENDSCROLL, 0, 100, 100},  {SB_THUMBTRACK, 2000, 0, 970},
  };
  for (const CommandCase& C : Cases) {
    SCOPED_TRACE(testing::Message() << "code " << int(C.Code) << " from " << C.Start);
    Editor.SetLeftCol(C.Start);
    Editor.HScroll(C.Code, C.Pos);
    EXPECT_EQ(Editor.LeftCol(), C.Expected);
    EXPECT_EQ(S().ScrollOffset(), C.Expected * 6);
  }
}

TEST_F(ScrollFixture, LockScrollMovesTheCaretRowWithTheView) {
  Rows(100);
  Editor.SetRowCol(20, 0);
  Editor.VScroll(SB_LINEDOWN, 0);
  EXPECT_EQ(Editor.Row(), 20) << "the caret stays without LockScroll";
  Editor.Caret().SetLockScroll(true);
  Editor.VScroll(SB_PAGEDOWN, 0);
  EXPECT_EQ(Editor.TopRow(), 17);
  EXPECT_EQ(Editor.Row(), 36);
  Editor.VScroll(SB_BOTTOM, 0);  // the view moves 83 rows, the caret stops at the last row
  EXPECT_EQ(Editor.TopRow(), 100);
  EXPECT_EQ(Editor.Row(), 100);
  Editor.VScroll(SB_TOP, 0);
  EXPECT_EQ(Editor.Row(), 0);
}

TEST_F(ScrollFixture, SetTopRowScrollsThePixelsAndReports) {
  Rows(100);
  int TopChanges = 0;
  Editor.OnTopRowChange = TNotifyEvent::Lambda([&](TObject*) { ++TopChanges; });
  Editor.SetTopRow(1);
  ASSERT_EQ(Window.Scrolled.size(), 1u);
  EXPECT_EQ(Window.Scrolled[0].Area, (TRect{0, 2, 400, 200}));
  EXPECT_EQ(Window.Scrolled[0].Dy, -12);
  Editor.SetTopRow(90);  // far jumps move at most a screen and a row
  EXPECT_EQ(Window.Scrolled.back().Dy, -17 * 12);
  Editor.SetTopRow(90);
  EXPECT_EQ(TopChanges, 2);
  Editor.SetTopRow(1000);
  EXPECT_EQ(Editor.TopRow(), 100);
  Editor.SetTopRow(-3);
  EXPECT_EQ(Editor.TopRow(), 0);
  EXPECT_EQ(TopChanges, 4);
}

// Where the visible rows end a few pixels above the window's foot, a far jump must still move the
// old pixels out of the whole area: a strip of old rows left at the top would show as stray marks.
TEST_F(ScrollFixture, AFarJumpLeavesNoOldPixelsInTheArea) {
  for (const int Height : {200, 205, 208, 211}) {
    Window.Height = Height;
    Rows(1000);
    Editor.SetTopRow(0);
    Window.Scrolled.clear();
    Editor.SetTopRow(900);
    ASSERT_EQ(Window.Scrolled.size(), 1u);
    const TRect Area = Window.Scrolled[0].Area;
    EXPECT_GE(-Window.Scrolled[0].Dy, Area.Bottom - Area.Top) << Height;
  }
}

TEST_F(ScrollFixture, SetLeftColClampsScrollsFromTheTextAreaAndReports) {
  int ColChanges = 0;
  Editor.OnTopColChange = TNotifyEvent::Lambda([&](TObject*) { ++ColChanges; });
  Editor.SetLeftCol(3);
  ASSERT_EQ(Window.Scrolled.size(), 1u);
  EXPECT_EQ(Window.Scrolled[0].Area, (TRect{31, 0, 400, 200}));
  EXPECT_EQ(Window.Scrolled[0].Dx, -18);
  Editor.SetLeftCol(5000);
  EXPECT_EQ(Editor.LeftCol(), 970);
  Editor.SetLeftCol(970);
  EXPECT_EQ(ColChanges, 2);
}

TEST_F(ScrollFixture, HeadlessScrollingKeepsTheModel) {
  TEditor Headless(nullptr, TPlatform{});
  Headless.Lines().SetLinesText(Lines(10, true));
  Headless.SetTopRow(4);
  EXPECT_EQ(Headless.TopRow(), 4);
  Headless.SetLeftCol(2);
  EXPECT_EQ(Headless.LeftCol(), 2);
  Headless.VScroll(SB_BOTTOM, 0);
  EXPECT_EQ(Headless.TopRow(), 10);
  Headless.Resize();
  Headless.Invalidate();
  Headless.InvalidateRows(0, 3);
}

TEST_F(ScrollFixture, MakeCaretVisibleJumpsAQuarterOfTheWidth) {
  Rows(100);
  struct Step {
    int Row, Col, Top, Left;
  };
  const Step Steps[] = {
      {0, 61, 0, 15},    // one column past the right edge: a quarter (15) at least
      {0, 200, 0, 140},  // far right: the caret lands on the last visible column
      {0, 139, 0, 125},  // one left of the view: a quarter back
      {0, 10, 0, 10},    // far left: the caret's own column
      {40, 10, 25, 10},  // below: the caret row becomes the last visible row
      {5, 10, 5, 10},    // above: the caret row becomes the top row
      {12, 20, 5, 10},   // inside: nothing moves
  };
  for (const Step& St : Steps) {
    SCOPED_TRACE(testing::Message() << "caret " << St.Row << "," << St.Col);
    Editor.SetRowCol(St.Row, St.Col);
    Editor.MakeCaretVisible();
    EXPECT_EQ(Editor.TopRow(), St.Top);
    EXPECT_EQ(Editor.LeftCol(), St.Left);
  }
}

TEST_F(ScrollFixture, MakeCaretVisibleNeverScrollsPastTheLastLeftColumn) {
  Editor.SetRowCol(0, 999);
  Editor.MakeCaretVisible();
  EXPECT_EQ(Editor.LeftCol(), 939);
  EXPECT_TRUE(S().CellVisible(0, 999));
}

struct MouseCase {
  int LeftCol, TopRow, X, Y;
  bool Round;
  int Col, Row;
};

TEST_F(ScrollFixture, MouseToPosWithAndWithoutRounding) {
  Rows(100);
  const MouseCase Cases[] = {
      {0, 0, 31, 2, false, 0, 0},    {0, 0, 36, 2, false, 0, 0},   {0, 0, 36, 2, true, 1, 0},
      {0, 0, 34, 2, true, 0, 0},     {0, 0, 35, 2, true, 1, 0},    {0, 0, 37, 2, false, 1, 0},
      // Left of the text area: a cell further left, never below column 0.
      {0, 0, 30, 2, false, 0, 0},    {10, 0, 30, 2, false, 9, 0},  {10, 0, 31, 2, false, 10, 0},
      {10, 0, 5, 2, false, 5, 0},    {10, 0, 30, 2, true, 10, 0},
      {0, 0, 40, 13, false, 1, 0},   {0, 0, 40, 14, false, 1, 1},  {0, 20, 40, 14, false, 1, 21},
      // Rows are not clamped: below the text and above it the caller decides.
      {0, 0, 40, 500, false, 1, 41}, {0, 20, 40, -20, false, 1, 19},
  };
  for (const MouseCase& C : Cases) {
    SCOPED_TRACE(testing::Message() << "(" << C.X << "," << C.Y << ") round " << C.Round << " left "
                                    << C.LeftCol << " top " << C.TopRow);
    Editor.SetLeftCol(C.LeftCol);
    Editor.SetTopRow(C.TopRow);
    EXPECT_EQ(S().MouseToPos(C.X, C.Y, C.Round), (TColRow{C.Col, C.Row}));
  }
}

TEST_F(ScrollFixture, InvalidatedRectanglesCoverTheTextAreaOfVisibleRows) {
  Rows(100);
  Window.Invalidated.clear();
  Editor.InvalidateRow(3);
  ASSERT_EQ(Window.Invalidated.size(), 1u);
  EXPECT_EQ(Window.Invalidated[0], (TRect{31, 38, 400, 50}));
  Editor.InvalidateRow(16);  // partly shown at the bottom
  EXPECT_EQ(Window.Invalidated.back(), (TRect{31, 194, 400, 200}));
  Editor.InvalidateRow(17);  // below the window
  EXPECT_EQ(Window.Invalidated.size(), 2u);
  Editor.SetTopRow(5);
  Window.Invalidated.clear();
  Editor.InvalidateRow(4);  // above the view
  EXPECT_TRUE(Window.Invalidated.empty());
  const int Updates = Window.Updates;
  Editor.InvalidateRows(9, 6);  // either order; clamped to the screen
  ASSERT_EQ(Window.Invalidated.size(), 1u);
  EXPECT_EQ(Window.Invalidated[0], (TRect{31, 14, 400, 62}));
  EXPECT_EQ(Window.Updates, Updates + 1);
  Editor.InvalidateRows(0, 1000);
  EXPECT_EQ(Window.Invalidated.back(), (TRect{31, 2, 400, 200}));
}

TEST_F(ScrollFixture, CaretPositionAndShape) {
  Rows(10);
  Editor.SetRowCol(3, 2);
  Editor.UpdateCaret();
  EXPECT_EQ(Window.CaretAt, (TPoint{43, 38}));
  EXPECT_EQ(Window.ImeAt, (TPoint{43, 38}));
  EXPECT_EQ(Window.CaretWidth, 2);
  EXPECT_EQ(Window.CaretHeight, 12);
  Editor.Caret().SetStyle(csBrief);
  EXPECT_EQ(Window.CaretWidth, 6);
  EXPECT_EQ(Window.CaretHeight, 2);
  EXPECT_EQ(Window.CaretAt, (TPoint{43, 48}));
  EXPECT_EQ(S().CreateCaretShape(true, 0), (TCaretShape{12, 2}));
  EXPECT_EQ(S().CreateCaretShape(false, 5), (TCaretShape{30, 12}));
}

TEST_F(ScrollFixture, AHitShownAsTheCaretIsABlockUntilCleared) {
  Editor.Lines().SetLinesText("abcdef\r\nxyz");
  Editor.SetHitStyle(hsCaret);
  Editor.SetSelStart(1);
  Editor.ShowHit(3);
  EXPECT_EQ(Window.CaretWidth, 18);
  EXPECT_EQ(Window.CaretHeight, 12);
  EXPECT_EQ(Editor.Col(), 1);
  Editor.CleanSelection();
  EXPECT_EQ(Window.CaretWidth, 2);
}

TEST_F(ScrollFixture, ScrollingDuringAKeyRepeatPlacesTheCaretOnRelease) {
  Rows(100);
  Editor.UpdateCaret();
  Editor.KeyDown(VK_NEXT, {}, true);
  Editor.KeyDown(VK_NEXT, {}, true);
  Editor.KeyUp(VK_NEXT, {});
  EXPECT_GT(Editor.TopRow(), 0);
  EXPECT_EQ(Window.CaretAt, S().CaretPos());
  EXPECT_EQ(Window.CaretShown, 1);
}

TEST_F(ScrollFixture, CaretShowsOnlyInsideTheVisibleCellsAndHidesNest) {
  Rows(100);
  Editor.UpdateCaret();
  EXPECT_EQ(Window.CaretShown, 1);
  Editor.SetTopRow(10);  // the caret row 0 is now above the view
  EXPECT_EQ(Window.CaretShown, 0);
  Editor.SetTopRow(0);
  EXPECT_EQ(Window.CaretShown, 1);
  Editor.HideCaret();
  Editor.HideCaret();
  Editor.ShowCaret();
  EXPECT_EQ(Window.CaretShown, 0);
  Editor.ShowCaret();
  EXPECT_EQ(Window.CaretShown, 1);
  Editor.ShowCaret();  // an unmatched show changes nothing
  Editor.HideCaret();
  EXPECT_EQ(Window.CaretShown, 0);
}

TEST_F(ScrollFixture, CaretMovedFiresOnlyWithTheFocus) {
  int Moves = 0;
  Editor.OnCaretMoved = TNotifyEvent::Lambda([&](TObject*) { ++Moves; });
  Editor.UpdateCaret();
  EXPECT_EQ(Moves, 1);
  Window.HasFocus = false;
  Editor.UpdateCaret();
  EXPECT_EQ(Moves, 1);
}

TEST_F(ScrollFixture, ScreenRowsCountWholeWindowRows) {
  EXPECT_EQ(Editor.ScreenRows(), 200 / 12);
  Editor.Margin().SetLine(8);
  EXPECT_EQ(Editor.ScreenRows(), 10);
}

TEST_F(ScrollFixture, UnderlineHidesNestAndFollowsTheCaretRow) {
  Rows(10);
  Editor.Marks().Underline().SetVisible(true);  // rows are 13 pixels now
  Editor.SetRowCol(2, 0);
  Editor.UpdateCaret();
  Window.Invalidated.clear();
  Editor.HideUnderline();
  Editor.HideUnderline();
  EXPECT_TRUE(Editor.UnderlineHidden());
  ASSERT_EQ(Window.Invalidated.size(), 1u) << "only the outer hide erases";
  EXPECT_EQ(Window.Invalidated[0], (TRect{31, 2 + 26 + 12, 400, 2 + 26 + 13}));
  Editor.ShowUnderline();
  EXPECT_EQ(Window.Invalidated.size(), 1u);
  Editor.ShowUnderline();
  EXPECT_FALSE(Editor.UnderlineHidden());
  EXPECT_EQ(Window.Invalidated.size(), 2u);
  Window.Invalidated.clear();
  Editor.SetRowCol(4, 0);
  Editor.UpdateCaret();
  ASSERT_EQ(Window.Invalidated.size(), 2u) << "the old line and the new one";
  EXPECT_EQ(Window.Invalidated[1].Top, 2 + 4 * 13 + 12);
}

}  // namespace
}  // namespace tesvarin
