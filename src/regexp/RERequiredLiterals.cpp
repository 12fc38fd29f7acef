// Each node gets the byte strings its every match contains in order, and whether the first is a
// prefix and the last a suffix of the match, so a concatenation can join them across its halves.
#include "regexp/RERequiredLiterals.h"

#include <algorithm>
#include <cstring>
#include <unordered_map>

#include "support/ByteSearch.h"

namespace tesvarin {

namespace {

struct TNodeFacts {
  bool Exact = false;  // every match is exactly Seq's one string (or empty when Seq is empty)
  bool Head = false;   // Seq.front() starts every match
  bool Tail = false;   // Seq.back() ends every match
  std::vector<std::string> Seq;
};

TNodeFacts ExactFacts(std::string S) {
  TNodeFacts F;
  F.Exact = F.Head = F.Tail = true;
  if (!S.empty()) F.Seq.push_back(std::move(S));
  return F;
}

std::string CodeBytes(uint16_t Code) {
  if (Code < 0x100) return std::string(1, static_cast<char>(Code));
  return {static_cast<char>(Code >> 8), static_cast<char>(Code & 0xFF)};
}

// Keeps the strings short and few; a piece of a required string is still required, in place.
void Bound(TNodeFacts& F) {
  constexpr size_t Max = TRERequiredLiterals::MaxLiteral;
  if (F.Seq.size() == 1 && F.Seq[0].size() > Max && F.Head && F.Tail) {
    const std::string S = std::move(F.Seq[0]);
    F.Seq = {S.substr(0, Max / 2), S.substr(S.size() - Max / 2)};
    F.Exact = false;
  }
  for (size_t I = 0; I < F.Seq.size(); ++I) {
    std::string& S = F.Seq[I];
    if (S.size() <= Max) continue;
    if (I + 1 == F.Seq.size() && F.Tail)
      S.erase(0, S.size() - Max);
    else
      S.resize(Max);
    if (I == 0 && F.Seq.size() == 1) F.Head = F.Head && !F.Tail;
  }
  while (F.Seq.size() > TRERequiredLiterals::MaxLiterals) {
    auto Shortest = std::min_element(F.Seq.begin() + 1, F.Seq.end() - 1,
                                     [](const std::string& A, const std::string& B) { return A.size() < B.size(); });
    F.Seq.erase(Shortest);
  }
}

TNodeFacts ConcatFacts(const TNodeFacts& L, const TNodeFacts& R) {
  TNodeFacts F;
  if (L.Exact && R.Exact) {
    F = ExactFacts((L.Seq.empty() ? std::string() : L.Seq[0]) + (R.Seq.empty() ? std::string() : R.Seq[0]));
    Bound(F);
    return F;
  }
  F.Head = L.Seq.empty() ? (L.Exact && R.Head) : L.Head;
  F.Tail = R.Seq.empty() ? (R.Exact && L.Tail) : R.Tail;
  F.Seq = L.Seq;
  auto From = R.Seq.begin();
  if (!F.Seq.empty() && From != R.Seq.end() && L.Tail && R.Head) F.Seq.back() += *From++;
  F.Seq.insert(F.Seq.end(), From, R.Seq.end());
  Bound(F);
  return F;
}

std::string CommonPrefix(const std::string& A, const std::string& B) {
  const auto Diff = std::mismatch(A.begin(), A.begin() + static_cast<std::ptrdiff_t>(std::min(A.size(), B.size())), B.begin());
  return {A.begin(), Diff.first};
}

std::string CommonSuffix(const std::string& A, const std::string& B) {
  const auto Diff = std::mismatch(A.rbegin(), A.rbegin() + static_cast<std::ptrdiff_t>(std::min(A.size(), B.size())), B.rbegin());
  return {Diff.first.base(), A.end()};
}

// A branch's literals need not be the other's: only a shared prefix or suffix survives.
TNodeFacts UnionFacts(const TNodeFacts& L, const TNodeFacts& R) {
  if (L.Exact && R.Exact && L.Seq == R.Seq) return L;
  const auto First = [](const TNodeFacts& F) { return F.Head && !F.Seq.empty() ? F.Seq.front() : std::string(); };
  const auto Last = [](const TNodeFacts& F) { return F.Tail && !F.Seq.empty() ? F.Seq.back() : std::string(); };
  const std::string Pre = CommonPrefix(First(L), First(R));
  const std::string Suf = CommonSuffix(Last(L), Last(R));
  TNodeFacts F;
  if (Pre.empty() && Suf.empty()) return F;
  if (Pre.size() >= Suf.size()) {
    F.Head = true;
    F.Seq.push_back(Pre);
  } else {
    F.Tail = true;
    F.Seq.push_back(Suf);
  }
  return F;
}

// Line markers, ranges, closures and the empty set claim nothing, which is always sound.
TNodeFacts LeafFacts(const TRENode* N) {
  if (N->Kind == reop_CharRange && N->Lo == N->Hi) return ExactFacts(CodeBytes(N->Lo));
  if (N->Kind == reop_Empty) return ExactFacts(std::string());
  return {};
}

// Post-order without recursion, since concatenations nest as deep as the expression is long; nodes
// shared by a repetition are computed once.
TNodeFacts TreeFacts(const TRENode* Root) {
  std::unordered_map<const TRENode*, TNodeFacts> Done;
  std::vector<const TRENode*> Stack{Root};
  while (!Stack.empty()) {
    const TRENode* N = Stack.back();
    if (Done.count(N) != 0) {
      Stack.pop_back();
      continue;
    }
    const bool Binary = N->Kind == reop_Concat || N->Kind == reop_Union;
    if (!Binary) {
      Done.emplace(N, LeafFacts(N));
      Stack.pop_back();
      continue;
    }
    const auto L = Done.find(N->Left);
    const auto R = Done.find(N->Right);
    if (L == Done.end() || R == Done.end()) {
      if (L == Done.end()) Stack.push_back(N->Left);
      if (R == Done.end()) Stack.push_back(N->Right);
      continue;
    }
    Done.emplace(N, N->Kind == reop_Concat ? ConcatFacts(L->second, R->second) : UnionFacts(L->second, R->second));
    Stack.pop_back();
  }
  return Done[Root];
}

}  // namespace

TRERequiredLiterals::TRERequiredLiterals(const TREParseTree& Tree) {
  if (Tree.Root() == nullptr) return;
  TNodeFacts F = TreeFacts(Tree.Root());
  FLiterals = std::move(F.Seq);
  FHead = F.Head && !FLiterals.empty();
}

const char* TRERequiredLiterals::FirstLiteral(const char* Text, const char* End) const {
  const char* First = Text;
  for (const std::string& S : FLiterals) {
    const char* Hit = FindBytes(Text, static_cast<size_t>(End - Text), S);
    if (Hit == nullptr) return nullptr;
    if (&S == &FLiterals.front()) First = Hit;
    Text = Hit + S.size();
  }
  return First;
}

const char* TRERequiredLiterals::FirstStart(const char* Text, const char* End) const {
  const char* First = FirstLiteral(Text, End);
  return First == nullptr || FHead ? First : Text;
}

}  // namespace tesvarin
