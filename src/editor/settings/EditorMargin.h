// The pixel margins around the editor's text grid.
#pragma once

#include "support/NotifyClasses.h"

namespace tesvarin {

class TEditorMargin : public TNotifyPersistent {
public:
  static constexpr int MinMargin = 0;
  static constexpr int MaxMargin = 100;

  // Copies the four margins and the underline allowance; one notification.
  void Assign(const TPersistent& Source) override;

  // Every margin is clamped to 0..100 pixels.
  [[nodiscard]] int Character() const { return FCharacter; }  // added to every column's width
  void SetCharacter(int Value);
  [[nodiscard]] int Left() const { return FLeft; }  // between the left bars and the first column
  void SetLeft(int Value);
  [[nodiscard]] int Line() const { return FLine; }  // between rows
  void SetLine(int Value);
  [[nodiscard]] int Top() const { return FTop; }  // above the ruler, or the first row
  void SetTop(int Value);

  // One pixel added to the row height while the caret-row underline is shown, else 0. The editor
  // sets it from inside its own change handler, which recomputes the metrics right after; a
  // notification from here would only run that handler a second time.
  [[nodiscard]] int UnderlineAllowance() const { return FUnderlineAllowance; }
  void SetUnderlineAllowance(int Value);

private:
  int FCharacter = 0;
  int FLeft = 19;
  int FLine = 0;
  int FTop = 2;
  int FUnderlineAllowance = 0;  // invariant: 0 or 1
};

}  // namespace tesvarin
