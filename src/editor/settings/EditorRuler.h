// The column ruler along the top of the editor.
#pragma once

#include "support/Color.h"
#include "support/NotifyClasses.h"

namespace tesvarin {

class TEditorRuler : public TNotifyPersistent {
public:
  static constexpr int MinGaugeRange = 8;
  static constexpr int MaxGaugeRange = 10;

  void Assign(const TPersistent& Source) override;

  [[nodiscard]] TColor BkColor() const { return FBkColor; }  // clNone: the editor's background
  void SetBkColor(TColor Value);
  [[nodiscard]] TColor Color() const { return FColor; }  // ticks and numbers; clNone: the font colour
  void SetColor(TColor Value);
  // A raised edge (white over grey) at the bottom instead of a plain line.
  [[nodiscard]] bool Edge() const { return FEdge; }
  void SetEdge(bool Value);
  // Columns between numbered ticks: 8 or 10 (clamped to 8..10, an odd value rounded down).
  [[nodiscard]] int GaugeRange() const { return FGaugeRange; }
  void SetGaugeRange(int Value);
  // Background of the caret-column mark; clNone: the font colour.
  [[nodiscard]] TColor MarkColor() const { return FMarkColor; }
  void SetMarkColor(TColor Value);
  [[nodiscard]] bool Visible() const { return FVisible; }
  void SetVisible(bool Value);

private:
  TColor FBkColor = clSilver;
  TColor FColor = clBlack;
  bool FEdge = true;
  int FGaugeRange = 10;  // invariant: 8 or 10
  TColor FMarkColor = clBlack;
  bool FVisible = false;
};

}  // namespace tesvarin
