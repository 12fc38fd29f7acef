// The nondeterministic automaton built from a parse tree.
#pragma once

#include <cstdint>
#include <vector>

#include "regexp/REParser.h"

namespace tesvarin {

inline constexpr uint32_t EpsilonRange = 0xFFFFFFFFu;

[[nodiscard]] constexpr uint32_t MakeRange(uint16_t Lo, uint16_t Hi) { return static_cast<uint32_t>(Hi) << 16 | Lo; }
[[nodiscard]] constexpr uint16_t RangeLo(uint32_t R) { return static_cast<uint16_t>(R & 0xFFFF); }
[[nodiscard]] constexpr uint16_t RangeHi(uint32_t R) { return static_cast<uint16_t>(R >> 16); }

struct TRENFATrans {
  uint32_t Range;
  int32_t Target;
  int32_t Next;  // index in the transition pool, -1 ends the chain
};

class TRE_NFA : public TObject {
public:
  TRE_NFA(const TREParser& Parser, uint16_t LineHeadCode, uint16_t LineTailCode);

  void Build();

  [[nodiscard]] int StateCount() const { return static_cast<int>(FStateList.size()); }
  // Head of state I's chain in Transitions(), -1 for none.
  [[nodiscard]] int32_t FirstTrans(int I) const { return FStateList[static_cast<size_t>(I)]; }
  [[nodiscard]] const TRENFATrans& Trans(int32_t Index) const { return FTransPool[static_cast<size_t>(Index)]; }
  [[nodiscard]] int InitialState() const { return FInitialState; }
  [[nodiscard]] int FinalState() const { return FFinalState; }
  [[nodiscard]] bool HasLineHead() const { return FHasLineHead; }
  [[nodiscard]] bool HasLineTail() const { return FHasLineTail; }
  [[nodiscard]] uint16_t LineHeadCode() const { return FLineHeadCode; }
  [[nodiscard]] uint16_t LineTailCode() const { return FLineTailCode; }

private:
  int NewState();
  void AddTransition(int From, int To, uint32_t Range);
  // Walks the tree with an explicit stack: a long concatenation makes a deep tree.
  void GenerateStateList(const TRENode* Root, int From, int To);

  const TREParser& FParser;
  std::vector<int32_t> FStateList;
  std::vector<TRENFATrans> FTransPool;
  int FInitialState = 0;
  int FFinalState = 1;
  bool FHasLineHead = false;
  bool FHasLineTail = false;
  uint16_t FLineHeadCode;
  uint16_t FLineTailCode;
};

}  // namespace tesvarin
