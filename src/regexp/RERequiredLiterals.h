// Literals every match of an expression must contain, in order, found from the parse tree, and a
// few literals one of which every match contains (often starts with). A text that lacks them cannot
// match, so the automaton need not walk it.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "regexp/REParseTree.h"
#include "support/ByteSearch.h"

namespace tesvarin {

class TRERequiredLiterals {
public:
  // Longest literal kept, and most literals kept: enough to reject lines, cheap to search.
  static constexpr size_t MaxLiteral = 64;
  static constexpr size_t MaxLiterals = 6;
  static constexpr size_t MaxAlternatives = 8;
  // The next occurrence of each alternative found so far, for NextAlternative.
  using TCursor = std::array<const char*, MaxAlternatives>;

  TRERequiredLiterals() = default;
  explicit TRERequiredLiterals(const TREParseTree& Tree);

  // Null when [Text, End) cannot hold a match, as the searched literals are not there (Searched);
  // else the first place a match may start (the first searched literal's first occurrence when
  // every match starts with it, which need not be a character start).
  [[nodiscard]] const char* FirstStart(const char* Text, const char* End) const;
  // Null as FirstStart; else the first searched literal's first occurrence.
  [[nodiscard]] const char* FirstLiteral(const char* Text, const char* End) const;
  // The literals every match holds in order.
  [[nodiscard]] const std::vector<std::string>& Literals() const { return FLiterals; }
  // Literals one of which every match holds (none: nothing known), and whether it starts the match.
  [[nodiscard]] const std::vector<std::string>& Alternatives() const { return FAlternatives; }
  [[nodiscard]] bool AlternativesStart() const { return FAltHead; }
  // What FirstLiteral looks for: the alternatives where they pin a match down better, else the
  // literals. Empty when nothing rules text out.
  [[nodiscard]] const std::vector<std::string>& Searched() const { return FUseAlternatives ? FAlternatives : FLiterals; }
  [[nodiscard]] bool StartsMatch() const { return FUseAlternatives ? FAltHead : FHead; }
  [[nodiscard]] bool SearchesAlternatives() const { return FUseAlternatives; }
  // The first occurrence of an alternative from From on, or null. Cursor starts filled with null and
  // is kept for the later calls of one text, whose From never goes back: each alternative is
  // searched again only once its occurrence lies behind.
  const char* NextAlternative(const char* From, const char* End, TCursor& Cursor) const;

private:
  [[nodiscard]] const char* FirstAlternative(const char* Text, const char* End) const;

  std::vector<std::string> FLiterals;
  std::vector<TByteFinder> FFinders;  // one for each literal, prepared once per expression
  bool FHead = false;
  std::vector<std::string> FAlternatives;
  std::vector<TByteFinder> FAltFinders;
  size_t FLongestAlt = 0;
  bool FAltHead = false;
  bool FUseAlternatives = false;
};

}  // namespace tesvarin
