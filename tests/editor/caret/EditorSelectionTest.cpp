// The selection model: the box column-to-byte rule, stream, one-row and box length and text, offset
// round trips against the text itself, hits, mode switches and editors sharing one store.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor/Editor.h"
#include "editor/caret/EditorSelection.h"

namespace tesvarin {
namespace {

// Hiragana a, i, u and a kanji: two bytes each in code page 932.
const std::string A = "\x82\xa0";
const std::string I = "\x82\xa2";
const std::string U = "\x82\xa4";

TEST(EditorSelection, JapaneseTextsAreCodePage932Bytes) {
  EXPECT_EQ(std::string(A + I + U), std::string("\x82\xa0\x82\xa2\x82\xa4", 6));
}

struct BoxCase {
  const char* Name;
  std::string Row;
  int Left;
  int Right;
  TBoxSpan Expected;
};

TEST(EditorSelection, BoxColumnsToBytes) {
  const std::vector<BoxCase> Cases = {
      {"second half at left is left out, first half at right-1 taken whole", A + I + U, 1, 3, {2, 4}},
      {"whole characters", A + I + U, 0, 2, {0, 2}},
      {"first half alone at the right edge", A + I + U, 0, 1, {0, 2}},
      {"only a second half covered", A + I + U, 1, 2, {2, 2}},
      {"tab fill at left is left out", "a\tb", 3, 9, {2, 3}},
      {"tab fill reaching right-1 takes the tab", "a\tb", 1, 4, {1, 2}},
      {"inside one tab's fill: nothing", "a\tb", 2, 5, {2, 2}},
      {"row shorter than left", "ab", 5, 8, {2, 2}},
      {"right past the row's end", "abc", 1, 10, {1, 3}},
      {"empty box", "abc", 2, 2, {3, 3}},
      {"mixed single and double", "x" + A + "y", 2, 4, {3, 4}},
  };
  TColumnSettings Settings;
  Settings.Delimiters = DefaultDelimiters();
  for (const BoxCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    const TColumnMap Map = ColumnMap(C.Row, Settings);
    EXPECT_EQ(TEditorSelection::BoxSpan(Map, static_cast<int>(C.Row.size()), C.Left, C.Right), C.Expected);
  }
}

class SelectionTest : public ::testing::Test {
protected:
  TEditor E{nullptr, TPlatform{}};

  void Load(const std::string& Text) {
    E.Lines().SetLinesText(Text);
    E.SetRowCol(0, 0);
  }
  void Select(int R1, int C1, int R2, int C2) {
    E.SetRowCol(R1, C1);
    E.Selection().Start();
    E.SetRowCol(R2, C2);
    E.Selection().Extend();
  }
};

TEST_F(SelectionTest, StreamOverSeveralRows) {
  Load("ab\r\ncd\r\nef");
  Select(2, 1, 0, 1);  // anchor below the caret: the range is normalized
  EXPECT_EQ(E.Selection().Range(), (TSelRange{0, 1, 2, 0}));
  EXPECT_EQ(E.GetSelLength(), 8);
  EXPECT_EQ(E.GetSelText(), "b\r\ncd\r\ne");
  EXPECT_EQ(E.GetSelStart(), 1);
}

TEST_F(SelectionTest, StreamEndingAtARowStartTakesTheLineBreakOnly) {
  Load("ab\r\ncd");
  Select(0, 1, 1, 0);
  EXPECT_EQ(E.Selection().Range().EndByte, -1);
  EXPECT_EQ(E.GetSelText(), "b\r\n");
  EXPECT_EQ(E.GetSelLength(), 3);
}

TEST_F(SelectionTest, OneRowWithDoubleByteCharacters) {
  Load("x" + A + I + "y");
  Select(0, 1, 0, 5);
  EXPECT_EQ(E.GetSelText(), A + I);
  EXPECT_EQ(E.GetSelLength(), 4);
}

TEST_F(SelectionTest, BoxTakesEachRowsBytesWithALineBreak) {
  Load("abcdef\r\n" + A + I + U + "\r\nabcdef");
  E.SetSelectionMode(true);
  Select(0, 1, 2, 3);
  EXPECT_EQ(E.Selection().Rect(), (TSelRect{0, 2, 1, 3}));
  EXPECT_EQ(E.GetSelText(), "bc\r\n" + I + "\r\nbc\r\n");
  EXPECT_EQ(E.GetSelLength(), 12);
}

TEST_F(SelectionTest, BoxPastShortRowsAndTheFinalBreak) {
  Load("abcdef\r\nab\r\n");
  E.SetSelectionMode(true);
  Select(0, 3, 2, 5);  // row 2 is the place after the final break: no box row
  EXPECT_EQ(E.GetSelText(), "de\r\n\r\n");
  EXPECT_EQ(E.GetSelLength(), 6);
}

TEST_F(SelectionTest, ModeSwitchRecomputesFromTheUncappedAnchor) {
  Load("ab\r\nabcdefgh");
  ASSERT_TRUE(E.Caret().FreeCaret());
  int ModeChanges = 0;
  int Changes = 0;
  E.OnSelectionModeChange = TNotifyEvent::Lambda([&](TObject*) { ++ModeChanges; });
  E.OnSelectionChange = [&](TObject*, bool Selected) {
    EXPECT_TRUE(Selected);
    ++Changes;
  };
  Select(0, 8, 1, 3);
  EXPECT_EQ(E.Selection().Rect(), (TSelRect{0, 1, 2, 3}));  // anchor capped at its row's width
  E.SetSelectionMode(true);
  EXPECT_EQ(E.Selection().Rect(), (TSelRect{0, 1, 3, 8}));
  EXPECT_EQ(E.GetSelText(), "\r\ndefgh\r\n");
  EXPECT_EQ(ModeChanges, 1);
  EXPECT_EQ(Changes, 2);
  E.SetSelectionMode(true);
  EXPECT_EQ(ModeChanges, 1);
}

TEST_F(SelectionTest, ContainsFollowsTheBytesOfAStreamAndTheColumnsOfABox) {
  Load("abcd\r\n" + A + I + "\r\nxy");
  Select(0, 2, 1, 2);
  EXPECT_FALSE(E.Selection().Contains(0, 1));
  EXPECT_TRUE(E.Selection().Contains(0, 2));
  EXPECT_TRUE(E.Selection().Contains(0, 9));   // past the row: its line break is selected
  EXPECT_TRUE(E.Selection().Contains(1, 1));   // second half of the first character
  EXPECT_FALSE(E.Selection().Contains(1, 2));  // the end is exclusive
  EXPECT_FALSE(E.Selection().Contains(2, 0));
  E.SetSelectionMode(true);
  EXPECT_FALSE(E.Selection().Contains(1, 1));  // a box of columns 2 .. 1: empty
  Select(0, 1, 2, 2);
  EXPECT_TRUE(E.Selection().Contains(1, 1));
  EXPECT_TRUE(E.Selection().Contains(2, 1));
  EXPECT_FALSE(E.Selection().Contains(0, 2));
  EXPECT_FALSE(E.Selection().Contains(1, 0));
}

TEST_F(SelectionTest, StartOnAnEmptyTextDoesNothing) {
  Load("");
  E.Selection().Start();
  EXPECT_EQ(E.SelState(), selNone);
  E.SetSelLength(5);
  EXPECT_EQ(E.SelState(), selNone);
}

// Every offset that is a character boundary, the end of the text included.
std::vector<int64_t> Boundaries(const std::string& Text) {
  std::vector<int64_t> Out;
  for (size_t I = 0; I < Text.size();) {
    Out.push_back(static_cast<int64_t>(I));
    if (Text[I] == '\r' && I + 1 < Text.size() && Text[I + 1] == '\n') I += 2;
    else if (static_cast<unsigned char>(Text[I]) >= 0x81 && static_cast<unsigned char>(Text[I]) <= 0x9f) I += 2;
    else ++I;
  }
  Out.push_back(static_cast<int64_t>(Text.size()));
  return Out;
}

void CheckRoundTrips(TEditor& E, const std::string& Text) {
  for (int64_t S : Boundaries(Text)) {
    E.SetSelStart(S);
    ASSERT_EQ(E.GetSelStart(), S) << "start " << S;
    for (int64_t End : Boundaries(Text)) {
      if (End <= S) continue;
      E.SetSelStart(S);
      E.SetSelLength(End - S);
      ASSERT_EQ(E.GetSelStart(), S) << S << ".." << End;
      ASSERT_EQ(E.GetSelLength(), End - S) << S << ".." << End;
      ASSERT_EQ(E.GetSelText(), Text.substr(static_cast<size_t>(S), static_cast<size_t>(End - S))) << S << ".." << End;
    }
  }
}

TEST_F(SelectionTest, OffsetsRoundTripAndSelectTheTextsOwnBytes) {
  const std::string Text = "ab\r\n" + A + "c\t" + I + "\r\n\r\nd";
  Load(Text);
  CheckRoundTrips(E, Text);
}

TEST_F(SelectionTest, OffsetsRoundTripOverWrapPieces) {
  const std::string Text = std::string(45, 'w') + "\r\n" + A + std::string(30, 'k') + "\r\n";
  E.WrapOption().SetWrapByte(20);
  E.SetWordWrap(true);
  Load(Text);
  ASSERT_GT(E.RowCount(), 4);
  CheckRoundTrips(E, Text);
}

TEST_F(SelectionTest, SelectAllTakesTheWholeText) {
  const std::string Text = "one\r\n" + A + "two\r\nthree";
  Load(Text);
  E.SelectAll();
  EXPECT_EQ(E.GetSelText(), Text);
  EXPECT_EQ(E.GetSelLength(), static_cast<int64_t>(Text.size()));
  EXPECT_EQ(E.GetSelStart(), 0);
}

TEST_F(SelectionTest, SelLengthWithoutSelectionOrZeroMovesNothing) {
  Load("abcdef");
  E.SetRowCol(0, 3);
  E.SetSelLength(0);
  EXPECT_EQ(E.Col(), 3);
  EXPECT_EQ(E.SelState(), selNone);
}

TEST_F(SelectionTest, SelLengthStartsFromAnExistingSelectionAndLeavesBoxMode) {
  Load("abcdefgh");
  E.SetSelectionMode(true);
  Select(0, 5, 0, 2);
  E.SetSelLength(2);
  EXPECT_FALSE(E.SelectionMode());
  EXPECT_EQ(E.GetSelStart(), 2);
  EXPECT_EQ(E.GetSelText(), "cd");
  EXPECT_EQ(E.Col(), 4);
}

struct HitCase {
  TEditorHitStyle Style;
  TEditorSelState State;
  int CaretCol;
};

TEST_F(SelectionTest, ShowHitByStyle) {
  const std::vector<HitCase> Cases = {{hsSelect, selSelected, 5}, {hsDraw, selHit, 5}, {hsCaret, selHit, 2}};
  for (const HitCase& C : Cases) {
    SCOPED_TRACE(static_cast<int>(C.Style));
    Load("abcdefgh");
    E.SetHitStyle(C.Style);
    E.SetRowCol(0, 2);
    E.ShowHit(3);
    EXPECT_EQ(E.SelState(), C.State);
    EXPECT_EQ(E.Col(), C.CaretCol);
    EXPECT_EQ(E.GetSelText(), "cde");
    EXPECT_EQ(E.HitLength(), 3);
  }
}

TEST_F(SelectionTest, SelLengthZeroWithAHitPutsTheCaretAtItsStart) {
  Load("abc\r\nabcdefgh");
  E.SetHitStyle(hsDraw);
  E.SetRowCol(1, 4);
  E.ShowHit(3);
  ASSERT_EQ(E.Col(), 7);
  E.SetSelLength(0);
  EXPECT_EQ(E.SelState(), selNone);
  EXPECT_EQ(E.HitLength(), 0);
  EXPECT_EQ(E.Row(), 1);
  EXPECT_EQ(E.Col(), 4);
}

TEST_F(SelectionTest, CleanSelectionReportsTheDrop) {
  Load("abc");
  std::vector<bool> Seen;
  E.OnSelectionChange = [&](TObject*, bool Selected) { Seen.push_back(Selected); };
  Select(0, 0, 0, 2);
  E.CleanSelection();
  E.CleanSelection();  // nothing left to drop
  EXPECT_EQ(Seen, (std::vector<bool>{true, false}));
}

TEST(EditorSelectionSharing, EditorsOnOneStoreKeepTheirOwnCaretsAndSelections) {
  TEditor First(nullptr, TPlatform{});
  TEditor Second(nullptr, TPlatform{});
  Second.ShareRowsWith(First);
  First.Lines().SetLinesText("alpha\r\nbeta\r\ngamma\r\ndelta");
  First.SetRowCol(3, 2);
  Second.SetRowCol(1, 1);
  Second.Selection().Start();
  Second.SetRowCol(2, 3);
  Second.Selection().Extend();
  EXPECT_EQ(First.Row(), 3);
  EXPECT_EQ(First.Col(), 2);
  EXPECT_EQ(First.SelState(), selNone);
  EXPECT_EQ(Second.GetSelText(), "eta\r\ngam");
  // Removing the last lines keeps both carets within the rows.
  First.Lines().Delete(3);
  First.Lines().Delete(2);
  EXPECT_LE(First.Row(), First.ListRows().MaxCaretRow());
  EXPECT_LE(Second.Row(), Second.ListRows().MaxCaretRow());
}

}  // namespace
}  // namespace tesvarin
