// Row marks: one row per command mark, the set of placed marks, jumping.
#include <gtest/gtest.h>

#include <string>

#include "editor/FakeEditorWindow.h"
#include "editor/Editor.h"

namespace tesvarin {
namespace {

TEST(EditorRowMarks, PuttingMarkThreeElsewhereMovesIt) {
  TEditor E(nullptr, TPlatform{});
  E.Lines().SetLinesText("a\r\nb\r\nc\r\nd");
  E.PutMark(1, 3);
  E.PutMark(3, 3);
  EXPECT_EQ(E.RowMarksOf(1), 0);
  EXPECT_EQ(E.RowMarksOf(3), 1 << 3);
  EXPECT_EQ(E.ListRows().MarkSet(), 1 << 3);
  E.SetRowCol(0, 0);
  E.GotoMark(3);
  EXPECT_EQ(E.Row(), 3);
  E.DeleteMark(3, 3);
  EXPECT_EQ(E.ListRows().MarkSet(), 0);
  E.SetRowCol(1, 0);
  E.GotoMark(3);  // gone: the caret stays
  EXPECT_EQ(E.Row(), 1);
}

// The fake window shows 16 rows: a mark off the screen is brought to its middle, one on it leaves
// the screen where it is.
TEST(EditorRowMarks, GotoMarkScrollsAnOffScreenMarkIntoView) {
  struct Case {
    int Top, Mark, WantTop;
  } Cases[] = {{0, 60, 52}, {0, 15, 0}, {0, 16, 8}, {40, 40, 40}, {40, 39, 31}, {40, 3, 0}, {52, 60, 52}};
  FakeEditorWindow Window;
  TEditor E(&Window, TPlatform{});
  std::string Text;
  for (int I = 0; I < 100; ++I) Text += "x\r\n";
  E.Lines().SetLinesText(Text);
  E.Refresh();
  ASSERT_EQ(E.ScreenRows(), 16);
  for (const Case& K : Cases) {
    SCOPED_TRACE(testing::Message() << "top " << K.Top << " mark " << K.Mark);
    E.SetTopRow(K.Top);
    E.SetRowCol(K.Top + 1, 0);
    E.PutMark(K.Mark, 2);
    E.GotoMark(2);
    EXPECT_EQ(E.Row(), K.Mark);
    EXPECT_EQ(E.TopRow(), K.WantTop);
  }
}

TEST(EditorRowMarks, HighMarksMayStandOnSeveralRowsAndStayPlacedUntilTheLastGoes) {
  TEditor E(nullptr, TPlatform{});
  E.Lines().SetLinesText("a\r\nb\r\nc");
  E.PutMark(0, 12);
  E.PutMark(2, 12);
  EXPECT_EQ(E.RowMarksOf(0), 1 << 12);
  E.DeleteMark(0, 12);
  EXPECT_EQ(E.ListRows().MarkSet(), 1 << 12);
  E.SetRowMarks(2, 0);
  EXPECT_EQ(E.ListRows().MarkSet(), 0);
  E.PutMark(7, 1);   // no such row
  E.PutMark(0, 16);  // no such mark
  EXPECT_EQ(E.ListRows().MarkSet(), 0);
}

}  // namespace
}  // namespace tesvarin
