// Thompson construction over the parse tree.
#include "regexp/RE_NFA.h"

#include "regexp/REChars.h"

namespace tesvarin {

TRE_NFA::TRE_NFA(const TREParser& Parser, uint16_t LineHeadCode, uint16_t LineTailCode)
    : FParser(Parser), FLineHeadCode(LineHeadCode), FLineTailCode(LineTailCode) {}

int TRE_NFA::NewState() {
  FStateList.push_back(-1);
  return static_cast<int>(FStateList.size()) - 1;
}

void TRE_NFA::AddTransition(int From, int To, uint32_t Range) {
  FTransPool.push_back({Range, To, FStateList[static_cast<size_t>(From)]});
  FStateList[static_cast<size_t>(From)] = static_cast<int32_t>(FTransPool.size()) - 1;
}

void TRE_NFA::Build() {
  FStateList.clear();
  FTransPool.clear();
  FInitialState = NewState();
  FFinalState = NewState();
  GenerateStateList(FParser.Tree().Root(), FInitialState, FFinalState);
}

void TRE_NFA::GenerateStateList(const TRENode* Root, int From, int To) {
  struct Work {
    const TRENode* N;
    int F;
    int T;
  };
  std::vector<Work> Stack{{Root, From, To}};
  while (!Stack.empty()) {
    const Work W = Stack.back();
    Stack.pop_back();
    if (W.N == nullptr) throw Exception(remsg::NfaCannotHappen);
    switch (W.N->Kind) {
      case reop_CharRange: AddTransition(W.F, W.T, MakeRange(W.N->Lo, W.N->Hi)); break;
      case reop_LHead:
        if (W.F == FInitialState) {
          AddTransition(W.F, W.T, MakeRange(FLineHeadCode, FLineHeadCode));
          FHasLineHead = true;
        } else {
          AddTransition(W.F, W.T, MakeRange(W.N->Lo, W.N->Hi));
        }
        break;
      case reop_LTail:
        if (W.T == FFinalState) {
          AddTransition(W.F, W.T, MakeRange(FLineTailCode, FLineTailCode));
          FHasLineTail = true;
        } else {
          AddTransition(W.F, W.T, MakeRange(W.N->Lo, W.N->Hi));
        }
        break;
      case reop_Concat: {
        const int M = NewState();
        Stack.push_back({W.N->Right, M, W.T});
        Stack.push_back({W.N->Left, W.F, M});
        break;
      }
      case reop_Union:
        Stack.push_back({W.N->Right, W.F, W.T});
        Stack.push_back({W.N->Left, W.F, W.T});
        break;
      case reop_Closure: {
        const int S1 = NewState();
        const int S2 = NewState();
        AddTransition(W.F, S1, EpsilonRange);
        AddTransition(S2, S1, EpsilonRange);
        AddTransition(S1, W.T, EpsilonRange);
        Stack.push_back({W.N->Left, S1, S2});
        break;
      }
      case reop_Empty: AddTransition(W.F, W.T, EpsilonRange); break;
      case reop_Nothing: break;
      default: throw Exception(remsg::NfaCannotHappen);
    }
  }
}

}  // namespace tesvarin
