// Subset construction on demand over code classes.
#include "regexp/RE_DFA.h"

#include <sys/mman.h>

#include <algorithm>
#include <iterator>
#include <new>

#include "support/Sjis.h"

namespace tesvarin {

namespace {
constexpr size_t CodeClassesBytes = 0x10000 * sizeof(uint16_t);
}

TCodeClasses::TCodeClasses() {
  void* P = ::mmap(nullptr, CodeClassesBytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (P == MAP_FAILED) throw std::bad_alloc();
  FClasses = static_cast<uint16_t*>(P);
}

TCodeClasses::~TCodeClasses() { ::munmap(FClasses, CodeClassesBytes); }

TRE_DFA::TRE_DFA(const TRE_NFA& NFA)
    : FNFAStates(NFA.StateCount()), FFinal(NFA.FinalState()), FLineHeadCode(NFA.LineHeadCode()),
      FHasLineHead(NFA.HasLineHead()), FHasLineTail(NFA.HasLineTail()) {
  MakeClasses(NFA);
  FTailClass = FClassOf[NFA.LineTailCode()];
}

// Classes split the codes at every range end, so each range covers whole classes and literal
// ^ and $ stay apart from any class or . that covers the same code.
void TRE_DFA::MakeClasses(const TRE_NFA& NFA) {
  std::vector<uint32_t> Cuts{0, 0xFFFD, 0xFFFE, 0xFFFF, 0x10000};
  for (int S = 0; S < NFA.StateCount(); ++S)
    for (int32_t T = NFA.FirstTrans(S); T != -1; T = NFA.Trans(T).Next)
      if (NFA.Trans(T).Range != EpsilonRange) {
        Cuts.push_back(RangeLo(NFA.Trans(T).Range));
        Cuts.push_back(static_cast<uint32_t>(RangeHi(NFA.Trans(T).Range)) + 1);
      }
  std::sort(Cuts.begin(), Cuts.end());
  Cuts.erase(std::unique(Cuts.begin(), Cuts.end()), Cuts.end());
  for (size_t K = 1; K + 1 < Cuts.size(); ++K) FClassOf.Set(Cuts[K], Cuts[K + 1], static_cast<uint16_t>(K));
  FClassCount = static_cast<uint32_t>(Cuts.size() - 1);
  FTrans.resize(static_cast<size_t>(NFA.StateCount()));
  FEps.resize(static_cast<size_t>(NFA.StateCount()));
  for (int S = 0; S < NFA.StateCount(); ++S)
    for (int32_t T = NFA.FirstTrans(S); T != -1; T = NFA.Trans(T).Next) {
      const TRENFATrans& X = NFA.Trans(T);
      if (X.Range == EpsilonRange)
        FEps[static_cast<size_t>(S)].push_back(X.Target);
      else
        FTrans[static_cast<size_t>(S)].push_back({FClassOf[RangeLo(X.Range)], FClassOf[RangeHi(X.Range)], X.Target});
    }
}

void TRE_DFA::EpsilonClosure(TRE_NFAStateSet& Set, std::vector<int>& Members) const {
  std::vector<int> Stack(Members);
  while (!Stack.empty()) {
    const int S = Stack.back();
    Stack.pop_back();
    for (int T : FEps[static_cast<size_t>(S)])
      if (!Set.Has(T)) {
        Set.Include(T);
        Members.push_back(T);
        Stack.push_back(T);
      }
  }
  std::sort(Members.begin(), Members.end());
}

int32_t TRE_DFA::RegisterState(const TRE_NFAStateSet& Set, const std::vector<int>& Members) {
  if (auto It = FIndex.find(Set.Bytes()); It != FIndex.end()) return It->second;
  const auto Id = static_cast<int32_t>(FSets.size());
  FSets.push_back(Members);
  FIndex.emplace(Set.Bytes(), Id);
  FRows.resize(FRows.size() + FClassCount, Unknown);
  bool Tail = false;
  for (int M : Members)
    for (const Trans& T : FTrans[static_cast<size_t>(M)]) Tail = Tail || (T.From <= FTailClass && FTailClass <= T.To);
  FAccepting.push_back(Set.Has(FFinal) ? 1 : 0);
  FTailOK.push_back(Tail ? 1 : 0);
  FMemory += FClassCount * 4 + Set.Bytes().size() * 2 + Members.size() * 4 + 64;
  return Id;
}

void TRE_DFA::Build() {
  Flush();
  MakeStartBytes();
  FFlushCount = 0;
  MakeStartPairs();
  if (FFlushCount != 0) std::fill(std::begin(FStartPairs), std::end(FStartPairs), ~uint64_t{0});
  FFlushCount = 0;
}

// Row[B] is 1 when a code whose first byte is B can leave S.
void TRE_DFA::NextBytes(int32_t S, std::vector<uint8_t>& Row) {
  std::vector<int8_t> Live(FClassCount, -1);
  const auto IsLive = [this, S, &Live](uint32_t Code) {
    const uint16_t C = FClassOf[Code];
    if (Live[C] < 0) Live[C] = Step(S, C) != Dead ? 1 : 0;
    return Live[C] == 1;
  };
  Row.assign(256, 0);
  for (uint32_t B = 1; B < 256; ++B) {
    bool Any = IsLive(B);
    for (uint32_t T = 0; !Any && IsLeadByte(static_cast<unsigned char>(B)) && T < 256; ++T) Any = IsLive(B << 8 | T);
    Row[B] = Any ? 1 : 0;
  }
}

// Single-byte codes mostly lead to one or a few states, so their rows are shared; past a few
// distinct states the rest pass unfiltered, which keeps compiling cheap.
void TRE_DFA::MakeStartPairs() {
  constexpr size_t MaxRows = 8;
  const auto Set = [this](uint32_t I) { FStartPairs[I >> 6] |= uint64_t{1} << (I & 63); };
  const bool Empty = Accepting(InitialState()) || TailAccepting(InitialState());
  std::fill(std::begin(FStartPairs), std::end(FStartPairs), Empty ? ~uint64_t{0} : 0);
  if (Empty) return;
  std::vector<std::pair<int32_t, std::vector<uint8_t>>> Rows;
  for (uint32_t B1 = 0; B1 < 256; ++B1) Set(B1);
  for (uint32_t B0 = 1; B0 < 256; ++B0) {
    if (FStartBytes[B0] == 0) continue;
    Set(B0 << 8);
    if (IsLeadByte(static_cast<unsigned char>(B0))) {
      for (uint32_t B1 = 1; B1 < 256; ++B1)
        if (CanStartWithCode(static_cast<uint16_t>(B0 << 8 | B1))) Set(B0 << 8 | B1);
      continue;
    }
    const int32_t S1 = Step(InitialState(), FClassOf[B0]);
    auto Row = std::find_if(Rows.begin(), Rows.end(), [S1](const auto& R) { return R.first == S1; });
    const bool Open = Accepting(S1) || TailAccepting(S1) || (Row == Rows.end() && Rows.size() >= MaxRows);
    if (!Open && Row == Rows.end()) {
      Rows.emplace_back(S1, std::vector<uint8_t>());
      NextBytes(S1, Rows.back().second);
      Row = Rows.end() - 1;
    }
    for (uint32_t B1 = 1; B1 < 256; ++B1)
      if (Open || Row->second[B1] != 0) Set(B0 << 8 | B1);
  }
}

// One step per code class from the initial state (state 0 before and after any flush); a byte
// can start a match when the code it stands for, or any code it leads, has a transition.
void TRE_DFA::MakeStartBytes() {
  std::vector<int8_t> Live(FClassCount, -1);
  const auto IsLive = [this, &Live](uint32_t Code) {
    const uint16_t C = FClassOf[Code];
    if (Live[C] < 0) Live[C] = Step(InitialState(), C) != Dead ? 1 : 0;
    return Live[C] == 1;
  };
  std::fill(std::begin(FStartCodes), std::end(FStartCodes), 0);
  std::fill(std::begin(FStartBytes), std::end(FStartBytes), 0);
  const auto Mark = [this](uint32_t Code) { FStartCodes[Code >> 6] |= uint64_t{1} << (Code & 63); };
  // Every matcher starts with the empty expression, which nothing leaves: the walk over every code
  // would only find that out, touching most of the class table for it.
  const std::vector<int>& Start = FSets[static_cast<size_t>(InitialState())];
  const bool CanLeave =
      std::any_of(Start.begin(), Start.end(), [this](int M) { return !FTrans[static_cast<size_t>(M)].empty(); });
  for (uint32_t B = 1; CanLeave && B < 256; ++B) {
    bool Any = IsLive(B);
    if (Any) Mark(B);
    if (IsLeadByte(static_cast<unsigned char>(B)))
      for (uint32_t T = 0; T < 256; ++T)
        if (IsLive(B << 8 | T)) {
          Mark(B << 8 | T);
          Any = true;
        }
    FStartBytes[B] = Any ? 1 : 0;
  }
  for (int Lf = 0; Lf < 2; ++Lf) {
    std::copy(std::begin(FStartBytes), std::end(FStartBytes), FScanStops[Lf]);
    FScanStops[Lf][0] = 1;
  }
  FScanStops[1][static_cast<unsigned char>('\n')] = 1;
  for (int Lf = 0; Lf < 2; ++Lf) {
    std::string& Few = FFewScanStops[Lf];
    Few.clear();
    for (int B = 0; B < 256; ++B)
      if (FScanStops[Lf][B] != 0) Few.push_back(static_cast<char>(B));
    if (Few.size() > 4) Few.clear();
  }
}

void TRE_DFA::Flush() {
  FSets.clear();
  FIndex.clear();
  FRows.clear();
  FAccepting.clear();
  FTailOK.clear();
  FMemory = 0;
  ++FFlushCount;
  TRE_NFAStateSet S0(FNFAStates);
  S0.Include(0);
  std::vector<int> M{0};
  EpsilonClosure(S0, M);
  RegisterState(S0, M);
}

int32_t TRE_DFA::Compute(int32_t S, uint16_t Class) {
  TRE_NFAStateSet Set(FNFAStates);
  std::vector<int> Members;
  for (int M : FSets[static_cast<size_t>(S)])
    for (const Trans& T : FTrans[static_cast<size_t>(M)])
      if (T.From <= Class && Class <= T.To && !Set.Has(T.Target)) {
        Set.Include(T.Target);
        Members.push_back(T.Target);
      }
  if (Members.empty()) {
    FRows[static_cast<size_t>(S) * FClassCount + Class] = Dead;
    return Dead;
  }
  EpsilonClosure(Set, Members);
  if (FIndex.find(Set.Bytes()) == FIndex.end() && FMemory > FBudget) {
    Flush();
    return RegisterState(Set, Members);
  }
  const int32_t N = RegisterState(Set, Members);
  FRows[static_cast<size_t>(S) * FClassCount + Class] = N;
  return N;
}

}  // namespace tesvarin
