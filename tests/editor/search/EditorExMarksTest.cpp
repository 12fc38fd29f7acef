#include <gtest/gtest.h>

#include "testsupport/ChangeRecorder.h"

#include <string>

using namespace std::string_literals;
#include <vector>

#include "editor/search/EditorExMarks.h"
#include "editor/search/EditorExSearch.h"

namespace tesvarin {
namespace {

using test::Recorder;

TEST(EditorExMarks, EachMarkReportsThroughTheSet) {
  TEditorExMarks Marks;
  Recorder R;
  Marks.OnChange = R.Event();
  Marks.DBSpaceMark().SetVisible(true);
  Marks.SpaceMark().SetColor(clRed);
  Marks.TabMark().SetVisible(true);
  Marks.FindMark().SetColor(clNavy);
  Marks.FindMark().SetColor(clNavy);
  EXPECT_EQ(R.Senders, (std::vector<TObject*>(4, &Marks)));
}

TEST(EditorExMarks, AssignCopiesAllFourWithOneNotification) {
  TEditorExMarks From, To;
  From.DBSpaceMark().SetColor(clBlack);
  From.SpaceMark().SetVisible(true);
  From.TabMark().SetColor(clSilver);
  From.FindMark().SetVisible(true);
  From.FindMark().SetColor(clRed);
  Recorder R;
  To.OnChange = R.Event();
  To.Assign(From);
  EXPECT_EQ(R.Senders.size(), 1u);
  EXPECT_EQ(To.DBSpaceMark().Color(), clBlack);
  EXPECT_TRUE(To.SpaceMark().Visible());
  EXPECT_EQ(To.TabMark().Color(), clSilver);
  EXPECT_TRUE(To.FindMark().Visible());
  EXPECT_EQ(To.FindMark().Color(), clRed);
  EXPECT_EQ(To.UpdateCount(), 0);

  TEditorMark Red;
  Red.SetColor(clRed);
  To.SetTabMark(Red);
  EXPECT_EQ(To.TabMark().Color(), clRed);
  EXPECT_EQ(R.Senders.size(), 2u);
}

TEST(EditorExMarks, AssignFromAnotherClassFallsBackAndClosesNothingOpen) {
  TEditorExMarks To;
  TEditorMark Mark;
  EXPECT_THROW(To.Assign(Mark), EConvertAssign);
  EXPECT_EQ(To.UpdateCount(), 0);
}

struct RowCase {
  const char* Name;
  std::string Find;
  TExSearchOptions Options;
  std::string Line;
  int RowStart, RowLength;
  std::vector<TFindHit> Hits;
};

TEST(EditorExMarks, GetFindHitsRecordRules) {
  const TExSearchOptions Re{soRegexp};
  const RowCase Cases[] = {
      {"starts in row, runs past", "XXbb", {}, "aaXXbbbbXXbbcc", 0, 4, {{3, 2}}},
      {"began in the row before", "XXbb", {}, "aaXXbbbbXXbbcc", 4, 4, {{1, 2}}},
      {"fills the row exactly", "XXbb", {}, "aaXXbbbbXXbbcc", 8, 4, {{1, 4}}},
      {"no hit in row", "XXbb", {}, "aaXXbbbbXXbbcc", 12, 2, {}},
      {"covers the whole row", "abcdef", {}, "xabcdefx", 2, 2, {{1, 2}}},
      {"two in one row", "a", {}, "xaxa", 0, 4, {{2, 1}, {4, 1}}},
      {"empty matches are no hits", "x*", Re, "ab", 0, 2, {}},
      {"empty find", "", {}, "ab", 0, 2, {}},
      {"hits after a NUL", "a", {}, "a\0a"s, 0, 3, {{1, 1}, {3, 1}}},
      {"hit on the row's last byte", "bc", {}, "abcd", 0, 2, {{2, 1}}},
      {"later rows see cut hits", "bc", {}, "abcd", 2, 2, {{1, 1}}},
  };
  for (const RowCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    TEditorExSearch S;
    S.SetFindString(C.Find);
    S.SetExSearchOptions(C.Options);
    std::vector<TFindHit> Hits{{9, 9}};
    EXPECT_EQ(GetFindHits(S, C.Line, C.RowStart, C.RowLength, Hits), static_cast<int>(C.Hits.size()));
    EXPECT_EQ(Hits, C.Hits);
  }
}

TEST(EditorExMarks, LongLineHitsAcrossSearchWindowsAndOnlyAsFarAsAsked) {
  std::string Line(300000, 'x');
  const std::vector<int> At{10, 4096 - 3, 65536 - 3, 65536 + 300, 200000, 299990};
  for (int P : At) Line.replace(static_cast<size_t>(P), 6, "needle");
  TEditorExSearch S;
  S.SetFindString("NEEDLE");
  THitWalk Walk;
  Walk.Reset(Line);
  WalkHits(S, Walk, 1000);
  EXPECT_EQ(Walk.Hits, (std::vector<TFindHit>{{11, 6}}));  // a shown row needs no more
  WalkHits(S, Walk, Line.size());
  std::vector<TFindHit> Expected;
  for (int P : At) Expected.push_back({P + 1, 6});
  EXPECT_EQ(Walk.Hits, Expected);
  std::vector<TFindHit> Row;
  EXPECT_EQ(RowHits(Walk.Hits, 65536, 100, Row), 1);  // the hit that began in the row before
  EXPECT_EQ(Row, (std::vector<TFindHit>{{1, 3}}));
}

}  // namespace
}  // namespace tesvarin
