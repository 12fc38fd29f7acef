// How far the caret and the view jump on repeated keys, and how eagerly colouring states are computed.
#pragma once

#include "support/Object.h"

namespace tesvarin {

// A step factor, 1..4.
using TEditorSpeedRange = int;

// Read only when a key acts or the states are recomputed, so nothing needs telling of a change.
class TEditorSpeed : public TPersistent {
public:
  static constexpr TEditorSpeedRange MinSpeedRange = 1;
  static constexpr TEditorSpeedRange MaxSpeedRange = 4;

  void Assign(const TPersistent& Source) override;

  // Every factor is clamped to 1..4.
  [[nodiscard]] TEditorSpeedRange CaretVerticalAc() const { return FCaretVerticalAc; }
  void SetCaretVerticalAc(TEditorSpeedRange Value);
  [[nodiscard]] bool InitBracketsFull() const { return FInitBracketsFull; }
  void SetInitBracketsFull(bool Value) { FInitBracketsFull = Value; }
  [[nodiscard]] TEditorSpeedRange PageVerticalRange() const { return FPageVerticalRange; }
  void SetPageVerticalRange(TEditorSpeedRange Value);
  [[nodiscard]] TEditorSpeedRange PageVerticalRangeAc() const { return FPageVerticalRangeAc; }
  void SetPageVerticalRangeAc(TEditorSpeedRange Value);

private:
  TEditorSpeedRange FCaretVerticalAc = 2;
  bool FInitBracketsFull = false;
  TEditorSpeedRange FPageVerticalRange = 2;
  TEditorSpeedRange FPageVerticalRangeAc = 2;
};

}  // namespace tesvarin
