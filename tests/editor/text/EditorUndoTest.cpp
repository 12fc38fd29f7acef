#include <gtest/gtest.h>

#include <string>

#include "editor/FakeEditorView.h"
#include "editor/text/EditorScreenStrings.h"
#include "editor/text/EditorStrings.h"
#include "editor/text/EditorUndo.h"

namespace tesvarin {
namespace {

class Undo : public ::testing::Test {
protected:
  TEditorScreenStrings Rows;
  FakeEditorView View;
  TEditorStrings Lines{Rows, &View};
  TEditorUndoObj& U() { return Rows.UndoObj(); }
  void SetUp() override { Rows.AttachEditor(View); }
  // Types one character at the end of row 0, as the editor does.
  void Type(char C) {
    std::string Row = Rows.Get(0);
    bool Broken = Rows.RowAttribute(0) == raCrlf;
    Rows.UpdateRows(0, 1, Row + C + (Broken ? "\r\n" : ""));
    View.Col = static_cast<int>(Row.size()) + 1;
  }
};

TEST_F(Undo, SixtyFiveInsertionsKeepTheLastSixtyFour) {
  Lines.SetLinesText("");
  Rows.UpdateRows(0, 0, "0");
  for (int I = 1; I < 65; ++I) Type(static_cast<char>('a' + I % 26));
  EXPECT_EQ(U().UndoList().Count(), 64);
  for (int I = 0; I < 64; ++I) U().Undo();
  EXPECT_EQ(Lines.Text(), "0");
  EXPECT_FALSE(U().CanUndo());
  U().Undo();
  EXPECT_EQ(Lines.Text(), "0");
}

TEST_F(Undo, UndoListMaxHasALowerBound) {
  U().SetUndoListMax(10);
  EXPECT_EQ(U().UndoListMax(), 64);
  U().SetUndoListMax(100);
  EXPECT_EQ(U().UndoListMax(), 100);
  Lines.SetLinesText("x");
  for (int I = 0; I < 120; ++I) Type('y');
  EXPECT_EQ(U().UndoList().Count(), 100);
}

struct UndoCase {
  const char* Name;
  const char* Start;
  int First;
  int Count;
  const char* Text;
  const char* After;
};

TEST_F(Undo, UndoRestoresAndRedoReappliesTable) {
  const UndoCase Cases[] = {
      {"enter on the place after the final break", "a\r\n", 1, 0, "\r\n", "a\r\n\r\n"},
      {"text on the place after the final break", "a\r\n", 1, 0, "bc", "a\r\nbc"},
      {"whole line deletion", "a\r\nb\r\nc", 1, 1, "", "a\r\nc"},
      {"deleting the last line", "a\r\nb", 1, 1, "", "a\r\n"},
      {"deleting the only line", "a", 0, 1, "", ""},
      {"joining two lines", "ab\r\ncd\r\n", 0, 1, "ab", "abcd\r\n"},
      {"splitting a line", "abcd", 0, 1, "ab\r\ncd", "ab\r\ncd"},
      {"insert into an empty store", "", 0, 0, "x\r\ny", "x\r\ny"},
  };
  for (bool Wrap : {false, true}) {
    Rows.SetWordWrap(Wrap);
    for (const UndoCase& C : Cases) {
      SCOPED_TRACE(C.Name);
      Lines.SetLinesText(C.Start);
      Rows.UpdateRows(C.First, C.Count, C.Text);
      ASSERT_EQ(Lines.Text(), C.After);
      U().Undo();
      EXPECT_EQ(Lines.Text(), C.Start);
      EXPECT_TRUE(U().CanRedo());
      U().Redo();
      EXPECT_EQ(Lines.Text(), C.After);
      EXPECT_FALSE(U().CanRedo());
      EXPECT_TRUE(U().CanUndo());
    }
  }
}

TEST_F(Undo, TypingAfterUndoClearsRedo) {
  Lines.SetLinesText("a");
  Type('b');
  U().Undo();
  ASSERT_TRUE(U().CanRedo());
  Type('c');
  EXPECT_FALSE(U().CanRedo());
  EXPECT_EQ(Lines.Text(), "ac");
}

// An undo or redo that fails after putting rows back, while making the item that takes it back,
// drops the item it carried out: applied a second time it would put old rows over a text they no
// longer fit. Nor may a failed redo leave later edits keeping the redo list.
TEST_F(Undo, AnUndoOrRedoThatFailsHalfWayLeavesListsThatFitTheText) {
  Lines.SetLinesText("a");
  Type('b');
  Type('c');
  U().Undo();
  U().Undo();
  View.CaretRowFails = true;
  EXPECT_THROW(U().Redo(), std::bad_alloc);
  View.CaretRowFails = false;
  EXPECT_FALSE(U().Replaying());
  EXPECT_EQ(Lines.Text(), "ab");
  U().Redo();
  EXPECT_EQ(Lines.Text(), "abc");
  U().Undo();
  ASSERT_TRUE(U().CanRedo());
  Type('x');
  EXPECT_FALSE(U().CanRedo());
  EXPECT_EQ(Lines.Text(), "abx");

  View.CaretRowFails = true;
  EXPECT_THROW(U().Undo(), std::bad_alloc);
  View.CaretRowFails = false;
  EXPECT_EQ(Lines.Text(), "ab");
  EXPECT_FALSE(U().CanUndo());
  EXPECT_FALSE(U().CanRedo());
}

TEST_F(Undo, CaretGoesWhereItStoodBeforeTheChangeAndWhenTheUndoWasMade) {
  Lines.SetLinesText("abc\r\ndef\r\n");
  View.Row = 1;
  View.Col = 2;
  Rows.UpdateRows(1, 1, "deXf\r\n");
  View.Row = 1;
  View.Col = 3;
  U().Undo();
  EXPECT_EQ(View.Row, 1);
  EXPECT_EQ(View.Col, 2);
  View.Row = 0;
  View.Col = 1;
  U().Redo();
  EXPECT_EQ(Lines.Text(), "abc\r\ndeXf\r\n");
  EXPECT_EQ(View.Row, 1);  // where it stood when the undo was made
  EXPECT_EQ(View.Col, 3);
}

TEST_F(Undo, ChangingWrapOrAWrapOptionEmptiesBothLists) {
  Lines.SetLinesText("a");
  Type('b');
  U().Undo();
  Type('c');
  U().Undo();
  ASSERT_TRUE(U().CanRedo());
  Rows.SetWordWrap(true);
  EXPECT_FALSE(U().CanUndo());
  EXPECT_FALSE(U().CanRedo());
  Type('d');
  Rows.WrapOption().SetWrapByte(40);
  EXPECT_FALSE(U().CanUndo());
}

TEST_F(Undo, UndoingAWholeLineDeletionPutsItsMarkBack) {
  Lines.SetLinesText("a\r\nb\r\nc\r\n");
  Rows.SetRowMarks(1, 0x4);
  Rows.IncludeMarks(0x4);
  Lines.Delete(1);
  EXPECT_EQ(Rows.RowMarks(1), 0x4);  // carried to the row now there
  U().Undo();
  EXPECT_EQ(Lines.Text(), "a\r\nb\r\nc\r\n");
  EXPECT_EQ(Rows.RowMarks(1) | Rows.RowMarks(2), 0x4);
}

// ---- row marks, states and notifications of the store ----

TEST(RowStore, DeletingTheOnlyLineClearsItsMarksFromTheMarkSet) {
  TEditorScreenStrings Rows;
  TEditorStrings Lines(Rows, nullptr);
  Lines.SetLinesText("only");
  Rows.SetRowMarks(0, 0x3);
  Rows.IncludeMarks(0x3);
  Lines.Delete(0);
  EXPECT_EQ(Rows.Count(), 0);
  EXPECT_EQ(Rows.MarkSet(), 0);
}

TEST(RowStore, InsertedLinesPushTheMarkDownOnlyFromColumnZero) {
  for (int Col : {0, 3}) {
    TEditorScreenStrings Rows;
    FakeEditorView View;
    Rows.AttachEditor(View);
    TEditorStrings Lines(Rows, &View);
    Lines.SetLinesText("abc\r\n");
    Rows.SetRowMarks(0, 0x1);
    View.Col = Col;
    Rows.UpdateRows(0, 1, Col == 0 ? "x\r\nabc\r\n" : "abc\r\nx\r\n");
    EXPECT_EQ(Rows.RowMarks(Col == 0 ? 1 : 0), 0x1) << Col;
    EXPECT_EQ(Rows.RowMarks(Col == 0 ? 0 : 1), 0) << Col;
  }
}

TEST(RowStore, MarksStayOnTheirLineThroughRewrapAndUnwrap) {
  TEditorScreenStrings Rows;
  TEditorStrings Lines(Rows, nullptr);
  Rows.WrapOption().SetWrapByte(20);
  std::string Wide(45, 'q');
  Lines.SetLinesText("a\r\n" + Wide + "\r\nb");
  Rows.SetRowMarks(1, 0x2);
  Rows.SetRowMarks(2, 0x8);
  Rows.SetWordWrap(true);
  ASSERT_EQ(Rows.Count(), 5);
  EXPECT_EQ(Rows.RowMarks(1), 0x2);
  EXPECT_EQ(Rows.RowMarks(4), 0x8);
  Rows.SetRowMarks(3, 0x10);  // a mark on the last piece of the wide line
  Rows.SetWordWrap(false);
  ASSERT_EQ(Rows.Count(), 3);
  EXPECT_EQ(Rows.RowMarks(1), 0x12);
  EXPECT_EQ(Rows.RowMarks(2), 0x8);
  EXPECT_EQ(Rows.RowAttribute(2), raEof);
  EXPECT_EQ(Lines.Text(), "a\r\n" + Wide + "\r\nb");
}

class LastChangeView : public FakeEditorView {
public:
  const TEditorScreenStrings* Rows = nullptr;
  TLastChange Seen;
  void TextChanged() override {
    FakeEditorView::TextChanged();
    Seen = Rows->LastChange();
  }
};

TEST(RowStore, EditorsSeeTheLastChangeOnceAndCaretsAreKeptWithinTheRows) {
  TEditorScreenStrings Rows;
  LastChangeView View;
  View.Rows = &Rows;
  Rows.AttachEditor(View);
  TEditorStrings Lines(Rows, &View);
  Lines.SetLinesText("a\r\nb\r\nc\r\nd");
  View.TextChanges = 0;
  View.Row = 3;
  View.Top = 3;
  Rows.UpdateRows(1, 3, "");
  EXPECT_EQ(View.TextChanges, 1);
  EXPECT_TRUE(View.Seen.Valid);
  EXPECT_EQ(View.Seen.FirstRow, 1);
  EXPECT_FALSE(Rows.LastChange().Valid);
  EXPECT_LE(View.Row, Rows.MaxCaretRow());
  EXPECT_LE(View.Top, Rows.MaxCaretRow());
}

TEST(RowStore, RowStatesAreComputedAheadAndRefreshStopsAtAMatch) {
  TEditorScreenStrings Rows;
  FakeEditorView View;
  CountingProvider Provider;
  View.Provider = &Provider;
  View.Screen = 2;
  View.BracketsFull = false;
  Rows.AttachEditor(View);
  TEditorStrings Lines(Rows, &View);
  std::string Text;
  for (int I = 0; I < 30; ++I) Text += "row\r\n";
  Lines.SetLinesText(Text);
  // Two screens from the top row are computed; the rest waits.
  EXPECT_EQ(Rows.ElementState(3), 3);
  EXPECT_EQ(Rows.BracketIndex(4), -1);
  EXPECT_EQ(Rows.BracketIndex(10), -2);
  // An edit far down computes the rows above it on the way.
  Rows.UpdateRows(20, 1, "ROW\r\n");
  EXPECT_EQ(Rows.ElementState(20), 20);
  EXPECT_EQ(Rows.BracketIndex(15), -1);
  // A change that leaves the states alone stops at the first matching row (row 6 was re-split).
  View.Invalidated.clear();
  Rows.UpdateRows(5, 1, "r\r\n");
  EXPECT_EQ(View.Invalidated, (std::vector<int>{5, 6}));
  // Inserting a row shifts every state below it, up to two screens ahead; further rows wait.
  View.Invalidated.clear();
  Rows.UpdateRows(5, 0, "new\r\n");
  EXPECT_EQ(View.Invalidated.size(), 5u);
  EXPECT_EQ(Rows.ElementState(9), 9);
  EXPECT_EQ(Rows.BracketIndex(10), -2);
}

}  // namespace
}  // namespace tesvarin
