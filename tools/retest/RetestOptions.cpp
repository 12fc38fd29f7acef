// Option parsing and argument conversion of tesvarin-retest.
#include "RetestOptions.h"

#include <cstdio>

#include "regexp/REChars.h"
#include "support/Exception.h"
#include "support/SjisCodec.h"

namespace tesvarin {

namespace {
bool SetFlag(char Letter, TRetestOptions& O) {
  switch (Letter) {
    case 'x': O.Hex = true; return true;
    case 'f': O.Fuzzy = true; return true;
    case 'l': O.Lf = true; return true;
    case 'p': O.Expanded = true; return true;
    case 'k': O.Tokens = true; return true;
    case 't': O.Leaves = true; return true;
    default: return false;
  }
}
}  // namespace

bool ParseRetestOptions(int Argc, const char* const* Argv, TRetestOptions& O, std::string& Error) {
  int I = 1;
  for (; I < Argc; ++I) {
    const std::string A = Argv[I];
    if (A == "--") {
      ++I;
      break;
    }
    if (A.size() < 2 || A[0] != '-') break;
    for (size_t K = 1; K < A.size(); ++K)
      if (!SetFlag(A[K], O)) {
        Error = "unknown option: " + A;
        return false;
      }
  }
  for (; I < Argc; ++I) O.Args.emplace_back(Argv[I]);
  if (O.Args.empty()) {
    Error = "missing EXPR";
    return false;
  }
  return true;
}

std::string RetestFromHex(const std::string& Hex) {
  if (Hex.size() % 2 != 0) throw Exception("odd number of hex digits: " + Hex);
  std::string Out;
  for (size_t I = 0; I < Hex.size(); I += 2) {
    const int A = HexValue(static_cast<uint8_t>(Hex[I]));
    const int B = HexValue(static_cast<uint8_t>(Hex[I + 1]));
    if (A < 0 || B < 0) throw Exception("not a hex byte string: " + Hex);
    Out += static_cast<char>(A * 16 + B);
  }
  return Out;
}

std::string RetestToHex(const std::string& Bytes) {
  std::string Out;
  char Buf[3];
  for (const unsigned char C : Bytes) {
    std::snprintf(Buf, sizeof Buf, "%02x", C);
    Out += Buf;
  }
  return Out;
}

std::string RetestInput(const TRetestOptions& O, const std::string& Arg) {
  return O.Hex ? RetestFromHex(Arg) : Utf8ToCp932(Arg);
}

}  // namespace tesvarin
