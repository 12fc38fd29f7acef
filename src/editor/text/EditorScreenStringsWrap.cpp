// TEditorScreenStrings's rows from text: cutting lines into rows, and cutting or joining them again
// when word wrap or its options change.
#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <exception>
#include <functional>
#include <future>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "editor/text/EditorScreenStrings.h"
#include "editor/text/EditorUndo.h"
#include "editor/text/RowWrap.h"
#include "support/Exception.h"

namespace tesvarin {

namespace {
// Free records left after a bulk fill, for the first edits.
constexpr int LoadGap = 64;
// Below this a second thread costs more than it saves.
constexpr size_t ParallelCountFrom = size_t{32} << 20;
// Rows are counted in ints, the free records after a bulk fill included.
constexpr int64_t MaxRowCount = INT_MAX - LoadGap;

[[noreturn]] void RaiseTooManyRows() { throw EInOutError("行数が多すぎて表示できません", EFBIG); }
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
// Whether Line may make more than one row: without a tab a line is as wide as its bytes (one more
// for a lead byte cut off at its end).
bool Wraps(std::string_view Line, bool Tab, const TColumnSettings& Settings, int W) {
  return (Tab || Line.size() + 1 >= static_cast<size_t>(W)) && DisplayWidth(Line, Settings) >= W;
}

// The rows the lines of a text make, and the rows of the lines that wrap, in order: how many, then
// the length of each. A big text has millions of wrapped lines and their cuts are held while its rows
// are made, so each number takes one 16-bit word, or two from 32768 on.
struct TRowCount {
  using TCuts = std::vector<uint16_t, THugePageAllocator<uint16_t>>;
  static constexpr size_t GiveBackStep = size_t{1} << 20;
  int64_t Rows = 0;
  TCuts Cuts;
  size_t Size = 0;       // of the text counted, which may end at a Ctrl+Z
  size_t GivenBack = 0;  // the cuts read when some were last given back

  void Put(size_t V) {
    if (V >= 0x8000) Cuts.push_back(static_cast<uint16_t>(0x8000 | (V >> 16)));
    Cuts.push_back(static_cast<uint16_t>(V & 0xFFFF));
  }
  [[nodiscard]] size_t Take(size_t& At) const {
    const size_t First = Cuts[At++];
    if ((First & 0x8000) == 0) return First;
    return ((First & 0x7FFF) << 16) | Cuts[At++];
  }
  // The cuts before At are read for good. A big text's go back to the system as its rows are made:
  // held to the end, they would add to the peak the rows' fresh pages reach.
  void GiveBackBefore(size_t At) {
    if (At - GivenBack < GiveBackStep) return;
    GivenBack = At;
    if (TCuts::allocator_type::Mapped(Cuts.capacity())) GiveBackPages(Cuts.data(), At * sizeof(uint16_t));
  }
};

template <bool Eof>
void CountPart(std::string_view Part, bool Wrap, const TEditorWrapOption& Options, const TColumnSettings& Settings,
               TRowCount& Out) {
  const int W = Options.WrapByte();
  std::vector<int> Pieces;
  TLineReader Reader(Part);
  std::string_view Line;
  int Kind = 0;
  bool Tab = false;
  while (Reader.Next<true, Eof>(Line, Kind, Tab)) {
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
  Out.Size = static_cast<size_t>(Reader.End() - Part.data());
}

void CountPart(std::string_view Part, bool Wrap, bool Eof, const TEditorWrapOption& Options,
               const TColumnSettings& Settings, TRowCount& Out) {
  if (Eof)
    CountPart<true>(Part, Wrap, Options, Settings, Out);
  else
    CountPart<false>(Part, Wrap, Options, Settings, Out);
}

// A big text is counted in two halves at once, split after a LF: a LF always ends a line. With Eof
// the text ends at its first Ctrl+Z; looking for it in the same pass spares a pass over a big file.
TRowCount CountRows(std::string_view Text, bool Wrap, bool Eof, const TEditorWrapOption& Options,
                    const TColumnSettings& Settings) {
  TRowCount Count;
  const size_t Size = Text.size();
  const void* Half = Size >= ParallelCountFrom && std::thread::hardware_concurrency() > 1
                         ? std::memchr(Text.data() + Size / 2, '\n', Size - Size / 2)
                         : nullptr;
  const size_t Split = Half != nullptr ? static_cast<size_t>(static_cast<const char*>(Half) + 1 - Text.data()) : Size;
  if (Split >= Size) {
    CountPart(Text, Wrap, Eof, Options, Settings, Count);
    Count.Cuts.shrink_to_fit();
    return Count;
  }
  TRowCount Second;
  auto Later =
      std::async(std::launch::async, [&] { CountPart(Text.substr(Split), Wrap, Eof, Options, Settings, Second); });
  CountPart(Text.substr(0, Split), Wrap, Eof, Options, Settings, Count);
  Later.get();
  // A text that ends in the first half has no second.
  if (Count.Size < Split) return Count;
  Count.Rows += Second.Rows;
  Count.Size += Second.Size;
  Count.Cuts.reserve(Count.Cuts.size() + Second.Cuts.size());  // exactly: no room to spare
  Count.Cuts.insert(Count.Cuts.end(), Second.Cuts.begin(), Second.Cuts.end());
  return Count;
}
}  // namespace

namespace {
// The text of a line made of Rows (records of its rows in order). Views into one loaded block that
// follow each other are joined as a view: a big text unwrapped keeps no copy of its lines. Otherwise
// the rows are copied into Joined. Shared: whether the result may be viewed rather than copied.
template <class RowAt>
std::string_view JoinedLine(size_t N, RowAt&& Row, const TRowStringList& List, std::string& Joined, bool& Shared) {
  const TRowText& First = Row(0);
  Shared = First.IsView() || (N == 1 && First.Size() == 0);
  if (N == 1) return First.View();
  const char* Start = nullptr;
  const char* End = nullptr;
  for (size_t I = 0; I < N && Shared; ++I) {
    const std::string_view V = Row(I).View();
    if (V.empty()) continue;
    if (!Row(I).IsView() || (End != nullptr && V.data() != End)) Shared = false;
    if (Start == nullptr) Start = V.data();
    End = V.data() + V.size();
  }
  if (Shared && Start == nullptr) return {};
  if (Shared) {
    const std::string_view Block = List.BlockHolding(Start);
    if (Block.data() + Block.size() >= End) return {Start, static_cast<size_t>(End - Start)};
  }
  Shared = false;
  Joined.clear();
  for (size_t I = 0; I < N; ++I) Joined.append(Row(I).View());
  return Joined;
}
}  // namespace

// Re-cuts (Wrap) or joins every line; marks follow their line, the last row keeps its ending. The
// first pass cuts the lines and notes how far the new rows run ahead of the old ones; the second
// rebuilds the records in place with that much room, so a big text is never held twice.
void TEditorScreenStrings::RebuildRows(bool Wrap) {
  if (Count() == 0 || (Wrap && Loading())) return;
  DropSelections();
  // The store's own change handler waits until every row is made, also when the rebuild is refused.
  struct TQuiet {
    TEditorScreenStrings& Rows;
    std::function<void(TRowStringList&)> Handler;
    ~TQuiet() {
      Rows.EndUpdate();
      Rows.OnChange = std::move(Handler);
    }
  } Quiet{*this, std::move(OnChange)};
  OnChange = nullptr;
  BeginUpdate();
  TRowAttribute LastAttr = RowAttribute(Count() - 1);
  if (LastAttr == raWrapped) LastAttr = raEof;
  const TColumnSettings Settings = ColumnSettings();
  const int W = FWrapOption.WrapByte();
  std::vector<int> Pieces;
  std::string Joined;
  bool Shared = false;
  TRowCount Cuts;           // the pieces of each line that is cut, in order
  std::vector<bool> IsCut;  // per line
  int64_t Lead = 0;
  // Unwrapped, every line makes one row and no row runs ahead: only cutting needs the first pass.
  for (int Row = 0; Wrap && Row < Count();) {
    const int End = LineEndRow(Row);
    auto RowAt = [&](size_t I) -> const TRowText& { return Item(Row + static_cast<int>(I)).Text; };
    const std::string_view Line = JoinedLine(static_cast<size_t>(End - Row + 1), RowAt, *this, Joined, Shared);
    const bool Cut = Wraps(Line, Line.find('\t') != std::string_view::npos, Settings, W);
    IsCut.push_back(Cut);
    int64_t Made = 1;
    if (Cut) {
      CutLine(Line, FWrapOption, Settings, Pieces);
      Cuts.Put(Pieces.size());
      for (const int Piece : Pieces) Cuts.Put(static_cast<size_t>(Piece));
      Made = static_cast<int64_t>(Pieces.size());
    }
    Cuts.Rows += Made;
    Lead = std::max(Lead, Cuts.Rows - (End + 1));
    Row = End + 1;
  }
  if (Cuts.Rows > MaxRowCount) RaiseTooManyRows();
  std::vector<TheStringItem> Old;  // the rows of the line being made, taken
  std::vector<TheStringItem> New;
  size_t NextCut = 0;
  size_t Line = 0;
  Restream(static_cast<int>(Lead), [&](auto&& Take, auto&& Put, auto&& Left) {
    // Out of memory half way: the lines not yet made keep their old rows, so no text is lost.
    struct TKeepRest {
      std::vector<TheStringItem>& Old;
      decltype(Take)& TakeOld;
      decltype(Put)& PutNew;
      decltype(Left)& AnyLeft;
      ~TKeepRest() {
        if (std::uncaught_exceptions() == 0) return;
        for (TheStringItem& Item : Old) PutNew(std::move(Item));
        while (AnyLeft()) PutNew(TakeOld());
      }
    } KeepRest{Old, Take, Put, Left};
    while (Left()) {
      Old.clear();
      // The room first: a record taken and then lost to a failed push would lose its text.
      do {
        Old.emplace_back();
        Old.back() = Take();
      } while (Left() && (Old.back().Attribute & 3) == raWrapped);
      auto RowAt = [&](size_t I) -> const TRowText& { return Old[I].Text; };
      const std::string_view Text = JoinedLine(Old.size(), RowAt, *this, Joined, Shared);
      const bool Cut = Wrap && IsCut[Line++];
      const size_t N = Cut ? Cuts.Take(NextCut) : 1;
      const TLineBreak Break = Old.back().Text.Break();
      New.clear();
      size_t At = 0;
      for (size_t K = 0; K < N; ++K) {
        TheStringItem& NewItem = New.emplace_back();
        const size_t Length = Cut ? Cuts.Take(NextCut) : Text.size();
        if (Shared)
          NewItem.Text.SetView(Text.data() + At, Length);
        else
          NewItem.Text.Assign(Text.substr(At, Length));
        At += Length;
        NewItem.Text.SetBreak(Break);
        NewItem.Attribute = K + 1 < N ? raWrapped : !Left() ? LastAttr : raCrlf;
        // Each old row's marks go to the new row at its place, or the line's last.
        for (size_t I = K; I < Old.size() && (I == K || K + 1 == N); ++I)
          NewItem.Attribute2 |= Old[I].Attribute2 & 0xFFFF0000u;
      }
      Old.clear();  // nothing below allocates: the room was made first
      for (TheStringItem& Item : New) Put(std::move(Item));
    }
  });
}

// Refused or cut short, the rows may still have changed: the editors are brought in step either way.
void TEditorScreenStrings::RebuildRowsAndViews(bool Wrap) {
  FUndo->ClearUndo();
  std::exception_ptr Failure;
  try {
    RebuildRows(Wrap);
  } catch (...) {
    Failure = std::current_exception();
  }
  RefreshAllRowStates();
  RefreshEditors();
  ClampEditors();
  for (IEditorView* E : FEditors) E->SetCaretRowCol(E->CaretRow(), 0);
  if (Failure) std::rethrow_exception(Failure);
}

void TEditorScreenStrings::SetWordWrap(bool Value) {
  if (Value == FWordWrap) return;
  FWordWrap = Value;
  if (Loading()) return;
  try {
    RebuildRowsAndViews(Value);
  } catch (...) {
    FWordWrap = !Value;  // refused, or cut short with the rest of the lines as they were
    throw;
  }
}

void TEditorScreenStrings::WrapOptionChanged() {
  if (Loading() || !FWordWrap) return;
  RebuildRowsAndViews(true);
}

std::optional<size_t> TEditorScreenStrings::BlockTextSize() const {
  const std::string_view Block = SoleBlock();
  if (Block.empty() || Count() == 0) return std::nullopt;
  const char* P = Block.data();
  const char* const End = P + Block.size();
  bool Wrapped = false;  // the row before was
  for (int I = 0; I < Count();) {
    int Run = 0;
    const TheStringItem* Item = ItemRun(I, Run);
    I += Run;
    for (const TheStringItem* Stop = Item + Run; Item != Stop; ++Item) {
      // A row with bytes must view them where the last one stopped; an empty one holds nothing to
      // tell, and the breaks around it are checked.
      const std::string_view Row = Item->Text.View();
      if (!Row.empty() && (!Item->Text.IsView() || Row.data() != P || Row.size() > static_cast<size_t>(End - P)))
        return std::nullopt;
      P += Row.size();
      const TRowAttribute Attribute = RowAttributeOf(*Item);
      // Only the last row may lack a break. A cut text ends in an empty one only after a wrapped
      // row: a break at its end ends the rows there.
      if (Attribute == raEof && (I < Count() || Item + 1 != Stop || (Row.empty() && !Wrapped))) return std::nullopt;
      Wrapped = Attribute == raWrapped;
      if (Attribute != raCrlf) continue;
      // The break the line reader would read there.
      const TLineBreak Break = Item->Text.Break();
      if (P == End || (*P != '\r' && *P != '\n') || LineBreakOfKind(BreakKindAt(P, End)) != Break) return std::nullopt;
      P += Break == lbCrLf ? 2 : 1;
    }
  }
  if (RowAttribute(Count() - 1) == raWrapped || !MakeBlocksOwn()) return std::nullopt;
  return static_cast<size_t>(P - Block.data());
}

void TEditorScreenStrings::SetRowsFromBlock(TTextBlock&& Block, size_t Size, const std::function<void(int64_t)>& CheckRows,
                                            std::string* CtrlZTail) {
  // Cut as they are made: a whole text cut again after loading would hold its rows twice.
  const bool Wrap = FWordWrap && !Loading() && Size != 0;
  const TColumnSettings Settings = ColumnSettings();
  const int W = FWrapOption.WrapByte();
  TRowCount Count = CountRows({Block.get(), Size}, Wrap, CtrlZTail != nullptr, FWrapOption, Settings);
  if (CtrlZTail != nullptr) CtrlZTail->assign(Block.get() + Count.Size, Size - Count.Size);
  Size = Count.Size;
  const std::string_view Text(Block.get(), Size);
  if (CheckRows) CheckRows(Count.Rows);
  if (Count.Rows > MaxRowCount) RaiseTooManyRows();
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
  bool AllCrLf = true;
  AppendRows(static_cast<int>(Count.Rows), LoadGap, [&](TheStringItem& Item, int) {
    if (Left == 0) {
      Reader.Next<true>(Line, Kind, Tab);
      AllCrLf = AllCrLf && (Kind < 0 || LineBreakOfKind(Kind) == lbCrLf);
      Whole = !(Wrap && Wraps(Line, Tab, Settings, W));
      Left = Whole ? 1 : static_cast<int>(Count.Take(NextCut));
      At = 0;
      Count.GiveBackBefore(NextCut);
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
  if (AllCrLf) FCutCrLfVersion = TextVersion();
}

}  // namespace tesvarin
