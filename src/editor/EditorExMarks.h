// The search extension's four marks (full-width spaces, spaces, tabs, hits) and the hits of a row.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "editor/EditorMarks.h"

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

// Fills Hits with the parts of the hits in LineText that fall in the row that starts at the 0-based
// byte RowStart of its line and is RowLength bytes long; returns their number. A hit that began in
// an earlier row of the line starts the row's record at 1; one that runs past the row is cut.
int GetFindHits(TEditorExSearch& Search, std::string_view LineText, int RowStart, int RowLength,
                std::vector<TFindHit>& Hits);

}  // namespace tesvarin
