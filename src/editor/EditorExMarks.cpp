#include "editor/EditorExMarks.h"

#include "editor/EditorExSearch.h"

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

int GetFindHits(TEditorExSearch& Search, std::string_view LineText, int RowStart, int RowLength,
                std::vector<TFindHit>& Hits) {
  Hits.clear();
  const int N = RowLength;
  const int First = RowStart + 1;
  const int Last = RowStart + N;
  // The whole line, NUL bytes included: hits behind a NUL are framed as the search finds them.
  std::string_view T = LineText;
  int L = 0;
  int P = Search.StrSearch(T, L);
  int C = P;  // position in the line
  // Hits that start after the row cannot reach into it, so the walk stops there.
  while (P > 0 && C <= Last) {
    const bool RunsPast = Last < C + L - 1;
    if (C < First && First < C + L) Hits.push_back({1, RunsPast ? N : C + L - First});
    if (First <= C && C <= Last) Hits.push_back({C - First + 1, RunsPast ? Last - C + 1 : L});
    const size_t Next = TEditorExSearch::NextSearchStart(T, static_cast<size_t>(P - 1), static_cast<size_t>(L));
    if (Next > T.size()) break;
    T.remove_prefix(Next);
    C += static_cast<int>(Next) - (P - 1);
    P = Search.StrSearch(T, L);
    C += P - 1;
  }
  return static_cast<int>(Hits.size());
}

}  // namespace tesvarin
