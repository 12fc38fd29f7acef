// Compiled-expression cache and the matching procedures the editor search calls per line.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "regexp/REPreProcessor.h"
#include "regexp/RERequiredLiterals.h"
#include "regexp/RE_DFA.h"
#include "support/Component.h"

namespace tesvarin {

class TRegularExpression : public TComponent {
public:
  static constexpr int CacheSize = 30;
  TRegularExpression();

  virtual void Compile(const std::string& S);
  virtual void SetRegExp(const std::string& S);
  [[nodiscard]] virtual uint16_t LineHeadCode() const { return 0xFFFD; }
  [[nodiscard]] virtual uint16_t LineTailCode() const { return 0xFFFE; }

  [[nodiscard]] const std::string& RegExp() const { return FRegExp; }
  [[nodiscard]] int CurrentIndex() const { return FCurrentIndex; }
  [[nodiscard]] int CacheCount() const { return static_cast<int>(FCache.size()); }
  [[nodiscard]] const std::string& CacheString(int I) const { return FCache[static_cast<size_t>(I)].Expr; }
  TREPreProcessor& Preprocessor() { return FPreprocessor; }
  TRE_DFA& DFA() { return *FCache[static_cast<size_t>(FCurrentIndex)].DFA; }
  [[nodiscard]] const TRERequiredLiterals& RequiredLiterals() const {
    return FCache[static_cast<size_t>(FCurrentIndex)].Literals;
  }

protected:
  struct TCacheEntry {
    std::string Expr;
    std::unique_ptr<TRE_DFA> DFA;
    TRERequiredLiterals Literals;
  };
  std::vector<TCacheEntry> FCache;
  int FCurrentIndex = 0;
  TREPreProcessor FPreprocessor;
  std::string FRegExp;
};

enum TMatchCORE_LineSeparator : uint8_t { mcls_CRLF, mcls_LF };

// Places and states where walks from earlier starts of one search failed. A later walk that reaches
// one in the same state fails from there as well, so starts inside a long run do not walk the rest
// of the run again. Direct-mapped by place: an overwritten slot only loses a shortcut.
class TFailedWalks {
public:
  // A new search over text beginning at Base, with the automaton at flush count Flushes.
  void Reset(const char* Base, int Flushes);
  // State numbers change when the automaton is flushed: the marks made before are forgotten.
  void Check(int Flushes) {
    if (Flushes != FFlushes) Reset(FBase, Flushes);
  }
  [[nodiscard]] bool Failed(const char* P, int32_t State) const {
    const TSlot& S = FSlots[Index(P)];
    return S.Gen == FGen && S.Place == P && S.State == State;
  }
  void Mark(const char* P, int32_t State) { FSlots[Index(P)] = {P, FGen, State}; }

private:
  struct TSlot {
    const char* Place = nullptr;
    uint32_t Gen = 0;
    int32_t State = 0;
  };
  static constexpr size_t SlotCount = 4096;
  [[nodiscard]] size_t Index(const char* P) const { return static_cast<size_t>(P - FBase) & (SlotCount - 1); }
  std::vector<TSlot> FSlots;  // made at the first Reset: most matchers never run an expression
  const char* FBase = nullptr;
  uint32_t FGen = 0;
  int FFlushes = 0;
};

class TMatchCORE : public TRegularExpression {
public:
  // Each gives the match as [Start, Stop) or false; Text ends at End or at its first NUL, which the
  // walks find as they go.
  bool SimpleMatch(const char* Text, const char* End, const char*& Start, const char*& Stop);
  // SimpleMatch for an expression whose every match starts with one of its required alternatives.
  bool AlternativesMatch(const char* Text, const char* End, const char*& Start, const char*& Stop);
  bool AnchoredMatch(const char* Text, const char* End, const char*& Start, const char*& Stop);
  const char* HeadMatch(const char* P, const char* End, int32_t State);
  bool ScanMatch(const char* Text, const char* End, const char*& Start, const char*& Stop);
  // With Failed, the walk stops where an earlier failed walk was in the same state, and marks its
  // own way when it fails.
  const char* LongestFrom(const char* P, const char* End, int32_t State, TFailedWalks* Failed = nullptr);
  const char* NextStart(const char* P, const char*& End, const char*& Known, bool Lf);
  [[nodiscard]] bool IsLineSeparator(uint16_t Code) const { return Code == (FLineSeparator == mcls_CRLF ? 13 : 10); }
  // Off: a match is at least one character long; where the expression matches only the empty
  // string, the search goes on to the next place where it matches more.
  [[nodiscard]] bool EmptyMatches() const { return FEmptyMatches; }
  void SetEmptyMatches(bool Value) { FEmptyMatches = Value; }
  [[nodiscard]] TMatchCORE_LineSeparator LineSeparator() const { return FLineSeparator; }
  void SetLineSeparator(TMatchCORE_LineSeparator Value) { FLineSeparator = Value; }

private:
  TMatchCORE_LineSeparator FLineSeparator = mcls_CRLF;
  bool FEmptyMatches = true;
  TFailedWalks FFailedWalks;
};

class TREMatchStr : public TMatchCORE {
public:
  TREMatchStr();
  void SetRegExp(const std::string& S) override;
  // 1-based position of the leftmost-longest match, 0 (Pos 0, Len 0) when none.
  int Match(std::string_view S, int& Pos, int& Len);
  [[nodiscard]] bool UseFuzzyCharDic() const { return FPreprocessor.UseFuzzyCharDic(); }
  void SetUseFuzzyCharDic(bool Value);
  [[nodiscard]] bool UseSynonymDic() const { return FPreprocessor.UseSynonymDic(); }
  void SetUseSynonymDic(bool Value);

private:
  bool FAnchored = false;
  // The last expression set successfully and its flags: setting it again is one comparison.
  std::string FLastSet;
  bool FLastFuzzy = false, FLastSynonym = false, FLastValid = false;
};

}  // namespace tesvarin
