// The editor's selection: its state, anchor, the normalized stream range and display rectangle,
// and the byte rules of stream and box selections over the rows.
#pragma once

#include <cstdint>
#include <string>

#include "editor/chars/ColumnMap.h"
#include "editor/model/EditModel.h"

namespace tesvarin {

// The normalized stream range. EndByte is the last selected byte (inclusive), so a range that ends
// at the start of its end row has EndByte -1.
struct TSelRange {
  int StartRow = 0;
  int StartByte = 0;
  int EndRow = 0;
  int EndByte = -1;
  bool operator==(const TSelRange&) const = default;
};

// The normalized display range; a box covers the columns Left <= c < Right on rows Top .. Bottom.
struct TSelRect {
  int Top = 0;
  int Bottom = 0;
  int Left = 0;
  int Right = 0;
  bool operator==(const TSelRect&) const = default;
};

// The bytes First <= b < End of a row that a box covers (End == First: none).
struct TBoxSpan {
  int First = 0;
  int End = 0;
  bool operator==(const TBoxSpan&) const = default;
};

// A point of the selection: a row, the byte index in it (capped at the row length) and the column.
struct TSelPoint {
  int Row = 0;
  int Byte = 0;
  int Col = 0;
};

class TEditorSelection {
public:
  explicit TEditorSelection(TEditModel& Model) : FModel(Model) {}
  TEditorSelection(const TEditorSelection&) = delete;
  TEditorSelection& operator=(const TEditorSelection&) = delete;

  [[nodiscard]] TEditorSelState State() const { return FState; }
  // Something is selected or a hit is shown (selStarted alone selects nothing).
  [[nodiscard]] bool HasSelection() const { return FState == selSelected || FState == selHit; }
  [[nodiscard]] bool BoxMode() const { return FBoxMode; }
  // Switches the mode; an existing selection is recomputed for it and repainted.
  void SetBoxMode(bool Value);

  [[nodiscard]] int AnchorRow() const { return FAnchor.Row; }
  [[nodiscard]] int AnchorByte() const { return FAnchor.Byte; }
  // The anchor's column; in stream mode capped at its row's width.
  [[nodiscard]] int AnchorCol() const;

  // Drops any selection and anchors a new one at the caret (selStarted); nothing on an empty text.
  void Start();
  // Extends to the caret: selStarted becomes selSelected (selHit with AsHit), then the range and
  // rectangle are recomputed, the changed rows repainted and OnSelectionChange fired.
  void Extend(bool AsHit = false);
  // Forgets the selection without repainting; the editor's CleanSelection does the repaint.
  void Clear() { FState = selNone; }

  [[nodiscard]] const TSelRange& Range() const { return FRange; }
  [[nodiscard]] const TSelRect& Rect() const { return FRect; }

  // Bytes a box covers on a row with this map and length (see the .cpp for the edge rules).
  [[nodiscard]] static TBoxSpan BoxSpan(const TColumnMap& Map, int RowLength, int Left, int Right);
  [[nodiscard]] TBoxSpan BoxSpanOfRow(int ARow) const;

  // Selected bytes, line breaks two each; 0 without a selection.
  [[nodiscard]] int64_t Length() const;
  // The selected bytes: stream rows joined into lines; a box gives each row's bytes plus CR LF.
  [[nodiscard]] std::string Text() const;
  // Whether the display position lies inside the selection (a drag may start there).
  [[nodiscard]] bool Contains(int ARow, int ACol) const;

private:
  [[nodiscard]] TSelPoint CaretPoint() const;
  [[nodiscard]] int CappedCol(const TSelPoint& P) const;
  void Recompute();
  [[nodiscard]] int LastRow() const;  // the last row a box reaches that holds bytes
  [[nodiscard]] bool EndsLine(int ARow) const;
  [[nodiscard]] int RowLength(int ARow) const;
  void AppendStreamText(std::string& Out) const;
  void AppendBoxText(std::string& Out) const;

  TEditModel& FModel;
  TEditorSelState FState = selNone;
  bool FBoxMode = false;
  TSelPoint FAnchor;  /// Col uncapped: a mode switch recomputes from it
  TSelPoint FCaret;   /// the caret as of the last extension
  TSelRange FRange;
  TSelRect FRect;
};

}  // namespace tesvarin
