// Fuzz entry: the first byte holds the flags, the expression runs up to the first NUL, the rest is
// the text. Any expression either compiles or raises ERegExpParser; a match stays inside the text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "regexp/REChars.h"
#include "regexp/REMatchStr.h"

using namespace tesvarin;

namespace {
// Compiling is quadratic in the number of class ranges; longer inputs only slow the search down.
constexpr size_t MaxExpression = 512;

void Check(bool Condition) {
  if (!Condition) std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  if (Size == 0) return 0;
  const uint8_t Flags = Data[0];
  const std::string Rest(reinterpret_cast<const char*>(Data + 1), Size - 1);
  const size_t Nul = Rest.find('\0');
  const std::string Expr = Rest.substr(0, Nul);
  const std::string Text = Nul == std::string::npos ? std::string() : Rest.substr(Nul + 1);
  if (Expr.size() > MaxExpression) return 0;
  TREMatchStr M;
  M.SetLineSeparator(Flags & 2 ? mcls_LF : mcls_CRLF);
  try {
    M.SetUseFuzzyCharDic(Flags & 1);
    M.SetRegExp(Expr);
  } catch (const ERegExpParser& E) {
    Check(E.ErrorPos() >= 1);
    return 0;
  }
  if (Flags & 4) M.DFA().SetBudget(1);
  int Pos = -1, Len = -1;
  const int R = M.Match(Text, Pos, Len);
  Check(R == Pos && Pos >= 0 && Len >= 0);
  Check(Pos == 0 ? Len == 0 : static_cast<size_t>(Pos - 1 + Len) <= Text.size());
  return 0;
}
