// Scanner tokens, errors and positions, parser leaf ranges.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "regexp/REChars.h"
#include "regexp/REParser.h"
#include "regexp/REScanner.h"

namespace tesvarin {
namespace {

struct ErrorCase {
  const char* Expr;
  const char* Message;
  int Pos;
};

TEST(REScanner, ErrorsAndPositions) {
  const ErrorCase Cases[] = {
      {"a[b", remsg::NeedRightBracket, 4},  {"[", remsg::NeedRightBracket, 2},
      {"[z-a]", remsg::BadCharRange, 5},    {"\\x", remsg::BadHexCode, 3},
      {"\\777777", remsg::BadOctCode, 8},   {"a\x82", remsg::BadDoubleByte, 2},
      {"a)b", remsg::ExtraChars, 3},        {"(a", remsg::NeedRightParen, 3},
      {"a**", remsg::NeedCharOrLeftParen, 4}, {"[]", remsg::BadCharClass, 3},
  };
  for (const ErrorCase& C : Cases) {
    SCOPED_TRACE(C.Expr);
    TREParser P(C.Expr);
    try {
      P.Parse();
      FAIL() << "no error";
    } catch (const ERegExpParser& E) {
      EXPECT_STREQ(E.what(), C.Message);
      EXPECT_EQ(E.ErrorPos(), C.Pos);
    }
  }
}

TEST(REScanner, ClassTokens) {
  TREScanner S("[a-]");
  EXPECT_EQ(S.GetToken(), retk_LBra);
  EXPECT_EQ(S.GetToken(), retk_Char);
  EXPECT_EQ(S.Code(), 'a');
  EXPECT_EQ(S.GetToken(), retk_Char);
  EXPECT_EQ(S.Code(), '-');
  EXPECT_EQ(S.GetToken(), retk_RBra);
  EXPECT_EQ(S.GetToken(), retk_End);
}

TEST(REScanner, Escapes) {
  TREScanner S("\\x4g\\177777\\x82a0");
  S.GetToken();
  EXPECT_EQ(S.Code(), 4);
  S.GetToken();
  EXPECT_EQ(S.Code(), 'g');
  S.GetToken();
  EXPECT_EQ(S.Code(), 0xFFFF);
  S.GetToken();
  EXPECT_EQ(S.Code(), 0x82A0);
}

TEST(REParser, DisjointLeaves) {
  TREParser P("[a-z]|[k-q]");
  P.Parse();
  std::vector<std::pair<int, int>> Got;
  for (int I = 0; I < P.Tree().LeafCount(); ++I) Got.emplace_back(P.Tree().Leaf(I)->Lo, P.Tree().Leaf(I)->Hi);
  std::sort(Got.begin(), Got.end());
  const std::vector<std::pair<int, int>> Want{{'a', 'j'}, {'k', 'q'}, {'r', 'z'}};
  EXPECT_EQ(Got, Want);
}

TEST(REParser, NegatedClass) {
  TREParser P("[^acb]");
  P.Parse();
  std::vector<std::pair<int, int>> Got;
  for (int I = 0; I < P.Tree().LeafCount(); ++I) Got.emplace_back(P.Tree().Leaf(I)->Lo, P.Tree().Leaf(I)->Hi);
  std::sort(Got.begin(), Got.end());
  const std::vector<std::pair<int, int>> Want{{1, 9}, {11, 12}, {14, 0x60}, {0x64, 0xFCFC}};
  EXPECT_EQ(Got, Want);
}

}  // namespace
}  // namespace tesvarin

#include "regexp/FuzzyCharDic.h"
#include "regexp/REPreProcessor.h"

namespace tesvarin {
namespace {

TEST(FuzzyCharDic, GroupsAndBytes) {
  const TREDictionary& D = FuzzyCharDic();
  ASSERT_EQ(D.size(), 145u);
  EXPECT_EQ(D[0].Count(), 4);
  EXPECT_EQ(D[0][0], "\x82\x60");  // full-width A
  EXPECT_EQ(D[48].Count(), 4);     // long-vowel group ends with an empty variant
  EXPECT_EQ(D[48][3], "");
  EXPECT_EQ(D[36].Count(), 2);
  EXPECT_EQ(D[36][1], " ");
  EXPECT_EQ(D[38][0], "\"");
  EXPECT_EQ(D[68][0], ",");
  EXPECT_EQ(D[68].Count(), 4);
}

TEST(TREPreProcessor, FuzzyExpansion) {
  TREPreProcessor P;
  P.FuzzyCharDicList().push_back(&FuzzyCharDic());
  P.SetUseFuzzyCharDic(true);
  P.SetSource("a+[ab]");
  P.Run();
  EXPECT_EQ(P.Output(), "(\x82\x60|\x82\x81|A|a)+[ab]");
  P.SetSource("a\\.b");
  P.Run();
  EXPECT_EQ(P.Output(), "(\x82\x60|\x82\x81|A|a)(\xA1|\\.|\x81\x42|\x81\x44)(\x82\x61|\x82\x82|B|b)");
}

}  // namespace
}  // namespace tesvarin
