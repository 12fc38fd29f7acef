#include "editor/text/EditorScreenStrings.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "editor/text/EditorUndo.h"

namespace tesvarin {

namespace {
constexpr uint32_t StateMask1 = 0xFFFFFFFCu;
constexpr uint32_t StateMask2 = 0x0000FFFFu;
// A walk of colouring states longer than this looks for a line end to begin at.
constexpr int FarWalkRows = 4096;

bool EndsWithBreak(std::string_view S) { return !S.empty() && (S.back() == '\n' || S.back() == '\r'); }

// As many as ForEachLine reports with a kind of 0 or more.
size_t BreakCount(std::string_view S) {
  size_t N = 0;
  for (size_t I = 0; I < S.size(); ++I) {
    if (S[I] == '\n') ++N;
    else if (S[I] == '\r' && (I + 1 == S.size() || S[I + 1] != '\n')) ++N;
  }
  return N;
}
}  // namespace

void GiveLineBreaks(TRowAttributeStringList& Rows, std::string_view Breaks) {
  size_t K = 0;
  for (int I = 0; I < Rows.Count(); ++I) {
    if (Rows.RowAttribute(I) != raCrlf) continue;
    Rows.SetLineBreak(I, K < Breaks.size() ? static_cast<TLineBreak>(Breaks[K++]) : lbCrLf);
  }
}

TEditorScreenStrings::TEditorScreenStrings() : FUndo(std::make_unique<TEditorUndoObj>(*this)) {
  OnChange = [this](TRowStringList&) { NotifyEditors(); };
  FWrapOption.OnChange = TNotifyEvent::Lambda([this](TObject*) { WrapOptionChanged(); });
}

TEditorScreenStrings::~TEditorScreenStrings() = default;

void TEditorScreenStrings::AttachEditor(IEditorView& E) {
  if (std::find(FEditors.begin(), FEditors.end(), &E) == FEditors.end()) FEditors.push_back(&E);
}

bool TEditorScreenStrings::DetachEditor(IEditorView& E) {
  std::erase(FEditors, &E);
  return FEditors.empty();
}

IEditorView* TEditorScreenStrings::Editor(int Index) const {
  if (Index < 0 || Index >= EditorCount()) ListIndexError();
  return FEditors[static_cast<size_t>(Index)];
}

IEditorView* TEditorScreenStrings::FocusedEditor() const {
  for (IEditorView* E : FEditors)
    if (E->Focused()) return E;
  return FEditors.empty() ? nullptr : FEditors.front();
}

bool TEditorScreenStrings::Loading() const { return !FEditors.empty() && FEditors.front()->Loading(); }

void TEditorScreenStrings::NotifyEditors() {
  for (IEditorView* E : FEditors) E->TextChanged();
}

void TEditorScreenStrings::Changed() {
  TRowAttributeStringList::Changed();
  if (UpdateCount() != 0) return;
  FLastChange = TLastChange{};
  ClampEditors();
}

void TEditorScreenStrings::SetLastChange(int FirstRow, int OldRowCount, int NewRowCount, int LastRefreshedRow) {
  FLastChange = TLastChange{FirstRow, OldRowCount, NewRowCount, LastRefreshedRow, true};
}

void TEditorScreenStrings::ClampEditors() {
  const int Max = MaxCaretRow();
  for (IEditorView* E : FEditors) {
    if (E->CaretRow() > Max) E->SetCaretRowCol(Max, E->CaretCol());
    if (E->TopRow() > Max) E->SetTopRow(Max);
  }
}

void TEditorScreenStrings::RefreshEditors() {
  for (IEditorView* E : FEditors) E->Refresh();
}

void TEditorScreenStrings::DropSelections() {
  for (IEditorView* E : FEditors) E->CleanSelection();
}

TColumnSettings TEditorScreenStrings::ColumnSettings() const {
  TColumnSettings S;
  const IEditorView* E = ActiveEditor();
  S.TabSpaceCount = E != nullptr ? E->TabSpaceCount() : 8;
  S.Delimiters = E != nullptr ? E->Delimiters() : DefaultDelimiters();
  S.WordWrap = FWordWrap;
  S.WrapByte = WrapByte();
  return S;
}

// ---- lines and positions ----

int TEditorScreenStrings::LineStartRow(int Row) const {
  CheckIndex(Row);
  if (WrappedRowCount() == 0) return Row;
  while (Row > 0 && RowAttribute(Row - 1) == raWrapped) --Row;
  return Row;
}

int TEditorScreenStrings::LineEndRow(int Row) const {
  CheckIndex(Row);
  if (WrappedRowCount() == 0) return Row;
  while (Row < Count() - 1 && RowAttribute(Row) == raWrapped) ++Row;
  return Row;
}

std::string TEditorScreenStrings::LineBreaksOf(int Row, int N) const {
  std::string Breaks;
  for (int I = std::max(Row, 0); I < std::min(Row + N, Count()); ++I)
    if (RowAttribute(I) == raCrlf) Breaks.push_back(static_cast<char>(LineBreak(I)));
  return Breaks;
}

TLineBreak TEditorScreenStrings::BreakAround(int Row) const {
  if (Count() == 0) return lbCrLf;
  Row = std::clamp(Row, 0, Count() - 1);
  const int End = LineEndRow(Row);
  if (RowAttribute(End) == raCrlf) return LineBreak(End);
  const int Start = LineStartRow(Row);
  return Start > 0 ? LineBreak(Start - 1) : lbCrLf;
}

TLineTextResult TEditorScreenStrings::LineText(int Row, int N) const {
  TLineTextResult R;
  if (N == 0 || Row < 0 || Row >= Count()) return R;
  int Last = N < 0 ? LineEndRow(Row) : std::min(Row + N, Count()) - 1;
  R.Text = JoinedRows<TBigString>(Row, Last);
  R.RowCount = Last - Row + 1;
  R.LastAttribute = RowAttribute(Last);
  return R;
}

int TEditorScreenStrings::LineEndsBetween(int From, int To) const {
  int Ends = 0;
  for (int I = From; I < To; ++I)
    if (RowAttribute(I) != raWrapped) ++Ends;
  return Ends;
}

void TEditorScreenStrings::RememberLine(int Line, int Row) const {
  FAnchor.Version = LayoutVersion();
  FAnchor.Line = Line;
  FAnchor.Row = Row;
}

int TEditorScreenStrings::LineCount() const {
  const int Rows = Count();
  if (!FWordWrap || Rows == 0) return Rows;
  return Rows - WrappedRowCount() + (RowAttribute(Rows - 1) == raWrapped ? 1 : 0);
}

int TEditorScreenStrings::RowToLine(int Row) const {
  if (!FWordWrap || Row <= 0 || Count() == 0) return Row;
  const int End = std::min(Row, Count());
  // Every row before the end that is not wrapped ends a line.
  const int AllEnds = Count() - WrappedRowCount();
  int Lines = 0;
  const bool Anchored = FAnchor.Version == LayoutVersion();
  const int FromAnchor = Anchored ? std::abs(End - FAnchor.Row) : Count();
  if (Count() - End <= std::min(End, FromAnchor))
    Lines = AllEnds - LineEndsBetween(End, Count());
  else if (End <= FromAnchor)
    Lines = LineEndsBetween(0, End);
  else if (End >= FAnchor.Row)
    Lines = FAnchor.Line + LineEndsBetween(FAnchor.Row, End);
  else
    Lines = FAnchor.Line - LineEndsBetween(End, FAnchor.Row);
  if (End < Count()) RememberLine(Lines, LineStartRow(End));
  return Lines + (Row - End);
}

int TEditorScreenStrings::LineToRow(int Line) const {
  if (!FWordWrap) return Line;
  const int Last = LineCount() - 1;
  int FromLine = 0;
  int Row = 0;
  const bool Anchored = FAnchor.Version == LayoutVersion();
  if (Anchored && std::abs(Line - FAnchor.Line) < Line) {
    FromLine = FAnchor.Line;
    Row = FAnchor.Row;
  }
  if (Last - Line < std::abs(Line - FromLine)) {
    FromLine = Last;
    Row = LineStartRow(Count() - 1);
  }
  for (; FromLine < Line; ++FromLine) Row = LineEndRow(Row) + 1;
  for (; FromLine > Line; --FromLine) Row = LineStartRow(Row - 1);
  RememberLine(Line, Row);
  return Row;
}

int TEditorScreenStrings::RowColToLinePos(int Row, int Col) const {
  if (Row < 0 || Row > Count() || Col < 0) return -1;
  if (Row == Count()) return 0;
  int Before = 0;
  for (int I = LineStartRow(Row); I < Row; ++I) Before += RowView(I).size();
  // Column 0 is byte 0 whatever the row holds: no map of a long row is built for it.
  if (Col == 0) return Before;
  std::string_view Text = RowView(Row);
  TColumnMap Map;
  BuildColumnMap(Text, ColumnSettings(), Map);
  int Byte = ColumnToByte(Map, Col, static_cast<int>(Text.size()));
  if (Col < static_cast<int>(Map.size()) && Map[static_cast<size_t>(Col)] == ckDbcs2 && Byte > 0) --Byte;
  return Before + std::min(Byte, static_cast<int>(Text.size()));
}

void TEditorScreenStrings::OffsetToRowCol(int Row, int64_t Offset, int& ResultRow, int& ResultCol) const {
  const int N = Count();
  Row = std::clamp(Row, 0, N);
  // A run of records at a time: a hit near the end of a big text lies tens of millions of rows on.
  for (bool Found = false; Row < N && !Found;) {
    int Run = 0;
    const TheStringItem* Item = ItemRun(Row, Run);
    for (const TheStringItem* Stop = Item + Run; Item != Stop; ++Item, ++Row) {
      const auto Len = static_cast<int64_t>(Item->Text.View().size());
      const TRowAttribute A = RowAttributeOf(*Item);
      Found = Offset <= Len && (A != raWrapped || Offset < Len || Row == N - 1);
      if (!Found && A == raEof) {
        Offset = Len;
        Found = true;
      }
      if (Found) break;
      Offset = std::max<int64_t>(0, Offset - Len - (A == raCrlf ? 2 : 0));
    }
  }
  ResultRow = Row;
  const auto Settings = [this] { return ColumnSettings(); };
  if (Row >= Count()) {
    ResultRow = MaxCaretRow();
    ResultCol = ResultRow < Count()
                    ? ByteToColumnWith(RowView(ResultRow), static_cast<int>(RowView(ResultRow).size()), Settings)
                    : 0;
    return;
  }
  ResultCol = ByteToColumnWith(RowView(Row), static_cast<int>(Offset), Settings);
}

// ---- marks and row replacement ----

void TEditorScreenStrings::GiveMarks(uint16_t Marks, int Row) {
  if (Marks == 0) return;
  if (Count() == 0) {
    ExcludeMarks(Marks);
    return;
  }
  Row = std::clamp(Row, 0, Count() - 1);
  SetRowMarks(Row, static_cast<uint16_t>(RowMarks(Row) | Marks));
}

uint16_t TEditorScreenStrings::DeleteRows(int A, int N) {
  if (N <= 0) return 0;
  if (A < 0 || N > Count() - A) ListIndexError();
  uint16_t Marks = 0;
  for (int I = A; I < A + N; ++I) Marks = static_cast<uint16_t>(Marks | RowMarks(I));
  DeleteRange(A, N);
  return Marks;
}

void TEditorScreenStrings::ReplaceRows(int A, int Old, TEditorStringList&& NewRows) {
  const int M = NewRows.Count();
  if (A < 0 || Old < 0 || Old > Count() - A) ListIndexError();
  BeginUpdate();
  std::vector<uint16_t> Marks(static_cast<size_t>(M), 0);
  if (M < Old) {
    uint16_t Removed = DeleteRows(A, Old - M);
    for (int K = 0; K < M; ++K) Marks[static_cast<size_t>(K)] = RowMarks(A + K);
    if (M == 0)
      ExcludeMarks(Removed);
    else
      Marks[0] = static_cast<uint16_t>(Marks[0] | Removed);
  } else {
    const int Grow = M - Old;
    for (int K = 1; K < Old; ++K) Marks[static_cast<size_t>(K + Grow)] = RowMarks(A + K);
    if (Old > 0) {
      const IEditorView* E = ActiveEditor();
      const bool Pushed = Grow > 0 && (E == nullptr || E->CaretCol() == 0);
      Marks[static_cast<size_t>(Pushed ? Grow : 0)] = RowMarks(A);
    }
    InsertRows(A + Old, Grow);
  }
  for (int K = 0; K < M; ++K) {
    TheStringItem Item = NewRows.TakeItem(K);
    Item.Attribute2 = (Item.Attribute2 & 0xFFFFu) | (static_cast<uint32_t>(Marks[static_cast<size_t>(K)]) << 16);
    PutItem(A + K, std::move(Item));
  }
  EndUpdate();
}

// ---- the change primitive ----

void TEditorScreenStrings::UpdateRows(int A, int N, std::string_view Text) {
  if (A < 0 || N < 0 || A + N > Count() || (N == 0 && Text.empty())) return;
  if (A == Count() && Count() > 0 && RowAttribute(Count() - 1) == raEof) return;
  const int OldCount = Count();
  BeginUpdate();
  const int First = StartsLine(A) ? A : A - 1;
  const int Last = A + N - 1;
  if (N > 0 && StartsLine(A) && RowAttribute(Last) != raWrapped && Text.empty()) {
    TUndoData& U = FUndo->NewUndoItem();
    TLineTextResult Old = LineText(A, N);
    U.FirstRow = A;
    U.OldText = std::move(Old.Text);
    U.LastAttribute = static_cast<uint8_t>(Old.LastAttribute);
    U.OldBreaks = LineBreaksOf(A, N);
    GiveMarks(DeleteRows(A, N), A);
    RefreshRowStates(A, true);
    SetLastChange(A, OldCount, Count(), FLastRefreshedRow);
    EndUpdate();
    return;
  }
  int LastEnd = Last >= 0 ? LineEndRow(Last) : -1;
  if (LastEnd < First - 1) LastEnd = First - 1;
  TRowAttribute NewAttr;
  if (Last >= 0 && Last < LastEnd) {
    NewAttr = RowAttribute(LastEnd);
  } else if (LastEnd < Count() - 1) {
    LastEnd = LineEndRow(LastEnd + 1);
    NewAttr = RowAttribute(LastEnd);
  } else {
    NewAttr = EndsWithBreak(Text) ? raCrlf : raEof;
  }
  // Breaks typed or pasted take the break of the line they split; the rows kept keep theirs.
  const TLineBreak Typed = BreakAround(N > 0 ? Last : A);
  TUndoData& U = FUndo->NewUndoItem();
  TLineTextResult Old = LineText(First, LastEnd - First + 1);
  U.FirstRow = First;
  U.OldText = std::move(Old.Text);
  U.LastAttribute = static_cast<uint8_t>(Old.LastAttribute);
  U.OldBreaks = LineBreaksOf(First, LastEnd - First + 1);

  std::string NewText = JoinedRows<std::string>(First, A - 1);
  std::string Breaks = LineBreaksOf(First, A - First);
  NewText.append(Text);
  Breaks.append(BreakCount(Text), static_cast<char>(Typed));
  NewText.append(JoinedRows<std::string>(Last + 1, LastEnd));
  Breaks.append(LineBreaksOf(Last + 1, LastEnd - Last));
  // The text now ends here with a break (the rest of the line was an empty piece): no raEof row.
  if (NewAttr == raEof && EndsWithBreak(NewText)) NewAttr = raCrlf;
  TEditorStringList Scratch;
  StrToRows(NewText, Scratch);
  // A rebuilt end of text that ends in a break keeps it, whatever the old last row said.
  if (NewAttr == raEof && EndsWithBreak(NewText)) NewAttr = raCrlf;
  Scratch.SetRowAttribute(Scratch.Count() - 1, NewAttr);
  GiveLineBreaks(Scratch, Breaks);
  DropEmptyLastLine(First, Scratch);
  U.NewRowCount = Scratch.Count();
  ReplaceRows(First, LastEnd - First + 1, std::move(Scratch));
  RefreshRowStates(First, true);
  SetLastChange(First, OldCount, Count(), FLastRefreshedRow);
  EndUpdate();
}

// An empty last line without a break adds no byte; keeping it as a row would make the text
// count one line more than the same text loaded afresh.
void TEditorScreenStrings::DropEmptyLastLine(int First, TEditorStringList& Scratch) const {
  const int Last = Scratch.Count() - 1;
  if (Scratch.RowAttribute(Last) != raEof || !Scratch.RowView(Last).empty()) return;
  const bool StartsOwnLine = Last > 0 ? Scratch.RowAttribute(Last - 1) == raCrlf : StartsLine(First);
  if (StartsOwnLine) Scratch.Delete(Last);
}

void TEditorScreenStrings::Clear() {
  DropSelections();
  FUndo->ClearUndo();
  BeginUpdate();
  SetLastChange(0, Count(), 0, 0);
  TRowAttributeStringList::Clear();
  FMarkSet = 0;
  for (IEditorView* E : FEditors) E->SetCaretRowCol(0, 0);
  EndUpdate();
}

// ---- colouring states ----

std::unique_ptr<IRowStateParser> TEditorScreenStrings::NewParser() const {
  const IEditorView* E = ActiveEditor();
  IRowStateProvider* P = E != nullptr ? E->RowStateProvider() : nullptr;
  return P != nullptr ? P->NewRowStateParser() : nullptr;
}

void TEditorScreenStrings::AdvanceState(IRowStateParser* Parser, int Row, TRowAttributeData& State) const {
  State.RowAttribute = RowAttribute(Row);
  if (Parser != nullptr) Parser->UpdateRowState(Row, *this, State);
  State.PrevRowAttribute = RowAttribute(Row);
}

bool TEditorScreenStrings::StoredStateEquals(int Row, const TRowAttributeData& State) const {
  uint32_t W1 = 0;
  uint32_t W2 = 0;
  PackState(State, W1, W2);
  return (Attribute(Row) & StateMask1) == W1 && (Attribute2(Row) & StateMask2) == W2 && StateText(Row) == State.StateText;
}

void TEditorScreenStrings::ClearStatesFrom(int Row) {
  for (int I = std::max(Row, 0); I < std::min(ComputedBound(), Count()); ++I) ClearRowState(I);
  LowerComputedBound(std::max(Row, 0));
}

void TEditorScreenStrings::ComputeStates(IRowStateParser* Parser, int From, TRowAttributeData State, int Limit, bool Notify,
                                         int& Changed) {
  for (int I = From; I <= Limit; ++I) {
    if (StoredStateEquals(I, State)) return;
    SetRowState(I, State);
    FLastRefreshedRow = I;
    if (Notify) {
      ++Changed;
      for (IEditorView* E : FEditors) E->InvalidateRow(I);
    }
    AdvanceState(Parser, I, State);
  }
  ClearStatesFrom(Limit + 1);
}

int TEditorScreenStrings::RefreshRowStates(int Row, bool Notify) {
  FLastRefreshedRow = Row;
  if (Count() == 0) return 0;
  Row = std::clamp(Row, 0, Count() - 1);
  // One parser for the whole walk: building one fills its dispatch tables.
  const auto Parser = NewParser();
  TRowAttributeData State;
  const int From = WalkStart(Parser.get(), Row, State);
  const IEditorView* E = ActiveEditor();
  const int Screen = std::max(E != nullptr ? E->ScreenRows() : 1, 1);
  const int Limit = std::min(Row + 2 * Screen, Count() - 1);
  int Changed = 0;
  ComputeStates(Parser.get(), From, State, Limit, Notify, Changed);
  return Changed;
}

// Where a walk of states down to Row begins, and the state there: after the nearest row above whose
// state is computed. A far jump (Ctrl+End in a big text) need not walk every row between: where the
// parser forgets at a line end, a walk that would be long begins after the nearest line end instead,
// and the rows it skips stay not computed.
int TEditorScreenStrings::WalkStart(IRowStateParser* Parser, int Row, TRowAttributeData& State) const {
  const bool Forgets = Parser == nullptr || Parser->ForgetsAtLineEnd();
  // Rows from the bound on are not computed; only a line end may be looked for among them.
  int R = Forgets ? Row - 1 : std::min(Row - 1, ComputedBound() - 1);
  int LineStart = -1;
  for (; R >= 0; --R) {
    if (LineStart >= 0 && Row - R > FarWalkRows) break;
    if (R < ComputedBound() && BracketIndex(R) != -2) {
      State = RowState(R);
      AdvanceState(Parser, R, State);
      return R + 1;
    }
    if (Forgets && LineStart < 0 && RowAttribute(R) == raCrlf &&
        RowView(R).find_first_not_of(' ') != std::string_view::npos)
      LineStart = R + 1;
  }
  State = InitialRowState();
  return std::max(LineStart, 0);
}

void TEditorScreenStrings::RefreshAllRowStates() {
  const IEditorView* E = ActiveEditor();
  if (E != nullptr && (E->Loading() || E->Destroying())) return;
  ClearStatesFrom(0);
  if (Count() == 0) return;
  int Limit = Count() - 1;
  const bool Full = E != nullptr && E->InitBracketsFull();
  if (E != nullptr && !Full) Limit = std::min(Limit, E->TopRow() + 2 * std::max(E->ScreenRows(), 1));
  if (E == nullptr) Limit = std::min(Limit, 2);
  const auto Parser = NewParser();
  TRowAttributeData State = InitialRowState();
  int From = 0;
  // Only the rows about the top one are asked for: with the top row far down (a text replaced
  // while shown at its end), the walk need not cross every row above it.
  if (E != nullptr && !Full && E->TopRow() > FarWalkRows) From = WalkStart(Parser.get(), std::min(E->TopRow(), Limit), State);
  int Changed = 0;
  ComputeStates(Parser.get(), From, State, Limit, false, Changed);
}

}  // namespace tesvarin
