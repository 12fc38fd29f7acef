// The parse tree and the splitting of overlapping leaf ranges.
#include "regexp/REParseTree.h"

#include <algorithm>

#include "regexp/REChars.h"

namespace tesvarin {

TRENode* TREParseTree::MakeNode(TREOperator Kind, TRENode* Left, TRENode* Right) {
  auto N = std::make_unique<TRENode>();
  N->Kind = Kind;
  N->Left = Left;
  N->Right = Right;
  FNodeList.push_back(std::move(N));
  return FNodeList.back().get();
}

TRENode* TREParseTree::MakeLeaf(uint16_t Lo, uint16_t Hi) {
  if (auto It = FLeafIndex.find(Key(Lo, Hi)); It != FLeafIndex.end()) return It->second;
  auto N = std::make_unique<TRENode>();
  N->Kind = reop_CharRange;
  N->Lo = Lo;
  N->Hi = Hi;
  FLeafList.push_back(std::move(N));
  FLeafIndex.emplace(Key(Lo, Hi), FLeafList.back().get());
  return FLeafList.back().get();
}

TRENode* TREParseTree::MakeLeafIfValid(uint16_t Lo, uint16_t Hi) { return Hi < Lo ? nullptr : MakeLeaf(Lo, Hi); }

TRENode* TREParseTree::MakeLHeadNode(uint16_t Code) {
  TRENode* N = MakeNode(reop_LHead, nullptr, nullptr);
  N->Lo = N->Hi = Code;
  return N;
}

TRENode* TREParseTree::MakeLTailNode(uint16_t Code) {
  TRENode* N = MakeNode(reop_LTail, nullptr, nullptr);
  N->Lo = N->Hi = Code;
  return N;
}

TRENode* TREParseTree::MakeNothing() { return MakeNode(reop_Nothing, nullptr, nullptr); }

TRENode* TREParseTree::MakeAnyChar() {
  TRENode* B = MakeLeaf(11, 12);
  TRENode* A = MakeLeaf(1, 9);
  TRENode* C = MakeLeaf(14, 0xFCFC);
  return MakeNode(reop_Union, MakeNode(reop_Union, A, B), C);
}

void TREParseTree::LeafToUnion(TRENode* Leaf, TRENode* A, TRENode* B) {
  if (A == nullptr || B == nullptr) throw Exception(remsg::TreeFatal);
  const auto It = std::find_if(FLeafList.begin(), FLeafList.end(), [Leaf](const auto& P) { return P.get() == Leaf; });
  if (It == FLeafList.end()) throw Exception(remsg::TreeFatal);
  FLeafIndex.erase(Key(Leaf->Lo, Leaf->Hi));
  FNodeList.push_back(std::move(*It));
  FLeafList.erase(It);
  Leaf->Kind = reop_Union;
  Leaf->Lo = Leaf->Hi = 0;
  Leaf->Left = A;
  Leaf->Right = B;
}

void TREParseTree::DeleteLeaf(int Index) {
  const auto It = FLeafList.begin() + Index;
  FLeafIndex.erase(Key((*It)->Lo, (*It)->Hi));
  FLeafList.erase(It);
}

bool TREParseTree::SplitOverlap(TRENode* X, TRENode* Y) {
  TRENode* L = (Y->Lo < X->Lo) ? Y : X;
  TRENode* H = (L == X) ? Y : X;
  if (L->Hi < H->Lo || (L->Lo == H->Lo && L->Hi == H->Hi)) return false;
  const uint16_t C = L->Lo, A = H->Lo;
  const uint16_t B = std::min(L->Hi, H->Hi), D = std::max(L->Hi, H->Hi);
  const bool LReachesD = L->Hi == D;
  const bool HReachesD = H->Hi == D;
  TRENode* R = (A > C) ? MakeLeafIfValid(C, static_cast<uint16_t>(A - 1)) : nullptr;
  TRENode* S = MakeLeafIfValid(A, B);
  TRENode* P = (B < D) ? MakeLeafIfValid(static_cast<uint16_t>(B + 1), D) : nullptr;
  if (R != nullptr && P == nullptr) {
    LeafToUnion(L, R, S);
  } else if (R != nullptr && LReachesD) {
    LeafToUnion(L, MakeNode(reop_Union, R, S), P);
  } else if (R != nullptr) {
    LeafToUnion(L, R, S);
    LeafToUnion(H, S, P);
  } else {
    LeafToUnion(HReachesD && H != S ? H : L, S, P);
  }
  return true;
}

void TREParseTree::MakeDisjoint() {
  int I = 0;
  while (I < LeafCount()) {
    bool Split = false;
    for (int J = I + 1; J < LeafCount(); ++J) {
      if (SplitOverlap(Leaf(J), Leaf(I))) {
        Split = true;
        break;
      }
    }
    if (!Split) ++I;
  }
}

void TREParseTree::ClearTree() {
  FNodeList.clear();
  FLeafList.clear();
  FLeafIndex.clear();
  FRoot = nullptr;
}

}  // namespace tesvarin
