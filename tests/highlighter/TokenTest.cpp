#include <gtest/gtest.h>

#include "TokenRecord.h"

#include <string>
#include <vector>

#include "highlighter/EditorHighlighter.h"
#include "highlighter/HTMLHighlighter.h"
#include "testsupport/ChangeRecorder.h"

namespace tesvarin {
namespace {

std::vector<Tok> Tokens(THighlighterParser& P, std::string_view Text, TRowAttributeData State = InitialRowState()) {
  P.SetRowText(Text, State);
  std::vector<Tok> Out;
  while (P.NextToken() != ttEnd) Out.push_back({P.TokenKind(), P.TokenPos(), P.TokenLength()});
  return Out;
}

TRowAttributeData NoBrackets() {
  TRowAttributeData D;
  D.BracketIndex = -2;
  return D;
}

struct TokenCase {
  const char* Name;
  std::string Text;
  std::vector<Tok> Want;
};

TEST(BaseTokens, Table) {
  const std::vector<TokenCase> Cases = {
      {"integer", "123", {{ttInteger, 0, 3}}},
      {"fraction then symbol", "12.a", {{ttFloat, 0, 2}, {ttSymbol, 2, 1}, {ttAnk, 3, 1}}},
      {"bare exponent sign", "1e+", {{ttFloat, 0, 3}}},
      {"full float", "1.5E-3", {{ttFloat, 0, 6}}},
      {"dot exponent", "2.e5", {{ttFloat, 0, 4}}},
      {"ank with digits", "ab_9 x", {{ttAnk, 0, 4}, {ttAnk, 5, 1}}},
      {"tab is a token, spaces are not", " \tx  y", {{ttTab, 1, 1}, {ttAnk, 2, 1}, {ttAnk, 5, 1}}},
      {"control bytes skipped", "\x01\x02z", {{ttAnk, 2, 1}}},
      {"quotes are symbols in the base rules", "'a'", {{ttSymbol, 0, 1}, {ttAnk, 1, 1}, {ttSymbol, 2, 1}}},
      {"hiragana run with long vowel", "\x82\xA0\x82\xA2\x81\x5B", {{ttHiragana, 0, 6}}},
      {"katakana run", "\x83\x41\x83\x43x", {{ttKatakana, 0, 4}, {ttAnk, 4, 1}}},
      {"full-width digits with comma", "\x82\x50\x81\x43\x82\x51", {{ttDbcsDigits, 0, 6}}},
      {"full-width letters", "\x82\x60\x82\x81", {{ttDbcsAlpha, 0, 4}}},
      {"0x82 symbol", "\x82\x40\x82\x40", {{ttDbcsSymbol, 0, 2}, {ttDbcsSymbol, 2, 2}}},
      {"0x83 symbol", "\x83\x9F", {{ttDbcsSymbol, 0, 2}}},
      {"0x81 symbol", "\x81\x41", {{ttDbcsSymbol, 0, 2}}},
      {"kanji run", "\x88\x9F\x93\xFA", {{ttKanji, 0, 4}}},
      {"kanji lead with low trail", "\x88\x20", {{ttKanji, 0, 1}}},
      {"kana symbol then kana", "\xA1\xB1\xB2", {{ttKanaSymbol, 0, 1}, {ttKana, 1, 2}}},
      {"invalid second byte", "\x82\x20" "a", {{ttBrokenDbcs, 0, 1}, {ttAnk, 2, 1}}},
      {"lead byte at the end", "\x82", {{ttBrokenDbcs, 0, 1}}},
      {"0x81 at the end stands alone", "\x81", {{ttDbcsSymbol, 0, 1}}},
      {"NUL ends the row", std::string("a\0b", 3), {{ttAnk, 0, 1}}},
      {"CR ends the row", "a\rb", {{ttAnk, 0, 1}, {ttAnk, 2, 1}}},
  };
  TTokenParser P;
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Name);
    EXPECT_EQ(Tokens(P, C.Text, NoBrackets()), C.Want);
  }
}

TEST(Parser, NeedsAHighlighter) {
  try {
    TEditorParser P(nullptr);
    FAIL();
  } catch (const EHighlighterError& E) {
    EXPECT_STREQ(E.what(), "THighlighterParser.Create need instance of THighlighter");
  }
}

TEST(Brackets, LimitOfFourteen) {
  auto H = THighlighter::New<TEditorHighlighter>();
  for (int I = 0; I < 14; ++I) H->Brackets().AddItem();
  try {
    H->Brackets().AddItem();
    FAIL();
  } catch (const EHighlighterError& E) {
    EXPECT_STREQ(E.what(), "THighlighterBracketCollection\r\nYou can not add item over 14");
  }
  EXPECT_EQ(H->Brackets().Count(), 14);
}

struct EditorCase {
  const char* Name;
  void (*Setup)(TEditorHighlighter&);
  std::string Text;
  std::vector<Tok> Want;
};

TEST(EditorTokens, Table) {
  const std::vector<EditorCase> Cases = {
      {"mail before url", [](TEditorHighlighter& H) { H.SetMail(true); H.SetUrl(true); }, "www.a@b.c x",
       {{ttMail, 0, 9}, {ttAnk, 10, 1}}},
      {"url with prefix", [](TEditorHighlighter& H) { H.SetUrl(true); }, "http://a.b/c?d=1 z",
       {{ttUrl, 0, 16}, {ttAnk, 17, 1}}},
      {"https", [](TEditorHighlighter& H) { H.SetUrl(true); }, "https://x", {{ttUrl, 0, 9}}},
      {"url prefix is case-sensitive", [](TEditorHighlighter& H) { H.SetUrl(true); }, "WWW.x",
       {{ttAnk, 0, 3}, {ttSymbol, 3, 1}, {ttAnk, 4, 1}}},
      {"www without dot is a word", [](TEditorHighlighter& H) { H.SetUrl(true); }, "wwwx", {{ttAnk, 0, 4}}},
      {"url off", [](TEditorHighlighter&) {}, "ftp:x", {{ttAnk, 0, 3}, {ttSymbol, 3, 1}, {ttAnk, 4, 1}}},
      {"mail run", [](TEditorHighlighter& H) { H.SetMail(true); }, "a.b@c.d", {{ttMail, 0, 7}}},
      {"dot only before at", [](TEditorHighlighter& H) { H.SetMail(true); }, "a.b@c",
       {{ttAnk, 0, 1}, {ttSymbol, 1, 1}, {ttAnk, 2, 1}, {ttSymbol, 3, 1}, {ttAnk, 4, 1}}},
      {"run beginning with at", [](TEditorHighlighter& H) { H.SetMail(true); }, "@a.b",
       {{ttSymbol, 0, 1}, {ttAnk, 1, 1}, {ttSymbol, 2, 1}, {ttAnk, 3, 1}}},
      {"comment marker", [](TEditorHighlighter& H) { H.SetCommenter("//"); }, "a // b 'c", {{ttAnk, 0, 1}, {ttComment, 2, 7}}},
      {"quotation with doubled quote", [](TEditorHighlighter& H) { H.SetQuotation("\""); }, "\"a\"\"b\" '",
       {{ttQuotation, 0, 6}, {ttSymbol, 7, 1}}},
      {"unterminated quotation", [](TEditorHighlighter& H) { H.SetQuotation("'"); }, "'it''s", {{ttQuotation, 0, 6}}},
      {"quotation over double-byte", [](TEditorHighlighter& H) { H.SetQuotation("'"); }, "'\x83\x27'x",
       {{ttQuotation, 0, 4}, {ttAnk, 4, 1}}},
      {"control codes", [](TEditorHighlighter& H) { H.SetControlCode(true); }, "#13#$0d# x",
       {{ttControlCode, 0, 3}, {ttHexControlCode, 3, 4}, {ttControlCode, 7, 1}, {ttAnk, 9, 1}}},
      {"hex prefix without case", [](TEditorHighlighter& H) { H.SetHexPrefix("0x"); }, "0X1Fg",
       {{ttHex, 0, 4}, {ttAnk, 4, 1}}},
      {"dollar hex", [](TEditorHighlighter& H) { H.SetHexPrefix("$"); }, "$ff", {{ttHex, 0, 3}}},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Name);
    auto H = THighlighter::New<TEditorHighlighter>();
    C.Setup(*H);
    auto P = H->NewParser();
    EXPECT_EQ(Tokens(*P, C.Text), C.Want);
  }
}

TEST(EditorTokens, ColoursByKind) {
  auto H = THighlighter::New<TEditorHighlighter>();
  H->SetCommenter("//");
  H->SetQuotation("\"");
  TStringList Words;
  Words.Add("begin");
  H->SetReserveWordList(Words);
  auto P = H->NewParser();
  P->SetRowText("BEGIN 1 x \"s\" . \x82\xA0 // c", InitialRowState());
  TEditorColors& C = H->Colors();
  const std::vector<const THighlighterColor*> Want = {&C.Reserve(), &C.Int(), &C.Ank(), &C.Str(),
                                                      &C.Symbol(),  &C.DBCS(), &C.Comment()};
  for (const THighlighterColor* W : Want) {
    ASSERT_NE(P->NextToken(), ttEnd);
    EXPECT_EQ(P->TokenColor(), W) << P->TokenText();
  }
  EXPECT_EQ(P->NextToken(), ttEnd);
}

TEST(EditorColors, SetAllColorSkipsSelectAndHitAndNotifiesOnce) {
  auto H = THighlighter::New<TEditorHighlighter>();
  test::Recorder R;
  H->Notifier().Add(R.Event());
  H->SetAllColor(clRed);
  EXPECT_EQ(R.Senders.size(), 1u);
  EXPECT_EQ(R.Senders[0], H.get());
  EXPECT_EQ(H->Colors().Ank().Color(), clRed);
  EXPECT_EQ(H->Reserve().Color(), clRed);
  EXPECT_EQ(H->Colors().Url().Color(), clRed);
  EXPECT_EQ(H->Colors().Select().Color(), clWhite);
  EXPECT_EQ(H->Colors().Select().BkColor(), clNavy);
  EXPECT_EQ(H->Colors().Hit().Color(), clNone);
}

TEST(Notification, EachChangeReachesEveryHandlerOnce) {
  auto H = THighlighter::New<TEditorHighlighter>();
  test::Recorder A, B;
  H->Notifier().Add(A.Event());
  H->Notifier().Add(B.Event());
  const std::vector<std::pair<const char*, void (*)(TEditorHighlighter&)>> Changes = {
      {"colour", [](TEditorHighlighter& X) { X.Colors().Ank().SetBkColor(clGray); }},
      {"reserve", [](TEditorHighlighter& X) { X.Reserve().SetStyle(TFontStyles{fsBold}); }},
      {"add bracket", [](TEditorHighlighter& X) { X.Brackets().AddItem(); }},
      {"bracket colour", [](TEditorHighlighter& X) { X.Brackets().Items(0).ItemColor().SetColor(clRed); }},
      {"bulk bracket colour", [](TEditorHighlighter& X) { X.EditorBrackets().SetBracketsColor(clBlue); }},
      {"reserved words", [](TEditorHighlighter& X) {
         TStringList L;
         L.Add("if");
         L.Add("then");
         X.SetReserveWordList(L);
       }},
      {"whole colour set", [](TEditorHighlighter& X) {
         auto Other = THighlighter::New<TEditorHighlighter>();
         Other->Colors().Str().SetColor(clSilver);
         X.SetColors(Other->Colors());
       }},
  };
  for (const auto& [Name, Change] : Changes) {
    SCOPED_TRACE(Name);
    A.Senders.clear();
    B.Senders.clear();
    Change(*H);
    EXPECT_EQ(A.Senders.size(), 1u);
    EXPECT_EQ(B.Senders.size(), 1u);
  }
  EXPECT_EQ(H->Colors().Str().Color(), clSilver);
}

TEST(Highlighter, HasItalicStyleFindsBracketColours) {
  auto H = THighlighter::New<TEditorHighlighter>();
  EXPECT_FALSE(H->HasItalicStyle(*H));
  H->Brackets().AddItem().ItemColor().SetStyle(TFontStyles{fsItalic});
  EXPECT_TRUE(H->HasItalicStyle(*H));
}

TEST(HTMLTokens, Table) {
  const std::vector<TokenCase> Cases = {
      {"start tag", "<a href=x>", {{ttTagOpen, 0, 1}, {ttTagElement, 1, 1}, {ttTagAttribute, 3, 4}, {ttTagEquals, 7, 1},
                                   {ttTagValue, 8, 1}, {ttTagClose, 9, 1}}},
      {"end tag", "</p>", {{ttTagOpen, 0, 1}, {ttTagElement, 1, 2}, {ttTagClose, 3, 1}}},
      {"quoted value", "<a b=\"x y\">", {{ttTagOpen, 0, 1}, {ttTagElement, 1, 1}, {ttTagAttribute, 3, 1},
                                         {ttTagEquals, 4, 1}, {ttDoubleQuote, 5, 5}, {ttTagClose, 10, 1}}},
      {"string after element", "<a 'x'>", {{ttTagOpen, 0, 1}, {ttTagElement, 1, 1}, {ttTagAttribute, 3, 3}, {ttTagClose, 6, 1}}},
      {"entity with semicolon", "&amp;x", {{ttAmpersand, 0, 5}, {ttAnk, 5, 1}}},
      {"entity without semicolon", "&a b", {{ttAmpersand, 0, 2}, {ttAnk, 3, 1}}},
      {"apostrophe after a word", "don't 'x'", {{ttAnk, 0, 4}, {ttAnk, 4, 1}, {ttSingleQuote, 6, 3}}},
      {"doubled single quote is no escape", "'a''b'", {{ttSingleQuote, 0, 3}, {ttSingleQuote, 3, 3}}},
      {"comment", "a<!-- x -->b", {{ttAnk, 0, 1}, {ttBracket, 1, 10}, {ttAnk, 11, 1}}},
      {"url always on", "http://x <", {{ttUrl, 0, 8}, {ttTagOpen, 9, 1}}},
      {"slash and equals outside tags", "a/b=c", {{ttAnk, 0, 1}, {ttSymbol, 1, 1}, {ttAnk, 2, 1}, {ttSymbol, 3, 1}, {ttAnk, 4, 1}}},
  };
  auto H = THighlighter::New<THTMLHighlighter>();
  auto P = H->NewParser();
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Name);
    EXPECT_EQ(Tokens(*P, C.Text), C.Want);
  }
}

TEST(HTMLHighlighter, DefaultsAndColours) {
  auto H = THighlighter::New<THTMLHighlighter>();
  EXPECT_TRUE(H->HasFileExt(".HTM"));
  EXPECT_TRUE(H->HasFileExt(".html"));
  ASSERT_EQ(H->Brackets().Count(), 1);
  EXPECT_EQ(H->Brackets().Items(0).LeftBracket(), "<!--");
  auto P = H->NewParser();
  P->SetRowText("<b>", InitialRowState());
  P->NextToken();
  EXPECT_EQ(P->TokenColor(), &H->TagColor());
  P->NextToken();
  EXPECT_EQ(P->TokenColor(), &H->TagElement());
}

}  // namespace
}  // namespace tesvarin

namespace tesvarin {
namespace {

TEST(EditorColors, BulkSettersTouchOnlyTheirAttribute) {
  auto H = THighlighter::New<TEditorHighlighter>();
  H->SetAllBkColor(clGray);
  H->SetAllStyle(TFontStyles{fsItalic});
  EXPECT_EQ(H->Colors().Comment().BkColor(), clGray);
  EXPECT_EQ(H->Colors().Comment().Color(), clNone);
  EXPECT_TRUE(H->Colors().Reserve().Style().Contains(fsItalic));
  EXPECT_EQ(H->Colors().Hit().BkColor(), clNone);
  EXPECT_FALSE(H->Colors().Select().Style().Contains(fsItalic));
  EXPECT_TRUE(H->HasItalicStyle(*H));
}

TEST(EditorColors, ReserveIsTheHighlighters) {
  auto H = THighlighter::New<TEditorHighlighter>();
  H->Colors().Reserve().SetColor(clMaroon);
  EXPECT_EQ(H->Reserve().Color(), clMaroon);
  EXPECT_EQ(&H->Colors().Reserve(), &H->Reserve());
}

}  // namespace
}  // namespace tesvarin
