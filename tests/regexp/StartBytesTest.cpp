// The first-byte filter of start positions: it must never drop a position where a match can start.
#include <gtest/gtest.h>

#include "MatchTable.h"

#include "regexp/REMatchStr.h"

namespace tesvarin {
namespace {

struct StartCase {
  const char* Expr;
  unsigned char Byte;
  bool CanStart;
};

TEST(TRE_DFA, StartBytes) {
  const StartCase Cases[] = {
      {"\\\\", '\\', true},       {"\\\\", 0x83, false},      {"\x83\x5C", 0x83, true},  {"\x83\x5C", '\\', false},
      {"[^a]", 'a', false},       {"[^a]", 'b', true},        {"[^a]", 0x83, true},      {".", '\r', false},
      {".", '\n', false},         {"\\x82", 0x82, true},      {"[\x83\x40-\x83\x96]", 0x82, false},
      {"[\x83\x40-\x83\x96]", 0x83, true},                    {"a^", '^', false},        {"b|a^", 'a', true},
  };
  TREMatchStr M;
  for (const StartCase& C : Cases) {
    SCOPED_TRACE(C.Expr);
    M.SetRegExp(C.Expr);
    EXPECT_EQ(M.DFA().CanStartWith(C.Byte), C.CanStart);
  }
}

struct StartCodeCase {
  const char* Expr;
  uint16_t Code;
  bool CanStart;
};

// The whole-code filter rejects characters whose lead byte alone would pass.
TEST(TRE_DFA, StartCodes) {
  const StartCodeCase Cases[] = {
      {"\x83\x65|\x82\xC4", 0x8365, true}, {"\x83\x65|\x82\xC4", 0x8366, false},
      {"\x83\x65|\x82\xC4", 0x82C4, true}, {"\x83\x65|\x82\xC4", 0x0083, false},
      {"\\x82", 0x0082, true},                 {"\\x82", 0x8240, false},
      {"[^a]", 0x8340, true},                   {"[^a]", 'a', false},
      {"a*", 'b', false},                       {"[\x83\x40-\x83\x96]", 0x8396, true},
      {"[\x83\x40-\x83\x96]", 0x8397, false},
  };
  TREMatchStr M;
  for (const StartCodeCase& C : Cases) {
    SCOPED_TRACE(C.Expr);
    M.SetRegExp(C.Expr);
    EXPECT_EQ(M.DFA().CanStartWithCode(C.Code), C.CanStart);
  }
}

struct StartPairCase {
  const char* Expr;
  unsigned char B0, B1;
  bool CanStart;
};

// The pair filter looks one byte past a single-byte start; it must pass whatever can go on there.
TEST(TRE_DFA, StartPairs) {
  const StartPairCase Cases[] = {
      {"alpha|window", 'a', 'l', true},     {"alpha|window", 'a', 'x', false},  {"alpha|window", 'w', 'i', true},
      {"alpha|window", 'a', 0, true},       {"alpha|window", 0, 'q', true},     {"alpha|window", 'q', 'l', false},
      {"a|ab", 'a', 'x', true},             {"a\r?$", 'a', '\r', true},          {"ab?", 'a', 'x', true},
      {"a\x83\x5C", 'a', 0x83, true},       {"a\x83\x5C", 'a', '\\', false},   {"\x83\x5C|b", 0x83, '\\', true},
      {"\x83\x5C|b", 0x83, 'b', false},    {"a[^b]", 'a', 0x83, true},          {"x*", 'q', 'q', true},
  };
  TREMatchStr M;
  for (const StartPairCase& C : Cases) {
    SCOPED_TRACE(C.Expr);
    M.SetRegExp(C.Expr);
    EXPECT_EQ(M.DFA().CanStartWithPair(C.B0, C.B1), C.CanStart);
  }
}

// Positions the filter skips sit between positions it keeps; the match found must not move.
TEST(TREMatchStr, FilteredStartPositions) {
  const MatchRow Cases[] = {
      {"\\x82", "a\x82", 2, 1},          {"\\\\", "\x83\x5C\\", 3, 1},  {"\x83\x5C", "\\\x83\x5C", 2, 2},
      {"^b", "a\nb", 3, 1},              {"a*$", "bb", 3, 0},           {"$", "b\r\n", 2, 0},
      {"\x81\x40", "\x88\x81\x81\x40", 3, 2},  {"\x81\x81", "\x88\x81\x81\x40", 0, 0},
      {"\x81\x81", "a\x81\x81", 2, 2},         {"k", "\x88\x81\x81kk", 5, 1},
      {"k", "\x81\x81\x81k", 0, 0},              {"^k|\x81k", "\x81\x81\x81k", 3, 2},
      {"\x83\x65", "\x83\x66\x83\x65", 3, 2},  {"\x83\x65", "\x83\x66\x83", 0, 0},
      {"\\x83", "\x83\x66\x83", 3, 1},        {"(^|x)b", "ab\nb", 4, 1},         {"a|^$", "b\n", 3, 0},         {"\x95\x5C", "\\\x95\x5C", 2, 2},
      {"ab|\x83\x5C", "aa\x83\x5C", 3, 2},      {"ab|cd", "xxa", 0, 0},        {"ab|a", "xxa", 3, 1},
      {"\x83\x5C|b", "\x83", 0, 0},             {"a\\x83|ab", "a\x83", 1, 2},
  };
  ExpectMatches(Cases);
}

}  // namespace
}  // namespace tesvarin
