// The dictionary preprocessor.
#include "regexp/REPreProcessor.h"

#include "regexp/REChars.h"

namespace tesvarin {

void TREPreProcessor::Tokenize() {
  FTokenList.clear();
  for (;;) {
    const int P = FScanner.Position();
    const TREToken_Kind K = FScanner.GetToken();
    if (K == retk_End) break;
    FTokenList.push_back({K, FScanner.Code(), FScanner.CodeHigh(), P, FScanner.Position()});
  }
  FTokenList.push_back({retk_End, 0, 0, 0, 0});
}

std::string_view TREPreProcessor::SourceText(const TREToken& T) const {
  return std::string_view(FScanner.Text()).substr(static_cast<size_t>(T.StartPos - 1),
                                                  static_cast<size_t>(T.EndPos - T.StartPos));
}

std::string TREPreProcessor::Expand(int (TREPreProcessor::*Lookup)(int, int)) {
  std::string Out;
  Tokenize();
  bool InClassCopy = false;
  const int Count = static_cast<int>(FTokenList.size());
  int I = 0;
  while (I < Count) {
    const TREToken& R = FTokenList[static_cast<size_t>(I)];
    if (R.Kind == retk_LBra || R.Kind == retk_LBraNeg) InClassCopy = true;
    if (R.Kind == retk_RBra) InClassCopy = false;
    if (R.Kind != retk_Char || InClassCopy) {
      if (R.Kind != retk_End) Out += SourceText(R);
      ++I;
      continue;
    }
    int J = I;
    while (FTokenList[static_cast<size_t>(J)].Kind == retk_Char) ++J;
    while (I < J) {
      const int K = (this->*Lookup)(I, J);
      if (K == -1) {
        Out += SourceText(FTokenList[static_cast<size_t>(I)]);
        ++I;
      } else {
        Out += FReplacement;
        I = K;
      }
    }
    I = J;
  }
  return Out;
}

int TREPreProcessor::LookupIn(const std::vector<const TREDictionary*>& Dics, int I, int J) {
  for (const TREDictionary* D : Dics) {
    const int K = MatchGroup(I, J, *D);
    if (K != -1) return K;
  }
  return -1;
}

int TREPreProcessor::SynonymLookup(int I, int J) { return LookupIn(FSynonymDicList, I, J); }
int TREPreProcessor::FuzzyLookup(int I, int J) { return LookupIn(FFuzzyCharDicList, I, J); }

namespace {
// Number of characters of V when they equal the codes of Tokens[I..J), else 0.
int VariantLength(std::string_view V, const std::vector<TREToken>& Tokens, int I, int J) {
  int Pos = 1;
  int N = 0;
  while (Pos <= static_cast<int>(V.size())) {
    if (I + N >= J) return 0;
    if (GetChar(V, Pos) != Tokens[static_cast<size_t>(I + N)].Code) return 0;
    ++N;
  }
  return N;
}
}  // namespace

int TREPreProcessor::MatchGroup(int I, int J, const TREDictionary& Dic) {
  for (const TStringList& G : Dic) {
    for (int V = 0; V < G.Count(); ++V) {
      if (G[V].empty()) continue;
      const int N = VariantLength(G[V], FTokenList, I, J);
      if (N == 0) continue;
      // Appended piece by piece: no temporary strings per variant.
      FReplacement.assign(1, '(');
      for (int K = 0; K < G.Count(); ++K) {
        if (K > 0) FReplacement += '|';
        FReplacement += EscapeMetaChars(G[K]);
      }
      FReplacement += ')';
      return I + N;
    }
  }
  return -1;
}

void TREPreProcessor::Run() {
  FOutput = FScanner.Text();
  if (FUseSynonymDic) {
    FOutput = Expand(&TREPreProcessor::SynonymLookup);
    FScanner.SetText(FOutput);
  }
  if (FUseFuzzyCharDic) {
    FScanner.SetText(FScanner.Text());
    FOutput = Expand(&TREPreProcessor::FuzzyLookup);
  }
}

}  // namespace tesvarin
