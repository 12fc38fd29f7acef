// The compiled-expression cache and leftmost-longest matching over code page 932 text.
#include "regexp/REMatchStr.h"

#include <algorithm>
#include <cstring>

#include "regexp/FuzzyCharDic.h"
#include "support/Sjis.h"

namespace tesvarin {

TRegularExpression::TRegularExpression() {
  FCache.push_back({std::string(), nullptr, {}});
  Compile(std::string());
}

void TRegularExpression::Compile(const std::string& S) {
  try {
    TREParser Parser(S);
    Parser.Parse();
    TRE_NFA NFA(Parser, LineHeadCode(), LineTailCode());
    NFA.Build();
    auto DFA = std::make_unique<TRE_DFA>(NFA);
    DFA->Build();
    TCacheEntry& Entry = FCache[static_cast<size_t>(FCurrentIndex)];
    Entry.DFA = std::move(DFA);
    Entry.Literals = TRERequiredLiterals(Parser.Tree());
  } catch (...) {
    if (FCurrentIndex != 0) FCache.erase(FCache.begin() + FCurrentIndex);
    FCurrentIndex = 0;
    throw;
  }
}

void TRegularExpression::SetRegExp(const std::string& S) {
  FPreprocessor.SetSource(S);
  FPreprocessor.Run();
  const std::string P = FPreprocessor.Output();
  try {
    int Found = -1;
    for (size_t I = 0; I < FCache.size(); ++I)
      if (FCache[I].Expr == P) {
        Found = static_cast<int>(I);
        break;
      }
    if (Found >= 0) {
      FCurrentIndex = Found;
    } else {
      if (static_cast<int>(FCache.size()) >= CacheSize) FCache.pop_back();
      FCache.insert(FCache.begin() + 1, {P, nullptr, {}});
      FCurrentIndex = 1;
      Compile(P);
    }
    FRegExp = S;
  } catch (...) {
    FCurrentIndex = 0;
    FRegExp.clear();
    throw;
  }
}

namespace {
// The code at P and its length; a lead byte as the last byte is a character of its own. A NUL ends
// the text wherever it is, so lines are not scanned for one before matching.
inline uint16_t FetchCode(const char* P, const char* End, int& Size) {
  if (P >= End || *P == '\0') {
    Size = 0;
    return 0;
  }
  const auto B = static_cast<unsigned char>(*P);
  if (IsLeadByte(B) && P + 1 < End && P[1] != '\0') {
    Size = 2;
    return static_cast<uint16_t>(B << 8 | static_cast<unsigned char>(P[1]));
  }
  Size = 1;
  return B;
}
inline const char* NextChar(const char* P, const char* End) {
  return P + ((IsLeadByte(*P) && P + 1 < End && P[1] != '\0') ? 2 : 1);
}
inline const char* TextEnd(const char* Text, const char* End) {
  const auto* Nul = static_cast<const char*>(std::memchr(Text, 0, static_cast<size_t>(End - Text)));
  return Nul != nullptr ? Nul : End;
}
}  // namespace

void TFailedWalks::Reset(const char* Base, int Flushes) {
  FBase = Base;
  FFlushes = Flushes;
  if (FSlots.empty()) FSlots.resize(SlotCount);
  if (++FGen == 0) {
    std::fill(FSlots.begin(), FSlots.end(), TSlot{});
    FGen = 1;
  }
}

// A line end is checked at every separator the walk reaches, not only where it stops, so a $ after
// an optional separator still matches before the separator.
const char* TMatchCORE::LongestFrom(const char* P, const char* End, int32_t State, TFailedWalks* Failed) {
  if (State < 0) return nullptr;
  TRE_DFA& D = DFA();
  const char* Result = nullptr;
  const char* Cur = P;
  const char* const Least = FEmptyMatches ? P : P + 1;  // the nearest end a match may have
  // Short walks are cheaper than their marks; a long one meets the marks of the walk before it a
  // little later than it could.
  constexpr int MarkAfter = 32;
  int Steps = 0;
  for (;;) {
    if (Failed != nullptr && ++Steps > MarkAfter) {
      Failed->Check(D.FlushCount());
      if (Failed->Failed(Cur, State)) break;
      // Only a walk that has matched nothing so far can mark: the search ends at its first match.
      if (Result == nullptr) Failed->Mark(Cur, State);
    }
    if (D.Accepting(State) && Cur >= Least) Result = Cur;
    int Size = 0;
    const uint16_t Code = FetchCode(Cur, End, Size);
    if ((Code == 0 || IsLineSeparator(Code)) && D.TailAccepting(State) && Cur >= Least) Result = Cur;
    if (Size == 0) break;
    const int32_t Next = D.Step(State, D.ClassOf(Code));
    if (Next < 0) break;
    State = Next;
    Cur += Size;
  }
  return Result;
}

// The next character start from P on whose code can start a match (or that is an LF, with Lf), or
// the first NUL, which then becomes End: bytes are skipped in a tight loop, and a candidate is a
// character start when the run of lead-byte values before it, back to Known (a character start),
// has even length. Known only moves forward, so the walk stays linear.
const char* TMatchCORE::NextStart(const char* P, const char*& End, const char*& Known, bool Lf) {
  TRE_DFA& D = DFA();
  // The test of the byte (and the next one) rejects most bytes; the whole code, read as if P were a
  // character start, rejects most of the rest before the costlier check that P is one.
  const auto Candidate = [&D, End, Lf](const char* Q) {
    const auto B = static_cast<unsigned char>(*Q);
    if (!Lf && Q + 1 < End) {
      if (!D.CanStartWithPair(B, static_cast<unsigned char>(Q[1]))) return false;
    } else if (!D.StopsScan(B, Lf)) {
      return false;
    }
    if (B == 0 || (Lf && B == '\n')) return true;
    int Size = 0;
    return D.CanStartWithCode(FetchCode(Q, End, Size));
  };
  for (;; ++P) {
    while ((P = D.NextScanStop(P, End, Lf)) < End && !Candidate(P)) ++P;
    if (P >= End) return End;
    if (*P == '\0') return End = P;  // never a trail byte, so the text ends here
    const char* Q = P;
    while (Q > Known && IsLeadByte(Q[-1])) --Q;
    const bool AtStart = (P - Q) % 2 == 0;
    Known = AtStart ? P : P + 1;
    if (AtStart) return P;
  }
}

// The automaton starts only where an alternative begins on a character start, whatever the text
// between holds; the text still ends at its first NUL, looked for only up to each candidate.
bool TMatchCORE::AlternativesMatch(const char* Text, const char* End, const char*& Start, const char*& Stop) {
  const TRERequiredLiterals& Required = RequiredLiterals();
  TRERequiredLiterals::TCursor Cursor{};
  const int32_t Init = DFA().InitialState();
  const char* Known = Text;  // a character start
  const char* Clean = Text;  // no NUL before it
  FFailedWalks.Reset(Text, DFA().FlushCount());
  for (const char* P = Required.NextAlternative(Text, End, Cursor); P != nullptr;
       P = Required.NextAlternative(P + 1, End, Cursor)) {
    if (std::memchr(Clean, 0, static_cast<size_t>(P - Clean)) != nullptr) return false;
    Clean = P;
    const char* Q = P;
    while (Q > Known && IsLeadByte(Q[-1])) --Q;
    const bool AtStart = (P - Q) % 2 == 0;
    Known = AtStart ? P : P + 1;
    if (!AtStart) continue;
    if (const char* E = LongestFrom(P, End, Init, &FFailedWalks)) {
      Start = P;
      Stop = E;
      return true;
    }
  }
  return false;
}

bool TMatchCORE::SimpleMatch(const char* Text, const char* End, const char*& Start, const char*& Stop) {
  // Where the literals pin a match down as well, the start filter of the automaton does better.
  const TRERequiredLiterals& Required = RequiredLiterals();
  if (Required.SearchesAlternatives() && Required.AlternativesStart()) return AlternativesMatch(Text, End, Start, Stop);
  const char* First = RequiredLiterals().FirstStart(Text, End);
  if (First == nullptr) return false;
  const int32_t Init = DFA().InitialState();
  if (Text == End || *Text == '\0') {
    if (!FEmptyMatches || !DFA().Accepting(Init)) return false;
    Start = Stop = Text;
    return true;
  }
  // A match of a character or more starts with a code the automaton can step on.
  const bool Filter = !FEmptyMatches || !DFA().Accepting(Init);
  // The literal every match starts with was looked for past any NUL.
  if (First != Text && TextEnd(Text, First) != First) return false;
  const char* Known = Text;
  FFailedWalks.Reset(Text, DFA().FlushCount());
  // Known stays at Text, so the first candidate's character start is checked back from there.
  for (const char* P = Filter ? First : Text; P < End; P = NextChar(P, End)) {
    if (Filter && (P = NextStart(P, End, Known, false)) >= End) break;
    if (*P == '\0') break;
    if (const char* E = LongestFrom(P, End, Init, &FFailedWalks)) {
      Start = P;
      Stop = E;
      return true;
    }
  }
  return false;
}

const char* TMatchCORE::HeadMatch(const char* P, const char* End, int32_t State) {
  if (!DFA().HasLineHead()) return LongestFrom(P, End, State);
  TRE_DFA& D = DFA();
  const char* E1 = LongestFrom(P, End, D.Step(State, D.ClassOf(D.LineHeadCode())));
  if (E1 == nullptr) return nullptr;
  const char* E2 = LongestFrom(P, End, D.InitialState());
  return (E2 != nullptr && E2 >= E1) ? E2 : E1;
}

bool TMatchCORE::ScanMatch(const char* Text, const char* End, const char*& Start, const char*& Stop) {
  TRE_DFA& D = DFA();
  // Only the first byte's transitions, acceptance or a line end can make a match at P.
  const bool Filter = !FEmptyMatches || (!D.Accepting(D.InitialState()) && !D.TailAccepting(D.InitialState()));
  const char* Known = Text;
  for (const char* P = Text; P < End; P = NextChar(P, End)) {
    if (Filter && (P = NextStart(P, End, Known, D.HasLineHead())) >= End) break;
    if (*P == '\0') {
      End = P;
      break;
    }
    if (!Filter || D.CanStartWith(static_cast<unsigned char>(*P)))
      if (const char* E = LongestFrom(P, End, D.InitialState())) {
        Start = P;
        Stop = E;
        return true;
      }
    if (*P == '\n' && D.HasLineHead()) {
      if (const char* E = HeadMatch(P + 1, End, D.InitialState())) {
        Start = P + 1;
        Stop = E;
        return true;
      }
    }
  }
  // The walk above never tries the end itself without a line start; an expression that matches
  // the empty string must still match an empty text when its ^ branch fails there.
  if (FEmptyMatches && ((D.HasLineTail() && D.TailAccepting(D.InitialState())) || D.Accepting(D.InitialState()))) {
    Start = Stop = End;
    return true;
  }
  return false;
}

bool TMatchCORE::AnchoredMatch(const char* Text, const char* End, const char*& Start, const char*& Stop) {
  if (RequiredLiterals().FirstStart(Text, End) == nullptr) return false;
  if (const char* E = HeadMatch(Text, End, DFA().InitialState())) {
    Start = Text;
    Stop = E;
    return true;
  }
  return ScanMatch(Text, End, Start, Stop);
}

TREMatchStr::TREMatchStr() { FPreprocessor.FuzzyCharDicList().push_back(&FuzzyCharDic()); }

void TREMatchStr::SetRegExp(const std::string& S) {
  if (FLastValid && S == FLastSet && FLastFuzzy == UseFuzzyCharDic() && FLastSynonym == UseSynonymDic()) return;
  FLastValid = false;
  TMatchCORE::SetRegExp(S);
  FAnchored = DFA().HasLineHead() || DFA().HasLineTail();
  FLastSet = S;
  FLastFuzzy = UseFuzzyCharDic();
  FLastSynonym = UseSynonymDic();
  FLastValid = true;
}

void TREMatchStr::SetUseFuzzyCharDic(bool Value) {
  FPreprocessor.SetUseFuzzyCharDic(Value);
  SetRegExp(FRegExp);
}

void TREMatchStr::SetUseSynonymDic(bool Value) {
  FPreprocessor.SetUseSynonymDic(Value);
  SetRegExp(FRegExp);
}

int TREMatchStr::Match(std::string_view S, int& Pos, int& Len) {
  const char* Text = S.data();
  const char* End = Text + S.size();
  const char* Start = nullptr;
  const char* Stop = nullptr;
  const bool Hit = FAnchored ? AnchoredMatch(Text, End, Start, Stop) : SimpleMatch(Text, End, Start, Stop);
  Pos = Hit ? static_cast<int>(Start - Text) + 1 : 0;
  Len = Hit ? static_cast<int>(Stop - Start) : 0;
  return Pos;
}

}  // namespace tesvarin
