// Tables of tokens, leaf ranges, errors, match positions and fuzzy expansions.
#include <gtest/gtest.h>

#include "MatchTable.h"

#include <string>
#include <vector>

#include "regexp/FuzzyCharDic.h"
#include "regexp/REChars.h"
#include "regexp/REMatchStr.h"
#include "regexp/REParser.h"
#include "regexp/REPreProcessor.h"

namespace tesvarin {
namespace {

std::string Tokens(const std::string& Expr) {
  TREPreProcessor P;
  P.SetSource(Expr);
  P.Tokenize();
  std::string Out;
  char Buf[64];
  for (const TREToken& T : P.TokenList()) {
    std::snprintf(Buf, sizeof Buf, "%s %x %x %d %d;", TokenKindName(T.Kind), T.Code, T.CodeHigh, T.StartPos, T.EndPos);
    Out += Buf;
  }
  return Out;
}

TEST(RETables, Tokens) {
  const struct {
    const char* Expr;
    const char* Want;
  } Cases[] = {
      {"[a-]", "retk_LBra 5b 0 1 2;retk_Char 61 0 2 3;retk_Char 2d 0 3 4;retk_RBra 5d 0 4 5;retk_End 0 0 0 0;"},
      {"[]a]", "retk_LBra 5b 0 1 2;retk_RBra 5d 0 2 3;retk_Char 61 0 3 4;retk_RBra 5d 0 4 5;retk_End 0 0 0 0;"},
      {"\\x4g", "retk_Char 4 0 1 4;retk_Char 67 0 4 5;retk_End 0 0 0 0;"},
      {"\\177777", "retk_Char ffff 0 1 8;retk_End 0 0 0 0;"},
      {"\\x12345", "retk_Char 1234 0 1 7;retk_Char 35 0 7 8;retk_End 0 0 0 0;"},
      {"\\101\\0", "retk_Char 41 0 1 5;retk_Char 0 0 5 7;retk_End 0 0 0 0;"},
      {"\\d\\.\\\\", "retk_Char 64 0 1 3;retk_Char 2e 0 3 5;retk_Char 5c 0 5 7;retk_End 0 0 0 0;"},
      {"\\b\\n\\r\\t", "retk_Char 8 0 1 3;retk_Char a 0 3 5;retk_Char d 0 5 7;retk_Char 9 0 7 9;retk_End 0 0 0 0;"},
      {"[^^a-c\\]]", "retk_LBraNeg 5b 0 1 3;retk_Char 5e 0 3 4;retk_Range 61 63 4 7;retk_Char 5d 0 7 9;"
                     "retk_RBra 5d 0 9 10;retk_End 0 0 0 0;"},
      {"[(|*.$]", "retk_LBra 5b 0 1 2;retk_Char 28 0 2 3;retk_Char 7c 0 3 4;retk_Char 2a 0 4 5;retk_Char 2e 0 5 6;"
                  "retk_Char 24 0 6 7;retk_RBra 5d 0 7 8;retk_End 0 0 0 0;"},
      {"^(a|b)*+?.$", "retk_LHead 5e 0 1 2;retk_LPar 28 0 2 3;retk_Char 61 0 3 4;retk_Union 7c 0 4 5;"
                      "retk_Char 62 0 5 6;retk_RPar 29 0 6 7;retk_Star 2a 0 7 8;retk_Plus 2b 0 8 9;"
                      "retk_QMark 3f 0 9 10;retk_Dot 2e 0 10 11;retk_LTail 24 0 11 12;retk_End 0 0 0 0;"},
      {"\x82\xA0[\x82\x9F-\x82\xF1]", "retk_Char 82a0 0 1 3;retk_LBra 5b 0 3 4;retk_Range 829f 82f1 4 9;"
                                      "retk_RBra 5d 0 9 10;retk_End 0 0 0 0;"},
      {"\\\x83\x5C", "retk_Char 835c 0 1 4;retk_End 0 0 0 0;"},  // an escaped double-byte character
      {"", "retk_End 0 0 0 0;"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Expr);
    EXPECT_EQ(Tokens(C.Expr), C.Want);
  }
}

TEST(RETables, ScannerLeavesClassModeOnNewText) {
  TREScanner S("[a");
  S.GetToken();
  EXPECT_TRUE(S.InClass());
  EXPECT_THROW(S.GetToken(), ERegExpParser);
  S.SetText("a]");
  EXPECT_EQ(S.GetToken(), retk_Char);
  EXPECT_EQ(S.GetToken(), retk_RBra);
}

TEST(RETables, CharacterFunctions) {
  const struct {
    const char* S;
    int Pos, Want;
  } Ungets[] = {{"ab", 1, 1}, {"ab", 2, 1}, {"ab", 3, 2}, {"a\x83\x5C", 4, 2}, {"\x83\x83\x5C", 4, 3},
                {"\x83\x83\x83\x5C", 5, 3}, {"\x83\x5C\x5C", 4, 3}};
  for (const auto& C : Ungets) {
    int P = C.Pos;
    UngetChar(C.S, P);
    EXPECT_EQ(P, C.Want) << C.S << " from " << C.Pos;
  }
  EXPECT_EQ(CodeToStr(0x82A0), "\x82\xA0");
  EXPECT_EQ(CodeToStr(0x41), "A");
  EXPECT_EQ(CodeToStr(0x00B1), "\xB1");
  EXPECT_EQ(EscapeMetaChars("^(|)+*?.[]$\\a\x83\x5C"), "\\^\\(\\|\\)\\+\\*\\?\\.\\[\\]\\$\\\\a\x83\x5C");
  int P = 5;
  EXPECT_EQ(GetChar("ab", P), 0);
  EXPECT_EQ(P, 5);
  EXPECT_EQ(HexValue('f'), 15);
  EXPECT_EQ(HexValue('g'), -1);
  EXPECT_EQ(OctValue('8'), -1);
}

std::vector<std::pair<int, int>> Leaves(const std::string& Expr) {
  TREParser P(Expr);
  P.Parse();
  std::vector<std::pair<int, int>> Out;
  for (int I = 0; I < P.Tree().LeafCount(); ++I) Out.emplace_back(P.Tree().Leaf(I)->Lo, P.Tree().Leaf(I)->Hi);
  return Out;
}

using Ranges = std::vector<std::pair<int, int>>;

TEST(RETables, LeafRangesInListOrder) {
  const struct {
    const char* Expr;
    Ranges Want;
  } Cases[] = {
      {"[a-z]|[k-q]", {{'k', 'q'}, {'a', 'j'}, {'r', 'z'}}},
      {"[^a]", {{11, 12}, {1, 9}, {14, 0x60}, {0x62, 0xFCFC}}},
      {"[^\\n]", {{11, 12}, {1, 9}, {14, 0xFCFC}}},
      {"[^acb]", {{11, 12}, {1, 9}, {14, 0x60}, {0x64, 0xFCFC}}},
      {".", {{11, 12}, {1, 9}, {14, 0xFCFC}}},
      {"a|a|a", {{'a', 'a'}}},
      {"[a-c][b-d]", {{'a', 'a'}, {'b', 'c'}, {'d', 'd'}}},
      {"[a-e]c", {{'c', 'c'}, {'a', 'b'}, {'d', 'e'}}},
      {"[a-c]a", {{'a', 'a'}, {'b', 'c'}}},
      // Code 0 and the marker codes are clipped off a class range.
      {"[\\0-a]", {{1, 'a'}}},
      {"[\\xfff0-\\xffff]", {{0xFFF0, 0xFFFC}}},
      {"\\0|\\xfffd", {}},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Expr);
    EXPECT_EQ(Leaves(C.Expr), C.Want);
  }
}

TEST(RETables, ErrorsAndPositions) {
  const struct {
    const char* Expr;
    const char* Message;
    int Pos;
  } Cases[] = {
      {"a[b", remsg::NeedRightBracket, 4},   {"[", remsg::NeedRightBracket, 2},
      {"[a", remsg::NeedRightBracket, 3},    {"[a-", remsg::NeedRightBracket, 4},
      {"[^", remsg::NeedRightBracket, 3},    {"[z-a]", remsg::BadCharRange, 5},
      {"\\x", remsg::BadHexCode, 3},         {"a\\xg", remsg::BadHexCode, 4},
      {"\\777777", remsg::BadOctCode, 8},    {"a\x82", remsg::BadDoubleByte, 2},
      {"\\", remsg::NeedCharAfterBackslash, 2}, {"[\\", remsg::NeedCharAfterBackslash, 3},
      {"[a-\\", remsg::NeedCharAfterBackslash, 5}, {"a)b", remsg::ExtraChars, 3},
      {")", remsg::ExtraChars, 2},           {"(a", remsg::NeedRightParen, 3},
      {"(a|b", remsg::NeedRightParen, 5},    {"a**", remsg::NeedCharOrLeftParen, 4},
      {"a+?", remsg::NeedCharOrLeftParen, 4}, {"*a", remsg::NeedCharOrLeftParen, 2},
      {"a]", remsg::NeedCharOrLeftParen, 3}, {"(*)", remsg::NeedCharOrLeftParen, 3},
      {"[]", remsg::BadCharClass, 3},        {"[^]", remsg::BadCharClass, 4},
      {"[]a]", remsg::BadCharClass, 3},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Expr);
    TREParser P(C.Expr);
    try {
      P.Parse();
      ADD_FAILURE() << "no error";
    } catch (const ERegExpParser& E) {
      EXPECT_STREQ(E.what(), C.Message);
      EXPECT_EQ(E.ErrorPos(), C.Pos);
    }
  }
}

TEST(RETables, MessageBytes) {
  // The messages are UTF-8 texts shown to the user; the backslash message starts with quote, backslash, quote.
  EXPECT_EQ(std::string(remsg::NeedCharAfterBackslash).substr(0, 3), "\"\\\"");
  EXPECT_EQ(std::string(remsg::NeedRightBracket), "\xE5\x8F\xB3\xE3\x83\x96\xE3\x83\xA9\xE3\x82\xB1\xE3\x83\x83\xE3\x83\x88\"]\"\xE3\x81\x8C\xE5\xBF\x85\xE8\xA6\x81\xE3\x81\xA7\xE3\x81\x99");
}

TEST(RETables, MatchPositions) {
  const MatchRow Cases[] = {
      {"a*", "b", 1, 0},
      {"ab|abc", "xabcx", 2, 3},
      {"^a", "ba", 0, 0},
      {"^a", "b\na", 3, 1},
      {"^a", "a", 1, 1},
      {"a$", "a\r\nb", 1, 1},
      {"a$", "a\r\nb", 0, 0, false, true},
      {"a$", "a\nb", 1, 1, false, true},
      {"$", "abc", 4, 0},
      {"$", "", 1, 0},
      {"^$", "ab\n", 4, 0},
      {"^", "", 1, 0},
      {"a^b", "a^b", 1, 3},
      {"a$b", "a$b", 1, 3},
      {"\\^a", "^a", 1, 2},
      {"a(.b|^c)", "a^c", 1, 3},
      {"[\\x1-\\xff]^", "^^", 1, 2},
      {"\x82\xA0+", "\x82\xA0\x82\xA0\x82\xA0", 1, 6},
      {"[\x82\x9F-\x82\xF1]+", "x\x82\x9F\x82\xF1\x82\xF2", 2, 4},
      {".", "\r\n\xFC\xFD" "a", 5, 1},
      {".+", "\x82\xA0" "a\r", 1, 3},
      {"\\\\", "\x83\x5C\\", 3, 1},
      {"J", "\x8A" "J", 0, 0},
      {"\\x82", "a\x82", 2, 1},     // a lead byte as the last byte is a character of its own
      {"[^\\n]+", "ab\x82", 1, 3},
      {"a\\0*", "aa", 1, 1},
      {"a\\0", "a", 0, 0},
      {"[^\\x1-\\x9\\xb\\xc\\xe-\\xfcfc]|b", "ab", 2, 1},
      {"a\\r?$", "a\r\n", 1, 1},
      {"x*", "", 1, 0},
      {"(a|ab)(c|bcd)", "abcd", 1, 4},
      {"a", "", 0, 0},
      {"a", std::string("b\0a", 3), 0, 0},  // the text ends at its first NUL
      {"a", "x\x82\x60" "A", 2, 2, true},
      {"\x83\x52\x83\x93\x83\x73\x83\x85\x81\x5B\x83\x5E\x81\x5B", "\x83\x52\x83\x93\x83\x73\x83\x85\x81\x5B\x83\x5E",
       1, 12, true},  // the long-vowel mark may be absent
      {"\x82\xB8", "\x83\x58\x81\x4A", 1, 4, true},  // ず matches ス゛
      {"\x82\xA9\x81\x4A", "\xB6\xDE", 1, 2, true},   // か゛ matches ｶﾞ
      {"\x8A\xBF", "\x8A\xBF", 1, 2, true},           // a kanji in no group
  };
  ExpectMatches(Cases);
}

TEST(RETables, FuzzyExpansions) {
  const struct {
    const char* Expr;
    const char* Want;
  } Cases[] = {
      {"a+", "(\x82\x60|\x82\x81|A|a)+"},
      {"[ab][^ab]", "[ab][^ab]"},
      {"a\\.b", "(\x82\x60|\x82\x81|A|a)(\xA1|\\.|\x81\x42|\x81\x44)(\x82\x61|\x82\x82|B|b)"},
      {"\x81\x5B", "(\x81\x5B|\x81\x60|\xB0|)"},
      {"-", "(-|\x81\x5B|\x81\x7C|\x81\x60|\xB0)"},
      {"\x82\xA9\x81\x4A", "(\x82\xAA|\x83\x4B|\xB6\xDE|\x82\xA9\x81\x4A|\x83\x4A\x81\x4A)"},
      {"\x8A\xBF", "\x8A\xBF"},
      {"\\\\", "(\\\\|\x81\x8F)"},
      {",", "(,|\xA4|\x81\x41|\x81\x43)"},
      {" ", "(\x81\x40| )"},
      {"\\x41", "(\x82\x60|\x82\x81|A|a)"},
      {"(a)", "((\x82\x60|\x82\x81|A|a))"},
      {"\x81\x4A", "(\xDE|\x81\x4A)"},  // a lone voicing mark
      // う then ぁ are separate characters: group 99 comes before the わ group.
      {"\x82\xA4\x82\x9F", "(\x82\xA4|\x83\x45|\xB3|\x82\xA3|\x83\x44|\xA9)(\x82\xA0|\x83\x41|\xB1|\x82\x9F|\x83\x40|\xA7)"},
  };
  TREPreProcessor P;
  P.FuzzyCharDicList().push_back(&FuzzyCharDic());
  P.SetUseFuzzyCharDic(true);
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Expr);
    P.SetSource(C.Expr);
    P.Run();
    EXPECT_EQ(P.Output(), C.Want);
  }
}

TEST(RETables, SynonymPassWithoutDictionaryLeavesExpression) {
  TREPreProcessor P;
  P.SetUseSynonymDic(true);
  P.SetSource("a\\.(b)");
  P.Run();
  EXPECT_EQ(P.Output(), "a\\.(b)");
}

TEST(RETables, FailedCompileRestoresEmptyExpression) {
  TREMatchStr M;
  M.SetRegExp("abc");
  const int Count = M.CacheCount();
  EXPECT_THROW(M.SetRegExp("a)"), ERegExpParser);
  EXPECT_EQ(M.CurrentIndex(), 0);
  EXPECT_EQ(M.RegExp(), "");
  EXPECT_EQ(M.CacheCount(), Count);
  int Pos, Len;
  EXPECT_EQ(M.Match("xyz", Pos, Len), 1);  // the empty expression matches at the start
  EXPECT_EQ(Len, 0);
}

TEST(RETables, FuzzyFlagReusesCachedEntries) {
  TREMatchStr M;
  M.SetRegExp("ab");
  const TRE_DFA* Plain = &M.DFA();
  M.SetUseFuzzyCharDic(true);
  const TRE_DFA* Fuzzy = &M.DFA();
  EXPECT_NE(Plain, Fuzzy);
  M.SetUseFuzzyCharDic(false);
  EXPECT_EQ(&M.DFA(), Plain);
  M.SetUseFuzzyCharDic(true);
  EXPECT_EQ(&M.DFA(), Fuzzy);
  const int Index = M.CurrentIndex();
  EXPECT_THROW(M.SetRegExp("[a"), ERegExpParser);  // raised by the preprocessor
  EXPECT_EQ(M.CurrentIndex(), Index);
  EXPECT_EQ(M.RegExp(), "ab");
}

}  // namespace
}  // namespace tesvarin
