// Match positions of the matcher, the bounded automaton and the cache.
#include <gtest/gtest.h>

#include "MatchTable.h"

#include "regexp/REChars.h"
#include "regexp/REMatchStr.h"

namespace tesvarin {
namespace {

TEST(TREMatchStr, MatchPositions) {
  const MatchRow Cases[] = {
      {"a*", "b", 1, 0},         {"ab|abc", "xabcx", 2, 3}, {"^a", "ba", 0, 0},
      {"^a", "b\na", 3, 1},      {"^a", "a", 1, 1},         {"a$", "a\r\nb", 1, 1},
      {"a$", "a\r\nb", 0, 0, false, true},     {"$", "abc", 4, 0},        {"$", "", 1, 0},
      {"a^b", "a^b", 1, 3},      {"a$b", "a$b", 1, 3},      {"\x82\xA0+", "\x82\xA0\x82\xA0\x82\xA0", 1, 6},
      {"a(.b|^c)", "a^c", 1, 3}, {"J", "\x8aJ", 0, 0},      {"a\\r?$", "a\r\n", 1, 1},
      {".", "\r\n", 0, 0},       {"[^a]", "a\x82", 2, 1},   {"a\\0*", "aa", 1, 1},
      {"^a|", "", 1, 0},          {"^a|b*", "", 1, 0},       {"\\\\", "\x83\x5C", 0, 0},
  };
  ExpectMatches(Cases);
}

// Lines are not searched for a NUL first: each walk must stop at one, also inside a pair, before a
// literal found past it, and where a line end or the empty match falls.
TEST(TREMatchStr, NulEndsTheText) {
  using namespace std::string_literals;
  const MatchRow Cases[] = {
      {"b", "a\0b"s, 0, 0},           {"a.*", "aa\0aa"s, 1, 2},        {"$", "ab\0cd"s, 3, 0},
      {"a$", "xa\0"s, 2, 1},          {"\\x82$", "a\x82\0b"s, 2, 1},  {"[^a]+", "\x82\0\x82\x41"s, 1, 1},
      {"kernel", "ke\0kernel"s, 0, 0}, {"^b|x*$", "a\0b"s, 2, 0},      {"x*", "\0ab"s, 1, 0},
      {"^.*$", "ab\0\r\n"s, 1, 2},    {"b|c", "a\0\nb"s, 0, 0},       {"^b", "a\n\0b"s, 0, 0, false, true},
      {"\x83\x5C", "\x83\0\x83\x5C"s, 0, 0},  {"\x83\x5C", "a\x83\x5C\0"s, 2, 2},
  };
  ExpectMatches(Cases);
}

TEST(TREMatchStr, ExplodingExpressionStaysBoundedAndExact) {
  std::string E = "(a|b)*a";
  for (int I = 0; I < 20; ++I) E += "(a|b)";  // 2^21 subsets: unbounded subsets would not fit
  TREMatchStr Small, Big;
  Small.SetRegExp(E);
  Big.SetRegExp(E);
  Small.DFA().SetBudget(1);
  unsigned Seed = 1;
  for (int T = 0; T < 200; ++T) {
    std::string Text;
    for (int I = 0; I < 60; ++I) {
      Seed = Seed * 1103515245 + 12345;
      Text += (Seed >> 16) & 1 ? 'a' : 'b';
    }
    int P1, L1, P2, L2;
    Small.Match(Text, P1, L1);
    Big.Match(Text, P2, L2);
    EXPECT_EQ(P1, P2);
    EXPECT_EQ(L1, L2);
  }
  EXPECT_GT(Small.DFA().FlushCount(), 10);
}

TEST(TREMatchStr, CacheEvictsOldestInsertion) {
  TREMatchStr M;
  for (int I = 0; I < 29; ++I) M.SetRegExp("e" + std::to_string(I));
  EXPECT_EQ(M.CacheCount(), 30);
  M.SetRegExp("e0");
  M.SetRegExp("new");
  EXPECT_EQ(M.CacheCount(), 30);
  EXPECT_EQ(M.CacheString(0), "");
  EXPECT_EQ(M.CacheString(1), "new");
  for (int I = 0; I < M.CacheCount(); ++I) EXPECT_NE(M.CacheString(I), "e0");
}

TEST(TREMatchStr, FuzzyAndErrors) {
  TREMatchStr M;
  M.SetRegExp("a");
  M.SetUseFuzzyCharDic(true);
  int Pos, Len;
  EXPECT_EQ(M.Match("x\x82\x60", Pos, Len), 2);
  EXPECT_EQ(Len, 2);
  EXPECT_THROW(M.SetRegExp("[a"), ERegExpParser);
  EXPECT_EQ(M.RegExp(), "a");
  std::string Deep(300, '(');
  M.SetUseFuzzyCharDic(false);
  EXPECT_THROW(M.SetRegExp(Deep + "a" + std::string(300, ')')), ERegExpParser);
}

// Runs far longer than the walks' marks reach: starts inside a failed run stop early, and the
// match after it is still exact.
TEST(TREMatchStr, LongKatakanaRuns) {
  std::string Run;
  for (int I = 0; I < 20000; ++I) Run += "\x83\x41";  // ア
  TREMatchStr M;
  M.SetRegExp("[\x83\x40-\x83\x96]+\x81\x5B");  // [ァ-ヶ]+ー
  int Pos = 0, Len = 0;
  EXPECT_EQ(M.Match(Run + "x\x83\x43\x81\x5B", Pos, Len), 40002);
  EXPECT_EQ(Len, 4);
  EXPECT_EQ(M.Match(Run + "\x81\x5B", Pos, Len), 1);
  EXPECT_EQ(Len, 40002);
  EXPECT_EQ(M.Match(Run + "x", Pos, Len), 0);
  EXPECT_EQ(M.Match("a" + Run + "\x81\x5B", Pos, Len), 2);
  // The walk from the second start meets the failed first one at every place, but in the other
  // state of the count, and matches.
  M.SetRegExp("(aa)+b");
  EXPECT_EQ(M.Match(std::string(101, 'a') + "b", Pos, Len), 2);
  EXPECT_EQ(Len, 101);
}

}  // namespace
}  // namespace tesvarin
