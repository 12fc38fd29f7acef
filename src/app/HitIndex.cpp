#include "app/HitIndex.h"

#include <algorithm>

namespace tesvarin {

namespace {

size_t LineStartOf(std::string_view T, size_t Pos) {
  const size_t Lf = Pos == 0 ? std::string_view::npos : T.rfind('\n', Pos - 1);
  return Lf == std::string_view::npos ? 0 : Lf + 1;
}

}  // namespace

template <class THit>
void THitIndex::Walk(std::string_view T, size_t Base, size_t From, THit&& Hit) {
  const bool Skips = FSearch.RulesOutText();
  while (From <= T.size()) {
    size_t LineStart = LineStartOf(T, From);
    if (Skips && From == LineStart) {
      // Lines before the first place a hit can be are passed over whole.
      const size_t Candidate = FSearch.FirstCandidate(T, From);
      if (Candidate == std::string_view::npos) return;
      From = LineStart = std::max(From, LineStartOf(T, Candidate));
    }
    const size_t Cr = T.find("\r\n", LineStart);
    const size_t LineEnd = Cr == std::string_view::npos ? T.size() : Cr;
    const std::string_view Line = T.substr(LineStart, LineEnd - LineStart);
    size_t Offset = From - LineStart;
    while (Offset <= Line.size()) {
      int Len = 0;
      const int P = FSearch.StrSearch(Line.substr(Offset), Len);
      if (P == 0) break;
      const size_t Start = Offset + static_cast<size_t>(P) - 1;
      if (!Hit(Base + LineStart + Start, Base + LineStart + Offset)) return;
      Offset = TEditorExSearch::NextSearchStart(Line, Start, static_cast<size_t>(Len));
    }
    if (LineEnd == T.size()) return;
    From = LineEnd + 2;
  }
}

void THitIndex::Clear() {
  FText = TBigString();
  FMarks.clear();
  FStride = 1;
  FCount = 0;
}

void THitIndex::Keep(const TMark& Mark) {
  if (FMarks.size() == MaxMarks) {
    // Every other one goes: the spacing doubles and the memory stays as it is.
    for (size_t I = 0; I < FMarks.size() / 2; ++I) FMarks[I] = FMarks[I * 2];
    FMarks.resize(FMarks.size() / 2);
    FStride *= 2;
  }
  if ((FCount - 1) % FStride == 0) FMarks.push_back(Mark);
}

void THitIndex::Build(const TTextPieces& Produce,
                      const std::function<TBigString()>& Whole, const std::string& Find, TExSearchOptions Options) {
  Clear();
  FSearch.SetFindString(Find);
  FSearch.SetExSearchOptions(Options);
  if (Find.empty()) return;
  // A hit never leaves its line, so each piece is walked alone.
  Produce([this](std::string_view Piece, size_t Offset) {
    Walk(Piece, Offset, 0, [this](size_t Start, size_t From) {
      ++FCount;
      Keep({Start, From});
      return true;
    });
  });
  // Between spaced marks a number is found by stepping the search from the nearest one.
  if (FStride > 1) FText = Whole();
}

size_t THitIndex::NumberAt(size_t Pos) {
  auto After = std::upper_bound(FMarks.begin(), FMarks.end(), Pos, [](size_t P, const TMark& M) { return P < M.Start; });
  if (After == FMarks.begin()) return 0;
  const TMark& Mark = *(After - 1);
  size_t Number = static_cast<size_t>(After - 1 - FMarks.begin()) * FStride + 1;
  if (Mark.Start == Pos) return Number;
  if (FStride == 1) return 0;
  // Between two kept marks: step from the earlier one.
  size_t Found = 0;
  size_t Steps = 0;
  Walk(std::string_view(FText.data(), FText.size()), 0, Mark.From, [&](size_t Start, size_t) {
    if (Start == Pos) Found = Number + Steps;
    ++Steps;
    return Start < Pos && Steps <= FStride;
  });
  return Found;
}

}  // namespace tesvarin
