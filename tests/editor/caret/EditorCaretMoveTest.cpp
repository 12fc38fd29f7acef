// The caret: the column normalizer's steps, the movement keys with Shift and Ctrl, word movement
// through the colouring parser and the keys' selection rules.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "editor/Editor.h"
#include "editor/view/EditorScroll.h"
#include "editor/caret/EditorSelection.h"
#include "editor/FakeEditorWindow.h"

namespace tesvarin {
namespace {

const std::string A = "\x82\xa0";      // hiragana a
const std::string Kan = "\x8a\xbf";    // a kanji
const std::string Ten = "\x81\x41";    // the ideographic comma, a double-byte symbol

struct Options {
  bool FreeCaret = true;
  bool KeepCaret = false;
  bool FreeRow = false;
  bool InTab = false;
  bool NextLine = false;
  int WrapByte = 0;  // 0: no word wrap
};

class CaretTest : public ::testing::Test {
protected:
  TEditor E{nullptr, TPlatform{}};

  void Load(const std::string& Text, const Options& O = {}) {
    E.Caret().SetFreeCaret(O.FreeCaret);
    E.Caret().SetKeepCaret(O.KeepCaret);
    E.Caret().SetFreeRow(O.FreeRow);
    E.Caret().SetInTab(O.InTab);
    E.Caret().SetNextLine(O.NextLine);
    if (O.WrapByte > 0) {
      E.WrapOption().SetWrapByte(O.WrapByte);
      E.SetWordWrap(true);
    }
    E.Lines().SetLinesText(Text);
    E.SetRowCol(0, 0);
  }
  void Key(uint16_t K, TShiftState S = {}, bool Repeat = false) { E.KeyDown(K, S, Repeat); }
  void ExpectAt(int R, int C) {
    EXPECT_EQ(E.Row(), R);
    EXPECT_EQ(E.Col(), C);
  }
};

struct NormalizerCase {
  const char* Name;
  std::string Text;
  Options Opt;
  int StartRow;
  int StartCol;
  std::function<void(TEditor&)> Act;
  int Row;
  int Col;
};

TEST_F(CaretTest, ColumnNormalizer) {
  const std::string Long999 = std::string(999, 'a') + A;
  const std::vector<NormalizerCase> Cases = {
      {"free caret passes the end", "abc", {}, 0, 0, [](TEditor& T) { T.SetCol(10); }, 0, 10},
      {"without free caret the end holds", "abc", {.FreeCaret = false}, 0, 0, [](TEditor& T) { T.SetCol(10); }, 0, 3},
      {"rightwards over a second half", "a" + A + "b", {}, 0, 0, [](TEditor& T) { T.SetCol(2); }, 0, 3},
      {"leftwards onto the first half", "a" + A + "b", {}, 0, 3, [](TEditor& T) { T.SetCol(2); }, 0, 1},
      {"placed on a second half", "a" + A + "b", {}, 0, 0, [](TEditor& T) { T.SetRowCol(0, 2); }, 0, 1},
      {"rightwards out of a tab fill", "\tb", {}, 0, 0, [](TEditor& T) { T.SetCol(3); }, 0, 8},
      {"leftwards onto the tab", "\tb", {}, 0, 8, [](TEditor& T) { T.SetCol(7); }, 0, 0},
      {"placed in a tab fill", "x\tb", {}, 0, 0, [](TEditor& T) { T.SetRowCol(0, 5); }, 0, 1},
      {"in tab allowed", "\tb", {.InTab = true}, 0, 0, [](TEditor& T) { T.SetCol(3); }, 0, 3},
      {"column limit", "abc", {}, 0, 0, [](TEditor& T) { T.SetCol(1001); }, 0, 1000},
      {"clamped to 1001 then limited", "abc", {}, 0, 0, [](TEditor& T) { T.SetCol(5000); }, 0, 1000},
      {"a character at 999 can be passed", Long999, {}, 0, 0, [](TEditor& T) { T.SetCol(1001); }, 0, 1001},
      {"negative column", "abc", {}, 0, 2, [](TEditor& T) { T.SetCol(-4); }, 0, 0},
      {"row clamped to the last raEof row", "ab\r\ncd", {}, 0, 0, [](TEditor& T) { T.SetRow(7); }, 1, 0},
      {"row after a final break", "ab\r\ncd\r\n", {}, 0, 0, [](TEditor& T) { T.SetRow(7); }, 2, 0},
      {"down keeps no column", "abcdef\r\nab\r\nabcdef", {.FreeCaret = false}, 0, 5,
       [](TEditor& T) {
         T.SetRow(1);
         T.SetRow(2);
       },
       2, 2},
      {"keep caret restores the column", "abcdef\r\nab\r\nabcdef", {.FreeCaret = false, .KeepCaret = true}, 0, 5,
       [](TEditor& T) {
         T.SetRow(1);
         T.SetRow(2);
       },
       2, 5},
      {"free row passes the end vertically", "abcdef\r\nab", {.FreeCaret = false, .FreeRow = true}, 0, 5,
       [](TEditor& T) { T.SetRow(1); }, 1, 5},
      {"a horizontal move forgets the kept column", "abcdef\r\nab\r\nabcdef", {.FreeCaret = false, .KeepCaret = true},
       0, 5,
       [](TEditor& T) {
         T.SetRow(1);
         T.SetCol(1);
         T.SetRow(2);
       },
       2, 1},
      {"vertical through a double-byte character keeps the column", "abcd\r\na" + A + "b\r\nabcd", {}, 0, 2,
       [](TEditor& T) {
         T.SetRow(1);
         EXPECT_EQ(T.Col(), 1);
         T.SetRow(2);
       },
       2, 2},
      {"wrap piece: the end is its last column", std::string(25, 'a'), {.WrapByte = 20}, 0, 0,
       [](TEditor& T) { T.SetCol(30); }, 0, 19},
      {"last piece: at most wrap width less one", std::string(25, 'a'), {.WrapByte = 20}, 1, 0,
       [](TEditor& T) { T.SetCol(50); }, 1, 19},
      {"wrap piece ending in a double-byte character", std::string(18, 'a') + A + "bc", {.WrapByte = 20}, 0, 0,
       [](TEditor& T) { T.SetCol(40); }, 0, 18},
  };
  for (const NormalizerCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    TEditor T(nullptr, TPlatform{});
    T.Caret().SetFreeCaret(C.Opt.FreeCaret);
    T.Caret().SetKeepCaret(C.Opt.KeepCaret);
    T.Caret().SetFreeRow(C.Opt.FreeRow);
    T.Caret().SetInTab(C.Opt.InTab);
    if (C.Opt.WrapByte > 0) {
      T.WrapOption().SetWrapByte(C.Opt.WrapByte);
      T.SetWordWrap(true);
    }
    T.Lines().SetLinesText(C.Text);
    T.SetRowCol(C.StartRow, C.StartCol);
    C.Act(T);
    EXPECT_EQ(T.Row(), C.Row);
    EXPECT_EQ(T.Col(), C.Col);
  }
}

TEST_F(CaretTest, RightAtTheEndOfALineStaysUnlessNextLine) {
  Load("ab\r\ncd", {.FreeCaret = false});
  E.SetCol(2);
  Key(VK_RIGHT);
  ExpectAt(0, 2);
  E.Caret().SetNextLine(true);
  Key(VK_RIGHT);
  ExpectAt(1, 0);
  Key(VK_END);
  Key(VK_RIGHT);  // the raEof row has no row after it
  ExpectAt(1, 2);
}

TEST_F(CaretTest, RightAtTheEndOfAWrapPieceGoesOn) {
  Load(std::string(25, 'a'), {.FreeCaret = false, .WrapByte = 20});
  ASSERT_EQ(E.RowCount(), 2);
  Key(VK_END);
  ExpectAt(0, 19);
  Key(VK_RIGHT);
  ExpectAt(1, 0);
  Key(VK_LEFT);  // back to the end of the piece above
  ExpectAt(0, 19);
}

TEST_F(CaretTest, LeftAtColumnZeroNeedsAWrapPieceOrNextLine) {
  Load("abc\r\nde", {.FreeCaret = false});
  E.SetRowCol(1, 0);
  Key(VK_LEFT);
  ExpectAt(1, 0);
  E.Caret().SetNextLine(true);
  Key(VK_LEFT);
  ExpectAt(0, 3);
}

TEST_F(CaretTest, ArrowsStepOverDoubleByteCharactersAndTabs) {
  Load(A + "\tb");
  std::vector<int> Cols;
  for (int I = 0; I < 3; ++I) {
    Key(VK_RIGHT);
    Cols.push_back(E.Col());
  }
  for (int I = 0; I < 3; ++I) {
    Key(VK_LEFT);
    Cols.push_back(E.Col());
  }
  // The tab stands at column 2, its fill at 3 .. 7.
  EXPECT_EQ(Cols, (std::vector<int>{2, 8, 9, 8, 2, 0}));
}

TEST_F(CaretTest, HomeEndAndTheirCtrlForms) {
  Load("abc\r\ndefgh\r\nij", {.FreeCaret = false});
  E.SetRowCol(1, 2);
  Key(VK_END);
  ExpectAt(1, 5);
  Key(VK_HOME);
  ExpectAt(1, 0);
  Key(VK_END, {ssCtrl});
  ExpectAt(2, 2);
  Key(VK_HOME, {ssCtrl});
  ExpectAt(0, 0);
}

TEST_F(CaretTest, UpAndDownStayWithinTheRows) {
  Load("a\r\nb\r\nc");
  Key(VK_UP);
  ExpectAt(0, 0);
  Key(VK_DOWN);
  Key(VK_DOWN);
  Key(VK_DOWN);  // the last row is raEof
  ExpectAt(2, 0);
}

TEST_F(CaretTest, RepeatedDownAtTheLastVisibleRowAccelerates) {
  std::string Text;
  for (int I = 0; I < 200; ++I) Text += "line\r\n";
  Load(Text);
  const int Bottom = E.TopRow() + E.Scroll().VisibleRows() - 1;
  E.SetRow(Bottom);
  Key(VK_DOWN, {}, true);
  EXPECT_EQ(E.Row(), Bottom + E.Speed().CaretVerticalAc());
  E.SetRow(E.TopRow() + E.Scroll().VisibleRows() - 1);
  const int Before = E.Row();
  Key(VK_DOWN);
  EXPECT_EQ(E.Row(), Before + 1);
  E.KeyUp(VK_DOWN, {});
  EXPECT_FALSE(E.KeyRepeating());
}

TEST(CaretPaging, PagingMovesTheTopRowAndTheCaretByTheSameDistance) {
  FakeEditorWindow Window;
  TEditor E(&Window, TPlatform{});
  E.Resize();
  std::string Text;
  for (int I = 0; I < 300; ++I) Text += "line\r\n";
  E.Lines().SetLinesText(Text);
  E.SetRowCol(3, 0);
  E.MakeCaretVisible();
  const int Visible = E.Scroll().VisibleRows();
  ASSERT_GT(Visible, 2);
  const int N = ((Visible - 1) / 2) * E.Speed().PageVerticalRange();
  ASSERT_EQ(E.TopRow(), 0);
  E.KeyDown(VK_NEXT, {});
  EXPECT_EQ(E.TopRow(), N);
  EXPECT_EQ(E.Row(), 3 + N);
  E.KeyDown(VK_NEXT, {}, true);
  const int NAc = ((Visible - 1) / 2) * E.Speed().PageVerticalRangeAc();
  EXPECT_EQ(E.TopRow(), N + NAc);
  EXPECT_EQ(E.Row(), 3 + N + NAc);
  E.KeyUp(VK_NEXT, {});
  E.KeyDown(VK_PRIOR, {});
  E.KeyDown(VK_PRIOR, {});
  E.KeyDown(VK_PRIOR, {});
  EXPECT_EQ(E.TopRow(), 0);
  EXPECT_EQ(E.Row(), 0);  // with the top row already 0 the caret goes to row 0
}

TEST(CaretPaging, CtrlDownScrollsAndTheCaretFollowsOnlyAtTheEdge) {
  FakeEditorWindow Window;
  TEditor E(&Window, TPlatform{});
  E.Resize();
  std::string Text;
  for (int I = 0; I < 100; ++I) Text += "line\r\n";
  E.Lines().SetLinesText(Text);
  E.SetRowCol(2, 0);
  E.MakeCaretVisible();
  E.KeyDown(VK_DOWN, {ssCtrl});
  EXPECT_EQ(E.TopRow(), 1);
  EXPECT_EQ(E.Row(), 2);
  E.KeyDown(VK_DOWN, {ssCtrl});
  E.KeyDown(VK_DOWN, {ssCtrl});
  EXPECT_EQ(E.TopRow(), 3);
  EXPECT_EQ(E.Row(), 3);
  E.KeyDown(VK_UP, {ssCtrl});
  EXPECT_EQ(E.TopRow(), 2);
  EXPECT_EQ(E.Row(), 3);
}

TEST_F(CaretTest, ShiftExtendsAndAPlainMoveDrops) {
  Load("abcdef\r\nghi");
  Key(VK_RIGHT, {ssShift});
  Key(VK_RIGHT, {ssShift});
  EXPECT_EQ(E.SelState(), selSelected);
  EXPECT_EQ(E.GetSelText(), "ab");
  Key(VK_DOWN, {ssShift});
  EXPECT_EQ(E.GetSelText(), "abcdef\r\ngh");
  Key(VK_LEFT);
  EXPECT_EQ(E.SelState(), selNone);
  ExpectAt(1, 1);
}

TEST_F(CaretTest, AMovementKeyDropsAHitEvenWithShift) {
  Load("abcdefgh");
  E.SetHitStyle(hsDraw);
  E.SetRowCol(0, 2);
  E.ShowHit(3);
  ASSERT_EQ(E.SelState(), selHit);
  Key(VK_RIGHT, {ssShift});
  EXPECT_EQ(E.SelState(), selSelected);
  EXPECT_EQ(E.GetSelText(), "f");  // a new selection from the caret after the hit
}

TEST_F(CaretTest, MovementWorksWhileReadOnly) {
  Load("abc");
  E.SetReadOnly(true);
  Key(VK_RIGHT, {ssShift});
  EXPECT_EQ(E.GetSelText(), "a");
}

TEST_F(CaretTest, CtrlRightStopsAtWordStarts) {
  Load("foo bar, baz\r\nnext");
  std::vector<int> Cols;
  for (int I = 0; I < 3; ++I) {
    Key(VK_RIGHT, {ssCtrl});
    Cols.push_back(E.Col());
  }
  EXPECT_EQ(Cols, (std::vector<int>{4, 9, 12}));
  Key(VK_RIGHT, {ssCtrl});  // from the end: the next row's first word
  ExpectAt(1, 0);
}

TEST_F(CaretTest, CtrlLeftStopsAtWordStartsAndLineEnds) {
  Load("foo bar, baz\r\nnext");
  E.SetRowCol(1, 0);
  Key(VK_LEFT, {ssCtrl});
  ExpectAt(0, 12);
  Key(VK_LEFT, {ssCtrl});
  ExpectAt(0, 9);
  Key(VK_LEFT, {ssCtrl});
  Key(VK_LEFT, {ssCtrl});
  ExpectAt(0, 0);
  Key(VK_LEFT, {ssCtrl});
  ExpectAt(0, 0);
}

TEST_F(CaretTest, WordMovementCountsExpandedTabsAndJapaneseRuns) {
  Load("a\tb\r\n" + A + A + Kan + Kan + Ten + "x");
  Key(VK_RIGHT, {ssCtrl});
  ExpectAt(0, 8);
  E.SetRowCol(1, 0);
  Key(VK_RIGHT, {ssCtrl});
  ExpectAt(1, 4);  // hiragana, then kanji
  Key(VK_RIGHT, {ssCtrl});
  ExpectAt(1, 10);  // the comma is no word
  Key(VK_LEFT, {ssCtrl});
  ExpectAt(1, 4);
}

TEST_F(CaretTest, WordMovementAcrossWrapPieces) {
  Load(std::string(15, 'a') + " " + std::string(10, 'b'), {.FreeCaret = false, .WrapByte = 20});
  ASSERT_EQ(E.RowCount(), 2);
  Key(VK_RIGHT, {ssCtrl});
  ExpectAt(0, 16);
  Key(VK_RIGHT, {ssCtrl});  // no word starts later on the piece: the next row
  ExpectAt(1, 0);
  Key(VK_LEFT, {ssCtrl});  // a wrap piece is searched on
  ExpectAt(0, 16);
}

TEST_F(CaretTest, ShiftCtrlRightSelectsAWord) {
  Load("foo bar");
  Key(VK_RIGHT, {ssShift, ssCtrl});
  EXPECT_EQ(E.GetSelText(), "foo ");
}

// The row columns are remembered between caret rules; every setting they come from must still
// reach them, also when the settings belong to another editor on the same rows.
TEST_F(CaretTest, RememberedColumnsFollowTheSettings) {
  Load("ab\tc d");
  EXPECT_EQ(E.RowWidth(0), 11);
  E.Caret().SetTabSpaceCount(4);
  EXPECT_EQ(E.RowWidth(0), 7);
  EXPECT_EQ(E.RowColumnMap(0)[4], ckSingle);
  TByteSet Delimiters = E.Delimiters();
  Delimiters.Include('c');
  E.SetDelimiters(Delimiters);
  EXPECT_EQ(E.RowColumnMap(0)[4], ckDelimiter);

  // Neither editor has the focus: the first one on the rows gives the settings.
  TEditor Second{nullptr, TPlatform{}};
  Second.ShareRowsWith(E);
  Second.Caret().SetTabSpaceCount(8);
  EXPECT_EQ(Second.RowWidth(0), 7);
  E.Caret().SetTabSpaceCount(6);
  EXPECT_EQ(Second.RowWidth(0), 9);
  EXPECT_EQ(E.RowWidth(0), 9);
}

}  // namespace
}  // namespace tesvarin
