// What a replace changes in one file, hit by hit, worked out before anything is written: the
// preview shows it, the journal keeps what it replaces, and saving applies it over the bytes it was
// made from, so what is seen is what is written.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "editor/search/EditorExSearch.h"
#include "support/FileStamp.h"
#include "support/TextEncoding.h"

namespace tesvarin {

struct TPlannedHit {
  uint64_t Offset = 0;     // of the replaced bytes in the file
  std::string Old;         // the bytes replaced
  std::string New;         // what they become
  int64_t Line = 1;        // 1-based line of the hit's first byte
  uint64_t LineStart = 0;  // offset of that line
  std::string LineText;    // the lines the hit touches, without the break of the last
  bool Ticked = true;
};

// Lines of a file that change, before and after, with the lines' breaks as the file has them.
struct TPlanHunk {
  int64_t OldLine = 1, OldCount = 0;
  int64_t NewLine = 1, NewCount = 0;
  std::string Before, After;
  bool BeforeEndsFile = false;  // Before runs to the end of a file that ends without a break
};

class TReplacePlan {
public:
  TReplacePlan() = default;
  // The plan of the replacements Spots over Original (sorted, not overlapping, as a replace-all
  // makes them).
  TReplacePlan(std::string_view Original, const TReplaceSpots& Spots);

  std::vector<TPlannedHit> Hits;

  [[nodiscard]] size_t TickedCount() const;
  [[nodiscard]] bool Empty() const { return TickedCount() == 0; }
  // Original with the ticked hits spliced in; every other byte is Original's.
  [[nodiscard]] std::string Apply(std::string_view Original) const;
  // The changed lines, hits that share a line together.
  [[nodiscard]] std::vector<TPlanHunk> Hunks(std::string_view Original) const;
  // One hit's line before and after, the other hits left out.
  [[nodiscard]] static std::string LineAfter(const TPlannedHit& Hit);
};

// One file of a batch that is shown before it is written: its plan, and the stamp of the bytes the
// plan was made over (the file must still hold them when it is written).
struct TPlannedFile {
  std::string Path;
  TReplacePlan Plan;
  TFileStamp Stamp;
  TTextEncoding Encoding = teShiftJis;  // of the file; the plan is about its text as code page 932
};

// The hunks of a unified diff without context lines (what follows the "---" and "+++" lines of the
// file), lines ended by LF, in the file's bytes.
[[nodiscard]] std::string DiffHunks(std::string_view Original, const TReplacePlan& Plan);

}  // namespace tesvarin
