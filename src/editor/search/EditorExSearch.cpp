// Plain searching is a byte search on a character boundary; regular expressions and fuzzy
// matching go to the matcher. Every loop over successive hits steps at least one character past an
// empty hit, and a NUL splits the searched text into parts searched one after the other.
#include "editor/search/EditorExSearch.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "editor/search/EditorLineScan.h"
#include "highlighter/RowState.h"
#include "editor/chars/SjisText.h"
#include "support/ByteSearch.h"
#include "support/Sjis.h"

namespace tesvarin {

namespace {

// Tab, LF, CR, space, the ASCII punctuation other than "-", and the half-width punctuation.
constexpr char SingleDelims[] = "\x09\x0A\x0D !\"#$%&'()=~^\\|{}[]`@;+:*,<.>/?_\xA4\xA1\xA5";

// From the full-width space, 、 and 。 through ▽.
constexpr char DoubleDelims[] =
      "\x81\x40\x81\x41\x81\x42\x81\x43\x81\x44\x81\x45\x81\x46\x81\x47\x81\x48\x81\x49\x81\x4A\x81\x4B"
      "\x81\x4C\x81\x4D\x81\x4E\x81\x4F\x81\x50\x81\x51\x81\x5A\x81\x5B\x81\x5C\x81\x5D\x81\x5E\x81\x5F"
      "\x81\x60\x81\x61\x81\x62\x81\x63\x81\x64\x81\x65\x81\x66\x81\x67\x81\x68\x81\x69\x81\x6A\x81\x6B"
      "\x81\x6C\x81\x6D\x81\x6E\x81\x6F\x81\x70\x81\x71\x81\x72\x81\x73\x81\x74\x81\x75\x81\x76\x81\x77"
      "\x81\x78\x81\x79\x81\x7A\x81\x7B\x81\x7C\x81\x7D\x81\x7E\x81\x80\x81\x81\x81\x82\x81\x83\x81\x84"
      "\x81\x85\x81\x86\x81\x87\x81\x88\x81\x89\x81\x8A\x81\x8B\x81\x8C\x81\x8D\x81\x8E\x81\x8F\x81\x90"
      "\x81\x91\x81\x92\x81\x93\x81\x94\x81\x95\x81\x96\x81\x97\x81\x98\x81\x99\x81\x9A\x81\x9B\x81\x9C"
      "\x81\x9D\x81\x9E\x81\x9F\x81\xA0\x81\xA1\x81\xA2\x81\xA3\x81\xA4";

const TByteSet& SingleDelimSet() {
  static const TByteSet Set = [] {
    TByteSet S;
    for (char C : SingleByteDelimiters()) S.Include(static_cast<unsigned char>(C));
    return S;
  }();
  return Set;
}

// The double-byte delimiters all lie below 0x824F, where every code is of kind '0' anyway.
char DoubleByteKind(unsigned Code) {
  if (Code >= 0x824F && Code <= 0x829A) return '3';
  if (Code >= 0x8340 && Code <= 0x8396) return '4';
  if (Code >= 0x829F && Code <= 0x82F1) return '5';
  if (Code >= 0x889F) return '6';
  return '0';
}

char SingleByteKind(unsigned char B) {
  if (B == 0 || SingleDelimSet().Contains(B)) return '0';
  if (B < 0x80) return '1';
  if (B >= 0xA1 && B <= 0xDF) return '2';
  return '0';  // 0x80, 0xA0, 0xFD-0xFF
}

// Index of the first NUL in S from From on; S.size() when none.
size_t NulFrom(std::string_view S, size_t From) {
  if (From >= S.size()) return S.size();  // an empty row's view may have no data pointer
  const void* Nul = std::memchr(S.data() + From, 0, S.size() - From);
  return Nul == nullptr ? S.size() : static_cast<size_t>(static_cast<const char*>(Nul) - S.data());
}

bool HasAsciiLetter(std::string_view S) {
  for (size_t I = 0; I < S.size(); I += CharLength(S, I))
    if (AsciiLower(S[I]) != S[I] || (S[I] >= 'a' && S[I] <= 'z')) return true;
  return false;
}

}  // namespace

std::string_view SingleByteDelimiters() { return {SingleDelims, sizeof SingleDelims - 1}; }
std::string_view DoubleByteDelimiters() { return {DoubleDelims, sizeof DoubleDelims - 1}; }

char CharKind(std::string_view S, int I) {
  if (I < 1 || I > static_cast<int>(S.size())) return '0';
  int Index = I - 1;
  // Only the lead bytes right before the index are read, not the line from its start.
  if (!IsCharStartFrom(S, 0, static_cast<size_t>(Index))) --Index;
  const auto B = static_cast<unsigned char>(S[static_cast<size_t>(Index)]);
  // A lead byte at the very end still starts a double-byte character, its trail read as 0.
  if (IsLeadByte(B)) return DoubleByteKind(static_cast<unsigned>(B) << 8 | CharAt(S, Index + 1));
  return SingleByteKind(B);
}

bool IsWholeWord(std::string_view S, int P, int L) {
  if (P < 1 || P > static_cast<int>(S.size())) return false;
  return CharKind(S, P) != CharKind(S, P - 1) && CharKind(S, P + L - 1) != CharKind(S, P + L);
}

TExSearchOptions ReduceExSearchOptions(TExSearchOptions Value) {
  TExSearchOptions Result;
  if (Value.Contains(soMatchCase)) Result.Include(soMatchCase);
  else if (Value.Contains(soRegexp)) {
    Result.Include(soRegexp);
    if (Value.Contains(soFuzzy)) Result.Include(soFuzzy);
  }
  if (Value.Contains(soWholeWord)) Result.Include(soWholeWord);
  return Result;
}

namespace {
bool IsCrLfEscapeAt(std::string_view S, size_t I) {
  return I + 4 <= S.size() && S[I] == '\\' && AsciiLower(S[I + 1]) == 'r' && S[I + 2] == '\\' &&
         AsciiLower(S[I + 3]) == 'n';
}
}  // namespace

size_t FindCrLfEscape(std::string_view S) {
  for (size_t I = 0; I < S.size(); I += CharLength(S, I))
    if (IsCrLfEscapeAt(S, I)) return I;
  return std::string_view::npos;
}

std::string ExpandCrLfEscape(std::string_view S) {
  std::string Out;
  Out.reserve(S.size());
  size_t I = 0;
  while (I < S.size()) {
    if (IsCrLfEscapeAt(S, I)) {
      Out += "\r\n";
      I += 4;
      continue;
    }
    const size_t N = CharLength(S, I);
    Out.append(S.substr(I, N));
    I += N;
  }
  return Out;
}

void TEditorExSearch::SetFindString(const std::string& Value) {
  if (Value == FFindString) return;
  FFindString = Value;
  FLowerFind = Value;
  AsciiLowerSjis(FLowerFind);
  FFinder = TByteFinder(FFindString);
  FFoldFinder = TByteFinder(FFindString, true);
  FTrailLetters.clear();
  for (size_t I = 0; I < Value.size(); I += CharLength(Value, I))
    if (CharLength(Value, I) == 2 && AsciiLower(Value[I + 1]) >= 'a' && AsciiLower(Value[I + 1]) <= 'z')
      FTrailLetters.push_back(I + 1);
  FFindHasLetter = HasAsciiLetter(Value);
  Changed();
}

void TEditorExSearch::SetExSearchOptions(TExSearchOptions Value) {
  if (Value == FOptions) return;
  const TExSearchOptions Reduced = ReduceExSearchOptions(Value);
  if (Reduced == FOptions) return;
  FOptions = Reduced;
  Changed();
}

void TEditorExSearch::Changed() {
  if (OnChange) OnChange();
}

size_t TEditorExSearch::NextSearchStart(std::string_view S, size_t Pos, size_t Len) {
  if (Len > 0) return Pos + Len;
  return Pos < S.size() ? Pos + CharLength(S, Pos) : S.size() + 1;
}

// Lower-casing keeps trail bytes and the folded comparison found the rest equal; as P starts a
// character, the find string's characters lie over the text's.
bool TEditorExSearch::FoldedHitAt(std::string_view S, size_t P) const {
  for (const size_t K : FTrailLetters)
    if (S[P + K] != FFindString[K]) return false;
  return true;
}

// The first candidate in S from From on that begins and ends on character boundaries. Each
// candidate's test starts from the character start last known, so a line costs its length once.
// Without case the text is searched as it is, its letters folded by the comparison.
int TEditorExSearch::PlainOccurrence(std::string_view S, size_t From) {
  const bool Fold = Folds();
  const TByteFinder& Finder = Fold ? FFoldFinder : FFinder;
  const size_t M = FFindString.size();
  size_t Known = 0;
  for (size_t At = From;;) {
    const size_t P = Finder.Find(S, At);
    if (P == std::string_view::npos) return -1;
    const bool Starts = IsCharStartFrom(S, Known, P);
    if (Starts && IsCharStartFrom(S, P, P + M) && (!Fold || FoldedHitAt(S, P))) return static_cast<int>(P);
    Known = Starts ? P : P - 1;  // a byte that starts no character is the second of one
    At = P + 1;
  }
}

int TEditorExSearch::Occurrence(std::string_view S, size_t From, int& Len) {
  Len = 0;
  if (From > S.size()) return -1;
  if (!FOptions.Contains(soRegexp)) {
    const int P = PlainOccurrence(S, From);
    if (P >= 0) Len = static_cast<int>(FFindString.size());
    return P;
  }
  int Pos = 0;
  if (PreparedMatcher().Match(S.substr(From), Pos, Len) == 0) return -1;
  return static_cast<int>(From) + Pos - 1;
}

// An empty match is no hit: a search that stopped there would find nothing, and a replace would
// insert at every place.
TREMatchStr& TEditorExSearch::PreparedMatcher() {
  FMatcher.SetEmptyMatches(false);
  FMatcher.Preprocessor().SetUseFuzzyCharDic(FOptions.Contains(soFuzzy));
  FMatcher.SetRegExp(FFindString);
  return FMatcher;
}

bool TEditorExSearch::RulesOutText() {
  if (FFindString.empty()) return false;
  return !FOptions.Contains(soRegexp) || !PreparedMatcher().RequiredLiterals().Searched().empty();
}

// A plain hit lies where the text holds the find string byte for byte (without case when letters
// fold: lowering ASCII letters also in trail bytes keeps every real hit). Every match of an
// expression holds its required literals in order, so its line holds the first one's first
// occurrence or a later one.
size_t TEditorExSearch::FirstCandidate(std::string_view Hay, size_t From) {
  if (FFindString.empty() || From > Hay.size()) return From;
  if (FOptions.Contains(soRegexp)) {
    const TRERequiredLiterals& Required = PreparedMatcher().RequiredLiterals();
    if (Required.Searched().empty()) return From;
    const char* Head = Required.FirstLiteral(Hay.data() + From, Hay.data() + Hay.size());
    return Head == nullptr ? std::string_view::npos : static_cast<size_t>(Head - Hay.data());
  }
  return Folds() ? FFoldFinder.Find(Hay, From) : FFinder.Find(Hay, From);
}

int TEditorExSearch::StrSearch(std::string_view S, int& Len) {
  size_t Nul = NulFrom(S, 0);
  return StrSearchKnowingNul(S, Nul, Len);
}

int TEditorExSearch::StrSearchKnowingNul(std::string_view S, size_t& Nul, int& Len) {
  Len = 0;
  if (FFindString.empty()) return 0;
  for (size_t Start = 0;;) {
    const int P = FirstInPart(S.substr(Start, Nul - Start), Len);
    if (P > 0) return static_cast<int>(Start) + P;
    Start = Nul + 1;
    if (Start > S.size()) return 0;
    Nul = NulFrom(S, Start);
  }
}

int TEditorExSearch::FirstInPart(std::string_view S, int& Len) {
  int HitLen = 0;
  int P = Occurrence(S, 0, HitLen);
  if (FOptions.Contains(soWholeWord)) {
    while (P >= 0 && !IsWholeWord(S, P + 1, HitLen))
      P = Occurrence(S, NextSearchStart(S, static_cast<size_t>(P), static_cast<size_t>(HitLen)), HitLen);
  }
  if (P < 0 || HitLen > MaxHitLength) return 0;
  Len = HitLen;
  return P + 1;
}

int TEditorExSearch::StrSearchLast(std::string_view S, int& Len) {
  Len = 0;
  if (FFindString.empty()) return 0;
  for (;;) {
    const size_t Nul = S.rfind('\0');
    const size_t Start = Nul == std::string_view::npos ? 0 : Nul + 1;
    const int P = LastInPart(S.substr(Start), Len);
    if (P > 0) return static_cast<int>(Start) + P;
    if (Nul == std::string_view::npos) return 0;
    S = S.substr(0, Nul);
  }
}

int TEditorExSearch::LastInPart(std::string_view S, int& Len) {
  const std::string_view Whole = S;
  for (;;) {
    int CandLen = 0, HitLen = 0;
    int Cand = -1;
    for (int P = Occurrence(S, 0, HitLen); P >= 0;
         P = Occurrence(S, NextSearchStart(S, static_cast<size_t>(P), static_cast<size_t>(HitLen)), HitLen)) {
      Cand = P;
      CandLen = HitLen;
    }
    if (Cand < 0) return 0;
    // The edges are judged in the whole string, so a cut never makes a word edge.
    if (!FOptions.Contains(soWholeWord) || IsWholeWord(Whole, Cand + 1, CandLen)) {
      if (CandLen > MaxHitLength) return 0;
      Len = CandLen;
      return Cand + 1;
    }
    if (Cand == 0) return 0;
    S = S.substr(0, static_cast<size_t>(Cand));
  }
}

bool TEditorExSearch::IsWholeTextMode() const {
  if (!FOptions.Contains(soRegexp)) return false;
  return FindCrLfEscape(FLowerFind) != std::string_view::npos;
}

template <class F>
int TEditorExSearch::ForEachReplaceHit(std::string_view T, F&& Hit) {
  int Count = 0;
  int Len = 0;
  size_t Done = 0;  // T starts at this place of the whole string
  size_t Nul = NulFrom(T, 0);
  for (int P = StrSearchKnowingNul(T, Nul, Len); P > 0; P = StrSearchKnowingNul(T, Nul, Len)) {
    const auto Pos = static_cast<size_t>(P - 1);
    if (Len > 0) {
      ++Count;
      Hit(Done + Pos, static_cast<size_t>(Len));
    }
    const size_t Next = std::min(NextSearchStart(T, Pos, static_cast<size_t>(Len)), T.size());
    T.remove_prefix(Next);
    Done += Next;
    Nul = Next <= Nul ? Nul - Next : NulFrom(T, 0);
    if (T.empty()) break;
  }
  return Count;
}

template <class TString>
int TEditorExSearch::ReplaceInString(std::string_view T, std::string_view R, TString& Out, TReplaceSpots* Spots,
                                     uint64_t Base) {
  Out.clear();
  size_t At = 0;
  const int Count = ForEachReplaceHit(T, [&](size_t Pos, size_t Len) {
    Out.append(T.substr(At, Pos - At));
    if (Spots) Spots->push_back({Base + Pos, Len, std::string(R)});
    Out.append(R);
    At = Pos + Len;
  });
  Out.append(T.substr(At));
  return Count;
}

template int TEditorExSearch::ReplaceInString(std::string_view, std::string_view, std::string&, TReplaceSpots*,
                                              uint64_t);
template int TEditorExSearch::ReplaceInString(std::string_view, std::string_view, TBigString&, TReplaceSpots*,
                                              uint64_t);

int TEditorExSearch::ReplaceInLines(TStringList& Lines, std::string_view R) {
  int Count = 0;
  std::string Line;
  for (int I = 0; I < Lines.Count(); ++I) {
    const int N = ReplaceInString(Lines[I], R, Line);
    if (N == 0) continue;
    Count += N;
    Lines.Put(I, Line);
  }
  return Count;
}

namespace {

[[nodiscard]] TLineBreak BreakAt(std::string_view Breaks, size_t I) {
  if (I < Breaks.size()) return static_cast<TLineBreak>(Breaks[I]);
  return Breaks.empty() ? lbCrLf : static_cast<TLineBreak>(Breaks.back());
}

// The replacement once for each kind of line break: its CR LF pairs become the line's own break.
struct TReplacements {
  TReplacements(std::string_view R) {
    for (const TLineBreak B : {lbCrLf, lbLf, lbCr}) {
      std::string& Out = For[B];
      for (size_t I = 0; I < R.size(); ++I) {
        if (R[I] == '\r' && I + 1 < R.size() && R[I + 1] == '\n') {
          Out.append(LineBreakBytes(B));
          ++I;
        } else {
          Out.push_back(R[I]);
        }
      }
    }
  }
  std::string For[3];
};

// Copies pieces of a text whose breaks are all CR LF and whose lines hold no CR or LF, writing each
// break as the file has it. A piece may begin or end inside a CR LF: the CR of an LF break and the
// LF of a CR break stand for no byte.
class TBreakWriter {
public:
  TBreakWriter(std::string_view T, std::string_view Breaks, TBigString& Out) : FT(T), FBreaks(Breaks), FOut(Out) {}
  void CopyTo(size_t To) {
    const char* const End = FT.data() + To;
    while (FAt < To) {
      const auto P = static_cast<size_t>(FindAnyByte(FT.data() + FAt, End, "\r\n") - FT.data());
      FOut.append(FT.substr(FAt, P - FAt));
      if (P >= To) break;
      const TLineBreak B = BreakAt(FBreaks, FBreak);
      if (FT[P] == '\r' && B != lbLf) FOut.push_back('\r');
      if (FT[P] == '\n') {
        if (B != lbCr) FOut.push_back('\n');
        ++FBreak;
      }
      FAt = P + 1;
    }
    FAt = To;
  }
  // How many bytes CopyTo(To) would write.
  [[nodiscard]] size_t BytesTo(size_t To) const {
    size_t N = 0;
    size_t Break = FBreak;
    for (size_t I = FAt; I < To; ++I) {
      if (FT[I] == '\r') {
        N += BreakAt(FBreaks, Break) != lbLf;
      } else if (FT[I] == '\n') {
        N += BreakAt(FBreaks, Break) != lbCr;
        ++Break;
      } else {
        ++N;
      }
    }
    return N;
  }
  void SkipTo(size_t To) {
    for (size_t I = FAt; I < To; ++I)
      if (FT[I] == '\n') ++FBreak;
    FAt = To;
  }
  // The break of the line the next byte lies in.
  [[nodiscard]] TLineBreak Current() const { return BreakAt(FBreaks, FBreak); }

private:
  std::string_view FT, FBreaks;
  TBigString& FOut;
  size_t FAt = 0;
  size_t FBreak = 0;
};

// Line mode over a text that comes in pieces of whole lines, CR LF, CR or LF ending a line, without
// making a string of every line. Lines without a candidate are copied as they are, unsearched: a run
// of them with CR LF breaks in one go, since it is the file's bytes.
class TLineReplacer {
public:
  TLineReplacer(TEditorExSearch& Search, std::string_view Replacement, std::string_view Breaks, TBigString& Out,
                TReplaceSpots* Spots)
      : FSearch(Search), FR(Replacement), FBreaks(Breaks), FOut(Out), FSpots(Spots), FRules(Search.RulesOutText()) {}
  // The CR LF between two pieces: the break of the line the last one ended in.
  void Break() {
    FOut.append(LineBreakBytes(BreakAt(FBreaks, FBreakIndex)));
    ++FBreakIndex;
  }
  void Piece(std::string_view T) {
    FNoRunBefore = 0;
    size_t Cand = FRules ? FSearch.FirstCandidate(T, 0) : 0;
    const char* const End = T.data() + T.size();
    size_t I = 0;
    while (I < T.size()) {
      if (FRules && Cand < I) Cand = FSearch.FirstCandidate(T, I);
      if (FRules && CopyCleanRun(T, I, Cand)) continue;
      const size_t Start = I;
      I = static_cast<size_t>(FindAnyByte(T.data() + I, End, "\r\n") - T.data());
      const std::string_view Text = T.substr(Start, I - Start);
      const TLineBreak LineBreak = BreakAt(FBreaks, FBreakIndex);
      const uint64_t Base = FOut.size() - static_cast<uint64_t>(FGrown);
      const int N = !FRules || TEditorLineScan::MayHold(Cand, Start, I)
                        ? FSearch.ReplaceInString(Text, FR.For[LineBreak], FLine, FSpots, Base)
                        : 0;
      if (N > 0) FGrown += static_cast<int64_t>(FLine.size()) - static_cast<int64_t>(Text.size());
      FCount += N;
      FOut.append(N == 0 ? Text : std::string_view(FLine));
      if (I == T.size()) break;
      FOut.append(LineBreakBytes(LineBreak));
      ++FBreakIndex;
      if (T[I] == '\r') ++I;
      if (I < T.size() && T[I] == '\n') ++I;
    }
  }
  [[nodiscard]] int Count() const { return FCount; }

private:
  // From the line at I to the line of Cand, when every break between is CR LF. False when no line
  // was copied so.
  bool CopyCleanRun(std::string_view T, size_t& I, size_t Cand) {
    // A run found not clean is not looked through again line after line.
    if (I < FNoRunBefore) return false;
    size_t RunEnd = T.size();
    if (Cand != std::string_view::npos) {
      if (Cand <= I) return false;
      const size_t Lf = T.substr(I, Cand - I).rfind('\n');
      if (Lf == std::string_view::npos) return false;
      RunEnd = I + Lf + 1;
    }
    const std::string_view Run = T.substr(I, RunEnd - I);
    // The first break tells a text with LF or CR breaks at once, before the run is counted.
    const bool CrLfFirst = FBreakIndex < FBreaks.size() && FBreaks[FBreakIndex] == static_cast<char>(lbCrLf);
    // Each LF must end a CR LF: a CR alone breaks a line as well, and would be a break not counted.
    const TBreakByteCount Bytes = CrLfFirst ? CountBreakBytes(Run) : TBreakByteCount{};
    const size_t Lines = Bytes.Lf;
    if (Lines == 0 || Bytes.Cr != Lines || FBreakIndex + Lines > FBreaks.size() ||
        FBreaks.substr(FBreakIndex, Lines).find_first_not_of(static_cast<char>(lbCrLf)) != std::string_view::npos) {
      FNoRunBefore = RunEnd;
      return false;
    }
    FOut.append(Run);
    FBreakIndex += Lines;
    I = RunEnd;
    return true;
  }

  TEditorExSearch& FSearch;
  const TReplacements FR;
  std::string_view FBreaks;
  TBigString& FOut;
  TReplaceSpots* FSpots;
  const bool FRules;
  std::string FLine;
  size_t FBreakIndex = 0;
  size_t FNoRunBefore = 0;  // in the piece at hand
  int64_t FGrown = 0;  // Out's size less the file's bytes it stands for
  int FCount = 0;
};

}  // namespace

int TEditorExSearch::ReplaceAllText(std::string_view LinesText, std::string_view Breaks, std::string_view Replacement,
                                    bool ExpandCrLf, TBigString& Out, TReplaceSpots* Spots) {
  if (!IsWholeTextMode()) {
    const TTextPieces OnePiece = [LinesText](const TTextPieceSink& Take) { Take(LinesText, 0); };
    return ReplaceAllPieces(OnePiece, nullptr, LinesText.size(), Breaks, Replacement, ExpandCrLf, Out, Spots);
  }
  Out.clear();
  if (FFindString.empty()) return 0;
  const TReplacements For(ExpandCrLf ? ExpandCrLfEscape(Replacement) : std::string(Replacement));
  Out.reserve(LinesText.size());
  TBreakWriter Writer(LinesText, Breaks, Out);
  int64_t Grown = 0;  // Out's size less the file's bytes it stands for
  const int Count = ForEachReplaceHit(LinesText, [&](size_t Pos, size_t Len) {
    Writer.CopyTo(Pos);
    const std::string& New = For.For[Writer.Current()];
    if (Spots) {
      const size_t Old = Writer.BytesTo(Pos + Len);
      Spots->push_back({Out.size() - static_cast<uint64_t>(Grown), Old, New});
      Grown += static_cast<int64_t>(New.size()) - static_cast<int64_t>(Old);
    }
    Out.append(New);
    Writer.SkipTo(Pos + Len);
  });
  Writer.CopyTo(LinesText.size());
  if (Count == 0) Out.clear();
  return Count;
}

int TEditorExSearch::ReplaceAllPieces(const TTextPieces& Pieces, const std::function<TBigString()>& Whole,
                                      size_t TextSize, std::string_view Breaks, std::string_view Replacement,
                                      bool ExpandCrLf, TBigString& Out, TReplaceSpots* Spots) {
  if (IsWholeTextMode()) return ReplaceAllText(Whole(), Breaks, Replacement, ExpandCrLf, Out, Spots);
  Out.clear();
  if (FFindString.empty()) return 0;
  Out.reserve(TextSize + TextSize / 8);
  // Most of a big text is copied as it is, faster than the kernel makes fresh pages: those it is
  // about to fill are made on a second thread meanwhile.
  const TPrefault Ahead(Out.data(), TextSize);
  TLineReplacer Lines(*this, ExpandCrLf ? ExpandCrLfEscape(Replacement) : std::string(Replacement), Breaks, Out,
                      Spots);
  bool First = true;
  Pieces([&](std::string_view Piece, size_t) {
    if (!std::exchange(First, false)) Lines.Break();
    Lines.Piece(Piece);
  });
  if (Lines.Count() == 0) Out.clear();
  return Lines.Count();
}

}  // namespace tesvarin
