// tesvarin-retest: runs one expression over texts and prints each match, for people and scripts.
#include <cstdio>
#include <string>

#include "RetestEditorSearch.h"
#include "RetestOptions.h"
#include "regexp/REChars.h"
#include "regexp/REMatchStr.h"
#include "regexp/REParser.h"
#include "support/Exception.h"
#include "support/SjisCodec.h"

using namespace tesvarin;

namespace {

void PrintTokens(const std::string& Expr) {
  TREPreProcessor P;
  P.SetSource(Expr);
  P.Tokenize();
  for (const TREToken& T : P.TokenList())
    std::printf("%s %04x %04x %d %d\n", TokenKindName(T.Kind), T.Code, T.CodeHigh, T.StartPos, T.EndPos);
}

void PrintLeaves(const std::string& Expr) {
  TREParser P(Expr);
  P.Parse();
  for (int I = 0; I < P.Tree().LeafCount(); ++I)
    std::printf("leaf %04x-%04x\n", P.Tree().Leaf(I)->Lo, P.Tree().Leaf(I)->Hi);
}

void PrintMatch(TREMatchStr& M, const std::string& Text) {
  int Pos = 0, Len = 0;
  if (M.Match(Text, Pos, Len) > 0) std::printf("match %d %d\n", Pos, Len);
  else std::printf("nomatch\n");
}

}  // namespace

int main(int Argc, char** Argv) {
  if (WantsEditorSearch(Argc, Argv)) return RunEditorSearch(Argc, Argv);
  TRetestOptions O;
  std::string Why;
  if (!ParseRetestOptions(Argc, Argv, O, Why)) {
    std::fprintf(stderr, "tesvarin-retest: %s\n%s", Why.c_str(), RetestUsage);
    return 1;
  }
  try {
    TREMatchStr M;
    M.SetLineSeparator(O.Lf ? mcls_LF : mcls_CRLF);
    std::string Expanded;
    try {
      M.SetUseFuzzyCharDic(O.Fuzzy);
      M.SetRegExp(RetestInput(O, O.Args[0]));
      Expanded = M.CacheString(M.CurrentIndex());
    } catch (const ERegExpParser& E) {
      std::printf("error %d %s\n", E.ErrorPos(), E.what());
      return 2;
    }
    if (O.Expanded) std::printf("expanded %s\n", O.Hex ? RetestToHex(Expanded).c_str() : Cp932ToUtf8Lossy(Expanded).c_str());
    if (O.Tokens) PrintTokens(Expanded);
    if (O.Leaves) PrintLeaves(Expanded);
    for (size_t I = 1; I < O.Args.size(); ++I) PrintMatch(M, RetestInput(O, O.Args[I]));
  } catch (const Exception& E) {
    std::fprintf(stderr, "tesvarin-retest: %s\n", E.what());
    return 1;
  }
  return 0;
}
