// Hands out the lines of a row store from one line on, skipping the lines a search rules out. Lines
// whose rows still lie in a loaded block as it was read are ruled out by one search over the
// block's bytes, however many they are; every other line is tested on its own.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace tesvarin {

class TEditorScreenStrings;

class TEditorLineScan {
public:
  // The first place in Hay from From on that a line holding a hit must hold, npos when no line of
  // Hay can hold one. Hay may hold many lines with their breaks.
  using TCandidateFinder = std::function<size_t(std::string_view Hay, size_t From)>;

  // Whether the line of bytes [Start, End) may hold a hit, given Cand, the finder's first place at
  // or after Start; a candidate right at the start counts also for an empty line.
  [[nodiscard]] static bool MayHold(size_t Cand, size_t Start, size_t End) {
    return Cand != std::string_view::npos && (Cand < End || Cand == Start);
  }

  // FromRow is the first row of a line (or the row count). A null Finder rules out no line.
  TEditorLineScan(const TEditorScreenStrings& Rows, int FromRow, TCandidateFinder Finder);

  // The next line that may hold a hit: its first row and its bytes, which stay valid until the next
  // call or a change of the rows. False past the last line.
  bool Next(int& LineRow, std::string_view& Text);

private:
  // True when the rows of the line at FRow lie from byte Pos of FBlock on as it was read, with a
  // break after them unless they end the text: End gets the end of their bytes, After the place
  // after the break (npos at the end), NextRow the row after them.
  bool LineInPlace(size_t Pos, size_t& End, size_t& After, int& NextRow) const;
  // Rules out the lines from byte Pos on that are one row each, in place, and end with their break
  // before Stop; Pos and FRow move past them. The walk over most rows: it asks only what these need.
  void SkipPlainLines(size_t Stop, size_t& Pos);
  // Rules out lines in place from FPos on up to the first candidate, which it hands out; false
  // when a line not in place was tested on its own and ruled out, or the text ended.
  bool NextInBlock(int& LineRow, std::string_view& Text);
  // The line at FRow tested on its own.
  bool NextAlone(int& LineRow, std::string_view& Text);

  const TEditorScreenStrings& FRows;
  int FRow;  // first row of the next line neither handed out nor ruled out
  TCandidateFinder FFinder;
  std::string_view FBlock;  // the loaded block that FRow's line may lie in
  size_t FPos;              // where FRow's line lies in FBlock when in place; npos: look it up
  size_t FWindow;           // bytes searched at once in a block (0: to its end), doubled each search
  std::string FBuffer;  // the joined rows of a wrapped line tested on its own
};

}  // namespace tesvarin
