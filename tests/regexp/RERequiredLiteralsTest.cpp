// The literals taken as required must be in every match; a wrong one silently loses matches.
#include <gtest/gtest.h>

#include "MatchTable.h"

#include "regexp/REMatchStr.h"
#include "regexp/REParser.h"
#include "regexp/RERequiredLiterals.h"

namespace tesvarin {
namespace {

std::vector<std::string> LiteralsOf(const std::string& Expr) {
  TREParser Parser(Expr);
  Parser.Parse();
  return TRERequiredLiterals(Parser.Tree()).Literals();
}

struct LiteralCase {
  const char* Expr;
  std::vector<std::string> Literals;
};

TEST(TRERequiredLiterals, FromTree) {
  const LiteralCase Cases[] = {
      {"alpha.*kernel.*line", {"alpha", "kernel", "line"}},
      {"abc", {"abc"}},
      {"", {}},
      {"a*", {}},
      {"(ab)+c", {"ab", "c"}},
      {"ab?c", {"a", "c"}},
      {"abc|abd", {"ab"}},
      {"xabc|yabc", {"abc"}},
      {"abc|d", {}},
      {"a|a", {"a"}},
      {"[ab]c", {"c"}},
      {"^ab$", {"ab"}},
      {"a^b", {"a", "b"}},
      {"\x83\x5C\\x82", {"\x83\x5C\x82"}},
      {"\x83\x65\x83\x4C|\x83\x65\x83\x4D", {"\x83\x65\x83"}},
      {"a.b.c.d.e.f.g.h", {"a", "d", "e", "f", "g", "h"}},
  };
  for (const LiteralCase& C : Cases) {
    SCOPED_TRACE(C.Expr);
    EXPECT_EQ(LiteralsOf(C.Expr), C.Literals);
  }
}

struct AlternativesCase {
  const char* Expr;
  std::vector<std::string> Alternatives;
  bool Start;
};

// One of the alternatives must be in every match; the ones that start it let the automaton start
// only where one begins.
TEST(TRERequiredLiterals, Alternatives) {
  const AlternativesCase Cases[] = {
      {"\x93\xFA\x96\x7B(\x8C\xEA|\x8E\xF0)", {"\x93\xFA\x96\x7B\x8C\xEA", "\x93\xFA\x96\x7B\x8E\xF0"}, true},
      {"(ab|cd)ef", {"abef", "cdef"}, true},
      {"abc|d", {"abc", "d"}, true},
      {"[xy]ab", {"xab", "yab"}, true},
      {"x*(ab|cd)", {"ab", "cd"}, false},
      {"(ab|cd)x*", {"ab", "cd"}, true},
      {"ab?", {"a"}, true},
      {"a|b*", {}, false},
      {"a*", {}, false},
      {"(a|b)(c|d)(e|f)(g|h)", {"ace", "acf", "ade", "adf", "bce", "bcf", "bde", "bdf"}, true},
      {"[a-z]q", {"q"}, false},
  };
  for (const AlternativesCase& C : Cases) {
    SCOPED_TRACE(C.Expr);
    TREParser Parser(C.Expr);
    Parser.Parse();
    const TRERequiredLiterals R(Parser.Tree());
    EXPECT_EQ(R.Alternatives(), C.Alternatives);
    EXPECT_EQ(R.AlternativesStart(), C.Start);
  }
}

// Long literals are cut to pieces that stay in order and never overlap in a match.
TEST(TRERequiredLiterals, LongLiteralsAreBounded) {
  const std::string Long(300, 'q');
  const auto L = LiteralsOf("x" + Long + "y");
  ASSERT_EQ(L.size(), 2U);
  EXPECT_EQ(L[0], "x" + std::string(TRERequiredLiterals::MaxLiteral / 2 - 1, 'q'));
  EXPECT_EQ(L[1], std::string(TRERequiredLiterals::MaxLiteral - 1, 'q') + "y");
  const auto M = LiteralsOf(".*" + Long + "z.*");
  ASSERT_EQ(M.size(), 1U);
  EXPECT_EQ(M[0].size(), TRERequiredLiterals::MaxLiteral);
  // A deep concatenation must neither recurse per node nor copy quadratically.
  EXPECT_EQ(LiteralsOf(std::string(200000, 'r')).size(), 2U);
}

// -1: no match can exist; else the offset where the search may begin.
TEST(TRERequiredLiterals, FirstStartNeedsOrderWithoutOverlap) {
  const struct {
    const char* Expr;
    std::string Text;
    int First;
  } Cases[] = {{"ab.*ba", "ab ba", 0}, {"ab.*ba", "aba", -1},   {"ab.*ba", "ba ab", -1}, {"ab.*ba", "xabba", 1},
               {"ab.*ba", "", -1},     {"ab.*ba", "ab", -1},    {".*ab", "xxab", 0},     {"[xy]ab", "xxab", 1},
               {"a|b", "zzz", -1},     {"kernel", "a kernel", 2}};
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Expr + (" / " + C.Text));
    TREParser Parser(C.Expr);
    Parser.Parse();
    const TRERequiredLiterals R(Parser.Tree());
    const char* F = R.FirstStart(C.Text.data(), C.Text.data() + C.Text.size());
    EXPECT_EQ(F == nullptr ? -1 : static_cast<int>(F - C.Text.data()), C.First);
  }
}

// The filter only rejects; where a literal is present the match is the automaton's as before.
TEST(TREMatchStr, RequiredLiteralFilter) {
  const MatchRow Cases[] = {
      {"alpha.*kernel.*line", "x alpha y kernel z line w", 3, 21},
      {"alpha.*kernel.*line", "x alpha y line z kernel w", 0, 0},
      {"alpha.*kernel.*line", "alpha kernel line alpha", 1, 17},
      {"a.*b", std::string("a\0b", 3), 0, 0},
      {"\\\\", "\x83\x5C", 0, 0},
      {"\\\\", "\x83\x5C\\", 3, 1},
      {"k$", "abk\r\n", 3, 1},
      {"^abc", "x\nabc", 3, 3},
      {"(ab)+c", "abababc", 1, 7},
      // The first literal's first occurrence may sit inside a character or precede the match.
      {"\\\\a", "\x83\\a", 0, 0},
      {"\\\\a", "\x83\\a\\a", 4, 2},
      {"\\\\b", "\x83\x5C" "b\x81\x5C" "b\\b", 7, 2},
      {"kk", "\x88\x81\x81kkk", 5, 2},
      {"abc", "ababc", 3, 3},
  };
  ExpectMatches(Cases);
}

}  // namespace
}  // namespace tesvarin
