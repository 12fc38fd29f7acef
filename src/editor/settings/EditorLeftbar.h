// The line-number bar at the left of the editor.
#pragma once

#include <cstdint>

#include "support/Color.h"
#include "support/NotifyClasses.h"

namespace tesvarin {

// Numbers count display rows, or lines (a row that continues a wrapped line gets none).
enum TEditorShowNumberMode : uint8_t { nmRow, nmLine };

class TEditorLeftbar : public TNotifyPersistent {
public:
  static constexpr int MinColumn = 1;
  static constexpr int MaxColumn = 8;
  static constexpr int MinMargin = 0;
  static constexpr int MaxMargin = 100;

  void Assign(const TPersistent& Source) override;

  [[nodiscard]] TColor BkColor() const { return FBkColor; }  // clNone: the editor's background
  void SetBkColor(TColor Value);
  // Numbers and the edge line; clNone: the font colour.
  [[nodiscard]] TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  // Minimum number of digit columns, clamped to 1..8.
  [[nodiscard]] int Column() const { return FColumn; }
  void SetColumn(int Value);
  // A raised edge (white and grey) at the right instead of a line in Color.
  [[nodiscard]] bool Edge() const { return FEdge; }
  void SetEdge(bool Value);
  // Pixels before and after the numbers, each clamped to 0..100.
  [[nodiscard]] int LeftMargin() const { return FLeftMargin; }
  void SetLeftMargin(int Value);
  [[nodiscard]] int RightMargin() const { return FRightMargin; }
  void SetRightMargin(int Value);
  [[nodiscard]] bool ShowNumber() const { return FShowNumber; }
  void SetShowNumber(bool Value);
  [[nodiscard]] TEditorShowNumberMode ShowNumberMode() const { return FShowNumberMode; }
  void SetShowNumberMode(TEditorShowNumberMode Value);
  [[nodiscard]] bool Visible() const { return FVisible; }
  void SetVisible(bool Value);
  [[nodiscard]] bool ZeroBase() const { return FZeroBase; }  // numbering starts at 0
  void SetZeroBase(bool Value);
  [[nodiscard]] bool ZeroLead() const { return FZeroLead; }  // pad with zeros instead of spaces
  void SetZeroLead(bool Value);

private:
  TColor FBkColor = clSilver;
  TColor FColor = clBlack;
  int FColumn = 4;
  bool FEdge = true;
  int FLeftMargin = 8;
  int FRightMargin = 4;
  bool FShowNumber = true;
  TEditorShowNumberMode FShowNumberMode = nmRow;
  bool FVisible = false;
  bool FZeroBase = false;
  bool FZeroLead = false;
};

}  // namespace tesvarin
