// The preprocessor that rewrites runs of ordinary characters into alternation groups from dictionaries.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "regexp/REScanner.h"
#include "support/StringList.h"

namespace tesvarin {

// A dictionary: groups of interchangeable variants, each group a list of variants in stored order.
using TREDictionary = std::vector<TStringList>;

struct TREToken {
  TREToken_Kind Kind;
  uint16_t Code;
  uint16_t CodeHigh;
  int32_t StartPos;
  int32_t EndPos;
};

class TREPreProcessor : public TObject {
public:
  TREPreProcessor() = default;

  void SetSource(std::string S) { FScanner.SetText(std::move(S)); }
  void Run();

  void Tokenize();
  std::string Expand(int (TREPreProcessor::*Lookup)(int, int));
  int SynonymLookup(int I, int J);
  int FuzzyLookup(int I, int J);
  int MatchGroup(int I, int J, const TREDictionary& Dic);

  [[nodiscard]] const std::string& Output() const { return FOutput; }
  [[nodiscard]] const std::vector<TREToken>& TokenList() const { return FTokenList; }
  [[nodiscard]] const std::string& Replacement() const { return FReplacement; }
  std::vector<const TREDictionary*>& SynonymDicList() { return FSynonymDicList; }
  std::vector<const TREDictionary*>& FuzzyCharDicList() { return FFuzzyCharDicList; }
  [[nodiscard]] bool UseFuzzyCharDic() const { return FUseFuzzyCharDic; }
  void SetUseFuzzyCharDic(bool Value) { FUseFuzzyCharDic = Value; }
  [[nodiscard]] bool UseSynonymDic() const { return FUseSynonymDic; }
  void SetUseSynonymDic(bool Value) { FUseSynonymDic = Value; }

private:
  [[nodiscard]] std::string_view SourceText(const TREToken& T) const;
  int LookupIn(const std::vector<const TREDictionary*>& Dics, int I, int J);

  TREScanner FScanner;
  std::vector<TREToken> FTokenList;
  std::vector<const TREDictionary*> FSynonymDicList;   // not owned
  std::vector<const TREDictionary*> FFuzzyCharDicList;  // not owned
  std::string FOutput;
  std::string FReplacement;
  bool FUseFuzzyCharDic = false;
  bool FUseSynonymDic = false;
};

}  // namespace tesvarin
