// The deterministic automaton, built state by state while matching, within a memory budget.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "regexp/RE_NFA.h"
#include "support/ByteSearch.h"

namespace tesvarin {

// The class of each of the 65,536 codes. The table starts as fresh zero pages, which stand for
// class 0 unwritten: an expression with few classes touches few of its 32 pages.
class TCodeClasses {
public:
  TCodeClasses();
  ~TCodeClasses();
  TCodeClasses(const TCodeClasses&) = delete;
  TCodeClasses& operator=(const TCodeClasses&) = delete;
  [[nodiscard]] uint16_t operator[](uint32_t Code) const { return FClasses[Code]; }
  // Codes From to To - 1 are of Class (not 0).
  void Set(uint32_t From, uint32_t To, uint16_t Class) { std::fill(FClasses + From, FClasses + To, Class); }

private:
  uint16_t* FClasses;
};

// A set of NFA states: bit (i mod 8) of byte (i div 8).
class TRE_NFAStateSet {
public:
  explicit TRE_NFAStateSet(int StateCount) : FBytes(static_cast<size_t>(StateCount / 8 + 1), '\0') {}
  void Include(int I) { FBytes[static_cast<size_t>(I / 8)] |= static_cast<char>(1 << (I % 8)); }
  [[nodiscard]] bool Has(int I) const { return (FBytes[static_cast<size_t>(I / 8)] >> (I % 8)) & 1; }
  [[nodiscard]] const std::string& Bytes() const { return FBytes; }
  bool operator==(const TRE_NFAStateSet&) const = default;

private:
  std::string FBytes;
};

// The automaton keeps its own copy of the NFA's transitions over code classes, since states are
// made on demand after the NFA is gone. When the states outgrow the budget they are all dropped
// and made again as the text needs them, so any expression runs in bounded memory.
class TRE_DFA : public TObject {
public:
  static constexpr int32_t Dead = -1;
  explicit TRE_DFA(const TRE_NFA& NFA);

  void Build();
  [[nodiscard]] int32_t InitialState() const { return 0; }
  [[nodiscard]] uint16_t ClassOf(uint16_t Code) const { return FClassOf[Code]; }
  [[nodiscard]] bool Accepting(int32_t S) const { return FAccepting[static_cast<size_t>(S)] != 0; }
  // True when the state may pass the line-end marker (which leads only to acceptance).
  [[nodiscard]] bool TailAccepting(int32_t S) const { return FTailOK[static_cast<size_t>(S)] != 0; }
  int32_t Step(int32_t S, uint16_t Class) {
    const int32_t N = FRows[static_cast<size_t>(S) * FClassCount + Class];
    return N != Unknown ? N : Compute(S, Class);
  }
  [[nodiscard]] bool HasLineHead() const { return FHasLineHead; }
  [[nodiscard]] bool HasLineTail() const { return FHasLineTail; }
  [[nodiscard]] uint16_t LineHeadCode() const { return FLineHeadCode; }
  [[nodiscard]] int StateCount() const { return static_cast<int>(FSets.size()); }
  [[nodiscard]] int FlushCount() const { return FFlushCount; }
  // False when no character whose first byte is B can leave the initial state, so a match
  // cannot start there (a lone lead byte at the end of a text counts as its own character).
  [[nodiscard]] bool CanStartWith(unsigned char B) const { return FStartBytes[B] != 0; }
  // A byte a scan for match starts must stop at: one that can start a match, the NUL that ends a
  // text, and with Lf the LF after which a line starts.
  [[nodiscard]] bool StopsScan(unsigned char B, bool Lf) const { return FScanStops[Lf ? 1 : 0][B] != 0; }
  // The first byte from P on that stops a scan, found a block at a time when few bytes do; P
  // itself when too many do to be worth it.
  [[nodiscard]] const char* NextScanStop(const char* P, const char* End, bool Lf) const {
    const std::string& Few = FFewScanStops[Lf ? 1 : 0];
    return Few.empty() ? P : FindAnyByte(P, End, Few);
  }
  // The same for the whole code of a character: a lead byte is often shared by many characters
  // of which only a few begin a match.
  [[nodiscard]] bool CanStartWithCode(uint16_t Code) const { return (FStartCodes[Code >> 6] >> (Code & 63)) & 1; }
  // False when no match can start at B0 followed by B1: the pair is a double-byte code that cannot,
  // or B0 is a single-byte code after which no code beginning with B1 goes on. A NUL as B0 or B1
  // always passes (it ends the text), as does every pair when a match may be empty.
  [[nodiscard]] bool CanStartWithPair(unsigned char B0, unsigned char B1) const {
    const unsigned I = static_cast<unsigned>(B0) << 8 | B1;
    return (FStartPairs[I >> 6] >> (I & 63)) & 1;
  }
  void SetBudget(size_t Bytes) { FBudget = Bytes; }

private:
  static constexpr int32_t Unknown = -2;
  struct Trans {
    uint16_t From, To;  // class range
    int32_t Target;
  };
  void MakeClasses(const TRE_NFA& NFA);
  void EpsilonClosure(TRE_NFAStateSet& Set, std::vector<int>& Members) const;
  int32_t RegisterState(const TRE_NFAStateSet& Set, const std::vector<int>& Members);
  int32_t Compute(int32_t S, uint16_t Class);
  void Flush();
  void MakeStartBytes();
  void MakeStartPairs();
  void NextBytes(int32_t S, std::vector<uint8_t>& Row);

  TCodeClasses FClassOf;
  uint32_t FClassCount = 0;
  int FNFAStates = 0;
  int FFinal = 1;
  std::vector<std::vector<Trans>> FTrans;
  std::vector<std::vector<int>> FEps;
  uint16_t FTailClass = 0;
  uint16_t FLineHeadCode;
  bool FHasLineHead, FHasLineTail;
  std::vector<std::vector<int>> FSets;  // members of each state, ascending
  std::unordered_map<std::string, int32_t> FIndex;
  std::vector<int32_t> FRows;
  std::vector<uint8_t> FAccepting, FTailOK;
  uint8_t FStartBytes[256] = {};
  uint8_t FScanStops[2][256] = {};
  std::string FFewScanStops[2];  // the bytes of FScanStops when at most four, else empty
  uint64_t FStartCodes[0x10000 / 64] = {};
  uint64_t FStartPairs[0x10000 / 64] = {};
  size_t FMemory = 0;
  size_t FBudget = size_t{8} << 20;
  int FFlushCount = 0;
};

}  // namespace tesvarin
