// The parse tree of an expression: a graph of nodes whose leaves are pairwise disjoint code ranges.
#pragma once

#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

#include "support/Object.h"

namespace tesvarin {

enum TREOperator : uint8_t {
  reop_CharRange,
  reop_LHead,
  reop_LTail,
  reop_Concat,
  reop_Union,
  reop_Closure,
  reop_Empty,
  // Matches nothing: a negated class that leaves no range, or a character that no text can hold
  // (code 0, which ends every text, and the codes from 0xFFFD on, which stand for the line markers).
  reop_Nothing
};

struct TRENode {
  TREOperator Kind = reop_Empty;
  TRENode* Left = nullptr;
  TRENode* Right = nullptr;
  uint16_t Lo = 0;
  uint16_t Hi = 0;
};

// Highest code a character range may reach; higher codes are the line markers and the empty mark.
inline constexpr uint16_t MaxCharCode = 0xFFFC;

class TREParseTree : public TObject {
public:
  TREParseTree() = default;
  ~TREParseTree() override = default;

  TRENode* MakeNode(TREOperator Kind, TRENode* Left, TRENode* Right);
  TRENode* MakeLeaf(uint16_t Lo, uint16_t Hi);
  TRENode* MakeLeafIfValid(uint16_t Lo, uint16_t Hi);
  TRENode* MakeLHeadNode(uint16_t Code);
  TRENode* MakeLTailNode(uint16_t Code);
  TRENode* MakeNothing();
  virtual TRENode* MakeAnyChar();
  void LeafToUnion(TRENode* Leaf, TRENode* A, TRENode* B);
  bool SplitOverlap(TRENode* X, TRENode* Y);
  void MakeDisjoint();
  void ClearTree();
  // Removes leaf Index from LeafList and frees it (the subtraction of negated classes).
  void DeleteLeaf(int Index);

  [[nodiscard]] TRENode* Root() const { return FRoot; }
  void SetRoot(TRENode* Node) { FRoot = Node; }
  [[nodiscard]] int LeafCount() const { return static_cast<int>(FLeafList.size()); }
  [[nodiscard]] TRENode* Leaf(int Index) const { return FLeafList[static_cast<size_t>(Index)].get(); }
  [[nodiscard]] int NodeCount() const { return static_cast<int>(FNodeList.size()); }

private:
  static uint32_t Key(uint16_t Lo, uint16_t Hi) { return static_cast<uint32_t>(Hi) << 16 | Lo; }

  TRENode* FRoot = nullptr;
  std::vector<std::unique_ptr<TRENode>> FNodeList;
  std::vector<std::unique_ptr<TRENode>> FLeafList;
  std::unordered_map<uint32_t, TRENode*> FLeafIndex;  // (Lo, Hi) -> leaf, so MakeLeaf need not search
};

}  // namespace tesvarin
