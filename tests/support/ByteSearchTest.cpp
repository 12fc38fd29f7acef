#include "support/ByteSearch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

namespace tesvarin {
namespace {

TEST(FindBytes, EdgesOfTextAndNeedle) {
  EXPECT_EQ(FindBytes(nullptr, 0, ""), nullptr);
  EXPECT_EQ(FindBytes(nullptr, 0, "a"), nullptr);
  const std::string T = "abcabd";
  EXPECT_EQ(FindBytes(T, ""), 0u);
  EXPECT_EQ(FindBytes(T, "", 6), 6u);
  EXPECT_EQ(FindBytes(T, "a", 7), std::string_view::npos);
  EXPECT_EQ(FindBytes(T, "abd"), 3u);
  EXPECT_EQ(FindBytes(T, "bd", 5), std::string_view::npos);  // would end past the text
  EXPECT_EQ(FindBytes(T, "abcabdx"), std::string_view::npos);
  EXPECT_EQ(FindBytes(T, "abcabd"), 0u);
  EXPECT_EQ(FindBytes(std::string_view("z\0q", 3), std::string_view("\0q", 2)), 1u);
}

TEST(FindBytes, RarestByteFollowsTheRanking) {
  EXPECT_EQ(RarestByteIndex("the"), 1u);   // h is rarer than t and e
  EXPECT_EQ(RarestByteIndex("zq"), 0u);
  EXPECT_EQ(RarestByteIndex("\x82\xA0"), 1u);  // a trail byte rather than the common lead byte
  EXPECT_EQ(RarestByteIndex("aa"), 1u);
}

// Against the standard search on texts where the needle's rarest byte is dense, sparse or absent,
// so both the memchr walk and the fall-back to memmem are crossed.
TEST(FindBytes, AgreesWithStandardFind) {
  std::mt19937 Rng(7);
  const std::string Alphabets[] = {"ab", "abz", "q\x82\xA0\x83", "xyzq \r\n"};
  for (const std::string& Alphabet : Alphabets) {
    for (int Round = 0; Round < 300; ++Round) {
      std::string Text(Rng() % 3000, ' ');
      for (char& C : Text) C = Alphabet[Rng() % Alphabet.size()];
      std::string Needle(1 + Rng() % 5, ' ');
      for (char& C : Needle) C = Alphabet[Rng() % Alphabet.size()];
      if (Round % 3 == 0 && Text.size() > 10) Needle = Text.substr(Text.size() - Needle.size());
      for (size_t From = 0; From <= Text.size(); From += 1 + Rng() % 700)
        ASSERT_EQ(FindBytes(Text, Needle, From), Text.find(Needle, From)) << Text << " / " << Needle;
    }
  }
}

// Texts made of a Japanese needle's own bytes, so every probe byte is common and candidates that
// fail only at the last compared byte abound; the needle also planted at every offset around the
// 16- and 32-byte blocks, with and without case folding.
TEST(TByteFinder, DenseInTheNeedlesOwnBytes) {
  const std::string Needles[] = {"\x93\xFA\x96\x7B\x8C\xEA", "\x82\xB7\x82\xDD\x82\xDC\x82\xB9\x82\xF1",
                                 "\xC3\xBD\xC4", "\x83\x41\x83\x61", "Ne", "\x82\x82\x82"};
  const auto Fold = [](std::string S) {
    for (char& C : S)
      if (C >= 'A' && C <= 'Z') C = static_cast<char>(C + 32);
    return S;
  };
  std::mt19937 Rng(5);
  for (const std::string& Needle : Needles) {
    const TByteFinder Exact(Needle), Folded(Needle, true);
    std::string Bytes = Needle + "aA";
    for (int Round = 0; Round < 400; ++Round) {
      std::string Text(Rng() % 140, ' ');
      for (char& C : Text) C = Bytes[Rng() % Bytes.size()];
      if (Round % 2 == 0) Text.insert(std::min(Text.size(), static_cast<size_t>(Round % 70)), Needle);
      const size_t From = Rng() % (Text.size() + 1);
      ASSERT_EQ(Exact.Find(Text, From), Text.find(Needle, From)) << Round;
      ASSERT_EQ(Folded.Find(Text, From), Fold(Text).find(Fold(Needle), From)) << Round;
    }
    for (size_t At = 0; At < 100; ++At) {
      std::string Text(At, '\x82');
      Text += Needle.substr(0, Needle.size() - 1);  // a near miss first, then the needle
      Text += Needle + std::string(At % 7, '\x82');
      ASSERT_EQ(Exact.Find(Text), Text.find(Needle)) << At;
      ASSERT_EQ(Exact.Find(Text.data(), Text.size()) - Text.data(), static_cast<std::ptrdiff_t>(Text.find(Needle)));
    }
  }
}

// A text made of one byte and a needle of it that differs only at its end: every place is a
// candidate, so the search gives up comparing each and must still find the needle.
TEST(TByteFinder, EveryPlaceACandidate) {
  const std::string Text = std::string(5000, 'a') + "ab" + std::string(100, 'a');
  for (const size_t M : {2u, 3u, 17u, 40u}) {
    const std::string Needle = std::string(M - 1, 'a') + "b";
    EXPECT_EQ(TByteFinder(Needle).Find(Text), Text.find(Needle)) << M;
    EXPECT_EQ(TByteFinder(Needle, true).Find(Text), Text.find(Needle)) << M;
  }
}

// ASCII letters match in either case wherever they stand, trail bytes included; every other byte
// matches only itself.
// Bytes above 0x7F are unsigned to the range, and a hit in the tail after the last whole block counts.
TEST(FindByteInRange, AgreesWithAByteWalk) {
  std::mt19937 Rng(3);
  for (int Round = 0; Round < 3000; ++Round) {
    std::string T(Rng() % 50, ' ');
    for (char& C : T) C = static_cast<char>(Rng() % 256);
    const auto Lo = static_cast<unsigned char>(Rng() % 256);
    const auto Hi = static_cast<unsigned char>(Lo + Rng() % (256 - Lo));
    const size_t From = T.empty() ? 0 : Rng() % T.size();
    size_t Want = From;
    while (Want < T.size() && (static_cast<unsigned char>(T[Want]) < Lo || static_cast<unsigned char>(T[Want]) > Hi)) ++Want;
    ASSERT_EQ(FindByteInRange(T.data() + From, T.data() + T.size(), Lo, Hi) - T.data(), static_cast<std::ptrdiff_t>(Want)) << Round;
  }
}

TEST(FindBytesFolded, AgreesWithAFoldedNaiveSearch) {
  const auto Fold = [](std::string S) {
    for (char& C : S)
      if (C >= 'A' && C <= 'Z') C = static_cast<char>(C + 32);
    return S;
  };
  std::mt19937 Rng(11);
  const std::string Alphabet = "aAbB\x82\x83\x41\x61[{ ";
  for (int Round = 0; Round < 2000; ++Round) {
    std::string Text(Rng() % 80, ' ');
    for (char& C : Text) C = Alphabet[Rng() % Alphabet.size()];
    std::string Needle(1 + Rng() % 4, ' ');
    for (char& C : Needle) C = Alphabet[Rng() % Alphabet.size()];
    const size_t From = Rng() % (Text.size() + 2);
    const size_t Want = From > Text.size() ? std::string::npos : Fold(Text).find(Fold(Needle), From);
    ASSERT_EQ(FindBytesFolded(Text, Needle, From), Want) << Text << " / " << Needle << " from " << From;
  }
  EXPECT_EQ(FindBytesFolded("abc", "", 1), 1u);
  EXPECT_EQ(FindBytesFolded("abc", "", 4), std::string_view::npos);
  // '[' and '{' differ by the case bit but are no letters.
  EXPECT_EQ(FindBytesFolded("{", "["), std::string_view::npos);
}

// Tallied a byte wide over runs: lengths about the run's end, and runs of nothing but breaks,
// must still give the plain count.
TEST(CountBreakBytes, AgreesWithAPlainCount) {
  std::mt19937 Random(5);
  for (size_t Size : {0, 1, 254, 255, 256, 509, 510, 511, 1000, 4099}) {
    for (const char* Alphabet : {"\r\n", "\r\na\x82", "\n", "\r"}) {
      std::string S(Size, ' ');
      const std::string_view A(Alphabet);
      for (char& C : S) C = A[Random() % A.size()];
      const TBreakByteCount N = CountBreakBytes(S);
      SCOPED_TRACE(std::to_string(Size) + " bytes of " + Alphabet);
      EXPECT_EQ(N.Lf, static_cast<size_t>(std::count(S.begin(), S.end(), '\n')));
      EXPECT_EQ(N.Cr, static_cast<size_t>(std::count(S.begin(), S.end(), '\r')));
    }
  }
}

}  // namespace
}  // namespace tesvarin
