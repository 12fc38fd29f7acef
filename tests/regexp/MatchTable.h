// Table rows of expected matches, shared by the matcher's tests.
#pragma once

#include <gtest/gtest.h>

#include <span>
#include <string>

#include "regexp/REMatchStr.h"

namespace tesvarin {

struct MatchRow {
  const char* Expr;
  std::string Text;
  int Pos, Len;  // 1-based position and length of the match; 0, 0 when none
  bool Fuzzy = false;
  bool Lf = false;
};

inline void ExpectMatches(std::span<const MatchRow> Rows) {
  TREMatchStr M;
  for (const MatchRow& C : Rows) {
    SCOPED_TRACE(C.Expr);
    M.SetLineSeparator(C.Lf ? mcls_LF : mcls_CRLF);
    M.SetUseFuzzyCharDic(C.Fuzzy);
    M.SetRegExp(C.Expr);
    int Pos = -1, Len = -1;
    EXPECT_EQ(M.Match(C.Text, Pos, Len), C.Pos);
    EXPECT_EQ(Pos, C.Pos);
    EXPECT_EQ(Len, C.Len);
  }
}

}  // namespace tesvarin
