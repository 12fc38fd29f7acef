// Tokens cut by a word wrap, told row by row with their positions and lengths; the editor scheme's
// own rules beside the base rules; the parsers that refuse a scheme they were not written for.
#include <gtest/gtest.h>

#include "TokenRecord.h"

#include <algorithm>
#include <string>
#include <vector>

#include "highlighter/EditorHighlighter.h"
#include "highlighter/HTMLHighlighter.h"

namespace tesvarin {
namespace {

struct Row {
  std::string Text;
  TRowAttribute Attr;
};

struct ListRows : IRowSource {
  std::vector<Row> R;
  [[nodiscard]] int RowCount() const override { return static_cast<int>(R.size()); }
  [[nodiscard]] std::string_view RowText(int I) const override { return R[static_cast<size_t>(I)].Text; }
  [[nodiscard]] TRowAttribute RowAttributeOf(int I) const override { return R[static_cast<size_t>(I)].Attr; }
};

// Every row's tokens as the painter takes them: a wrapped row is scanned with the next row's bytes
// appended, tokens beginning past the row are dropped and the last one is clipped to the row.
std::vector<std::vector<Tok>> Paint(const THighlighter& H, const ListRows& Rows) {
  auto States = H.NewParser();
  auto Painter = H.NewParser();
  std::vector<std::vector<Tok>> Out;
  TRowAttributeData D = InitialRowState();
  for (int I = 0; I < Rows.RowCount(); ++I) {
    D.RowAttribute = Rows.RowAttributeOf(I);
    std::string Text(Rows.RowText(I));
    const int L = static_cast<int>(Text.size());
    if (D.RowAttribute == raWrapped && I + 1 < Rows.RowCount()) Text += Rows.RowText(I + 1);
    Painter->SetRowText(Text, D);
    std::vector<Tok> Line;
    while (Painter->NextToken() != ttEnd && Painter->TokenPos() < L)
      Line.push_back({Painter->TokenKind(), Painter->TokenPos(), std::min(Painter->TokenLength(), L - Painter->TokenPos())});
    Out.push_back(std::move(Line));
    States->UpdateRowState(I, Rows, D);
    D.PrevRowAttribute = Rows.RowAttributeOf(I);
  }
  return Out;
}

std::unique_ptr<TEditorHighlighter> FullEditorScheme() {
  auto H = THighlighter::New<TEditorHighlighter>();
  auto& B = H->Brackets().AddItem();
  B.SetLeftBracket("/*");
  B.SetRightBracket("*/");
  H->SetQuotation("\"");
  H->SetCommenter("//");
  H->SetUrl(true);
  H->SetMail(true);
  H->SetHexPrefix("0x");
  TStringList W;
  W.Add("begin");
  H->SetReserveWordList(W);
  return H;
}

struct WrapCase {
  const char* Name;
  std::vector<Row> Rows;
  std::vector<std::vector<Tok>> Want;
};

TEST(WrappedTokens, EachPartKeepsItsKindOnBothRows) {
  const std::vector<WrapCase> Cases = {
      {"reserved word", {{"x be", raWrapped}, {"gin y", raEof}},
       {{{ttAnk, 0, 1}, {ttAnk, 2, 2}}, {{ttReserve, 0, 3}, {ttAnk, 4, 1}}}},
      {"string with a doubled quote", {{"\"a\"", raWrapped}, {"\"b\" c", raEof}},
       {{{ttQuotation, 0, 3}}, {{ttQuotation, 0, 3}, {ttAnk, 4, 1}}}},
      {"string over three rows", {{"\"ab", raWrapped}, {"cd", raWrapped}, {"e\" f", raEof}},
       {{{ttQuotation, 0, 3}}, {{ttQuotation, 0, 2}}, {{ttQuotation, 0, 2}, {ttAnk, 3, 1}}}},
      {"integer", {{"a 12", raWrapped}, {"34 b", raEof}},
       {{{ttAnk, 0, 1}, {ttInteger, 2, 2}}, {{ttInteger, 0, 2}, {ttAnk, 3, 1}}}},
      {"exponent cut after its sign", {{"1.5e-", raWrapped}, {"3 x", raEof}},
       {{{ttFloat, 0, 5}}, {{ttFloat, 0, 1}, {ttAnk, 2, 1}}}},
      {"hex number", {{"0x1", raWrapped}, {"F z", raEof}}, {{{ttHex, 0, 3}}, {{ttHex, 0, 1}, {ttAnk, 2, 1}}}},
      {"url", {{"http://a.", raWrapped}, {"b/c d", raEof}},
       {{{ttUrl, 0, 9}}, {{ttUrl, 0, 3}, {ttAnk, 4, 1}}}},
      {"mail", {{"me@ho", raWrapped}, {"st.jp q", raEof}},
       {{{ttMail, 0, 5}}, {{ttMail, 0, 5}, {ttAnk, 6, 1}}}},
      {"kanji run", {{"\x8A\xBF\x8E\x9A", raWrapped}, {"\x93\xFA x", raEof}},
       {{{ttKanji, 0, 4}}, {{ttKanji, 0, 2}, {ttAnk, 3, 1}}}},
      {"line comment runs on to the line end", {{"a // b", raWrapped}, {"c \"d", raWrapped}, {"e", raCrlf}, {"f", raEof}},
       {{{ttAnk, 0, 1}, {ttComment, 2, 4}}, {{ttComment, 0, 4}}, {{ttComment, 0, 1}}, {{ttAnk, 0, 1}}}},
      {"left bracket cut in its marker", {{"a /", raWrapped}, {"* b */ c", raEof}},
       {{{ttAnk, 0, 1}, {ttBracket, 2, 1}}, {{ttBracket, 0, 6}, {ttAnk, 7, 1}}}},
      {"word ending exactly at the wrap", {{"ab", raWrapped}, {" \"c\"", raEof}},
       {{{ttAnk, 0, 2}}, {{ttQuotation, 1, 3}}}},
  };
  auto H = FullEditorScheme();
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Name);
    ListRows Rows;
    Rows.R = C.Rows;
    EXPECT_EQ(Paint(*H, Rows), C.Want);
  }
}

TEST(WrappedTokens, ReservedWordKeepsTheReservedColourOnBothRows) {
  auto H = FullEditorScheme();
  ListRows Rows;
  Rows.R = {{"x BEG", raWrapped}, {"in beginx", raEof}};
  TRowAttributeData D = InitialRowState();
  D.RowAttribute = raWrapped;
  auto P = H->NewParser();
  P->SetRowText("x BEGin beginx", D);  // the painter appends the next row to a wrapped one
  ASSERT_EQ(P->NextToken(), ttAnk);
  EXPECT_EQ(P->TokenColor(), &H->Colors().Ank());
  ASSERT_EQ(P->NextToken(), ttAnk);
  EXPECT_EQ(P->TokenPos(), 2);
  EXPECT_EQ(P->TokenColor(), &H->Reserve());
  P->UpdateRowState(0, Rows, D);
  D.RowAttribute = raEof;
  P->SetRowText(Rows.RowText(1), D);
  ASSERT_EQ(P->NextToken(), ttReserve);
  EXPECT_EQ(P->TokenLength(), 2);
  EXPECT_EQ(P->TokenColor(), &H->Reserve());
  ASSERT_EQ(P->NextToken(), ttAnk);
  EXPECT_EQ(P->TokenColor(), &H->Colors().Ank());  // a longer word is no reserved word
}

TEST(WrappedTokens, HtmlAttributeValueAndCommentAcrossRows) {
  auto H = THighlighter::New<THTMLHighlighter>();
  ListRows Rows;
  Rows.R = {{"<img src=a", raCrlf}, {"   alt=\"b\"", raCrlf}, {"  >t<!--", raWrapped}, {"x--> y", raEof}};
  const std::vector<std::vector<Tok>> Want = {
      {{ttTagOpen, 0, 1}, {ttTagElement, 1, 3}, {ttTagAttribute, 5, 3}, {ttTagEquals, 8, 1}, {ttTagValue, 9, 1}},
      {{ttTagAttribute, 3, 3}, {ttTagEquals, 6, 1}, {ttDoubleQuote, 7, 3}},
      {{ttTagClose, 2, 1}, {ttAnk, 3, 1}, {ttBracket, 4, 4}},
      {{ttBracket, 0, 4}, {ttAnk, 5, 1}},
  };
  EXPECT_EQ(Paint(*H, Rows), Want);
}

struct EditorRuleCase {
  const char* Name;
  std::string Text;
  std::vector<Tok> Want;
};

TEST(EditorTokens, SchemeRulesBesideTheBaseRules) {
  const std::vector<EditorRuleCase> Cases = {
      {"integer and floats", "7 1e5 2.5 3.", {{ttInteger, 0, 1}, {ttFloat, 2, 3}, {ttFloat, 6, 3}, {ttFloat, 10, 1}, {ttSymbol, 11, 1}}},
      {"empty string then doubled quotes", "\"\" \"\"\"\"", {{ttQuotation, 0, 2}, {ttQuotation, 3, 4}}},
      {"string holding the comment marker", "\"a//b\" c", {{ttQuotation, 0, 6}, {ttAnk, 7, 1}}},
      {"comment marker inside a word", "a//b", {{ttAnk, 0, 1}, {ttComment, 1, 3}}},
      {"single slash is a symbol", "a / b", {{ttAnk, 0, 1}, {ttSymbol, 2, 1}, {ttAnk, 4, 1}}},
      {"hex prefix in capitals", "0XFF 0xg", {{ttHex, 0, 4}, {ttHex, 5, 2}, {ttAnk, 7, 1}}},
      {"url prefixes", "ftp:a https:b www.c", {{ttUrl, 0, 5}, {ttUrl, 6, 7}, {ttUrl, 14, 5}}},
      {"url prefix in capitals", "HTTP:x", {{ttAnk, 0, 4}, {ttSymbol, 4, 1}, {ttAnk, 5, 1}}},
      {"url stops at a quote", "http://a\"b\"", {{ttUrl, 0, 8}, {ttQuotation, 8, 3}}},
      {"mail in capitals with digits", "A1@B2.C3 x", {{ttMail, 0, 8}, {ttAnk, 9, 1}}},
      {"mail stops at double-byte", "a@b.c\x82\xA0", {{ttMail, 0, 5}, {ttHiragana, 5, 2}}},
      {"half-width kana run", "\xB1\xB2\xDE\xDF x", {{ttKana, 0, 4}, {ttAnk, 5, 1}}},
      {"tabs and spaces", "\t\t  a\t", {{ttTab, 0, 1}, {ttTab, 1, 1}, {ttAnk, 4, 1}, {ttTab, 5, 1}}},
      {"double-byte classes side by side", "\x82\x50\x82\x60\x82\xA0\x83\x41\x88\x9F",
       {{ttDbcsDigits, 0, 2}, {ttDbcsAlpha, 2, 2}, {ttHiragana, 4, 2}, {ttKatakana, 6, 2}, {ttKanji, 8, 2}}},
      {"bracket before comment marker", "/* // */ x", {{ttBracket, 0, 8}, {ttAnk, 9, 1}}},
  };
  auto H = FullEditorScheme();
  auto P = H->NewParser();
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Name);
    P->SetRowText(C.Text, InitialRowState());
    std::vector<Tok> Got;
    while (P->NextToken() != ttEnd) Got.push_back({P->TokenKind(), P->TokenPos(), P->TokenLength()});
    EXPECT_EQ(Got, C.Want);
  }
}

TEST(Parser, RefusesAHighlighterOfAnotherScheme) {
  auto Editor = THighlighter::New<TEditorHighlighter>();
  auto Html = THighlighter::New<THTMLHighlighter>();
  try {
    TEditorParser P(Html.get());
    FAIL();
  } catch (const EHighlighterError& E) {
    EXPECT_STREQ(E.what(), "エディタ用の配色が必要です（TEditorParser）");
  }
  try {
    THTMLHighlighterParser P(Editor.get());
    FAIL();
  } catch (const EHighlighterError& E) {
    EXPECT_STREQ(E.what(), "HTML 用の配色が必要です（THTMLHighlighterParser）");
  }
}

TEST(EditorColors, SetAllColorAndStyleLeaveSelectAndHitAsTheyWere) {
  auto H = THighlighter::New<TEditorHighlighter>();
  H->Colors().Hit().SetColor(clYellow);
  H->Colors().Hit().SetStyle(TFontStyles{fsUnderline});
  H->SetAllColor(clGreen);
  H->SetAllBkColor(clBlack);
  H->SetAllStyle(TFontStyles{fsBold});
  TEditorColors& C = H->Colors();
  EXPECT_EQ(C.Hit().Color(), clYellow);
  EXPECT_EQ(C.Hit().BkColor(), clNone);
  EXPECT_EQ(C.Hit().Style(), TFontStyles{fsUnderline});
  EXPECT_EQ(C.Select().Color(), clWhite);
  EXPECT_EQ(C.Select().BkColor(), clNavy);
  EXPECT_FALSE(C.Select().Style().Contains(fsBold));
  for (const THighlighterColor* Item : std::initializer_list<const THighlighterColor*>{&C.Ank(), &C.Comment(), &C.DBCS(), &C.Int(), &C.Mail(), &C.Str(), &C.Symbol(), &C.Url(), &C.Reserve()}) {
    EXPECT_EQ(Item->Color(), clGreen);
    EXPECT_EQ(Item->BkColor(), clBlack);
    EXPECT_TRUE(Item->Style().Contains(fsBold));
  }
}

}  // namespace
}  // namespace tesvarin
