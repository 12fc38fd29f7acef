// The row store computes its colouring states through the editor's active highlighter.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "../editor/FakeEditorView.h"
#include "editor/text/EditorScreenStrings.h"
#include "editor/text/EditorStrings.h"
#include "highlighter/EditorHighlighter.h"
#include "highlighter/HTMLHighlighter.h"

namespace tesvarin {
namespace {

struct StoreWithHighlighter : ::testing::Test {
  std::unique_ptr<TEditorHighlighter> H = THighlighter::New<TEditorHighlighter>();
  TEditorScreenStrings Rows;
  FakeEditorView View;
  TEditorStrings Lines{Rows, &View};

  void SetUp() override {
    auto& B = H->Brackets().AddItem();
    B.SetLeftBracket("/*");
    B.SetRightBracket("*/");
    View.Provider = H.get();
    Rows.AttachEditor(View);
  }
  int Bracket(int Row) const { return Rows.RowState(Row).BracketIndex; }
};

TEST_F(StoreWithHighlighter, CommentStateCarriedAcrossRowsAndUndoneByAnEdit) {
  Lines.SetLinesText("a /*\r\nx\r\n   \r\ny */ b\r\nz");
  Rows.RefreshAllRowStates();
  EXPECT_EQ(Bracket(0), -1);
  EXPECT_EQ(Bracket(1), 0);
  EXPECT_EQ(Bracket(2), 0);
  EXPECT_EQ(Bracket(3), 0);
  EXPECT_EQ(Bracket(4), -1);

  Rows.UpdateRows(0, 1, "a\r\n");  // the opening bracket goes away
  Rows.RefreshRowStates(0, false);
  for (int R = 0; R < Rows.Count(); ++R) EXPECT_EQ(Bracket(R), -1) << R;
}

TEST_F(StoreWithHighlighter, CommentCutByWordWrapKeepsItsState) {
  Rows.WrapOption().SetWrapByte(20);
  Lines.SetLinesText("/* " + std::string(30, 'c') + "\r\nafter */ q");
  Rows.SetWordWrap(true);
  Rows.RefreshAllRowStates();
  ASSERT_GE(Rows.Count(), 3);
  EXPECT_EQ(Rows.RowAttribute(0), raWrapped);
  for (int R = 1; R < Rows.Count(); ++R) EXPECT_EQ(Bracket(R), 0) << R;
}

// An editor that subscribes to its highlighter sees a bracket change in the stored states at once.
TEST_F(StoreWithHighlighter, ABracketChangeReachesTheStoreThroughTheNotifier) {
  Lines.SetLinesText("a [[\r\nx\r\n]] b");
  Rows.RefreshAllRowStates();
  EXPECT_EQ(Bracket(1), -1);
  int Calls = 0;
  H->Notifier().Add(TNotifyEvent::Lambda([&](TObject*) {
    ++Calls;
    Rows.RefreshAllRowStates();
  }));
  auto& B = H->Brackets().AddItem();
  B.SetLeftBracket("[[");
  B.SetRightBracket("]]");
  EXPECT_GE(Calls, 1);
  EXPECT_EQ(Bracket(1), 1);  // the second bracket of the collection
  EXPECT_EQ(Bracket(2), 1);
}

TEST_F(StoreWithHighlighter, SwitchingToTheHtmlSchemeRecomputesTheStates) {
  Lines.SetLinesText("<!-- a\r\nb -->\r\nc");
  Rows.RefreshAllRowStates();
  EXPECT_EQ(Bracket(1), -1);  // the editor scheme has no such bracket
  auto Html = THighlighter::New<THTMLHighlighter>();
  View.Provider = Html.get();
  Rows.RefreshAllRowStates();
  EXPECT_EQ(Bracket(1), 0);  // the HTML scheme's default comment bracket
  EXPECT_EQ(Bracket(2), -1);
}

TEST_F(StoreWithHighlighter, ReservedWordAndStringCutByTheStoresWrap) {
  TStringList Words;
  Words.Add("begin");
  H->SetReserveWordList(Words);
  H->SetQuotation("\"");
  Rows.WrapOption().SetWrapByte(20);
  Lines.SetLinesText(std::string(17, 'x') + " begin " + std::string(10, 'y') + " \"abcdef\" z");
  Rows.SetWordWrap(true);
  Rows.RefreshAllRowStates();
  ASSERT_GE(Rows.Count(), 2);
  ASSERT_EQ(Rows.RowText(0).size(), 20u);
  EXPECT_EQ(Rows.RowState(1).WrappedKind, ttReserve);
  EXPECT_EQ(Rows.RowState(1).WrappedBytes, 3);
  ASSERT_GE(Rows.Count(), 3);
  EXPECT_EQ(Rows.RowText(1).substr(14, 3), " \"a");
  EXPECT_EQ(Rows.RowState(2).WrappedKind, ttQuotation);
}

// Lines of tokens that colouring carries over a cut or a line end: quotes, comments, links, tags,
// Japanese, rows of spaces; long enough to be cut by a narrow wrap.
std::string RandomLines(std::mt19937& Rng, int Lines) {
  static const std::vector<std::string> Tokens = {
      "word", "http://ex.am/ple/path", "someone@example.jp", "\"quoted text", "'single", "; comment to the end",
      "<a href=\"x\">", "<!-- open", "-->", "\x93\xfa\x96\x7b\x8c\xea", "12345", "#$1F", "\t", "   "};
  std::string Text;
  for (int L = 0; L < Lines; ++L) {
    const int Kind = static_cast<int>(Rng() % 10);
    if (Kind == 0) Text += std::string(Rng() % 40, ' ');  // empty, or spaces only, sometimes cut
    for (int T = Kind == 0 ? 0 : static_cast<int>(Rng() % 9); T > 0; --T) {
      Text += Tokens[Rng() % Tokens.size()];
      Text += Rng() % 4 == 0 ? "" : " ";
    }
    if (Kind == 1) Text += "\"quote" + std::string(Rng() % 60, ' ');  // a cut may leave only spaces
    Text += "\r\n";
  }
  return Text;
}

// A store, its editor and lines, wrapped narrow, coloured by Scheme.
struct TColouredStore {
  TEditorScreenStrings Rows;
  FakeEditorView View;
  TEditorStrings Lines{Rows, &View};
  TColouredStore(THighlighter& Scheme, const std::string& Text, bool Full) {
    View.Provider = &Scheme;
    View.BracketsFull = Full;
    Rows.AttachEditor(View);
    Rows.WrapOption().SetWrapByte(24);
    Lines.SetLinesText(Text);
    Rows.SetWordWrap(true);
    Rows.RefreshAllRowStates();
  }
};

// Jumps far down (to the end, the middle, an edit, every state recomputed with the top row far down)
// may begin after a line end instead of walking every row above; every state they compute must still be the one the walk from the first row gives. The
// editor's scheme forgets at a line end and skips rows; the HTML scheme and a bracket never do.
TEST(RowStatesFarJump, StatesAreThoseOfTheWalkFromTheTop) {
  std::mt19937 Rng(11);
  auto Editor = THighlighter::New<TEditorHighlighter>();
  Editor->SetCommenter(";");
  Editor->SetQuotation("\"");
  auto Bracketed = THighlighter::New<TEditorHighlighter>();
  auto& Bracket = Bracketed->Brackets().AddItem();
  Bracket.SetLeftBracket("<!--");
  Bracket.SetRightBracket("-->");
  auto Html = THighlighter::New<THTMLHighlighter>();
  const std::vector<std::pair<THighlighter*, bool>> Schemes = {{Editor.get(), true}, {Bracketed.get(), false}, {Html.get(), false}};
  for (const auto& [Scheme, Skips] : Schemes) {
    for (int Round = 0; Round < 3; ++Round) {
      TColouredStore Jumped(*Scheme, RandomLines(Rng, 6000), false);
      const int Count = Jumped.Rows.Count();
      ASSERT_GT(Count, 3 * 4096);  // each jump goes further than a walk looks for a line end
      const TColouredStore Walked(*Scheme, Jumped.Lines.Text(), true);
      int Skipped = 0;
      // Every computed state from row From on is the walk's.
      auto Check = [&](const TColouredStore& Reference, int From, const char* What) {
        for (int R = From; R < Jumped.Rows.Count(); ++R) {
          if (Jumped.Rows.BracketIndex(R) == -2) {
            ++Skipped;
            continue;
          }
          ASSERT_EQ(Jumped.Rows.RowState(R), Reference.Rows.RowState(R)) << What << ", round " << Round << ", row " << R;
        }
      };
      // Fresh jumps, so that many line ends are begun after.
      for (int Jump = 0; Jump < 40; ++Jump) {
        const int Target = 4097 + static_cast<int>(Rng() % static_cast<unsigned>(Count - 4097));
        if (Jump % 2 == 0) {
          Jumped.Rows.RefreshAllRowStates();
          Jumped.Rows.RefreshRowStates(Target, false);
        } else {
          // Every state recomputed with the top row far down, as after a replace in a text shown at its end.
          Jumped.View.Top = Target;
          Jumped.Rows.RefreshAllRowStates();
          Jumped.View.Top = 0;
          EXPECT_EQ(Jumped.Rows.BracketIndex(0) == -2, Skips) << "round " << Round << ", top row " << Target;
        }
        ASSERT_NE(Jumped.Rows.BracketIndex(Target), -2);
        Check(Walked, Target - 64, "jump");
      }
      Jumped.Rows.RefreshRowStates(Count - 1, false);
      Jumped.Rows.RefreshRowStates(Count / 2, false);
      // An edit far below the states computed so far.
      const int Edited = Jumped.Rows.LineStartRow(Count / 4);
      Jumped.Rows.UpdateRows(Edited, 1, "\"open ; <!-- x\r\n");
      const TColouredStore Edit(*Scheme, Jumped.Lines.Text(), true);
      ASSERT_EQ(Edit.Rows.Count(), Jumped.Rows.Count());
      Skipped = 0;
      Check(Edit, 0, "edit");
      EXPECT_EQ(Skipped > 0, Skips) << Round;
    }
  }
}

}  // namespace
}  // namespace tesvarin
