#include "app/ReplacePlan.h"

#include <algorithm>

#include "support/ByteSearch.h"

namespace tesvarin {

namespace {

[[nodiscard]] bool IsBreakByte(char C) { return C == '\r' || C == '\n'; }

// Where the line that holds Pos begins: just after the break before it.
[[nodiscard]] size_t LineBegin(std::string_view S, size_t Pos) {
  while (Pos > 0 && !IsBreakByte(S[Pos - 1])) --Pos;
  return Pos;
}

// Where the line that holds Pos ends: at its break, or the end of S.
[[nodiscard]] size_t LineEnd(std::string_view S, size_t Pos) {
  while (Pos < S.size() && !IsBreakByte(S[Pos])) ++Pos;
  return Pos;
}

// Line breaks in S[From, To): CR LF, a lone CR and a lone LF count one each.
// Counted from break to break: a big file's hit may lie far down.
[[nodiscard]] int64_t BreaksIn(std::string_view S, size_t From, size_t To) {
  int64_t N = 0;
  const char* const End = S.data() + To;
  for (const char* P = S.data() + From; (P = FindAnyByte(P, End, "\r\n")) < End; ++P) {
    if (*P == '\n' || P + 1 == S.data() + S.size() || P[1] != '\n') ++N;
  }
  return N;
}

// The lines of S, each without its break.
[[nodiscard]] std::vector<std::string_view> SplitLines(std::string_view S) {
  std::vector<std::string_view> Lines;
  size_t At = 0;
  for (;;) {
    const size_t End = LineEnd(S, At);
    Lines.push_back(S.substr(At, End - At));
    if (End >= S.size()) break;
    At = End + (S[End] == '\r' && End + 1 < S.size() && S[End + 1] == '\n' ? 2 : 1);
  }
  return Lines;
}

[[nodiscard]] std::string Range(int64_t Line, int64_t Count) {
  if (Count == 1) return std::to_string(Line);
  // An empty side names the line before it, as diff does.
  return std::to_string(Count == 0 ? Line - 1 : Line) + "," + std::to_string(Count);
}

void AppendLines(std::string& Out, char Sign, std::string_view Text, bool EndsWithoutBreak) {
  for (std::string_view L : SplitLines(Text)) {
    Out += Sign;
    Out.append(L);
    Out += '\n';
  }
  if (EndsWithoutBreak) Out += "\\ No newline at end of file\n";
}

}  // namespace

TReplacePlan::TReplacePlan(std::string_view Original, const TReplaceSpots& Spots) {
  Hits.reserve(Spots.size());
  int64_t Line = 1;
  size_t Counted = 0;  // breaks before this offset are in Line
  for (const TReplaceSpot& S : Spots) {
    const auto At = static_cast<size_t>(std::min<uint64_t>(S.Offset, Original.size()));
    const auto Len = static_cast<size_t>(std::min<uint64_t>(S.OldLength, Original.size() - At));
    const size_t Start = LineBegin(Original, At);
    Line += BreaksIn(Original, Counted, Start);
    Counted = Start;
    TPlannedHit H;
    H.Offset = At;
    H.Old = std::string(Original.substr(At, Len));
    H.New = S.New;
    H.Line = Line;
    H.LineStart = Start;
    H.LineText = std::string(Original.substr(Start, LineEnd(Original, At + Len) - Start));
    Hits.push_back(std::move(H));
  }
}

size_t TReplacePlan::TickedCount() const {
  return static_cast<size_t>(std::count_if(Hits.begin(), Hits.end(), [](const TPlannedHit& H) { return H.Ticked; }));
}

std::string TReplacePlan::Apply(std::string_view Original) const {
  std::string Out;
  size_t Grown = 0;
  for (const TPlannedHit& H : Hits) {
    if (H.Ticked) Grown += H.New.size();
  }
  Out.reserve(Original.size() + Grown);
  size_t At = 0;
  for (const TPlannedHit& H : Hits) {
    if (!H.Ticked) continue;
    Out.append(Original.substr(At, H.Offset - At));
    Out.append(H.New);
    At = H.Offset + H.Old.size();
  }
  Out.append(Original.substr(At));
  return Out;
}

std::string TReplacePlan::LineAfter(const TPlannedHit& Hit) {
  const size_t At = Hit.Offset - Hit.LineStart;
  std::string Out = Hit.LineText.substr(0, At);
  Out += Hit.New;
  Out.append(Hit.LineText, std::min(At + Hit.Old.size(), Hit.LineText.size()));
  return Out;
}

std::vector<TPlanHunk> TReplacePlan::Hunks(std::string_view Original) const {
  std::vector<TPlanHunk> Result;
  int64_t Shift = 0;  // lines the hunks so far added
  size_t I = 0;
  while (I < Hits.size()) {
    if (!Hits[I].Ticked) {
      ++I;
      continue;
    }
    const size_t Start = Hits[I].LineStart;
    size_t End = Start + Hits[I].LineText.size();
    TPlanHunk H;
    H.OldLine = Hits[I].Line;
    size_t At = Start;
    // Hits on the lines taken so far join the hunk.
    for (; I < Hits.size() && Hits[I].Offset <= End; ++I) {
      if (!Hits[I].Ticked) continue;
      H.After.append(Original.substr(At, Hits[I].Offset - At));
      H.After += Hits[I].New;
      At = Hits[I].Offset + Hits[I].Old.size();
      End = std::max(End, Hits[I].LineStart + Hits[I].LineText.size());
    }
    H.After.append(Original.substr(At, End - At));
    H.Before = std::string(Original.substr(Start, End - Start));
    H.BeforeEndsFile = End == Original.size();
    H.OldCount = static_cast<int64_t>(SplitLines(H.Before).size());
    H.NewCount = static_cast<int64_t>(SplitLines(H.After).size());
    H.NewLine = H.OldLine + Shift;
    Shift += H.NewCount - H.OldCount;
    Result.push_back(std::move(H));
  }
  return Result;
}

std::string DiffHunks(std::string_view Original, const TReplacePlan& Plan) {
  std::string Out;
  for (const TPlanHunk& H : Plan.Hunks(Original)) {
    Out += "@@ -" + Range(H.OldLine, H.OldCount) + " +" + Range(H.NewLine, H.NewCount) + " @@\n";
    AppendLines(Out, '-', H.Before, H.BeforeEndsFile);
    AppendLines(Out, '+', H.After, H.BeforeEndsFile);
  }
  return Out;
}

}  // namespace tesvarin
