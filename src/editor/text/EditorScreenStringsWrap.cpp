// TEditorScreenStrings's rows from text: cutting lines into rows, and cutting or joining them again
// when word wrap or its options change.
#include <algorithm>
#include <cstring>
#include <future>
#include <string>
#include <thread>
#include <vector>

#include "editor/text/EditorScreenStrings.h"
#include "editor/text/EditorUndo.h"
#include "editor/text/RowWrap.h"

namespace tesvarin {

namespace {
// Free records left after a bulk fill, for the first edits.
constexpr int LoadGap = 64;
// Below this a second thread costs more than it saves.
constexpr size_t ParallelCountFrom = size_t{32} << 20;
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

// Whether Line may make more than one row: without a tab a line is as wide as its bytes (one more
// for a lead byte cut off at its end).
bool Wraps(std::string_view Line, bool Tab, const TColumnSettings& Settings, int W) {
  return (Tab || Line.size() + 1 >= static_cast<size_t>(W)) && DisplayWidth(Line, Settings) >= W;
}

// The rows the lines of a text make, and the rows of the lines that wrap, in order: how many, then
// the length of each. A big text has millions of wrapped lines and their cuts are held while its rows
// are made, so each number takes one 16-bit word, or two from 32768 on.
struct TRowCount {
  int64_t Rows = 0;
  std::vector<uint16_t> Cuts;

  void Put(size_t V) {
    if (V >= 0x8000) Cuts.push_back(static_cast<uint16_t>(0x8000 | (V >> 16)));
    Cuts.push_back(static_cast<uint16_t>(V & 0xFFFF));
  }
  [[nodiscard]] size_t Take(size_t& At) const {
    const size_t First = Cuts[At++];
    if ((First & 0x8000) == 0) return First;
    return ((First & 0x7FFF) << 16) | Cuts[At++];
  }
};

void CountPart(std::string_view Part, bool Wrap, const TEditorWrapOption& Options, const TColumnSettings& Settings,
               TRowCount& Out) {
  const int W = Options.WrapByte();
  std::vector<int> Pieces;
  TLineReader Reader(Part);
  std::string_view Line;
  int Kind = 0;
  bool Tab = false;
  while (Reader.Next<true>(Line, Kind, Tab)) {
    if (Kind < 0 && Line.empty()) break;
    if (!Wrap || !Wraps(Line, Tab, Settings, W)) {
      ++Out.Rows;
      continue;
    }
    CutLine(Line, Options, Settings, Pieces);
    Out.Put(Pieces.size());
    for (const int Piece : Pieces) Out.Put(static_cast<size_t>(Piece));
    Out.Rows += static_cast<int64_t>(Pieces.size());
  }
}

// A big text is counted in two halves at once, split after a LF: a LF always ends a line.
TRowCount CountRows(std::string_view Text, bool Wrap, const TEditorWrapOption& Options,
                    const TColumnSettings& Settings) {
  TRowCount Count;
  const size_t Size = Text.size();
  const void* Half = Size >= ParallelCountFrom && std::thread::hardware_concurrency() > 1
                         ? std::memchr(Text.data() + Size / 2, '\n', Size - Size / 2)
                         : nullptr;
  const size_t Split = Half != nullptr ? static_cast<size_t>(static_cast<const char*>(Half) + 1 - Text.data()) : Size;
  if (Split >= Size) {
    CountPart(Text, Wrap, Options, Settings, Count);
    Count.Cuts.shrink_to_fit();
    return Count;
  }
  TRowCount Second;
  auto Later = std::async(std::launch::async, [&] { CountPart(Text.substr(Split), Wrap, Options, Settings, Second); });
  CountPart(Text.substr(0, Split), Wrap, Options, Settings, Count);
  Later.get();
  Count.Rows += Second.Rows;
  Count.Cuts.reserve(Count.Cuts.size() + Second.Cuts.size());  // exactly: no room to spare
  Count.Cuts.insert(Count.Cuts.end(), Second.Cuts.begin(), Second.Cuts.end());
  return Count;
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
      NewItem.Text.SetBreak(Item(End).Text.Break());
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
  const std::string_view Text(Block.get(), Size);
  // Cut as they are made: a whole text cut again after loading would hold its rows twice.
  const bool Wrap = FWordWrap && !Loading() && Size != 0;
  const TColumnSettings Settings = ColumnSettings();
  const int W = FWrapOption.WrapByte();
  const TRowCount Count = CountRows(Text, Wrap, FWrapOption, Settings);
  if (Wrap) DropSelections();
  BeginUpdate();
  TRowAttributeStringList::Clear();
  TLineReader Reader(Text);
  std::string_view Line;
  int Kind = 0;
  bool Tab = false;
  size_t NextCut = 0;
  int Left = 0;  // rows of Line still to make
  bool Whole = true;
  size_t At = 0;
  AppendRows(static_cast<int>(Count.Rows), LoadGap, [&](TheStringItem& Item, int) {
    if (Left == 0) {
      Reader.Next<true>(Line, Kind, Tab);
      Whole = !(Wrap && Wraps(Line, Tab, Settings, W));
      Left = Whole ? 1 : static_cast<int>(Count.Take(NextCut));
      At = 0;
    }
    const size_t Length = Whole ? Line.size() : Count.Take(NextCut);
    Item.Text.SetView(Line.data() + At, Length);
    At += Length;
    --Left;
    if (Kind >= 0) Item.Text.SetBreak(LineBreakOfKind(Kind));
    Item.Attribute = Left > 0 ? raWrapped : Kind < 0 ? raEof : raCrlf;
  });
  AdoptBlock(std::move(Block), Size);
  EndUpdate();
}

}  // namespace tesvarin
