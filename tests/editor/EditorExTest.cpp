// The editor's search extension on a real editor: stepping through hits both ways, wrapped rows,
// the hit limit, replacing all, the token under a double-click, hit records and repaints.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "FakeEditorWindow.h"
#include "editor/EditorEx.h"
#include "editor/view/EditorScroll.h"
#include "editor/caret/EditorSelection.h"
#include "regexp/REChars.h"

namespace tesvarin {
namespace {

struct THit {
  int64_t Start;
  int64_t Length;
  friend bool operator==(const THit&, const THit&) = default;
};

class EditorExTest : public ::testing::Test {
protected:
  FakeEditorWindow Window;
  TEditorEx Editor{&Window, TPlatform{}};

  void Load(std::string_view Text) { Editor.Lines().SetLinesText(Text); }
  void Find(const std::string& S, TExSearchOptions Options = {}) {
    Editor.SetFindString(S);
    Editor.SetExSearchOptions(Options);
  }
  THit Shown() const { return {Editor.GetSelStart(), Editor.GetSelLength()}; }
  // Every hit FindNext (or FindPrev) reaches until it fails.
  std::vector<THit> Walk(bool Down) {
    std::vector<THit> Hits;
    while (Down ? Editor.FindNext() : Editor.FindPrev()) {
      Hits.push_back(Shown());
      if (Hits.size() > 100) break;
    }
    return Hits;
  }
};

TEST_F(EditorExTest, FindNextWalksHitsInOrderAndStopsAtTheEnd) {
  Load("ab ab\r\nxx\r\nab");
  Find("ab");
  EXPECT_EQ(Walk(true), (std::vector<THit>{{0, 2}, {3, 2}, {11, 2}}));
  // No wrap-around: the last hit stays and the caret stands at its end.
  EXPECT_FALSE(Editor.FindNext());
  EXPECT_EQ(Editor.Row(), 2);
  EXPECT_EQ(Editor.Col(), 2);
}

TEST_F(EditorExTest, FindPrevWalksBackFromTheCaretAndStopsAtTheTop) {
  Load("ab ab\r\nxx\r\nab");
  Find("ab");
  Editor.SetRowCol(2, 2);
  EXPECT_EQ(Walk(false), (std::vector<THit>{{11, 2}, {3, 2}, {0, 2}}));
  EXPECT_EQ(Editor.Row(), 0);
  EXPECT_EQ(Editor.Col(), 0);
}

TEST_F(EditorExTest, FindNextWithTheOnlyHitBeforeTheCaretFails) {
  Load("needle here\r\nnothing");
  Find("needle");
  Editor.SetRowCol(1, 3);
  EXPECT_FALSE(Editor.FindNext());
  EXPECT_EQ(Editor.Row(), 1);
  EXPECT_EQ(Editor.Col(), 3);
  EXPECT_FALSE(Editor.Selected());
}

TEST_F(EditorExTest, AHitIsShownByEachHitStyle) {
  Load("xx ab");
  Find("ab");
  Editor.SetHitStyle(hsDraw);
  ASSERT_TRUE(Editor.FindNext());
  EXPECT_EQ(Editor.SelState(), selHit);
  EXPECT_EQ(Editor.Col(), 5);
  Editor.SetRowCol(0, 0);
  Editor.SetHitStyle(hsCaret);
  ASSERT_TRUE(Editor.FindNext());
  EXPECT_EQ(Editor.Col(), 3);  // the caret stays at the hit's start
  EXPECT_EQ(Editor.HitLength(), 2);
  // The next search begins after the hit, not at the caret.
  EXPECT_FALSE(Editor.FindNext());
}

// Rows of eight bytes starting at 0, 10 and 20, with hits at 0, 3, 6 of each. Down searches from
// the selection's end, up from its start, whichever end the caret is at; a box goes down from its
// start plus its byte count, up from its top left.
TEST_F(EditorExTest, SearchesFromAUserSelection) {
  struct Case {
    const char* Name;
    bool Box;
    int AnchorRow, AnchorCol, CaretRow, CaretCol;
    bool Down;
    int64_t Want;  // -1: no hit
  } Cases[] = {
      {"stream down skips the hits it holds and the one it cuts", false, 0, 4, 1, 4, true, 16},
      {"stream down with the caret at its start", false, 1, 4, 0, 4, true, 16},
      {"stream up skips the hit it cuts", false, 0, 4, 1, 4, false, 0},
      {"stream up with the caret at its end", false, 1, 4, 0, 4, false, 0},
      {"stream up from the line start finds nothing", false, 0, 0, 2, 1, false, -1},
      {"box down: start 14, 10 bytes", true, 1, 4, 2, 7, true, 26},
      {"box down drawn from its bottom right", true, 2, 7, 1, 4, true, 26},
      {"box up from its top left", true, 2, 7, 1, 4, false, 10},
  };
  Load("ab ab ab\r\nab ab ab\r\nab ab ab");
  Find("ab");
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    Editor.CleanSelection();
    Editor.SetSelectionMode(C.Box);
    Editor.SetRowCol(C.AnchorRow, C.AnchorCol);
    Editor.Selection().Start();
    Editor.SetRowCol(C.CaretRow, C.CaretCol);
    Editor.Selection().Extend();
    ASSERT_GT(Editor.GetSelLength(), 0);
    const bool Found = C.Down ? Editor.FindNext() : Editor.FindPrev();
    EXPECT_EQ(Found, C.Want >= 0);
    if (Found) {
      EXPECT_EQ(Shown(), (THit{C.Want, 2}));
    }
    EXPECT_FALSE(Editor.SelectionMode());
  }
}

// An edit between two searches: the next one searches the edited text from where the edit left the
// caret, not on from the hit shown before it.
TEST_F(EditorExTest, SearchesAfterAnEditStartFromTheCaret) {
  Load("ab ab ab\r\nab");
  Find("ab");
  ASSERT_TRUE(Editor.FindNext());
  ASSERT_EQ(Shown(), (THit{0, 2}));
  Editor.KeyPress("\b");  // the hit goes, the caret stands at 0
  ASSERT_EQ(Editor.Lines().Get(0), " ab ab");
  ASSERT_TRUE(Editor.FindNext());
  EXPECT_EQ(Shown(), (THit{1, 2}));
  Editor.KeyPress("xab");  // typed over the hit: the new "ab" lies before the caret
  ASSERT_EQ(Editor.Lines().Get(0), " xab ab");
  ASSERT_TRUE(Editor.FindPrev());
  EXPECT_EQ(Shown(), (THit{2, 2}));
  Editor.KeyPress("\b");
  ASSERT_EQ(Editor.Lines().Get(0), " x ab");
  ASSERT_TRUE(Editor.FindNext());
  EXPECT_EQ(Shown(), (THit{3, 2}));
}

// A new hit style clears a hit on show in the old one: its row is repainted, a block caret is
// narrowed again. With nothing on show, or the same style again, nothing is repainted.
TEST_F(EditorExTest, ANewHitStyleClearsTheHitOnShow) {
  Load("xx\r\nxx ab");
  Find("ab");
  const int CaretWidth = Window.CaretWidth;
  const TEditorHitStyle Styles[] = {hsSelect, hsDraw, hsCaret};
  for (const TEditorHitStyle From : Styles) {
    for (const TEditorHitStyle To : Styles) {
      if (From == To) continue;
      SCOPED_TRACE(testing::Message() << "from " << From << " to " << To);
      Editor.SetHitStyle(From);
      Editor.SetRowCol(0, 0);
      ASSERT_TRUE(Editor.FindNext());
      ASSERT_NE(Editor.SelState(), selNone);
      Window.Invalidated.clear();
      Editor.SetHitStyle(From);
      EXPECT_TRUE(Window.Invalidated.empty());
      Editor.SetHitStyle(To);
      EXPECT_EQ(Editor.SelState(), selNone);
      EXPECT_EQ(Editor.GetSelLength(), 0);
      EXPECT_EQ(Editor.HitLength(), 0);
      EXPECT_EQ(Window.CaretWidth, CaretWidth);
      const int HitY = Editor.Scroll().RowToY(1);
      EXPECT_TRUE(std::any_of(Window.Invalidated.begin(), Window.Invalidated.end(),
                              [HitY](const TRect& R) { return R.Top <= HitY && HitY < R.Bottom; }));
      Window.Invalidated.clear();
      Editor.SetHitStyle(From);
      EXPECT_TRUE(Window.Invalidated.empty());
    }
  }
}

TEST_F(EditorExTest, SearchesRunOverWholeLinesAcrossWrappedRows) {
  Editor.SetWordWrap(true);
  Editor.WrapOption().SetWrapByte(20);
  // The hit "needle" straddles the wrap between the line's first two rows.
  Load("zzzzzzzzzzzzzzzzneedlezzzzzzzzzzzzzzzzzzzzzzzz\r\nneedle");
  ASSERT_GT(Editor.RowCount(), 3);
  ASSERT_EQ(Editor.ListRows().RowAttribute(0), raWrapped);
  EXPECT_EQ(Editor.GetLineText(1), Editor.GetLineText(0));
  EXPECT_EQ(Editor.GetLineText(Editor.RowCount()), "");
  Find("needle");
  const int64_t SecondLine = 46 + 2;
  EXPECT_EQ(Walk(true), (std::vector<THit>{{16, 6}, {SecondLine, 6}}));
  // The failed search left the caret at the last hit's end: going up finds it first.
  EXPECT_EQ(Walk(false), (std::vector<THit>{{SecondLine, 6}, {16, 6}}));
}

TEST_F(EditorExTest, FindNextFromTheEndOfARowInsideAWrappedLine) {
  Editor.SetWordWrap(true);
  Editor.WrapOption().SetWrapByte(20);
  Load("abcdefghijklmnopqrstabcdefghij\r\nxx");
  ASSERT_EQ(Editor.ListRows().RowAttribute(0), raWrapped);
  Find("abc");
  Editor.SetRowCol(0, 5);  // the search starts inside the line: the rest of the line is searched
  ASSERT_TRUE(Editor.FindNext());
  EXPECT_EQ(Shown(), (THit{20, 3}));
  EXPECT_EQ(Editor.Row(), 1);
}

TEST_F(EditorExTest, AHitLongerThan250BytesMovesOnToTheNextLine) {
  Load(std::string(251, 'q') + "\r\n" + std::string(250, 'q') + "\r\nqq");
  Find(".*", {soRegexp});
  ASSERT_TRUE(Editor.FindNext());
  EXPECT_EQ(Shown(), (THit{253, 250}));
  ASSERT_TRUE(Editor.FindNext());  // the empty rest of that line is no hit
  EXPECT_EQ(Shown(), (THit{253 + 252, 2}));
}

TEST_F(EditorExTest, AnAsciiSearchNeverHitsATrailByte) {
  // 0x8A 0x4A is one kanji whose trail byte is "J".
  Load("\x8a\x4a\x8a\x4a\r\nJ");
  Find("J", {soMatchCase});
  EXPECT_EQ(Walk(true), (std::vector<THit>{{6, 1}}));
  Find("j");
  Editor.SetRowCol(0, 0);
  EXPECT_EQ(Walk(true), (std::vector<THit>{{6, 1}}));
}

TEST_F(EditorExTest, ANulHidesNoHitBehindIt) {
  Load(std::string("ab\0ab\r\nab", 9));
  Find("ab");
  EXPECT_EQ(Walk(true), (std::vector<THit>{{0, 2}, {3, 2}, {7, 2}}));
  EXPECT_EQ(Walk(false), (std::vector<THit>{{7, 2}, {3, 2}, {0, 2}}));
  Find("b", {soRegexp});
  Editor.SetRowCol(0, 0);
  EXPECT_EQ(Walk(true), (std::vector<THit>{{1, 1}, {4, 1}, {8, 1}}));
}

TEST_F(EditorExTest, EmptyFindStringFindsNothingAndReplacesNothing) {
  Load("abc");
  EXPECT_FALSE(Editor.FindNext());
  EXPECT_FALSE(Editor.FindPrev());
  EXPECT_EQ(Editor.ReplaceAll("x", true), 0);
  EXPECT_EQ(Editor.Lines().Text(), "abc");
}

TEST_F(EditorExTest, AnInvalidExpressionRaisesAndTheCaretIsShownAgain) {
  Load("abc");
  Find("a(", {soRegexp});
  const int Shown = Window.CaretShown;
  EXPECT_THROW(Editor.FindNext(), ERegExpParser);
  EXPECT_THROW(Editor.FindPrev(), ERegExpParser);
  EXPECT_THROW(Editor.ReplaceAll("x", true), ERegExpParser);
  EXPECT_EQ(Window.CaretShown, Shown);
  EXPECT_EQ(Editor.Lines().Text(), "abc");
}

TEST_F(EditorExTest, EmptyMatchesAreSteppedOver) {
  Load("aba\r\nb\r\n\r\nxa");
  Find("x*", {soRegexp});
  EXPECT_EQ(Walk(true), (std::vector<THit>{{10, 1}}));
  EXPECT_EQ(Walk(false), (std::vector<THit>{{10, 1}}));
  Find("^|$|x?", {soRegexp});
  EXPECT_EQ(Walk(true), (std::vector<THit>{{10, 1}}));
  EXPECT_EQ(Editor.ReplaceAll("-", true), 1);
  EXPECT_EQ(Editor.Lines().Text(), "aba\r\nb\r\n\r\n-a");
  Find("y*", {soRegexp});
  EXPECT_EQ(Editor.ReplaceAll("-", true), 0);
  EXPECT_EQ(Editor.GetFindHits(0), 0);
}

// A replace-all is one step of the undo list: undo gives back every byte, each line's own break
// included, redo brings the replace back, and the edits before it stay undoable.
TEST_F(EditorExTest, AReplaceAllIsOneUndoStep) {
  Load("one hit\nhit two\r\nthree\rhit");
  Editor.SetSelStart(0);
  Editor.KeyPress("X");
  const std::string Edited = Editor.Lines().FileBytes();
  ASSERT_EQ(Edited, "Xone hit\nhit two\r\nthree\rhit");
  Find("hit");
  ASSERT_EQ(Editor.ReplaceAll("a\\r\\nb", true), 3);
  const std::string Replaced = Editor.Lines().FileBytes();
  EXPECT_EQ(Replaced, "Xone a\nb\na\r\nb two\r\nthree\ra\rb");
  Editor.Undo();
  EXPECT_EQ(Editor.Lines().FileBytes(), Edited);
  Editor.Redo();
  EXPECT_EQ(Editor.Lines().FileBytes(), Replaced);
  Editor.Undo();
  Editor.Undo();
  EXPECT_EQ(Editor.Lines().FileBytes(), "one hit\nhit two\r\nthree\rhit");
  EXPECT_FALSE(Editor.CanUndo());
}

// A loaded text that a replace-all sets anew is kept for undo as the block its rows view, and put
// back by cutting that block again: every byte, break, row and mark comes back as it was, with or
// without word wrap, a Ctrl+Z tail or a last break. After an edit the rows may no longer lie in the
// block as cut, and the joined way is taken; both ways must give the same.
TEST_F(EditorExTest, AReplaceAllOfALoadedTextIsUndoneAndRedoneByteForByte) {
  std::mt19937 Random(32);
  auto Pick = [&Random](int N) { return static_cast<int>(Random() % static_cast<unsigned>(N)); };
  const char* const Words[] = {"hit", "a", " ", "\x93\xfa", "\t", "hi", "t", "longer words "};
  const char* const Breaks[] = {"\r\n", "\n", "\r"};
  for (int Round = 0; Round < 400; ++Round) {
    std::string Bytes;
    const int Lines = 1 + Pick(12);
    for (int L = 0; L < Lines; ++L) {
      for (int W = Pick(6); W > 0; --W) Bytes += Words[Pick(8)];
      if (L + 1 < Lines || Pick(2) == 0) Bytes += Breaks[Pick(3)];
    }
    if (Pick(5) == 0) Bytes += "\x1a tail hit";
    const bool Wrap = Pick(2) == 0;
    // Before the replace, 0: type at row 0, 1: delete a line; after it, 0: type at row 0.
    const int EditBefore = Pick(4), EditAfter = Pick(4);
    const std::string Trace = "round " + std::to_string(Round) + (Wrap ? ", wrapped" : "") +
                              (EditBefore == 0 ? ", typed before" : EditBefore == 1 ? ", line deleted before" : "") +
                              (EditAfter == 0 ? ", typed after" : "");
    SCOPED_TRACE(Trace);
    Editor.SetWordWrap(false);
    Editor.WrapOption().SetWrapByte(10);
    Editor.SetWordWrap(Wrap);
    Editor.Lines().LoadFromBytes(Bytes);
    if (Editor.RowCount() == 0) continue;  // only a Ctrl+Z tail, or nothing
    ASSERT_TRUE(Editor.ListRows().BlockTextSize().has_value());
    const int LoadedRows = Editor.RowCount();
    if (EditBefore == 0) {
      Editor.SetRowCol(0, 0);
      Editor.KeyPress("Q");
      ASSERT_FALSE(Editor.ListRows().BlockTextSize().has_value());
    } else if (EditBefore == 1 && Editor.Lines().Count() > 1) {
      Editor.Lines().Delete(Pick(Editor.Lines().Count()));
    }
    const std::string Before = Editor.Lines().FileBytes();
    Find("hit");
    if (Editor.ReplaceAll(Pick(2) == 0 ? "X\\r\\nY" : "Z", true) == 0) continue;
    const std::string Replaced = Editor.Lines().FileBytes();
    ASSERT_NE(Replaced, Before);
    EXPECT_TRUE(Editor.ListRows().BlockTextSize().has_value());
    // A mark set on the new text stays on its row, or the last one, when the block is cut again.
    const int Marked = Pick(Editor.RowCount());
    Editor.ListRows().SetRowMarks(Marked, 0x4);
    Editor.ListRows().IncludeMarks(0x4);
    if (EditAfter == 0) {
      Editor.SetRowCol(0, 0);
      Editor.KeyPress("W");
      Editor.Undo();
      ASSERT_EQ(Editor.Lines().FileBytes(), Replaced);
    }
    Editor.Undo();
    ASSERT_EQ(Editor.Lines().FileBytes(), Before);
    if (EditBefore > 1) {
      EXPECT_EQ(Editor.RowCount(), LoadedRows);
      EXPECT_EQ(Editor.ListRows().RowMarks(std::min(Marked, Editor.RowCount() - 1)) & 0x4, 0x4);
    }
    ASSERT_TRUE(Editor.CanRedo());
    Editor.Redo();
    ASSERT_EQ(Editor.Lines().FileBytes(), Replaced);
    Editor.Undo();
    ASSERT_EQ(Editor.Lines().FileBytes(), Before);
    if (EditBefore < 2 && Editor.CanUndo()) {
      Editor.Undo();
      EXPECT_EQ(Editor.Lines().FileBytes(), Bytes);
    }
  }
}

struct TReplaceCase {
  const char* Name;
  std::string Text;
  std::string Find;
  TExSearchOptions Options;
  std::string Replacement;
  int Count;
  std::string After;
};

TEST_F(EditorExTest, ReplaceAllCases) {
  const TReplaceCase Cases[] = {
      {"escape adds lines", "bab\r\na", "a", {}, "x\\r\\ny", 2, "bx\r\nyb\r\nx\r\ny"},
      {"escape letters in either case", "a", "a", {}, "1\\R\\N2", 1, "1\r\n2"},
      {"whole-text mode spans a break", "xa\r\nbx\r\na\r\nc", "a\\r\\nb", {soRegexp}, "-", 1, "x-x\r\na\r\nc"},
      {"the last line keeps having no break", "one\r\ntwo", "o", {soMatchCase}, "0", 2, "0ne\r\ntw0"},
      {"no hit leaves the text", "one\r\ntwo", "z", {}, "0", 0, "one\r\ntwo"},
      {"whole word only", "ab-ab ab", "ab", {soWholeWord}, "X", 1, "ab-ab X"},
      {"line start after a replacement", "aaa", "^a", {soRegexp}, "b", 3, "bbb"},
  };
  for (const TReplaceCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    Load(C.Text);
    Find(C.Find, C.Options);
    EXPECT_EQ(Editor.ReplaceAll(C.Replacement, true), C.Count);
    EXPECT_EQ(Editor.Lines().Text(), C.After);
  }
}

// A text past the size kept on huge pages, whose replacements outgrow the room first set aside,
// in line mode and in whole-text mode.
TEST_F(EditorExTest, ReplaceAllOverABigTextOutgrowingItsFirstRoom) {
  std::string Text, Expected;
  while (Text.size() < (size_t{10} << 20)) {
    Text += "\x93\xfa\x96\x7b needle\r\n";  // 日本 needle
    Expected += "\x93\xfa\x96\x7b pinpinpinpin\r\n";
  }
  const int Lines = static_cast<int>(std::count(Text.begin(), Text.end(), '\n'));
  const struct {
    const char* Find;
    TExSearchOptions Options;
    const char* Replacement;
  } Cases[] = {{"needle", {}, "pinpinpinpin"}, {"needle\\r\\n", {soRegexp}, "pinpinpinpin\\r\\n"}};
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Find);
    Load(Text);
    Find(C.Find, C.Options);
    EXPECT_EQ(Editor.ReplaceAll(C.Replacement, true), Lines);
    EXPECT_TRUE(Editor.Lines().Text() == Expected);
  }
}

TEST_F(EditorExTest, ReplaceAllWithoutExpansionInsertsTheEscapeLiterally) {
  Load("a");
  Find("a");
  EXPECT_EQ(Editor.ReplaceAll("\\r\\n", false), 1);
  EXPECT_EQ(Editor.Lines().Get(0), "\\r\\n");
}

TEST_F(EditorExTest, OptionsAreReducedAndForwarded) {
  Editor.SetExSearchOptions({soMatchCase, soRegexp, soFuzzy});
  EXPECT_EQ(Editor.ExSearchOptions(), (TExSearchOptions{soMatchCase}));
  Editor.SetExSearchOptions({soFuzzy});
  EXPECT_EQ(Editor.ExSearchOptions(), TExSearchOptions{});
  Editor.SetExSearchOptions({soRegexp, soFuzzy, soWholeWord});
  EXPECT_EQ(Editor.ExSearchOptions(), (TExSearchOptions{soRegexp, soFuzzy, soWholeWord}));
  int Len = 0;
  Editor.SetExSearchOptions({});
  Editor.SetFindString("ABC");
  EXPECT_EQ(Editor.StrSearch("xabcx", Len), 2);
  Editor.SetFindString("aa");
  EXPECT_EQ(Editor.StrSearchLast("aaa", Len), 1);
  EXPECT_EQ(TEditorEx::CharKind("\x8a\xbf", 2), '6');
  EXPECT_TRUE(TEditorEx::IsWholeWord("ab", 1, 2));
}

TEST_F(EditorExTest, SearchChangesRepaintOnlyWhileTheHitMarkIsVisible) {
  Window.Invalidated.clear();
  Editor.SetFindString("a");
  Editor.SetExSearchOptions({soRegexp});
  EXPECT_TRUE(Window.Invalidated.empty());
  Editor.ExMarks().FindMark().SetVisible(true);  // a mark change repaints through ViewChanged
  EXPECT_FALSE(Window.Invalidated.empty());
  Window.Invalidated.clear();
  Editor.SetFindString("b");
  EXPECT_FALSE(Window.Invalidated.empty());
  Window.Invalidated.clear();
  Editor.SetFindString("b");  // unchanged
  Editor.SetExSearchOptions({soRegexp, soMatchCase, soFuzzy});  // reduces to {soMatchCase}
  EXPECT_EQ(Window.Invalidated.size(), 1u);
}

TEST_F(EditorExTest, SettingTheMarksCopiesThem) {
  TEditorExMarks Other;
  Other.FindMark().SetVisible(true);
  Other.FindMark().SetColor(clRed);
  Other.TabMark().SetColor(clNavy);
  Editor.SetExMarks(Other);
  EXPECT_TRUE(Editor.ExMarks().FindMark().Visible());
  EXPECT_EQ(Editor.ExMarks().FindMark().Color(), clRed);
  EXPECT_EQ(Editor.ExMarks().TabMark().Color(), clNavy);
  EXPECT_NE(&Editor.ExMarks(), &Other);
}

TEST_F(EditorExTest, HitRecordsOfTheRowsOfAWrappedLine) {
  Editor.SetWordWrap(true);
  Editor.WrapOption().SetWrapByte(20);
  Load("zzzzzzzzzzzzzzzzneedlezzzzzzzzzzzzzzzzzzzzzzzz");
  ASSERT_EQ(Editor.ListRows().RowAttribute(0), raWrapped);
  const int FirstRowLength = static_cast<int>(Editor.ListRows().RowView(0).size());
  Find("needle");
  ASSERT_EQ(Editor.GetFindHits(0), 1);
  EXPECT_EQ(Editor.FindHits()[0], (TFindHit{17, FirstRowLength - 16}));
  ASSERT_EQ(Editor.GetFindHits(1), 1);
  EXPECT_EQ(Editor.FindHits()[0], (TFindHit{1, 22 - FirstRowLength}));
  EXPECT_EQ(Editor.GetFindHits(Editor.RowCount()), 0);
  EXPECT_TRUE(Editor.FindHits().empty());
}

struct TTokenCase {
  const char* Name;
  std::string Text;
  int Row;
  int Col;
  THit Selected;  // Length 0: nothing selected
};

TEST_F(EditorExTest, DoubleClickSelectsTheTokenUnderTheCaret) {
  const TTokenCase Cases[] = {
      {"word", "foo barbaz qux", 0, 6, {4, 6}},
      {"word start", "foo barbaz qux", 0, 4, {4, 6}},
      {"kanji run", "ab\x8a\xbf\x8e\x9a\x82\xa0", 0, 3, {2, 4}},
      {"between tokens", "foo   bar", 0, 4, {0, 0}},
      {"beyond the line", "foo", 0, 3, {0, 0}},
      {"open comment bracket", "/* foo", 0, 4, {3, 3}},
  };
  for (const TTokenCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    Load(C.Text);
    Editor.SetRowCol(C.Row, C.Col);
    Editor.DblClick();
    EXPECT_EQ(Editor.GetSelLength(), C.Selected.Length);
    if (C.Selected.Length > 0) {
      EXPECT_EQ(Editor.GetSelStart(), C.Selected.Start);
    }
  }
}

TEST_F(EditorExTest, DoubleClickOnAWrappedRowMeasuresFromTheLineStart) {
  Editor.SetWordWrap(true);
  Editor.WrapOption().SetWrapByte(20);
  Load("zzzzzzzzzzzzzzzz needleneedleneedle zz");
  ASSERT_EQ(Editor.ListRows().RowAttribute(0), raWrapped);
  int Clicks = 0;
  Editor.OnDblClick = TNotifyEvent::Lambda([&](TObject*) { ++Clicks; });
  Editor.SetRowCol(1, 1);
  Editor.DblClick();
  EXPECT_EQ(Clicks, 1);
  EXPECT_EQ(Shown(), (THit{17, 18}));
}

}  // namespace
}  // namespace tesvarin
