// Each TEXT is searched as the editor searches one line: options reduced by the editor's own rule,
// and hits longer than 250 bytes refused.
#include "RetestEditorSearch.h"

#include <cstdio>
#include <string>
#include <vector>

#include "editor/search/EditorExSearch.h"
#include "regexp/REChars.h"
#include "support/Exception.h"
#include "support/SjisCodec.h"

namespace tesvarin {

namespace {

struct TSearchArgs {
  bool Hex = false, Lf = false, Last = false;
  std::string Opts;
  std::vector<std::string> Args;  // FIND then TEXTs
};

bool IsSearchFlag(const std::string& A) { return A == "-s" || A == "-S"; }

bool ParseSearchArgs(int Argc, char** Argv, TSearchArgs& O) {
  bool HaveOpts = false;
  for (int I = 1; I < Argc; ++I) {
    const std::string A = Argv[I];
    if (!O.Args.empty()) O.Args.push_back(A);
    else if (A == "-x") O.Hex = true;
    else if (A == "-l") O.Lf = true;
    else if (IsSearchFlag(A) && I + 1 < Argc) {
      O.Last = A == "-S";
      O.Opts = Argv[++I];
      HaveOpts = true;
    } else O.Args.push_back(A);
  }
  return HaveOpts && !O.Args.empty();
}

TExSearchOptions ParseOpts(const std::string& Opts) {
  TExSearchOptions Set;
  if (Opts == "-") return Set;
  for (char C : Opts) {
    switch (C) {
      case 'c': Set.Include(soMatchCase); break;
      case 'r': Set.Include(soRegexp); break;
      case 'f': Set.Include(soFuzzy); break;
      case 'w': Set.Include(soWholeWord); break;
      default: throw Exception(std::string("unknown search option: ") + C);
    }
  }
  return Set;
}

int HexDigit(char C) {
  if (C >= '0' && C <= '9') return C - '0';
  if (C >= 'a' && C <= 'f') return C - 'a' + 10;
  if (C >= 'A' && C <= 'F') return C - 'A' + 10;
  return -1;
}

std::string Input(const TSearchArgs& O, const std::string& A) {
  if (!O.Hex) return Utf8ToCp932(A);
  if (A.size() % 2 != 0) throw Exception("odd number of hex digits: " + A);
  std::string Out;
  for (size_t I = 0; I < A.size(); I += 2) {
    const int Hi = HexDigit(A[I]), Lo = HexDigit(A[I + 1]);
    if (Hi < 0 || Lo < 0) throw Exception("not a hex byte string: " + A);
    Out += static_cast<char>(Hi * 16 + Lo);
  }
  return Out;
}

}  // namespace

bool WantsEditorSearch(int Argc, char** Argv) {
  for (int I = 1; I < Argc; ++I) {
    const std::string A = Argv[I];
    if (IsSearchFlag(A)) return true;
    if (A.empty() || A[0] != '-') return false;
  }
  return false;
}

int RunEditorSearch(int Argc, char** Argv) {
  TSearchArgs O;
  if (!ParseSearchArgs(Argc, Argv, O)) {
    std::fprintf(stderr, "usage: tesvarin-retest [-x] [-l] -s|-S OPTS FIND [TEXT ...]  (OPTS: c r f w, or -)\n");
    return 1;
  }
  try {
    TEditorExSearch S;
    S.Matcher().SetLineSeparator(O.Lf ? mcls_LF : mcls_CRLF);
    S.SetExSearchOptions(ParseOpts(O.Opts));
    S.SetFindString(Input(O, O.Args[0]));
    for (size_t I = 1; I < O.Args.size(); ++I) {
      const std::string Text = Input(O, O.Args[I]);
      int Len = 0;
      const int Pos = O.Last ? S.StrSearchLast(Text, Len) : S.StrSearch(Text, Len);
      if (Pos > 0) std::printf("match %d %d\n", Pos, Len);
      else std::printf("nomatch\n");
    }
  } catch (const ERegExpParser& E) {
    std::printf("error %d %s\n", E.ErrorPos(), E.what());
    return 2;
  } catch (const Exception& E) {
    std::fprintf(stderr, "tesvarin-retest: %s\n", E.what());
    return 1;
  }
  return 0;
}

}  // namespace tesvarin
