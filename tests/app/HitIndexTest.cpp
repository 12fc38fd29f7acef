#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/HitIndex.h"
#include "editor/EditorEx.h"
#include "editor/text/EditorScreenStrings.h"
#include "editor/text/EditorStrings.h"
#include "support/SjisCodec.h"

namespace tesvarin {
namespace {

// The hits the real viewer steps to with FindNext from the top, by their SelStart.
std::vector<int64_t> ViewerHits(const std::string& Text, const std::string& Find, TExSearchOptions Options) {
  TEditorEx Editor(nullptr, TPlatform{});
  Editor.Lines().SetLinesText(Text);
  Editor.SetFindString(Find);
  Editor.SetExSearchOptions(Options);
  Editor.SetRowCol(0, 0);
  std::vector<int64_t> Hits;
  while (Editor.FindNext() && Hits.size() < 1000) Hits.push_back(Editor.GetSelStart());
  return Hits;
}

// Builds Index over Text as the window does: from the viewer's own lines, in pieces of PieceBytes.
void BuildFrom(THitIndex& Index, const std::string& Text, const std::string& Find, TExSearchOptions Options,
               size_t PieceBytes = size_t{16} << 20) {
  TEditorScreenStrings Rows;
  TEditorStrings Lines(Rows, nullptr);
  Lines.SetLinesText(Text);
  Index.Build([&](const TTextPieceSink& Take) { Lines.ProduceTextPieces(PieceBytes, Take); },
              [&] { return Lines.BigText(); }, Find, Options);
}

// Texts and searches with every option the viewer steps with.
struct TCase {
  const char* Why;
  std::string Text, Find;
  TExSearchOptions Options;
};

std::vector<TCase> Cases() {
  return {
      {"plain, across lines", "abc abc\r\nx\r\nabc", "abc", {}},
      {"case folded", "Abc aBC\r\nABC", "abc", {}},
      {"match case", "Abc abc\r\nABC", "abc", {soMatchCase}},
      {"whole words", "cat concat cat\r\ncats cat", "cat", {soWholeWord}},
      {"overlapping text steps past each hit", "aaaaa", "aa", {}},
      {"a regular expression", "a1 b22\r\nc333", "[0-9]+", {soRegexp}},
      {"empty hits move one character on", "ab\r\nb", "a*", {soRegexp}},
      {"double-byte text whose trail byte is a letter", Utf8ToCp932("ソJ ソ\r\nJ"), "J", {}},
      {"no hit", "abc", "zzz", {}},
  };
}

// The numbers agree with the viewer's own stepping, whatever the options: the index counts as
// FindNext walks, and a position no step stops at has no number.
TEST(HitIndex, NumbersTheHitsTheViewerStepsTo) {
  for (const TCase& K : Cases()) {
    SCOPED_TRACE(K.Why);
    const std::vector<int64_t> Viewer = ViewerHits(K.Text, K.Find, K.Options);
    // A piece per line, a few lines a piece, and the whole text as one.
    for (const size_t PieceBytes : {size_t{0}, size_t{6}, size_t{1} << 20}) {
      SCOPED_TRACE(PieceBytes);
      THitIndex Index;
      BuildFrom(Index, K.Text, K.Find, K.Options, PieceBytes);
      EXPECT_EQ(Index.Count(), Viewer.size());
      for (size_t I = 0; I < Viewer.size(); ++I) EXPECT_EQ(Index.NumberAt(static_cast<size_t>(Viewer[I])), I + 1) << I;
      for (size_t P = 0; P <= K.Text.size(); ++P) {
        const bool IsHit = std::find(Viewer.begin(), Viewer.end(), static_cast<int64_t>(P)) != Viewer.end();
        if (!IsHit) {
          EXPECT_EQ(Index.NumberAt(P), 0u) << P;
        }
      }
    }
  }
}

// A file opened at its first hit is shown from the count's first mark: the editor must show
// there what FindNext from the top shows, on wrapped rows and after tabs and double-byte text too,
// and show nothing for a mark no search finds.
TEST(HitIndex, TheFirstMarkShowsWhatTheFirstStepShows) {
  std::vector<TCase> All = Cases();
  All.push_back({"wrapped rows, a hit after the wrap", "0123456789 0123456789 abc\r\n\tabc", "abc", {}});
  All.push_back({"after tabs and kanji", Utf8ToCp932("\t漢字\tかな abc\r\nabc"), "abc", {}});
  All.push_back({"a later line only", "x\r\ny\r\n\r\nzz abc", "abc", {soWholeWord}});
  for (const bool Wrap : {false, true}) {
    for (const TCase& K : All) {
      SCOPED_TRACE(std::string(K.Why) + (Wrap ? ", wrapped" : ""));
      const auto Prepared = [&](TEditorEx& E) {
        E.SetWordWrap(Wrap);
        E.WrapOption().SetWrapByte(8);
        E.Lines().SetLinesText(K.Text);
        E.SetFindString(K.Find);
        E.SetExSearchOptions(K.Options);
        E.SetRowCol(0, 0);
      };
      TEditorEx Stepped(nullptr, TPlatform{});
      Prepared(Stepped);
      THitIndex Index;
      BuildFrom(Index, K.Text, K.Find, K.Options);
      const THitIndex::TMark* First = Index.First();
      const bool Found = Stepped.FindNext();
      ASSERT_EQ(First != nullptr, Found);
      if (!Found) continue;
      TEditorEx Shown(nullptr, TPlatform{});
      Prepared(Shown);
      ASSERT_TRUE(Shown.ShowHitFrom(static_cast<int64_t>(First->From), static_cast<int64_t>(First->Start)));
      EXPECT_EQ(Shown.GetSelStart(), Stepped.GetSelStart());
      EXPECT_EQ(Shown.GetSelLength(), Stepped.GetSelLength());
      EXPECT_EQ(Shown.Row(), Stepped.Row());
      EXPECT_EQ(Shown.Col(), Stepped.Col());
      // The next step goes on from the hit shown as from the one found.
      EXPECT_EQ(Shown.FindNext(), Stepped.FindNext());
      EXPECT_EQ(Shown.GetSelStart(), Stepped.GetSelStart());
      // A place no search begun at From finds a hit at.
      TEditorEx Missed(nullptr, TPlatform{});
      Prepared(Missed);
      EXPECT_FALSE(Missed.ShowHitFrom(static_cast<int64_t>(First->From), static_cast<int64_t>(First->Start) + 1));
      EXPECT_EQ(Missed.GetSelLength(), 0);
      EXPECT_EQ(Missed.Row(), 0);
    }
  }
}

// More hits than positions kept: the spacing grows and every number is still found.
TEST(HitIndex, ManyHitsKeepBoundedPositionsAndExactNumbers) {
  const size_t Lines = THitIndex::MaxMarks + THitIndex::MaxMarks / 2 + 7;
  std::string Text;
  Text.reserve(Lines * 4);
  for (size_t I = 0; I < Lines; ++I) Text += "ab\r\n";
  THitIndex Index;
  BuildFrom(Index, Text, "b", {}, 4096);
  ASSERT_EQ(Index.Count(), Lines);
  for (size_t K : {size_t{0}, size_t{1}, size_t{2}, size_t{3}, THitIndex::MaxMarks - 1, THitIndex::MaxMarks,
                   THitIndex::MaxMarks + 1, Lines - 2, Lines - 1}) {
    EXPECT_EQ(Index.NumberAt(K * 4 + 1), K + 1) << K;
    EXPECT_EQ(Index.NumberAt(K * 4), 0u) << K;
  }
  BuildFrom(Index, "ab", "", {});
  EXPECT_EQ(Index.Count(), 0u);
  EXPECT_EQ(Index.NumberAt(0), 0u);
}

}  // namespace
}  // namespace tesvarin
