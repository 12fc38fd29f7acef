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

class TMatchCORE : public TRegularExpression {
public:
  // Each gives the match as [Start, Stop) or false; Text ends at End or at its first NUL, which the
  // walks find as they go.
  bool SimpleMatch(const char* Text, const char* End, const char*& Start, const char*& Stop);
  bool AnchoredMatch(const char* Text, const char* End, const char*& Start, const char*& Stop);
  const char* HeadMatch(const char* P, const char* End, int32_t State);
  bool ScanMatch(const char* Text, const char* End, const char*& Start, const char*& Stop);
  const char* LongestFrom(const char* P, const char* End, int32_t State);
  const char* NextStart(const char* P, const char*& End, const char*& Known, bool Lf);
  [[nodiscard]] bool IsLineSeparator(uint16_t Code) const { return Code == (FLineSeparator == mcls_CRLF ? 13 : 10); }
  [[nodiscard]] TMatchCORE_LineSeparator LineSeparator() const { return FLineSeparator; }
  void SetLineSeparator(TMatchCORE_LineSeparator Value) { FLineSeparator = Value; }

private:
  TMatchCORE_LineSeparator FLineSeparator = mcls_CRLF;
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
