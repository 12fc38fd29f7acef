// tesvarin-retest: runs one expression over texts and prints each match, for people and scripts.
#include <cstdio>
#include <string>
#include <vector>

#include "RetestEditorSearch.h"
#include "regexp/REChars.h"
#include "regexp/REMatchStr.h"
#include "regexp/RE_DFA.h"
#include "support/Exception.h"
#include "support/SjisCodec.h"

using namespace tesvarin;

namespace {

struct Options {
  bool Hex = false, Fuzzy = false, Lf = false, Expanded = false;
  std::vector<std::string> Args;  // EXPR then TEXTs
};

bool ParseOptions(int Argc, char** Argv, Options& O) {
  for (int I = 1; I < Argc; ++I) {
    const std::string A = Argv[I];
    if (O.Args.empty() && A == "-x") O.Hex = true;
    else if (O.Args.empty() && A == "-f") O.Fuzzy = true;
    else if (O.Args.empty() && A == "-l") O.Lf = true;
    else if (O.Args.empty() && A == "-p") O.Expanded = true;
    else O.Args.push_back(A);
  }
  return !O.Args.empty();
}

std::string FromHex(const std::string& H) {
  if (H.size() % 2 != 0) throw Exception("odd number of hex digits: " + H);
  std::string Out;
  for (size_t I = 0; I < H.size(); I += 2) {
    const int A = HexValue(static_cast<uint8_t>(H[I])), B = HexValue(static_cast<uint8_t>(H[I + 1]));
    if (A < 0 || B < 0) throw Exception("not a hex byte string: " + H);
    Out += static_cast<char>(A * 16 + B);
  }
  return Out;
}

std::string ToHex(const std::string& S) {
  std::string Out;
  char Buf[3];
  for (unsigned char C : S) {
    std::snprintf(Buf, sizeof Buf, "%02x", C);
    Out += Buf;
  }
  return Out;
}

std::string Input(const Options& O, const std::string& A) { return O.Hex ? FromHex(A) : Utf8ToCp932(A); }

}  // namespace

int main(int Argc, char** Argv) {
  if (WantsEditorSearch(Argc, Argv)) return RunEditorSearch(Argc, Argv);
  Options O;
  if (!ParseOptions(Argc, Argv, O)) {
    std::fprintf(stderr, "usage: tesvarin-retest [-x] [-f] [-l] [-p] EXPR [TEXT ...]\n");
    return 1;
  }
  try {
    TREMatchStr M;
    M.SetLineSeparator(O.Lf ? mcls_LF : mcls_CRLF);
    const std::string Expr = Input(O, O.Args[0]);
    try {
      M.SetRegExp(Expr);
      M.SetUseFuzzyCharDic(O.Fuzzy);
    } catch (const ERegExpParser& E) {
      std::printf("error %d %s\n", E.ErrorPos(), E.what());
      return 2;
    }
    if (O.Expanded) {
      const std::string& P = M.CacheString(M.CurrentIndex());
      std::printf("expanded %s\n", O.Hex ? ToHex(P).c_str() : Cp932ToUtf8Lossy(P).c_str());
    }
    for (size_t I = 1; I < O.Args.size(); ++I) {
      int Pos = 0, Len = 0;
      if (M.Match(Input(O, O.Args[I]), Pos, Len) > 0) std::printf("match %d %d\n", Pos, Len);
      else std::printf("nomatch\n");
    }
  } catch (const Exception& E) {
    std::fprintf(stderr, "tesvarin-retest: %s\n", E.what());
    return 1;
  }
  return 0;
}
