// Each node gets the byte strings its every match contains in order, and whether the first is a
// prefix and the last a suffix of the match, so a concatenation can join them across its halves.
#include "regexp/RERequiredLiterals.h"

#include <algorithm>
#include <cstring>
#include <unordered_map>

#include "support/ByteSearch.h"

namespace tesvarin {

namespace {

using TStrings = std::vector<std::string>;

struct TNodeFacts {
  bool Exact = false;  // every match is exactly Seq's one string (or empty when Seq is empty)
  bool Head = false;   // Seq.front() starts every match
  bool Tail = false;   // Seq.back() ends every match
  TStrings Seq;
  bool Finite = false;  // the matches are exactly the strings of Lang
  TStrings Lang;
  TStrings Alts;  // every match holds one of them (none: nothing known)
  bool AltsHead = false;  // ... at its start
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

TNodeFacts ConcatSequence(const TNodeFacts& L, const TNodeFacts& R) {
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
TNodeFacts UnionSequence(const TNodeFacts& L, const TNodeFacts& R) {
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

// A string that begins with another of the set adds nothing: wherever it stands, so does the other.
TStrings WithoutLongerPrefixed(const TStrings& S) {
  TStrings Out;
  for (const std::string& X : S) {
    const bool Longer = std::any_of(S.begin(), S.end(), [&X](const std::string& Y) {
      return Y.size() < X.size() && X.compare(0, Y.size(), Y) == 0;
    });
    if (!Longer) Out.push_back(X);
  }
  return Out;
}

void SetFinite(TNodeFacts& F, TStrings Lang) {
  F.Finite = true;
  F.Lang = std::move(Lang);
  if (std::find(F.Lang.begin(), F.Lang.end(), std::string()) != F.Lang.end()) return;
  F.Alts = WithoutLongerPrefixed(F.Lang);
  F.AltsHead = true;
}

// Every string of A followed by every string of B; false when that makes too many or too long ones.
bool Product(const TStrings& A, const TStrings& B, TStrings& Out) {
  if (A.size() * B.size() > TRERequiredLiterals::MaxAlternatives) return false;
  Out.clear();
  for (const std::string& X : A)
    for (const std::string& Y : B) {
      if (X.size() + Y.size() > TRERequiredLiterals::MaxLiteral) return false;
      if (std::find(Out.begin(), Out.end(), X + Y) == Out.end()) Out.push_back(X + Y);
    }
  return true;
}

bool Merge(const TStrings& A, const TStrings& B, TStrings& Out) {
  Out = A;
  for (const std::string& Y : B)
    if (std::find(Out.begin(), Out.end(), Y) == Out.end()) Out.push_back(Y);
  return Out.size() <= TRERequiredLiterals::MaxAlternatives;
}

size_t Shortest(const TStrings& S) {
  size_t N = S.empty() ? 0 : S.front().size();
  for (const std::string& X : S) N = std::min(N, X.size());
  return N;
}

// Longer shortest strings reject more text; a set that starts the match lets the automaton start
// only there.
void OfferAlts(TNodeFacts& F, const TStrings& Alts, bool Head) {
  if (Alts.empty()) return;
  const size_t Mine = Shortest(F.Alts), Theirs = Shortest(Alts);
  if (!F.Alts.empty() && (Mine > Theirs || (Mine == Theirs && (F.AltsHead || !Head)))) return;
  F.Alts = WithoutLongerPrefixed(Alts);
  F.AltsHead = Head;
}

TNodeFacts ConcatFacts(const TNodeFacts& L, const TNodeFacts& R) {
  TNodeFacts F = ConcatSequence(L, R);
  TStrings Both;
  if (L.Finite && R.Finite && Product(L.Lang, R.Lang, Both)) SetFinite(F, std::move(Both));
  // A finite left part without the empty string runs into whatever starts the right part.
  const bool LeftSolid = L.Finite && std::find(L.Lang.begin(), L.Lang.end(), std::string()) == L.Lang.end();
  if (LeftSolid && R.AltsHead && Product(L.Lang, R.Alts, Both)) OfferAlts(F, Both, true);
  OfferAlts(F, L.Alts, L.AltsHead);
  OfferAlts(F, R.Alts, false);
  return F;
}

TNodeFacts UnionFacts(const TNodeFacts& L, const TNodeFacts& R) {
  TNodeFacts F = UnionSequence(L, R);
  TStrings Both;
  if (L.Finite && R.Finite && Merge(L.Lang, R.Lang, Both)) SetFinite(F, std::move(Both));
  else if (!L.Alts.empty() && !R.Alts.empty() && Merge(L.Alts, R.Alts, Both)) OfferAlts(F, Both, L.AltsHead && R.AltsHead);
  return F;
}

// Line markers, wide ranges, closures and the empty set claim nothing, which is always sound.
TNodeFacts LeafFacts(const TRENode* N) {
  TNodeFacts F;
  if (N->Kind == reop_CharRange && N->Lo == N->Hi) F = ExactFacts(CodeBytes(N->Lo));
  if (N->Kind == reop_Empty) F = ExactFacts(std::string());
  if (N->Kind == reop_CharRange && static_cast<size_t>(N->Hi - N->Lo) < TRERequiredLiterals::MaxAlternatives) {
    TStrings Codes;
    for (unsigned C = N->Lo; C <= N->Hi; ++C) Codes.push_back(CodeBytes(static_cast<uint16_t>(C)));
    SetFinite(F, std::move(Codes));
  }
  if (N->Kind == reop_Empty) SetFinite(F, {std::string()});
  return F;
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
  for (const std::string& S : FLiterals) FFinders.emplace_back(S);
  FHead = F.Head && !FLiterals.empty();
  FAlternatives = std::move(F.Alts);
  FAltHead = F.AltsHead && !FAlternatives.empty();
  for (const std::string& S : FAlternatives) {
    FAltFinders.emplace_back(S);
    FLongestAlt = std::max(FLongestAlt, S.size());
  }
  const size_t AltLength = Shortest(FAlternatives);
  FUseAlternatives = !FAlternatives.empty() &&
                     (FLiterals.empty() || (FAltHead && (!FHead || AltLength > FLiterals.front().size())));
}

// Each alternative is searched a window at a time, so a text without any is read from memory once
// however many there are; a hit in a window's overlap with the next one waits for that window.
// Windows start small and double, so a near hit costs no search of a whole window for the others.
const char* TRERequiredLiterals::FirstAlternative(const char* Text, const char* End) const {
  if (FAltFinders.size() == 1) return FAltFinders.front().Find(Text, static_cast<size_t>(End - Text));
  constexpr size_t FirstWindow = 256, MaxWindow = size_t{1} << 16;
  size_t Window = FirstWindow;
  for (const char* W = Text; W < End; W += std::min(Window, static_cast<size_t>(End - W)), Window = std::min(Window * 2, MaxWindow)) {
    const size_t Left = static_cast<size_t>(End - W);
    const size_t Span = Left > Window + FLongestAlt ? Window + FLongestAlt - 1 : Left;
    const char* Best = nullptr;
    for (const TByteFinder& F : FAltFinders) {
      // Past a hit found already only what starts before it counts.
      const size_t Limit = Best == nullptr ? Span : std::min(Span, static_cast<size_t>(Best - W) + F.Needle().size() - 1);
      const char* Hit = F.Find(W, Limit);
      if (Hit != nullptr && (Best == nullptr || Hit < Best) && (Hit - W < static_cast<std::ptrdiff_t>(Window) || Span == Left))
        Best = Hit;
    }
    if (Best != nullptr) return Best;
  }
  return nullptr;
}

const char* TRERequiredLiterals::NextAlternative(const char* From, const char* End, TCursor& Cursor) const {
  const char* Best = nullptr;
  for (size_t I = 0; I < FAltFinders.size(); ++I) {
    const char*& Next = Cursor[I];
    if (Next == nullptr || (Next != End && Next < From)) {
      const char* Hit = From < End ? FAltFinders[I].Find(From, static_cast<size_t>(End - From)) : nullptr;
      Next = Hit == nullptr ? End : Hit;  // End: none left
    }
    if (Next != End && (Best == nullptr || Next < Best)) Best = Next;
  }
  return Best;
}

const char* TRERequiredLiterals::FirstLiteral(const char* Text, const char* End) const {
  if (FUseAlternatives) return FirstAlternative(Text, End);
  const char* First = Text;
  for (const TByteFinder& F : FFinders) {
    const char* Hit = F.Find(Text, static_cast<size_t>(End - Text));
    if (Hit == nullptr) return nullptr;
    if (&F == &FFinders.front()) First = Hit;
    Text = Hit + F.Needle().size();
  }
  return First;
}

const char* TRERequiredLiterals::FirstStart(const char* Text, const char* End) const {
  const char* First = FirstLiteral(Text, End);
  return First == nullptr || StartsMatch() ? First : Text;
}

}  // namespace tesvarin
