// A block is searched from the line on to the first candidate, and the lines before it are then
// walked to check that their rows still lie in the block as it was read; only then do the block's
// bytes stand for them. Once a line is found out of place, later searches run in windows that end
// at a line break and double each time, so edited lines cost no search of the whole block each.
#include "editor/search/EditorLineScan.h"

#include <algorithm>
#include <utility>

#include "editor/text/EditorScreenStrings.h"
#include "support/ByteSearch.h"

namespace tesvarin {

namespace {

constexpr size_t Npos = std::string_view::npos;
constexpr size_t FirstWindow = 2048;
constexpr size_t MaxWindow = size_t{1} << 20;

// The place after the line break at Pos (CR LF, a lone CR or a lone LF, as rows are split), or npos
// when no break is there.
size_t AfterBreak(std::string_view Block, size_t Pos) {
  if (Pos >= Block.size()) return Npos;
  if (Block[Pos] == '\n') return Pos + 1;
  if (Block[Pos] != '\r') return Npos;
  return Pos + 1 < Block.size() && Block[Pos + 1] == '\n' ? Pos + 2 : Pos + 1;
}

// The first line break at or after Pos, or the block's end.
size_t BreakFrom(std::string_view Block, size_t Pos) {
  if (Pos >= Block.size()) return Block.size();
  const char* End = Block.data() + Block.size();
  return static_cast<size_t>(FindAnyByte(Block.data() + Pos, End, "\r\n") - Block.data());
}

}  // namespace

TEditorLineScan::TEditorLineScan(const TEditorScreenStrings& Rows, int FromRow, TCandidateFinder Finder)
    : FRows(Rows), FRow(FromRow), FFinder(std::move(Finder)), FPos(Npos), FWindow(0) {}

bool TEditorLineScan::Next(int& LineRow, std::string_view& Text) {
  while (FRow < FRows.Count()) {
    if (!FFinder) return NextAlone(LineRow, Text);
    if (FPos == Npos) {
      const std::string_view First = FRows.RowView(FRow);
      FBlock = First.empty() ? std::string_view() : FRows.BlockHolding(First.data());
      if (!FBlock.empty()) FPos = static_cast<size_t>(First.data() - FBlock.data());
    }
    if (FPos == Npos ? NextAlone(LineRow, Text) : NextInBlock(LineRow, Text)) return true;
  }
  return false;
}

bool TEditorLineScan::LineInPlace(size_t Pos, size_t& End, size_t& After, int& NextRow) const {
  const int Count = FRows.Count();
  int Row = FRow;
  size_t At = Pos;
  for (;;) {
    const TheStringItem& Item = FRows.Item(Row);
    const std::string_view R = Item.Text.View();
    if (!R.empty()) {
      if (R.data() != FBlock.data() + At || R.size() > FBlock.size() - At) return false;
      At += R.size();
    }
    const TRowAttribute A = TEditorScreenStrings::RowAttributeOf(Item);
    ++Row;
    if (A == raWrapped && Row < Count) continue;
    End = At;
    NextRow = Row;
    // The last row has no break after it; any other must have one right there.
    if (A != raCrlf) {
      After = Npos;
      return true;
    }
    After = AfterBreak(FBlock, At);
    return After != Npos;
  }
}

void TEditorLineScan::SkipPlainLines(size_t Stop, size_t& Pos) {
  const char* const Block = FBlock.data();
  size_t At = Pos;
  while (FRow < FRows.Count()) {
    int Count = 0;
    const TheStringItem* Item = FRows.ItemRun(FRow, Count);
    int Done = 0;
    for (; Done < Count; ++Done, ++Item) {
      if (TEditorScreenStrings::RowAttributeOf(*Item) != raCrlf) break;
      const std::string_view R = Item->Text.View();
      if (!R.empty() && R.data() != Block + At) break;
      // Stop lies in the block, so a row ending before it lies in the block too.
      const size_t End = At + R.size();
      if (End >= Stop) break;
      const size_t After = AfterBreak(FBlock, End);
      if (After == Npos || After > Stop) break;
      At = After;
    }
    FRow += Done;
    if (Done < Count) break;
  }
  Pos = At;
}

bool TEditorLineScan::NextInBlock(int& LineRow, std::string_view& Text) {
  size_t Pos = FPos;
  for (;;) {
    // The first search runs to the block's end, touching no byte past the candidate's; windows
    // start once a line not in place was met, so no later search runs far past such a line.
    const size_t Lim = FWindow == 0 ? FBlock.size() : BreakFrom(FBlock, Pos + std::min(FWindow, FBlock.size() - Pos));
    if (FWindow != 0) FWindow = std::min(FWindow * 2, MaxWindow);
    const size_t Cand = FFinder(FBlock.substr(0, Lim), Pos);
    // Rule out the lines before the candidate, or every line of the window when there is none.
    SkipPlainLines(std::min(Cand, Lim), Pos);
    FPos = Pos;
    for (;;) {
      if (FRow >= FRows.Count()) return false;
      size_t End = 0, After = 0;
      int NextRow = 0;
      if (!LineInPlace(Pos, End, After, NextRow)) {
        if (FWindow == 0) FWindow = FirstWindow;
        FPos = Npos;
        return NextAlone(LineRow, Text);
      }
      const bool Searched = End <= Lim;
      if (Searched && MayHold(Cand, Pos, End)) {
        LineRow = FRow;
        Text = FBlock.substr(Pos, End - Pos);
        FRow = NextRow;
        FPos = After;
        return true;
      }
      if (!Searched) break;  // the window ended inside this line: search again from its start
      FRow = NextRow;
      if (After == Npos) {
        FPos = Npos;
        return false;
      }
      Pos = After;
      FPos = Pos;
      // Past the window's end, or past a candidate that lay in a line break: search on.
      if (Pos > Lim || (Cand != Npos && Pos > Cand)) break;
    }
  }
}

bool TEditorLineScan::NextAlone(int& LineRow, std::string_view& Text) {
  const int Last = FRows.LineEndRow(FRow);
  if (Last == FRow) {
    Text = FRows.RowView(FRow);
  } else {
    FBuffer.clear();
    for (int I = FRow; I <= Last; ++I) FBuffer.append(FRows.RowView(I));
    Text = FBuffer;
  }
  LineRow = FRow;
  FRow = Last + 1;
  FPos = Npos;
  // A view with no bytes may have no data pointer, which a finder need not expect.
  return !FFinder || FFinder(Text.empty() ? std::string_view("", 0) : Text, 0) != Npos;
}

}  // namespace tesvarin
