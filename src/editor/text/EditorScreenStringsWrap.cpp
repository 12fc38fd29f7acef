// TEditorScreenStrings's rows from text: cutting lines into rows, and cutting or joining them again
// when word wrap or its options change.
#include <algorithm>
#include <string>
#include <vector>

#include "editor/text/EditorScreenStrings.h"
#include "editor/text/EditorUndo.h"
#include "editor/text/RowWrap.h"

namespace tesvarin {

namespace {
// Free records left after a bulk fill, for the first edits.
constexpr int LoadGap = 64;
}  // namespace

void TEditorScreenStrings::StrToRows(std::string_view Text, TEditorStringList& Rows) const {
  Rows.Clear();
  const TColumnSettings Settings = ColumnSettings();
  std::vector<int> Pieces;
  auto AddLine = [&](std::string_view Line) {
    if (!FWordWrap) {
      Rows.Add(Line);
      return;
    }
    CutLine(Line, FWrapOption, Settings, Pieces);
    size_t At = 0;
    for (size_t K = 0; K < Pieces.size(); ++K) {
      int Row = Rows.Add(Line.substr(At, static_cast<size_t>(Pieces[K])));
      At += static_cast<size_t>(Pieces[K]);
      if (K + 1 < Pieces.size()) Rows.SetRowAttribute(Row, raWrapped);
    }
  };
  ForEachLine(Text, [&](std::string_view Line, int Kind) {
    if (Kind >= 0 || !Line.empty() || Rows.Count() == 0) AddLine(Line);
  });
}

int TEditorScreenStrings::WrapCount(std::string_view Line) const {
  if (!FWordWrap) return 1;
  std::vector<int> Pieces;
  CutLine(Line, FWrapOption, ColumnSettings(), Pieces);
  return static_cast<int>(Pieces.size());
}

namespace {
TRowText ShareOrCopy(const TRowText& Source, size_t At, size_t Length) {
  TRowText T;
  std::string_view V = Source.View().substr(At, Length);
  if (Source.IsView())
    T.SetView(V.data(), V.size());
  else
    T.Assign(V);
  return T;
}
}  // namespace

// Re-cuts (Wrap) or joins every line; marks follow their line, the last row keeps its ending.
void TEditorScreenStrings::RebuildRows(bool Wrap) {
  if (Count() == 0 || (Wrap && Loading())) return;
  DropSelections();
  auto Handler = std::move(OnChange);
  OnChange = nullptr;
  BeginUpdate();
  TRowAttribute LastAttr = RowAttribute(Count() - 1);
  if (LastAttr == raWrapped) LastAttr = raEof;
  const TColumnSettings Settings = ColumnSettings();
  const int W = FWrapOption.WrapByte();
  std::vector<TheStringItem> Out;
  Out.reserve(static_cast<size_t>(Count()));
  std::vector<int> Pieces;
  std::string Joined;
  for (int Row = 0; Row < Count();) {
    const int End = LineEndRow(Row);
    const TheStringItem& First = Item(Row);
    const bool Single = End == Row;
    if (!Single) {
      Joined.clear();
      for (int I = Row; I <= End; ++I) Joined.append(RowView(I));
    }
    std::string_view Line = Single ? First.Text.View() : std::string_view(Joined);
    Pieces.clear();
    if (Wrap && DisplayWidth(Line, Settings) >= W)
      CutLine(Line, FWrapOption, Settings, Pieces);
    else
      Pieces.push_back(static_cast<int>(Line.size()));
    const size_t Base = Out.size();
    size_t At = 0;
    for (size_t K = 0; K < Pieces.size(); ++K) {
      TheStringItem NewItem;
      const size_t Len = static_cast<size_t>(Pieces[K]);
      if (Single)
        NewItem.Text = ShareOrCopy(First.Text, At, Len);
      else
        NewItem.Text.Assign(Line.substr(At, Len));
      At += Len;
      NewItem.Attribute = K + 1 < Pieces.size() ? raWrapped : raCrlf;
      NewItem.Break = Item(End).Break;
      Out.push_back(std::move(NewItem));
    }
    for (int I = Row; I <= End; ++I) {
      const size_t Target = std::min(Base + static_cast<size_t>(I - Row), Out.size() - 1);
      Out[Target].Attribute2 |= static_cast<uint32_t>(RowMarks(I)) << 16;
    }
    Row = End + 1;
  }
  Out.back().Attribute = LastAttr;
  const int NewCount = static_cast<int>(Out.size());
  if (NewCount > Count()) {
    SetCapacity(NewCount + LoadGap);
    InsertRows(Count(), NewCount - Count());
  }
  else
    DeleteRange(NewCount, Count() - NewCount);
  for (int I = 0; I < NewCount; ++I) PutItem(I, std::move(Out[static_cast<size_t>(I)]));
  EndUpdate();
  OnChange = std::move(Handler);
}

void TEditorScreenStrings::Rewrap() { RebuildRows(true); }

void TEditorScreenStrings::Unwrap() { RebuildRows(false); }

void TEditorScreenStrings::SetWordWrap(bool Value) {
  if (Value == FWordWrap) return;
  FWordWrap = Value;
  if (Loading()) return;
  FUndo->ClearUndo();
  RebuildRows(Value);
  RefreshAllRowStates();
  RefreshEditors();
  ClampEditors();
  for (IEditorView* E : FEditors) E->SetCaretRowCol(E->CaretRow(), 0);
}

void TEditorScreenStrings::WrapOptionChanged() {
  if (Loading() || !FWordWrap) return;
  FUndo->ClearUndo();
  Rewrap();
  RefreshAllRowStates();
  RefreshEditors();
  ClampEditors();
  for (IEditorView* E : FEditors) E->SetCaretRowCol(E->CaretRow(), 0);
}

void TEditorScreenStrings::SetRowsFromBlock(TTextBlock Block, size_t Size) {
  std::string_view Text(Block.get(), Size);
  int64_t Rows = 0;
  ForEachLine(Text, [&](std::string_view Line, int Kind) {
    if (Kind >= 0 || !Line.empty()) ++Rows;
  });
  BeginUpdate();
  TRowAttributeStringList::Clear();
  // Sized once for the whole file: growth steps would leave up to a quarter of the records unused.
  SetCapacity(static_cast<int>(Rows) + LoadGap);
  InsertRows(0, static_cast<int>(Rows));
  int Row = 0;
  ForEachLine(Text, [&](std::string_view Line, int Kind) {
    if (Kind < 0 && Line.empty()) return;
    PutView(Row, Line.data(), Line.size());
    if (Kind < 0) SetRowAttribute(Row, raEof);
    else SetLineBreak(Row, LineBreakOfKind(Kind));
    ++Row;
  });
  AdoptBlock(std::move(Block), Size);
  EndUpdate();
}

}  // namespace tesvarin
