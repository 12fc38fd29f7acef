// Command-line options of tesvarin-retest, parsed apart from main so further drivers reuse them.
#pragma once

#include <string>
#include <vector>

namespace tesvarin {

struct TRetestOptions {
  bool Hex = false;       // -x: EXPR and TEXTs are hex byte strings
  bool Fuzzy = false;     // -f
  bool Lf = false;        // -l: LF ends a line instead of CR
  bool Expanded = false;  // -p
  bool Tokens = false;    // -k
  bool Leaves = false;    // -t
  std::vector<std::string> Args;  // EXPR then the TEXTs
};

inline constexpr const char* RetestUsage = "usage: tesvarin-retest [-x] [-f] [-l] [-p] [-k] [-t] EXPR [TEXT ...]\n";

// Options stand before EXPR, one letter each ("-kt" sets two); "--" ends them. False, with a
// reason in Error, for an unknown option or a missing EXPR.
bool ParseRetestOptions(int Argc, const char* const* Argv, TRetestOptions& O, std::string& Error);

// Hex byte string to bytes ("82a0" is one double-byte character); raises Exception when malformed.
[[nodiscard]] std::string RetestFromHex(const std::string& Hex);
[[nodiscard]] std::string RetestToHex(const std::string& Bytes);
// An argument as code page 932 bytes: hex with -x, else converted from UTF-8.
[[nodiscard]] std::string RetestInput(const TRetestOptions& O, const std::string& Arg);

}  // namespace tesvarin
