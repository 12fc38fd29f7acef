#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "support/Exception.h"
#include "support/Sjis.h"
#include "support/SjisCodec.h"
#include "support/TSet.h"

namespace tesvarin {
namespace {

TEST(SjisCodec, RoundTripsJapaneseText) {
  const std::string Utf8 = "ファイルの検索 ｱｲ \\ ~";
  std::string Sjis = Utf8ToCp932(Utf8);
  EXPECT_EQ(Sjis.substr(0, 2), "\x83\x74");
  EXPECT_EQ(Cp932ToUtf8(Sjis), Utf8);
  EXPECT_EQ(Utf8ToCp932("ｱ"), "\xB1");
}

TEST(SjisCodec, ReportsWhatCannotBeConverted) {
  TConvertResult R = TryUtf8ToCp932("ab😀c");
  EXPECT_FALSE(R.Ok);
  EXPECT_EQ(R.ErrorOffset, 2u);
  EXPECT_THROW((void)Utf8ToCp932("ab😀c"), EConvertError);
  EXPECT_THROW((void)Cp932ToUtf8("a\x82"), EConvertError);
  EXPECT_THROW((void)Cp932ToUtf8("\xFF"), EConvertError);
  try {
    (void)Utf8ToCp932("x😀");
  } catch (const EConvertError& E) {
    EXPECT_NE(E.Message().find("😀"), std::string::npos);
  }
}

TEST(SjisCodec, LossyDecodingMarksEachBadByte) {
  EXPECT_EQ(Cp932ToUtf8Lossy("a\xFF" "b"), "a\xEF\xBF\xBD" "b");
  EXPECT_EQ(Cp932ToUtf8Lossy("\x82\xA0\x82"), "あ\xEF\xBF\xBD");
}

// An unassigned double-byte code (what a character outside code page 932 reads as) is one
// character shown as 〓: its trail byte must not turn into a half-width kana of its own.
TEST(SjisCodec, AnUndecodableDoubleByteCodeIsShownAsOneMark) {
  EXPECT_EQ(Cp932ToUtf8Lossy("a\x81\xAD" "b\x81\xAD"), "a〓b〓");
  EXPECT_EQ(Cp932CharForDisplay("\x81\xAD"), "〓");
  EXPECT_EQ(Cp932CharForDisplay("\x82\xA0"), "あ");
  EXPECT_EQ(Cp932CharForDisplay("\xB6"), "ｶ");
  EXPECT_EQ(Cp932CharForDisplay("\xFF"), std::nullopt);
}

TEST(Sjis, LowerCasingSkipsTrailBytes) {
  std::string S = "AB\x83\x41Z";
  AsciiLowerSjis(S);
  EXPECT_EQ(S, "ab\x83\x41z");
  // Against a walk character by character, on strings long enough for the block-wise search, of
  // letters, lead bytes (also as trail bytes) and katakana whose trail bytes are capitals.
  const char Bytes[] = {'A', 'Z', 'a', '@', '[', ' ', '\x83', '\x8e', '\x9a', '\xe0', '\xa0', 'M', '\x41'};
  std::mt19937 Rng(5);
  for (int Round = 0; Round < 2000; ++Round) {
    std::string T(Rng() % 70, ' ');
    for (char& C : T) C = Bytes[Rng() % sizeof(Bytes)];
    std::string Walked = T;
    for (size_t I = 0; I < Walked.size(); I += CharLength(Walked, I)) Walked[I] = AsciiLower(Walked[I]);
    AsciiLowerSjis(T);
    ASSERT_EQ(T, Walked) << Round;
  }
  EXPECT_EQ(CompareTextSjis("ABC", "abc"), 0);
  EXPECT_LT(CompareTextSjis("\x83\x41", "\x83\x61"), 0);
  EXPECT_LT(CompareTextSjis("ab", "abc"), 0);
}

enum TFruit : uint8_t { frApple, frPear, frPlum };

TEST(TSetTest, Operations) {
  TSet<TFruit> A{frApple, frPlum};
  TSet<TFruit> B{frPlum};
  EXPECT_TRUE(A.Contains(frApple));
  EXPECT_FALSE(A.Contains(frPear));
  EXPECT_EQ(A - B, TSet<TFruit>{frApple});
  EXPECT_EQ(A * B, B);
  EXPECT_EQ(B + TSet<TFruit>{frPear}, (TSet<TFruit>{frPear, frPlum}));
  EXPECT_TRUE(B <= A);
  EXPECT_FALSE(A <= B);
  EXPECT_TRUE(TSet<TFruit>{}.Empty());
  TByteSet Bytes;
  Bytes.IncludeRange('a', 'c').Exclude('b');
  EXPECT_TRUE(Bytes.Contains('a'));
  EXPECT_FALSE(Bytes.Contains('b'));
  EXPECT_TRUE(Bytes.Contains('c'));
  EXPECT_FALSE(Bytes.Contains(0xFF));
}

// Against the walk from the start by character, from every known start at or before the place.
TEST(Sjis, CharacterStartsFromTheLeadBytesBefore) {
  std::mt19937 Rng(5);
  const std::string Alphabet = "a\x81\x9f\xe0\xfc\x40\xa0\\";
  for (int Round = 0; Round < 500; ++Round) {
    std::string S(Rng() % 24, ' ');
    for (char& C : S) C = Alphabet[Rng() % Alphabet.size()];
    std::vector<bool> Starts(S.size() + 1, false);
    for (size_t I = 0; I < S.size(); I += CharLength(S, I)) Starts[I] = true;
    Starts[S.size()] = true;
    for (size_t Pos = 0; Pos <= S.size(); ++Pos)
      for (size_t Known = 0; Known <= Pos; ++Known)
        if (Starts[Known]) {
          ASSERT_EQ(IsCharStartFrom(S, Known, Pos), Starts[Pos]) << Round << " " << Known << " " << Pos;
        }
  }
}

}  // namespace
}  // namespace tesvarin
