// Row marks: one row per command mark, the set of placed marks, jumping.
#include <gtest/gtest.h>

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
  E.GotoMark(3);
  EXPECT_EQ(E.Row(), 3);
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
