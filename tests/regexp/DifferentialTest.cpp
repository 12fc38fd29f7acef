// The engine against the reference matcher: every short expression over a small alphabet, then
// random longer ones, over texts that mix single bytes, double-byte characters whose trail byte
// is a backslash, half-width kana and both line breaks.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "OracleMatcher.h"
#include "regexp/REChars.h"
#include "regexp/REMatchStr.h"
#include "support/Sjis.h"

namespace tesvarin {
namespace {

const std::vector<std::string> ExprAlphabet = {"a", "b", "\xB1", "\x83\x5C", "\\", "^", "$", "(",
                                               ")", "|", "*", "+", "?", "[", "]"};
const std::vector<std::string> TextAlphabet = {"a", "b", "\xB1", "\x83\x5C", "\\", "\r", "\n"};
// Random texts also hold the characters that literal ^ and $ match, and a lone lead byte at the end;
// a NUL ends a text wherever it stands, also right after a lead byte.
const std::vector<std::string> RandomTextAlphabet = {"a", "b", "\xB1", "\x83\x5C", "\\", "\r", "\n", "^", "$", ".",
                                                     std::string(1, '\0'), "\x83"};
// Random expressions may also match any character, a NUL and a lone lead byte among them.
const std::vector<std::string> RandomExprAlphabet = {"a", "b", "\xB1", "\x83\x5C", "\\", "^", "$", "(",
                                                     ")", "|", "*", "+", "?", "[", "]", "."};

void AllStrings(const std::vector<std::string>& Alphabet, int MaxLen, std::vector<std::string>& Out) {
  std::vector<std::string> Level{""};
  Out.push_back("");
  for (int L = 1; L <= MaxLen; ++L) {
    std::vector<std::string> Next;
    for (const std::string& S : Level)
      for (const std::string& C : Alphabet) Next.push_back(S + C);
    Out.insert(Out.end(), Next.begin(), Next.end());
    Level.swap(Next);
  }
}

std::string RandomString(std::mt19937& Rng, const std::vector<std::string>& Alphabet, int MaxLen) {
  std::string S;
  const int Len = static_cast<int>(Rng() % static_cast<unsigned>(MaxLen + 1));
  for (int I = 0; I < Len; ++I) S += Alphabet[Rng() % Alphabet.size()];
  return S;
}

bool IsCharBoundary(const std::string& Text, int Offset) {
  int I = 0;
  const auto At = [&Text](int K) { return Text[static_cast<size_t>(K)]; };
  while (I < Offset) I += (IsLeadByte(At(I)) && I + 1 < static_cast<int>(Text.size()) && At(I + 1) != '\0') ? 2 : 1;
  return I == Offset;
}

class Differential {
public:
  // Compares validity, then every text in both separator modes; returns the number of disagreements.
  int Run(const std::string& Expr, const std::vector<std::string>& Texts) {
    const bool Valid = FOracle.Compile(Expr);
    bool Compiled = true;
    try {
      FEngine.SetRegExp(Expr);
    } catch (const ERegExpParser&) {
      Compiled = false;
    }
    if (Valid != Compiled) {
      ADD_FAILURE() << "validity differs for [" << Expr << "]: oracle " << Valid;
      return 1;
    }
    if (!Valid) return 0;
    int Bad = 0;
    for (const bool Lf : {false, true}) {
      FEngine.SetLineSeparator(Lf ? mcls_LF : mcls_CRLF);
      for (const std::string& T : Texts) Bad += Compare(Expr, T, Lf);
    }
    return Bad;
  }
  TREMatchStr& Engine() { return FEngine; }

private:
  int Compare(const std::string& Expr, const std::string& Text, bool Lf) {
    oracle::Hit Got;
    FEngine.Match(Text, Got.Pos, Got.Len);
    const oracle::Hit Want = FOracle.Match(Text, Lf);
    if (Got.Pos != 0 && (!IsCharBoundary(Text, Got.Pos - 1) || !IsCharBoundary(Text, Got.Pos - 1 + Got.Len))) {
      ADD_FAILURE() << "match splits a character: [" << Expr << "] on [" << Text << "]";
      return 1;
    }
    if (Got == Want) return 0;
    ADD_FAILURE() << "[" << Expr << "] on [" << Text << "] lf=" << Lf << ": engine " << Got.Pos << "," << Got.Len
                  << " oracle " << Want.Pos << "," << Want.Len;
    return 1;
  }

  oracle::OracleMatcher FOracle;
  TREMatchStr FEngine;
};

TEST(Differential, EveryShortExpression) {
  std::vector<std::string> Exprs, Texts;
  AllStrings(ExprAlphabet, 3, Exprs);
  AllStrings(TextAlphabet, 3, Texts);
  Differential D;
  int Bad = 0;
  for (const std::string& E : Exprs) {
    Bad += D.Run(E, Texts);
    if (Bad > 20) break;
  }
  EXPECT_EQ(Bad, 0);
}

TEST(Differential, RandomExpressionsAndTexts) {
  std::mt19937 Rng(20261208);
  Differential D;
  int Bad = 0;
  for (int I = 0; I < 3000 && Bad <= 20; ++I) {
    const std::string E = RandomString(Rng, RandomExprAlphabet, 9);
    std::vector<std::string> Texts;
    for (int T = 0; T < 40; ++T) Texts.push_back(RandomString(Rng, RandomTextAlphabet, 14));
    Texts.push_back(RandomString(Rng, RandomTextAlphabet, 6) + "\x83");  // lead byte as the last byte
    Bad += D.Run(E, Texts);
  }
  EXPECT_EQ(Bad, 0);
}

// The same walk with a state budget so small that the automaton is flushed at almost every step.
TEST(Differential, TinyStateBudget) {
  std::mt19937 Rng(7);
  oracle::OracleMatcher O;
  TREMatchStr M;
  int Bad = 0;
  for (int I = 0; I < 400 && Bad <= 20; ++I) {
    const std::string E = RandomString(Rng, ExprAlphabet, 9);
    if (!O.Compile(E)) continue;
    M.SetRegExp(E);
    M.DFA().SetBudget(1);
    for (int T = 0; T < 20; ++T) {
      const std::string Text = RandomString(Rng, RandomTextAlphabet, 14);
      oracle::Hit Got;
      M.Match(Text, Got.Pos, Got.Len);
      const oracle::Hit Want = O.Match(Text, false);
      if (!(Got == Want)) {
        ++Bad;
        ADD_FAILURE() << "[" << E << "] on [" << Text << "]";
      }
    }
  }
  EXPECT_EQ(Bad, 0);
}

// Long runs of one character (as long as the reference takes), so walks of more than 32 steps from
// successive starts inside a run meet in one state and the later ones stop where the earlier
// failed; with a tiny budget the automaton is also flushed between and inside those walks.
std::string RandomRuns(std::mt19937& Rng, const std::vector<std::string>& Alphabet) {
  std::string S;
  int Chars = 0;
  for (int Runs = static_cast<int>(Rng() % 3) + 1; Runs > 0; --Runs) {
    const std::string& C = Alphabet[Rng() % Alphabet.size()];
    for (int N = 20 + static_cast<int>(Rng() % 40); N > 0 && Chars < 62; --N, ++Chars) S += C;
  }
  return S;
}

TEST(Differential, LongRunsWithAndWithoutFlushes) {
  std::mt19937 Rng(31);
  oracle::OracleMatcher O;
  TREMatchStr M;
  const std::vector<std::string> Runs = {"a", "b", "\x83\x5C", "\xB1"};
  int Bad = 0;
  for (int I = 0; I < 300 && Bad <= 20; ++I) {
    const std::string E = RandomString(Rng, ExprAlphabet, 8);
    if (!O.Compile(E)) continue;
    M.SetRegExp(E);
    M.DFA().SetBudget(I % 2 == 0 ? size_t{8} << 20 : 1);
    for (int T = 0; T < 6; ++T) {
      const std::string Text = RandomRuns(Rng, Runs);
      oracle::Hit Got;
      M.Match(Text, Got.Pos, Got.Len);
      const oracle::Hit Want = O.Match(Text, false);
      if (!(Got == Want)) {
        ++Bad;
        ADD_FAILURE() << "[" << E << "] on a text of " << Text.size() << " bytes";
      }
    }
  }
  EXPECT_EQ(Bad, 0);
}

// Expressions of a few kanji with alternations, over texts made of those kanji and of pieces that
// put their bytes after a lead byte (81 93 | FA 96 | 7B holds 日本 from a trail byte on), with NUL
// and Ctrl+Z: the required alternatives are found byte-wise, the automaton must start on characters.
TEST(Differential, JapaneseAlternativesOverTheirOwnBytes) {
  const std::vector<std::string> ExprPieces = {"\x93\xFA", "\x96\x7B", "\x8C\xEA", "(", ")", "|", "*", "?", "."};
  const std::vector<std::string> TextPieces = {"\x93\xFA", "\x96\x7B", "\x8C\xEA", "\x81\x93", "\xFA\x96", "\x81\x96",
                                               "{",        "\x8C",     "\xEA",     "\x1A",     std::string(1, '\0'), "a"};
  std::mt19937 Rng(1909);
  Differential D;
  int Bad = 0;
  for (int I = 0; I < 1500 && Bad <= 20; ++I) {
    const std::string E = RandomString(Rng, ExprPieces, 7);
    std::vector<std::string> Texts;
    for (int T = 0; T < 30; ++T) Texts.push_back(RandomString(Rng, TextPieces, 30));
    Bad += D.Run(E, Texts);
  }
  EXPECT_EQ(Bad, 0);
}

}  // namespace
}  // namespace tesvarin
