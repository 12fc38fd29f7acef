// A slow, independent matcher for the differential test: its own parser, and end-position sets
// computed over the characters of the text (no automaton).
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace tesvarin::oracle {

struct Node {
  enum Kind { Chars, Head, Tail, Cat, Alt, Star, Empty } K = Empty;
  std::vector<std::pair<uint16_t, uint16_t>> Ranges;  // Chars: the codes it accepts
  bool Negated = false;
  std::shared_ptr<Node> A, B;
};

struct Result {
  bool Valid = false;  // false: the expression is not well formed
  int Pos = 0;         // 1-based byte position, 0 for no match
  int Len = 0;
};

// Matches Expr over Text leftmost-longest; CrLf chooses CR (else LF) as the line end.
Result Match(const std::string& Expr, const std::string& Text, bool CrLf);

}  // namespace tesvarin::oracle
