// Searches walk the text one line at a time, in row-store positions (a line's first row and a byte
// offset in that line), so a step costs what the lines it passes cost and never a walk from the top
// of the text. A hit is shown by dropping the selection, putting the caret at the hit and letting
// ShowHit apply the hit style.
#include "editor/EditorEx.h"

#include <algorithm>
#include <climits>

#include "editor/search/EditorLineScan.h"
#include "editor/caret/EditorSelection.h"
#include "editor/text/EditorUndo.h"
#include "highlighter/Highlighter.h"
#include "highlighter/HighlighterParser.h"

namespace tesvarin {

namespace {

// The replace in the shown text goes through it a piece at a time, as the hit count does.
constexpr size_t ReplacePieceBytes = size_t{16} << 20;

// Hides the caret for one operation; shown again also when a bad expression raises.
class TCaretHidden {
public:
  explicit TCaretHidden(TEditor& Editor) : FEditor(Editor) { FEditor.HideCaret(); }
  ~TCaretHidden() { FEditor.ShowCaret(); }
  TCaretHidden(const TCaretHidden&) = delete;
  TCaretHidden& operator=(const TCaretHidden&) = delete;

private:
  TEditor& FEditor;
};

}  // namespace

TEditorEx::TEditorEx(IEditorWindow* Window, const TPlatform& Platform) : TEditor(Window, Platform) {
  // A virtual call in a constructor reaches this class's own version; a descendant that wants other
  // marks replaces them with SetExMarks.
  FExMarks = CreateExMarks();
  FMarkPainter = std::make_unique<THitMarkPainter>(*this, Scroll(), PaintPass(), *FExMarks);
  FSearch.OnChange = [this] { SearchChanged(); };
}

TEditorEx::~TEditorEx() { FSearch.OnChange = nullptr; }

std::unique_ptr<TEditorExMarks> TEditorEx::CreateExMarks() {
  auto Marks = std::make_unique<TEditorExMarks>();
  Marks->OnChange = TNotifyEvent::Of<&TEditor::ViewChanged>(static_cast<TEditor*>(this));
  return Marks;
}

void TEditorEx::SearchChanged() {
  if (FExMarks != nullptr && FExMarks->FindMark().Visible()) Invalidate();
}

// ---- marks over painted rows

void TEditorEx::DrawLine(std::string_view, int X, int Y, int Index, const TRect& ARect, bool) {
  FMarkPainter->PaintRow(*this, X, Y, Index, ARect);
}

void TEditorEx::DrawDBSpaceMark(int X, int Y) { FMarkPainter->DrawDBSpaceMark(X, Y); }
void TEditorEx::DrawSpaceMark(int X, int Y) { FMarkPainter->DrawSpaceMark(X, Y); }
void TEditorEx::DrawTabMark(int X, int Y) { FMarkPainter->DrawTabMark(X, Y); }
void TEditorEx::DrawFindMark(int X1, int Y, int X2) { FMarkPainter->DrawFindMark(X1, Y, X2); }

// ---- lines

std::string_view TEditorEx::LineView(int ARow, std::string& Buffer) const {
  if (ARow < 0 || ARow >= RowCount()) return {};
  const TEditorScreenStrings& Rows = ListRows();
  const int First = Rows.LineStartRow(ARow);
  const int Last = Rows.LineEndRow(ARow);
  if (First == Last) return Rows.RowView(First);
  Buffer.clear();
  for (int I = First; I <= Last; ++I) Buffer.append(Rows.RowView(I));
  return Buffer;
}

std::string TEditorEx::GetLineText(int ARow) const {
  std::string Buffer;
  return std::string(LineView(ARow, Buffer));
}

// ---- caret placement

void TEditorEx::CaretToLinePos(int LineRow, int64_t Offset) {
  CleanSelection();
  int R = 0;
  int C = 0;
  ListRows().OffsetToRowCol(LineRow, Offset, R, C);
  SetRowCol(R, C);
}

void TEditorEx::CollapseToSelectionEnd() {
  if (!Selection().HasSelection()) {
    CleanSelection();
    return;
  }
  // A box's start plus its length is no place in the text's own terms: taken as it comes.
  if (SelectionMode()) {
    SetSelStart(GetSelStart() + GetSelLength());
    return;
  }
  // The byte after the last selected one, reached from the end row rather than the top.
  const TSelRange Range = Selection().Range();
  CaretToLinePos(Range.EndRow, static_cast<int64_t>(Range.EndByte) + 1);
}

void TEditorEx::ShowFoundHit(int LineRow, int64_t Offset, int Len) {
  CaretToLinePos(LineRow, Offset);
  ShowHit(Len);
  MakeCaretVisible();
  RememberHit(LineRow, Offset, Len);
}

TEditorEx::TEditorLook TEditorEx::Look() const {
  TEditorLook L;
  L.Rows = &ListRows();
  L.Row = Row();
  L.Col = Col();
  L.Layout = ListRows().LayoutVersion();
  L.Text = ListRows().TextVersion();
  L.State = SelState();
  L.Box = SelectionMode();
  if (Selection().HasSelection()) L.Range = Selection().Range();
  return L;
}

void TEditorEx::RememberHit(int LineRow, int64_t Offset, int Len) { FShownHit = {true, LineRow, Offset, Len, Look()}; }

// ---- searching

bool TEditorEx::FindNext() {
  TCaretHidden Hidden(*this);
  // From a hit still shown the search starts right after it; the caret is put at the selection's
  // end only when nothing is found, as a hit puts it elsewhere anyway.
  const bool FromHit = HitStillShown();
  int LineRow = FShownHit.LineRow;
  int64_t Offset = FShownHit.Offset + FShownHit.Len;
  if (!FromHit) {
    CollapseToSelectionEnd();
    const int R = Row();
    LineRow = R < RowCount() ? ListRows().LineStartRow(R) : R;
    Offset = ListRows().RowColToLinePos(R, Col());
  }
  std::string Buffer;
  std::string_view T = LineView(LineRow, Buffer);
  Offset = std::clamp<int64_t>(Offset, 0, static_cast<int64_t>(T.size()));
  T.remove_prefix(static_cast<size_t>(Offset));
  int Len = 0;
  int P = FSearch.StrSearch(T, Len);
  if (P == 0 && FindInLinesAfter(LineRow, P, Len)) Offset = 0;
  if (P == 0) {
    if (FromHit) CollapseToSelectionEnd();
    return false;
  }
  ShowFoundHit(LineRow, Offset + P - 1, Len);
  return true;
}

bool TEditorEx::ShowHitFrom(int64_t From, int64_t Start) {
  if (From < 0 || Start < From) return false;
  int R = 0;
  int C = 0;
  ListRows().OffsetToRowCol(0, From, R, C);
  if (R >= RowCount()) return false;
  const int LineRow = ListRows().LineStartRow(R);
  const int64_t Offset = ListRows().RowColToLinePos(R, C);
  std::string Buffer;
  std::string_view T = LineView(LineRow, Buffer);
  if (Offset < 0 || Offset > static_cast<int64_t>(T.size())) return false;
  int Len = 0;
  const int P = FSearch.StrSearch(T.substr(static_cast<size_t>(Offset)), Len);
  if (P == 0 || P - 1 != Start - From) return false;
  TCaretHidden Hidden(*this);
  CollapseToSelectionEnd();
  ShowFoundHit(LineRow, Offset + P - 1, Len);
  return true;
}

bool TEditorEx::FindInLinesAfter(int& LineRow, int& Pos, int& Len) {
  const int Rows = RowCount();
  if (LineRow >= Rows) return false;
  TEditorLineScan::TCandidateFinder Finder;
  if (FSearch.RulesOutText()) Finder = [this](std::string_view Hay, size_t From) { return FSearch.FirstCandidate(Hay, From); };
  TEditorLineScan Scan(ListRows(), ListRows().LineEndRow(LineRow) + 1, std::move(Finder));
  std::string_view T;
  int Row = 0;
  while (Scan.Next(Row, T)) {
    Pos = FSearch.StrSearch(T, Len);
    if (Pos > 0) {
      LineRow = Row;
      return true;
    }
  }
  return false;
}

bool TEditorEx::FindPrev() {
  TCaretHidden Hidden(*this);
  const TEditorSelState State = SelState();
  if (State == selSelected || (State == selHit && HitStyle() == hsDraw)) ShowHit(0);
  const int Rows = RowCount();
  int N = Row();
  int LineRow = N < Rows ? ListRows().LineStartRow(N) : N;
  std::string Buffer;
  std::string_view T = LineView(N, Buffer);
  const int64_t Cut = std::clamp<int64_t>(ListRows().RowColToLinePos(N, Col()), 0, static_cast<int64_t>(T.size()));
  T = T.substr(0, static_cast<size_t>(Cut));
  int Len = 0;
  int P = FSearch.StrSearchLast(T, Len);
  // The line before starts at the row after the one that ends the line before that.
  while (P == 0 && LineRow > 0) {
    const int PrevLast = std::min(LineRow, Rows) - 1;
    LineRow = ListRows().LineStartRow(PrevLast);
    T = LineView(PrevLast, Buffer);
    P = FSearch.StrSearchLast(T, Len);
  }
  if (P == 0) return false;
  ShowFoundHit(LineRow, P - 1, Len);
  return true;
}

int TEditorEx::ReplaceAll(std::string_view Replacement, bool ExpandCrLf, TReplaceSpots* Spots) {
  if (FindString().empty()) return 0;
  TBigString Out;
  const TEditorStrings& L = Lines();
  const TTextPieces Pieces = [&L](const TTextPieceSink& Take) { L.ProduceTextPieces(ReplacePieceBytes, Take); };
  const int Count = FSearch.ReplaceAllPieces(Pieces, [&L] { return L.BigText(); }, L.TextSize(), L.LineBreaks(),
                                             Replacement, ExpandCrLf, Out, Spots);
  if (Count > 0) SetTextUndoably(std::move(Out));
  return Count;
}

// Setting the text anew keeps each line's break but empties the undo lists: they are kept aside,
// and the whole change joins them as one step whose undo puts the old lines and breaks back.
void TEditorEx::SetTextUndoably(TBigString&& Text) {
  TEditorScreenStrings& Rows = ListRows();
  TEditorUndoObj& Undo = Rows.UndoObj();
  TEditorUndoObj::TKeptText Old = Undo.KeepWholeText();
  TEditorUndoObj::THistory History = Undo.TakeHistory();
  try {
    Lines().TakeLinesText(std::move(Text));
  } catch (...) {
    // Refused before the rows went: they still view what was kept.
    if (Rows.Count() == Old.RowCount) Undo.GiveBack(Old);
    Undo.PutHistoryBack(std::move(History));
    throw;
  }
  Undo.PutHistoryBack(std::move(History));
  TUndoData& U = Undo.NewUndoItem();
  U.FirstRow = 0;
  U.NewRowCount = Rows.Count();
  TEditorUndoObj::Store(std::move(Old), U);
}

// ---- hit records

int TEditorEx::GetFindHits(int ARow) { return FindHitsUpTo(ARow, INT_MAX); }

const std::vector<TFindHit>& TEditorEx::RowHitsUpTo(int ARow, int Bytes) {
  FindHitsUpTo(ARow, Bytes);
  return FFindHits;
}

int TEditorEx::FindHitsUpTo(int ARow, int Bytes) {
  FFindHits.clear();
  if (ARow < 0 || ARow >= RowCount()) return 0;
  TLineHits& C = LineHitsOf(ARow);
  const int RowStart = RowStartInLine(C, ARow);
  const int RowLength = std::min(static_cast<int>(ListRows().RowView(ARow).size()), Bytes);
  // Until the walk is through, a bad expression leaves nothing kept.
  const int LineRow = C.LineRow;
  C.LineRow = -1;
  WalkHits(FSearch, C.Walk, static_cast<size_t>(RowStart + RowLength));
  C.LineRow = LineRow;
  return RowHits(C.Walk.Hits, RowStart, RowLength, FFindHits);
}

TEditorEx::TLineHits& TEditorEx::LineHitsOf(int ARow) {
  const TEditorScreenStrings& Rows = ListRows();
  TLineHits& C = FLineHits;
  if (C.LineRow >= 0 && C.Rows == &Rows && ARow >= C.LineRow && ARow <= C.EndRow &&
      C.TextVersion == Rows.TextVersion() && C.LayoutVersion == Rows.LayoutVersion() && C.FindString == FindString() &&
      C.Options == ExSearchOptions()) {
    return C;
  }
  C.LineRow = Rows.LineStartRow(ARow);
  C.EndRow = Rows.LineEndRow(ARow);
  C.Walk.Reset(LineView(C.LineRow, C.Joined));
  C.Rows = &Rows;
  C.TextVersion = Rows.TextVersion();
  C.LayoutVersion = Rows.LayoutVersion();
  C.FindString = FindString();
  C.Options = ExSearchOptions();
  C.KnownRow = C.LineRow;
  C.KnownStart = 0;
  return C;
}

int TEditorEx::RowStartInLine(TLineHits& C, int ARow) const {
  const TEditorScreenStrings& Rows = ListRows();
  for (; C.KnownRow < ARow; ++C.KnownRow) C.KnownStart += static_cast<int>(Rows.RowView(C.KnownRow).size());
  for (; C.KnownRow > ARow; --C.KnownRow) C.KnownStart -= static_cast<int>(Rows.RowView(C.KnownRow - 1).size());
  return C.KnownStart;
}

// ---- double-click

bool TEditorEx::TokenAt(std::string_view Line, int StartRow, int Offset, int& Start, int& Length) const {
  const std::unique_ptr<THighlighterParser> Parser = ActiveHighlighter().NewParser();
  TRowAttributeData State = ListRows().RowState(StartRow);
  State.BracketIndex = -2;  // an open comment bracket must not swallow the line
  Parser->SetRowText(Line, State);
  while (Parser->NextToken() != ttEnd) {
    const int Pos = Parser->TokenPos();
    if (Pos > Offset) return false;
    if (Offset < Pos + Parser->TokenLength()) {
      Start = Pos;
      Length = Parser->TokenLength();
      return true;
    }
  }
  return false;
}

void TEditorEx::DblClick() {
  if (OnDblClick) OnDblClick(this);
  const int R = Row();
  if (R < 0 || R >= RowCount()) return;
  const int LineRow = ListRows().LineStartRow(R);
  const int Offset = ListRows().RowColToLinePos(R, Col());
  std::string Buffer;
  const std::string_view Line = LineView(R, Buffer);
  int Start = 0;
  int Length = 0;
  if (Offset < 0 || !TokenAt(Line, LineRow, Offset, Start, Length)) return;
  CaretToLinePos(LineRow, Start);
  SetSelLength(Length);
}

}  // namespace tesvarin
