// Numbers the viewer's hits, for "the m-th of n". The hits are the ones the viewer steps through:
// line by line, each search starting where the last hit ended (one character on after an empty
// hit). They are counted once per text and search, and the number of the hit at a position is found
// from positions kept on the way: all of them, or every k-th when a text holds very many, so the
// memory stays bounded and a number costs at most k steps of the search.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "editor/search/EditorExSearch.h"
#include "editor/text/EditorStrings.h"
#include "editor/text/HugePages.h"

namespace tesvarin {

class THitIndex {
public:
  // At most this many positions are kept.
  static constexpr size_t MaxMarks = size_t{1} << 18;

  // The text: lines ended by CR LF, as the editor's SelStart counts bytes. Produce hands it over in
  // pieces of whole lines (TEditorStrings::ProduceTextPieces); Whole gives it in one, asked for only
  // when there are more hits than positions kept. Raises ERegExpParser for a bad expression.
  void Build(const TTextPieces& Produce, const std::function<TBigString()>& Whole,
             const std::string& Find, TExSearchOptions Options);
  void Clear();
  [[nodiscard]] size_t Count() const { return FCount; }

  // A hit, and where the search that found it began (in the hit's line).
  struct TMark {
    size_t Start;
    size_t From;
  };
  // The first hit of the text, which is always kept; null when there is none.
  [[nodiscard]] const TMark* First() const { return FMarks.empty() ? nullptr : &FMarks.front(); }
  // 1-based number of the hit that starts at byte Pos; 0 when none starts there.
  [[nodiscard]] size_t NumberAt(size_t Pos);

private:
  // Calls Hit(Base + Start, Base + From) for each hit in T from From on (From lies in a line or at its
  // start) while it returns true; T holds whole lines and starts at Base in the text.
  template <class THit>
  void Walk(std::string_view T, size_t Base, size_t From, THit&& Hit);
  void Keep(const TMark& Mark);

  TEditorExSearch FSearch;
  TBigString FText;  // kept only while marks are spaced, to step between them
  std::vector<TMark> FMarks;
  size_t FStride = 1;
  size_t FCount = 0;
};

}  // namespace tesvarin
