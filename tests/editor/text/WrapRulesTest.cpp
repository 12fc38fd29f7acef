#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "editor/FakeEditorView.h"
#include "editor/text/EditorScreenStrings.h"
#include "editor/text/EditorStrings.h"
#include "editor/text/EditorUndo.h"
#include "editor/text/AttributeArray.h"
#include "editor/text/RowWrap.h"

namespace tesvarin {
namespace {

const std::string Maru = "\x81\x42";    // 。
const std::string Open = "\x81\x75";    // 「
const std::string Close = "\x81\x76";   // 」
std::string Chars(int N, char C) { return std::string(static_cast<size_t>(N), C); }
std::string Repeat(const std::string& S, int N) {
  std::string R;
  for (int I = 0; I < N; ++I) R += S;
  return R;
}

enum Rule { None = 0, Punct = 1, Lead = 2, Words = 4, RetMark = 8 };

struct WrapCase {
  const char* Name;
  std::string Line;
  int Rules;
  std::vector<int> Pieces;
};

TEST(WrapRules, CutsAtWidthEighty) {
  const WrapCase Cases[] = {
      {"79 columns is one row", Chars(79, 'a'), None, {79}},
      {"80 columns gives a full and an empty row", Chars(80, 'a'), None, {80, 0}},
      {"80 columns with FollowRetMark", Chars(80, 'a'), RetMark, {80}},
      {"160 columns with FollowRetMark", Chars(160, 'a'), RetMark, {80, 80}},
      {"double-byte character at column 80 moves whole", Chars(79, 'a') + "\x82\xA0", None, {79, 2}},
      {"one full stop hangs, a second does not", Chars(80, 'a') + Maru + Maru + "b", Punct, {82, 3}},
      {"two commas hang, a third does not", Chars(80, 'a') + ",,,b", Punct, {82, 2}},
      {"no hanging without the rule", Chars(80, 'a') + Maru, None, {80, 2}},
      {"opening bracket at 79-80 goes down", Chars(78, 'a') + Open + Chars(10, 'b'), Lead, {78, 12}},
      {"closing bracket pulls its neighbour", Chars(80, 'a') + Close + "b", Lead, {79, 4}},
      {"leading never backs past 64", Repeat(Open, 40) + "b", Lead, {64, 17}},
      {"word break at the last space", Chars(30, 'x') + " " + Chars(60, 'y'), Words, {31, 60}},
      {"word break limit 26 without delimiters", Chars(100, 'z'), Words, {26, 74}},
      {"a tab ends the row with word break", Chars(40, 'x') + "\t" + Chars(50, 'y'), Words, {41, 50}},
  };
  for (const WrapCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    TEditorWrapOption W;
    W.SetFollowPunctuation((C.Rules & Punct) != 0);
    W.SetLeading((C.Rules & Lead) != 0);
    W.SetWordBreak((C.Rules & Words) != 0);
    W.SetFollowRetMark((C.Rules & RetMark) != 0);
    TColumnSettings S;
    S.WordWrap = true;
    S.WrapByte = 80;
    S.Delimiters = DefaultDelimiters();
    std::vector<int> Pieces;
    CutLine(C.Line, W, S, Pieces);
    EXPECT_EQ(Pieces, C.Pieces);
    int Sum = 0;
    for (int P : Pieces) Sum += P;
    EXPECT_EQ(Sum, static_cast<int>(C.Line.size()));
  }
}

TEST(WrapRules, DefaultCharacterListsAreCodePage932) {
  TEditorWrapOption W;
  EXPECT_EQ(W.LeadStr().substr(0, 4), "\x81\x69\x81\x6D");  // （［
  EXPECT_EQ(W.PunctuationStr().substr(0, 4), "\x81\x41\x81\x42");  // 、。
  EXPECT_NE(W.FollowStr().find(Close), std::string::npos);
  EXPECT_EQ(W.FollowStr().back(), '\xDF');
}

TEST(WrapRules, StoreFollowsWrapOptionChanges) {
  TEditorScreenStrings Rows;
  FakeEditorView View;
  Rows.AttachEditor(View);
  TEditorStrings Lines(Rows, &View);
  Lines.SetLinesText(Chars(80, 'a') + "\r\n" + Chars(30, 'b'));
  Rows.SetWordWrap(true);
  EXPECT_EQ(Rows.Count(), 3);  // 80, empty, 30
  EXPECT_EQ(Lines.Count(), 2);
  View.Col = 5;
  int Refreshes = View.Refreshes;
  Rows.WrapOption().SetFollowRetMark(true);
  EXPECT_EQ(Rows.Count(), 2);
  EXPECT_EQ(Rows.RowAttribute(0), raCrlf);
  EXPECT_EQ(View.Col, 0);
  EXPECT_GT(View.Refreshes, Refreshes);
  Rows.WrapOption().SetWrapByte(20);
  EXPECT_EQ(Rows.Count(), 6);  // 4 + 2
  EXPECT_EQ(Rows.WrapCount(Chars(30, 'b')), 2);
  EXPECT_EQ(Rows.RowAttribute(5), raEof);
  EXPECT_EQ(Lines.Text(), Chars(80, 'a') + "\r\n" + Chars(30, 'b'));
  Rows.SetWordWrap(false);
  EXPECT_EQ(Rows.Count(), 2);
  EXPECT_EQ(Rows.WrapCount(Chars(30, 'b')), 1);
}

TEST(WrapRules, TypingIntoAWrappedLineRewrapsOnlyThatLine) {
  TEditorScreenStrings Rows;
  TEditorStrings Lines(Rows, nullptr);
  Rows.WrapOption().SetWrapByte(20);
  Rows.SetWordWrap(true);
  Lines.SetLinesText(Chars(39, 'a') + "\r\nnext\r\n");
  ASSERT_EQ(Rows.Count(), 3);  // 20, 19, next
  Rows.UpdateRows(1, 1, Rows.Get(1) + "x\r\n");  // the line is now 40 wide: 20, 20, empty
  EXPECT_EQ(Rows.Count(), 4);
  EXPECT_EQ(Rows.Get(1), Chars(19, 'a') + "x");
  EXPECT_EQ(Rows.Get(2), "");
  EXPECT_EQ(Rows.Get(3), "next");
  Rows.UndoObj().Undo();
  EXPECT_EQ(Rows.Count(), 3);
  EXPECT_EQ(Lines.Text(), Chars(39, 'a') + "\r\nnext\r\n");
}

// A jump of the cutting cursor lands where steps one column at a time would, tab fill or not, and
// past either end.
TEST(WrapRules, CursorJumpsAsItSteps) {
  std::mt19937 Rng(5);
  TColumnSettings S;
  S.Delimiters = DefaultDelimiters();
  S.TabSpaceCount = 4;
  S.WordWrap = true;
  S.WrapByte = 12;
  const std::string Bytes = "a \x82\xa0\x81\x42\t.";
  for (int Round = 0; Round < 2000; ++Round) {
    std::string Row(Rng() % 20, ' ');
    const bool Tabs = Round % 2 == 0;
    for (char& C : Row) C = Bytes[Rng() % (Tabs ? Bytes.size() : Bytes.size() - 2)];
    const TColumnMap Map = ColumnMap(Row, S);
    TEditorAttributeArray Jump;
    TEditorAttributeArray Step;
    Jump.Reset(Row, Map);
    Step.Reset(Row, Map);
    for (int Move = 0; Move < 6; ++Move) {
      const int P = static_cast<int>(Rng() % (Map.size() + 4)) - 1;
      Jump.MoveTo(P);
      for (int Guard = 0; Guard < 100 && Step.Pos() < P && Step.Current() != ckEnd; ++Guard) Step.Next();
      for (int Guard = 0; Guard < 100 && Step.Pos() > P && Step.Pos() > 1; ++Guard) Step.Prior();
      ASSERT_EQ(Jump.Pos(), Step.Pos()) << Round << " to " << P;
      ASSERT_EQ(Jump.Bytes(), Step.Bytes()) << Round << " to " << P;
    }
  }
}

}  // namespace
}  // namespace tesvarin
