// The recursive-descent parser: tokens to a parse tree with disjoint leaf ranges.
#pragma once

#include <memory>
#include <string>

#include "regexp/REParseTree.h"
#include "regexp/REScanner.h"

namespace tesvarin {

class TREParser : public TObject {
public:
  explicit TREParser(std::string Expression);

  void Parse();
  [[nodiscard]] TREParseTree& Tree() { return FTree; }
  [[nodiscard]] const TREParseTree& Tree() const { return FTree; }

  TRENode* ParseRegex();
  TRENode* ParseConcat();
  TRENode* ParseClosure();
  TRENode* ParseFactor();
  TRENode* ParseClass(TREParseTree& T);
  TRENode* ParseNegClass();
  static void SubtractRange(uint16_t A, uint16_t B, TREParseTree& T);

private:
  TRENode* ParseGroup();
  TRENode* CharLeaf(TREParseTree& T, uint16_t Lo, uint16_t Hi);
  [[noreturn]] void Raise(const char* Message) const;

  TREScanner FScanner;
  TREParseTree FTree;
  int FDepth = 0;
};

}  // namespace tesvarin
