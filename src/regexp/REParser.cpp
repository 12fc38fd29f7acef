// The expression grammar. Recursion is one level per group, bounded by MaxNestingDepth.
#include "regexp/REParser.h"

#include <algorithm>

#include "regexp/REChars.h"

namespace tesvarin {

TREParser::TREParser(std::string Expression) : FScanner(std::move(Expression)) {}

void TREParser::Raise(const char* Message) const { throw ERegExpParser(Message, FScanner.Position()); }

void TREParser::Parse() {
  FTree.ClearTree();
  FDepth = 0;
  FScanner.GetToken();
  FTree.SetRoot(ParseRegex());
  if (FScanner.Token() != retk_End) Raise(remsg::ExtraChars);
  FTree.MakeDisjoint();
}

TRENode* TREParser::ParseRegex() {
  TRENode* R = ParseConcat();
  while (FScanner.Token() == retk_Union) {
    FScanner.GetToken();
    R = FTree.MakeNode(reop_Union, R, ParseConcat());
  }
  return R;
}

TRENode* TREParser::ParseConcat() {
  const auto Ends = [this] {
    const TREToken_Kind K = FScanner.Token();
    return K == retk_Union || K == retk_RPar || K == retk_End;
  };
  if (Ends()) return FTree.MakeNode(reop_Empty, nullptr, nullptr);
  TRENode* R = ParseClosure();
  while (!Ends()) R = FTree.MakeNode(reop_Concat, R, ParseClosure());
  return R;
}

TRENode* TREParser::ParseClosure() {
  TRENode* F = ParseFactor();
  switch (FScanner.Token()) {
    case retk_Star:
      FScanner.GetToken();
      return FTree.MakeNode(reop_Closure, F, nullptr);
    case retk_Plus:
      FScanner.GetToken();
      return FTree.MakeNode(reop_Concat, F, FTree.MakeNode(reop_Closure, F, nullptr));
    case retk_QMark:
      FScanner.GetToken();
      return FTree.MakeNode(reop_Union, F, FTree.MakeNode(reop_Empty, nullptr, nullptr));
    default: return F;
  }
}

// Code 0 ends every text and the codes above MaxCharCode are the markers: a range is clipped to
// 1..MaxCharCode, and one that keeps nothing matches nothing.
TRENode* TREParser::CharLeaf(TREParseTree& T, uint16_t Lo, uint16_t Hi) {
  const uint16_t L = std::max<uint16_t>(Lo, 1);
  const uint16_t H = std::min(Hi, MaxCharCode);
  if (H < L) return T.MakeNothing();
  return T.MakeLeaf(L, H);
}

TRENode* TREParser::ParseGroup() {
  if (++FDepth > MaxNestingDepth) Raise(remsg::NestingTooDeep);
  FScanner.GetToken();
  TRENode* R = ParseRegex();
  if (FScanner.Token() != retk_RPar) Raise(remsg::NeedRightParen);
  FScanner.GetToken();
  --FDepth;
  return R;
}

TRENode* TREParser::ParseFactor() {
  TRENode* R = nullptr;
  switch (FScanner.Token()) {
    case retk_Char: R = CharLeaf(FTree, FScanner.Code(), FScanner.Code()); break;
    case retk_LPar: return ParseGroup();
    case retk_LBra: R = ParseClass(FTree); break;
    case retk_LBraNeg: R = ParseNegClass(); break;
    case retk_Dot: R = FTree.MakeAnyChar(); break;
    case retk_LHead: R = FTree.MakeLHeadNode(FScanner.Code()); break;
    case retk_LTail: R = FTree.MakeLTailNode(FScanner.Code()); break;
    default: Raise(remsg::NeedCharOrLeftParen);
  }
  FScanner.GetToken();
  return R;
}

TRENode* TREParser::ParseClass(TREParseTree& T) {
  const auto Item = [this, &T] {
    const uint16_t Hi = FScanner.Token() == retk_Range ? FScanner.CodeHigh() : FScanner.Code();
    return CharLeaf(T, FScanner.Code(), Hi);
  };
  if (FScanner.GetToken() == retk_RBra) Raise(remsg::BadCharClass);
  TRENode* R = Item();
  while (FScanner.GetToken() != retk_RBra) R = T.MakeNode(reop_Union, R, Item());
  return R;
}

TRENode* TREParser::ParseNegClass() {
  TREParseTree T1;
  ParseClass(T1);
  T1.MakeDisjoint();
  TREParseTree T2;
  T2.MakeAnyChar();
  for (int I = 0; I < T1.LeafCount(); ++I) SubtractRange(T1.Leaf(I)->Lo, T1.Leaf(I)->Hi, T2);
  if (T2.LeafCount() == 0) return FTree.MakeNothing();
  TRENode* R = FTree.MakeLeaf(T2.Leaf(0)->Lo, T2.Leaf(0)->Hi);
  for (int I = 1; I < T2.LeafCount(); ++I) R = FTree.MakeNode(reop_Union, R, FTree.MakeLeaf(T2.Leaf(I)->Lo, T2.Leaf(I)->Hi));
  return R;
}

void TREParser::SubtractRange(uint16_t A, uint16_t B, TREParseTree& T) {
  int I = 0;
  while (I < T.LeafCount()) {
    TRENode* Q = T.Leaf(I);
    if (B < Q->Lo || Q->Hi < A) {
      ++I;
      continue;
    }
    const uint16_t Lo = Q->Lo, Hi = Q->Hi;
    if (A > Lo) T.MakeLeafIfValid(Lo, static_cast<uint16_t>(A - 1));
    if (B < Hi) T.MakeLeafIfValid(static_cast<uint16_t>(B + 1), Hi);
    T.DeleteLeaf(I);
  }
}

}  // namespace tesvarin
