// The marks the editor draws at row ends and under the caret row: one mark, and the set of five.
#pragma once

#include "support/Color.h"
#include "support/NotifyClasses.h"

namespace tesvarin {

class TEditorMark : public TNotifyPersistent {
public:
  void Assign(const TPersistent& Source) override;

  // clNone draws the mark in the font colour.
  [[nodiscard]] TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  [[nodiscard]] bool Visible() const { return FVisible; }
  void SetVisible(bool Value);

private:
  TColor FColor = clGray;
  bool FVisible = false;
};

// Each mark reports to the set, so a change of any one reaches the set's owner once, with the set
// as Sender.
class TEditorMarks : public TNotifyPersistent {
public:
  TEditorMarks();

  // Copies all five marks; one notification.
  void Assign(const TPersistent& Source) override;

  [[nodiscard]] TEditorMark& EofMark() { return FEofMark; }  // "[EOF]" after the last character
  [[nodiscard]] const TEditorMark& EofMark() const { return FEofMark; }
  void SetEofMark(const TEditorMark& Value) { FEofMark.Assign(Value); }
  [[nodiscard]] TEditorMark& RetMark() { return FRetMark; }  // after a row that ends a line
  [[nodiscard]] const TEditorMark& RetMark() const { return FRetMark; }
  void SetRetMark(const TEditorMark& Value) { FRetMark.Assign(Value); }
  [[nodiscard]] TEditorMark& WrapMark() { return FWrapMark; }  // after a row continued by word wrap
  [[nodiscard]] const TEditorMark& WrapMark() const { return FWrapMark; }
  void SetWrapMark(const TEditorMark& Value) { FWrapMark.Assign(Value); }
  [[nodiscard]] TEditorMark& HideMark() { return FHideMark; }  // where a row is cut at 1000 columns
  [[nodiscard]] const TEditorMark& HideMark() const { return FHideMark; }
  void SetHideMark(const TEditorMark& Value) { FHideMark.Assign(Value); }
  [[nodiscard]] TEditorMark& Underline() { return FUnderline; }  // under the caret's row
  [[nodiscard]] const TEditorMark& Underline() const { return FUnderline; }
  void SetUnderline(const TEditorMark& Value) { FUnderline.Assign(Value); }

private:
  TEditorMark FEofMark;
  TEditorMark FRetMark;
  TEditorMark FWrapMark;
  TEditorMark FHideMark;
  TEditorMark FUnderline;
};

}  // namespace tesvarin
