#include <gtest/gtest.h>

#include <random>
#include <string>

#include "editor/chars/CharArr.h"
#include "editor/chars/CharSet.h"
#include "editor/chars/SjisText.h"
#include "support/Sjis.h"

namespace tesvarin {
namespace {

TEST(CharClass, TableEntries) {
  struct Row {
    unsigned char Byte;
    TCharClasses Flags;
  };
  const Row Rows[] = {
      {0x00, ccControl | ccShortNameStop | ccNameStop},
      {0x09, ccControl | ccSpace | ccShortNameStop | ccNameStop},
      {0x0D, ccControl | ccSpace | ccShortNameStop | ccNameStop},
      {0x1A, ccControl | ccShortNameStop | ccNameStop},
      {0x20, ccSpace | ccShortNameStop},
      {'!', ccSymbol},
      {'"', ccSymbol | ccShortNameStop | ccNameStop},
      {'+', ccSymbol | ccShortNameStop},
      {'-', ccSymbol},
      {'/', ccSymbol | ccShortNameStop | ccNameStop},
      {'5', ccDigit | ccHexDigit},
      {'=', ccSymbol | ccShortNameStop},
      {'?', ccSymbol | ccShortNameStop | ccNameStop},
      {'@', ccSymbol | ccHigh},
      {'F', ccHexDigit | ccLetter | ccHigh},
      {'G', ccLetter | ccHigh},
      {'[', ccSymbol | ccHigh | ccShortNameStop},
      {'\\', ccSymbol | ccHigh},
      {'f', ccHexDigit | ccLetter | ccHigh},
      {'z', ccLetter | ccHigh},
      {'{', ccSymbol},
      {'|', ccSymbol | ccShortNameStop | ccNameStop},
      {'~', ccSymbol},
      {0x7F, ccControl},
      {0x80, ccHigh},
      {0x81, ccLeadByte | ccHigh},
      {0x9F, ccLeadByte | ccHigh},
      {0xA0, ccHigh},
      {0xA1, ccHigh | ccKana},
      {0xDF, ccHigh | ccKana},
      {0xE0, ccLeadByte | ccHigh},
      {0xFC, ccLeadByte | ccHigh},
      {0xFD, ccControl},
      {0xFF, ccControl},
  };
  for (const Row& R : Rows) {
    SCOPED_TRACE(static_cast<int>(R.Byte));
    EXPECT_EQ(CharClass(R.Byte), R.Flags);
  }
}

TEST(CharClass, LeadBytesAgreeWithTheTable) {
  for (int B = 0; B < 256; ++B) {
    EXPECT_EQ(IsLeadByte(static_cast<unsigned char>(B)), (CharClass(static_cast<unsigned char>(B)) & ccLeadByte) != 0)
        << B;
  }
}

TEST(CharClass, BinaryBytesAreControlsThatAreNotSpace) {
  int Count = 0;
  for (int B = 0; B < 256; ++B) Count += IsBinaryByte(static_cast<unsigned char>(B)) ? 1 : 0;
  // 00-08, 0E-1F, 7F, FD-FF
  EXPECT_EQ(Count, 9 + 18 + 1 + 3);
  for (unsigned char B : {'\t', '\n', '\v', '\f', '\r'}) EXPECT_FALSE(IsBinaryByte(B));
  EXPECT_TRUE(IsBinaryByte(0x1A));
  EXPECT_TRUE(IsBinaryByte(0xFF));
}

TEST(DoubleByteWalk, IndicesOfAMixedString) {
  const std::string S = "\x41\x82\xA0";
  EXPECT_FALSE(IsDBCS1(S, 0));
  EXPECT_TRUE(IsDBCS1(S, 1));
  EXPECT_FALSE(IsDBCS2(S, 1));
  EXPECT_TRUE(IsDBCS2(S, 2));
  EXPECT_FALSE(IsDBCS1(S, 2));
  EXPECT_FALSE(IsDBCS1(S, -1));
  EXPECT_FALSE(IsDBCS1(S, 3));
}

TEST(DoubleByteWalk, LeadByteAtTheEnd) {
  const std::string S = "a\x82";
  EXPECT_TRUE(IsDBCS1(S, 1));
  EXPECT_FALSE(IsDBCS2(S, 2));
}

TEST(DoubleByteWalk, RunsOfLeadByteValues) {
  // 82 82 | 82 82 | 41: every even index starts a character, and the trail 0x82 is no lead.
  const std::string S = "\x82\x82\x82\x82\x41";
  EXPECT_TRUE(IsDBCS1(S, 0));
  EXPECT_TRUE(IsDBCS2(S, 1));
  EXPECT_TRUE(IsDBCS1(S, 2));
  EXPECT_TRUE(IsDBCS2(S, 3));
  EXPECT_FALSE(IsDBCS2(S, 4));
  // Trail byte equal to an ASCII letter: "\x83\x41" is one character.
  const std::string T = "x\x83\x41\x41";
  EXPECT_TRUE(IsDBCS2(T, 2));
  EXPECT_FALSE(IsDBCS2(T, 3));
  EXPECT_FALSE(IsDBCS1(T, 3));
}

TEST(DoubleByteWalk, AgreesWithAWalkFromTheStart) {
  std::string S;
  unsigned Seed = 7;
  for (int I = 0; I < 2000; ++I) {
    Seed = Seed * 1103515245u + 12345u;
    const unsigned char Pool[] = {0x41, 0x5C, 0x82, 0x83, 0xE0, 0xA1, 0x40, 0x9F};
    S += static_cast<char>(Pool[(Seed >> 16) % 8]);
  }
  std::vector<int> Kind(S.size(), 0);  // 0 single, 1 lead, 2 trail
  for (size_t I = 0; I < S.size();) {
    if (IsLeadByte(S[I])) {
      Kind[I] = 1;
      if (I + 1 < S.size()) Kind[I + 1] = 2;
      I += 2;
    } else {
      ++I;
    }
  }
  for (size_t I = 0; I < S.size(); ++I) {
    ASSERT_EQ(IsDBCS1(S, static_cast<int>(I)), Kind[I] == 1) << I;
    ASSERT_EQ(IsDBCS2(S, static_cast<int>(I)), Kind[I] == 2) << I;
  }
}

TEST(StringHelpers, CharAtCountCharMaxMin) {
  EXPECT_EQ(CharAt("ab", 1), 'b');
  EXPECT_EQ(CharAt("ab", 2), 0);
  EXPECT_EQ(CharAt("ab", -1), 0);
  EXPECT_EQ(CountChar("a\tb\t\t", '\t', 3), 1);
  EXPECT_EQ(CountChar("a\tb\t\t", '\t', 99), 3);
  EXPECT_EQ(Max(3, -2), 3);
  EXPECT_EQ(Min(3, -2), -2);
}

TEST(CharSet, HoldsCharactersOnlyAtTheirBoundaries) {
  const TCharSet Set("\x81\x41\x81\x42");  // 、。
  EXPECT_TRUE(Set.Contains("\x81\x42"));
  EXPECT_FALSE(Set.Contains("\x41"));  // the trail byte of 、
  EXPECT_FALSE(Set.Contains(""));
  EXPECT_FALSE(TCharSet("ab").Contains("abc"));
  EXPECT_TRUE(TCharSet("!),").Contains(")"));
  EXPECT_FALSE(TCharSet().Contains("a"));
}

// The set answers as a walk over the list's characters would, for lists and characters of every
// kind: lead bytes at the very end, half-width kana, trail bytes that look like ASCII.
TEST(CharSet, AgreesWithAWalkOverTheList) {
  auto Walk = [](std::string_view Char, std::string_view List) {
    if (Char.empty() || Char.size() > List.size()) return false;
    for (size_t I = 0; I < List.size(); I += CharLength(List, I))
      if (List.compare(I, Char.size(), Char) == 0) return true;
    return false;
  };
  const unsigned char Bytes[] = {'A', ')', '@', 0x81, 0x82, 0x9F, 0xA1, 0xB1, 0xDF, 0xE0, 0xFC, 0x41, 0x42, 0x5C};
  std::mt19937 Rng(5);
  auto Pick = [&] { return static_cast<char>(Bytes[Rng() % sizeof Bytes]); };
  int Hits = 0;
  for (int Round = 0; Round < 3000; ++Round) {
    std::string List;
    for (int N = static_cast<int>(Rng() % 9); N > 0; --N) List += Pick();
    const TCharSet Set(List);
    for (int K = 0; K < 20; ++K) {
      std::string Char(1, Pick());
      if (Rng() % 2 == 0) Char += Pick();
      ASSERT_EQ(Set.Contains(Char), Walk(Char, List)) << Round;
      Hits += Walk(Char, List) ? 1 : 0;
    }
  }
  EXPECT_GT(Hits, 1000);
}

}  // namespace
}  // namespace tesvarin
