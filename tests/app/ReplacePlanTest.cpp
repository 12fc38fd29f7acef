// The plan of a replace, applied over the bytes it was made from, gives exactly what the editor's
// replace-all gives, whatever the breaks, the options and the hits across lines; a hit left out
// stays as it was; the diff shows the changed lines.
#include <gtest/gtest.h>

#include "app/FormEditorEx.h"
#include "app/ReplacePlan.h"
#include "support/StringList.h"
#include "testsupport/TempFolder.h"

namespace tesvarin::test {
namespace {

struct Planner {
  TEditorEx Ed{nullptr, TPlatform{}};
  TFormEditorEx E{Ed};
  TempFolder Dir;

  // Loads Bytes, replaces Find by Replacement and returns the plan; Original and After get the
  // editor's bytes before and after.
  TReplacePlan Plan(const std::string& Bytes, const std::string& Find, const std::string& Replacement,
                    TExSearchOptions Options = {}) {
    WriteFileBytes(Dir / "f.txt", Bytes);
    E.LoadFromFile(Dir / "f.txt");
    Original = E.SaveText();
    E.SetFindString(Find);
    E.SetExSearchOptions(Options);
    TReplaceSpots Spots;
    E.ReplaceAll(Replacement, true, &Spots);
    After = E.SaveText();
    return TReplacePlan(Original, Spots);
  }
  std::string Original, After;
};

TEST(ReplacePlan, AppliedOverTheOriginalItGivesWhatTheEditorWrites) {
  struct Case {
    std::string Text, Find, Replacement;
    TExSearchOptions Options;
  };
  const Case Cases[] = {
      {"a hit\nb\nhit\n", "hit", "HIT", {}},
      {"hit\nb\r\nc hit\rd\n\re hit", "hit", "1\\r\\n2", {}},
      {"hitHIThit\r\n", "hit", "", {}},
      {std::string("x\0y hit\r\n\x1a tail hit\n", 20), "hit", "longer text", {}},
      {"\x93\xfa\x96\x7bhit\x95\x5c\r\n\x93\xfa\x96\x7b\n", "\x93\xfa\x96\x7b", "\x83\x5c", {}},
      {"ab12cd345\nef6\n", "[0-9]+", "#", {soRegexp}},
      // A regular expression with a break runs over the whole text: hits cross lines.
      {"end\r\nstart x\nend\nstart\rend\r\nstart", "end\\r\\nstart", "joined", {soRegexp}},
      {"one two\r\ntwo one\n", "two", "2", {soWholeWord}},
      {"Hit hit HIT\n", "hit", "x", {soMatchCase}},
  };
  for (const Case& C : Cases) {
    Planner P;
    const TReplacePlan Plan = P.Plan(C.Text, C.Find, C.Replacement, C.Options);
    ASSERT_FALSE(Plan.Hits.empty()) << C.Text;
    EXPECT_EQ(P.Original, C.Text);
    EXPECT_EQ(Plan.Apply(P.Original), P.After) << C.Text;
    for (const TPlannedHit& H : Plan.Hits) EXPECT_EQ(P.Original.substr(H.Offset, H.Old.size()), H.Old);
  }
}

TEST(ReplacePlan, HitsKnowTheirLinesAndAnUntickedHitStays) {
  Planner P;
  TReplacePlan Plan = P.Plan("a hit\r\nb\rc hit hit\nd\n\nhit", "hit", "X");
  ASSERT_EQ(Plan.Hits.size(), 4u);
  EXPECT_EQ(Plan.Hits[0].Line, 1);
  EXPECT_EQ(Plan.Hits[1].Line, 3);
  EXPECT_EQ(Plan.Hits[2].Line, 3);
  EXPECT_EQ(Plan.Hits[3].Line, 6);
  EXPECT_EQ(Plan.Hits[1].LineText, "c hit hit");
  EXPECT_EQ(TReplacePlan::LineAfter(Plan.Hits[2]), "c hit X");
  Plan.Hits[1].Ticked = false;
  Plan.Hits[3].Ticked = false;
  EXPECT_EQ(Plan.TickedCount(), 2u);
  EXPECT_EQ(Plan.Apply(P.Original), "a X\r\nb\rc hit X\nd\n\nhit");
  for (TPlannedHit& H : Plan.Hits) H.Ticked = false;
  EXPECT_TRUE(Plan.Empty());
  EXPECT_EQ(Plan.Apply(P.Original), P.Original);
}

TEST(ReplacePlan, DiffHunksShowTheChangedLinesOnly) {
  Planner P;
  const TReplacePlan Plan = P.Plan("keep\nhit one\nkeep\nhit hit\nhit", "hit", "a\\r\\nb");
  EXPECT_EQ(DiffHunks(P.Original, Plan),
            "@@ -2 +2,2 @@\n-hit one\n+a\n+b one\n"
            "@@ -4 +5,3 @@\n-hit hit\n+a\n+b a\n+b\n"
            "@@ -5 +8,2 @@\n-hit\n\\ No newline at end of file\n+a\n+b\n\\ No newline at end of file\n");
}

TEST(ReplacePlan, AHitAcrossLinesMakesOneHunkOfThem) {
  Planner P;
  const TReplacePlan Plan = P.Plan("x\nend\r\nstart y\nz\n", "end\\r\\nstart", "-", {soRegexp});
  ASSERT_EQ(Plan.Hits.size(), 1u);
  EXPECT_EQ(Plan.Hits[0].Old, "end\r\nstart");
  EXPECT_EQ(DiffHunks(P.Original, Plan), "@@ -2,2 +2 @@\n-end\n-start y\n+- y\n");
}

}  // namespace
}  // namespace tesvarin::test
