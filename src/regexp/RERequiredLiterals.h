// Literals every match of an expression must contain, in order, found from the parse tree. A text
// that lacks them cannot match, so the automaton need not walk it.
#pragma once

#include <string>
#include <vector>

#include "regexp/REParseTree.h"

namespace tesvarin {

class TRERequiredLiterals {
public:
  // Longest literal kept, and most literals kept: enough to reject lines, cheap to search.
  static constexpr size_t MaxLiteral = 64;
  static constexpr size_t MaxLiterals = 6;

  TRERequiredLiterals() = default;
  explicit TRERequiredLiterals(const TREParseTree& Tree);

  // Null when [Text, End) cannot hold a match, as the literals do not all occur there one after
  // another without overlap; else the first place a match may start (the first literal's first
  // occurrence when every match starts with it, which need not be a character start).
  [[nodiscard]] const char* FirstStart(const char* Text, const char* End) const;
  // Null as FirstStart; else the first literal's first occurrence.
  [[nodiscard]] const char* FirstLiteral(const char* Text, const char* End) const;
  [[nodiscard]] const std::vector<std::string>& Literals() const { return FLiterals; }
  [[nodiscard]] bool StartsMatch() const { return FHead; }

private:
  std::vector<std::string> FLiterals;
  bool FHead = false;
};

}  // namespace tesvarin
