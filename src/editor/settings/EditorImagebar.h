// The image bar at the far left of the editor, which shows the row marks.
#pragma once

#include "support/NotifyClasses.h"

namespace tesvarin {

class TEditorImagebar : public TNotifyPersistent {
public:
  static constexpr int MinWidth = 0;
  static constexpr int MaxWidth = 100;

  void Assign(const TPersistent& Source) override;

  // Every width is clamped to 0..100 pixels.
  [[nodiscard]] int DigitWidth() const { return FDigitWidth; }
  void SetDigitWidth(int Value);
  [[nodiscard]] int LeftMargin() const { return FLeftMargin; }
  void SetLeftMargin(int Value);
  [[nodiscard]] int MarkWidth() const { return FMarkWidth; }
  void SetMarkWidth(int Value);
  [[nodiscard]] int RightMargin() const { return FRightMargin; }
  void SetRightMargin(int Value);
  [[nodiscard]] bool Visible() const { return FVisible; }
  void SetVisible(bool Value);

  // The bar's width in pixels: the sum of its four parts while visible, else 0.
  [[nodiscard]] int Width() const;

private:
  int FDigitWidth = 8;
  int FLeftMargin = 2;
  int FMarkWidth = 0;
  int FRightMargin = 2;
  bool FVisible = true;
};

}  // namespace tesvarin
