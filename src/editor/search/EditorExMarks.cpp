#include "editor/search/EditorExMarks.h"

#include <algorithm>

#include "editor/search/EditorExSearch.h"
#include "support/Sjis.h"


namespace tesvarin {

TEditorExMarks::TEditorExMarks() {
  for (TEditorMark* Mark : {&FDBSpaceMark, &FSpaceMark, &FTabMark, &FFindMark}) Mark->OnChange = ChangedProcEvent();
}

void TEditorExMarks::Assign(const TPersistent& Source) {
  const auto* S = dynamic_cast<const TEditorExMarks*>(&Source);
  if (S == nullptr) {
    TNotifyPersistent::Assign(Source);
    return;
  }
  struct TBracket {
    TNotifyPersistent& Owner;
    explicit TBracket(TNotifyPersistent& O) : Owner(O) { Owner.BeginUpdate(); }
    ~TBracket() { Owner.EndUpdate(); }
  } Bracket(*this);
  FDBSpaceMark.Assign(S->FDBSpaceMark);
  FSpaceMark.Assign(S->FSpaceMark);
  FTabMark.Assign(S->FTabMark);
  FFindMark.Assign(S->FFindMark);
}

void THitWalk::Reset(std::string_view LineText) {
  // The whole line, NUL bytes included: hits behind a NUL are framed as the search finds them.
  Line = LineText;
  Scanned = 0;
  Done = false;
  Hits.clear();
}

void WalkHits(TEditorExSearch& Search, THitWalk& Walk, size_t Need) {
  constexpr size_t FirstWindow = 4096;
  constexpr auto MaxHit = static_cast<size_t>(TEditorExSearch::MaxHitLength);
  size_t Window = FirstWindow;
  while (!Walk.Done && Walk.Scanned <= Need) {
    const std::string_view T = Walk.Line.substr(std::min(Walk.Scanned, Walk.Line.size()));
    const bool Whole = T.size() <= Window;
    const std::string_view Hay = Whole ? T : T.substr(0, Window);
    int L = 0;
    const int P = Search.StrSearch(Hay, L);
    // A hit in the window's last MaxHit bytes may be cut by the window, or follow one that is: the
    // window is then searched again from further on.
    if (P > 0 && (Whole || static_cast<size_t>(P - 1) + MaxHit < Hay.size())) {
      Walk.Hits.push_back({static_cast<int32_t>(Walk.Scanned) + P, L});
      const size_t Next = TEditorExSearch::NextSearchStart(T, static_cast<size_t>(P - 1), static_cast<size_t>(L));
      Walk.Done = Next > T.size();
      Walk.Scanned += Next;
      Window = FirstWindow;
    } else if (Whole) {
      Walk.Done = true;
    } else {
      size_t Step = Hay.size() - MaxHit;
      while (Step > 0 && !IsCharStartFrom(T, 0, Step)) --Step;
      Walk.Scanned += Step;
      Window *= 2;
    }
  }
}

int RowHits(const std::vector<TFindHit>& LineHits, int RowStart, int RowLength, std::vector<TFindHit>& Hits) {
  Hits.clear();
  const int N = RowLength;
  const int First = RowStart + 1;
  const int Last = RowStart + N;
  // No hit is longer than MaxHitLength: the ones that can reach the row start from here.
  auto It = std::lower_bound(LineHits.begin(), LineHits.end(), First - TEditorExSearch::MaxHitLength - 1,
                             [](const TFindHit& H, int Pos) { return H.Start < Pos; });
  for (; It != LineHits.end() && It->Start <= Last; ++It) {
    const int C = It->Start;
    const int L = It->Length;
    const bool RunsPast = Last < C + L - 1;
    if (C < First && First < C + L) Hits.push_back({1, RunsPast ? N : C + L - First});
    if (First <= C) Hits.push_back({C - First + 1, RunsPast ? Last - C + 1 : L});
  }
  return static_cast<int>(Hits.size());
}

int GetFindHits(TEditorExSearch& Search, std::string_view LineText, int RowStart, int RowLength,
                std::vector<TFindHit>& Hits) {
  THitWalk Walk;
  Walk.Reset(LineText);
  WalkHits(Search, Walk, static_cast<size_t>(RowStart + RowLength));
  return RowHits(Walk.Hits, RowStart, RowLength, Hits);
}

}  // namespace tesvarin
