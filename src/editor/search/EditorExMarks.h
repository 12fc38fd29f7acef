// The search extension's four marks (full-width spaces, spaces, tabs, hits) and a hit record of a row.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "editor/settings/EditorMarks.h"

namespace tesvarin {

class TEditorExSearch;


class TEditorExMarks : public TNotifyPersistent {
public:
  TEditorExMarks();

  // Copies the four marks in order; one notification, also when a copy fails.
  void Assign(const TPersistent& Source) override;

  [[nodiscard]] TEditorMark& DBSpaceMark() { return FDBSpaceMark; }
  [[nodiscard]] const TEditorMark& DBSpaceMark() const { return FDBSpaceMark; }
  void SetDBSpaceMark(const TEditorMark& Value) { FDBSpaceMark.Assign(Value); }
  [[nodiscard]] TEditorMark& SpaceMark() { return FSpaceMark; }
  [[nodiscard]] const TEditorMark& SpaceMark() const { return FSpaceMark; }
  void SetSpaceMark(const TEditorMark& Value) { FSpaceMark.Assign(Value); }
  [[nodiscard]] TEditorMark& TabMark() { return FTabMark; }
  [[nodiscard]] const TEditorMark& TabMark() const { return FTabMark; }
  void SetTabMark(const TEditorMark& Value) { FTabMark.Assign(Value); }
  [[nodiscard]] TEditorMark& FindMark() { return FFindMark; }
  [[nodiscard]] const TEditorMark& FindMark() const { return FFindMark; }
  void SetFindMark(const TEditorMark& Value) { FFindMark.Assign(Value); }

private:
  TEditorMark FDBSpaceMark;
  TEditorMark FSpaceMark;
  TEditorMark FTabMark;
  TEditorMark FFindMark;
};

// The marked part of one display row: 1-based start in the row and length in bytes.
struct TFindHit {
  int32_t Start = 0;
  int32_t Length = 0;
  friend bool operator==(const TFindHit&, const TFindHit&) = default;
};

// The hits of one line (1-based line positions, in order), found as far as asked and resumable, so
// the rows of a long line are served from one walk. A search starts after the last hit, as a search
// command would; a haystack is cut to a window (doubled while nothing is found), so each search
// costs only the bytes up to its hit.
struct THitWalk {
  std::string_view Line;  // up to its first NUL: an empty hit there ends the walk
  size_t Scanned = 0;     // where the next search starts
  bool Done = false;
  std::vector<TFindHit> Hits;
  void Reset(std::string_view LineText);
};
// Walks on until the search has passed the line's byte Need (0-based).
void WalkHits(TEditorExSearch& Search, THitWalk& Walk, size_t Need);
// Fills Hits with the parts of LineHits that fall in the row that starts at the 0-based byte
// RowStart of its line and is RowLength bytes long; returns their number. A hit that began in an
// earlier row starts the row's record at 1; one that runs past the row is cut.
int RowHits(const std::vector<TFindHit>& LineHits, int RowStart, int RowLength, std::vector<TFindHit>& Hits);
// Both steps for one row of LineText.
int GetFindHits(TEditorExSearch& Search, std::string_view LineText, int RowStart, int RowLength,
                std::vector<TFindHit>& Hits);

}  // namespace tesvarin
