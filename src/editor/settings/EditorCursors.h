// The pointer shapes the editor shows over each zone of its window.
#pragma once

#include "platform/Platform.h"
#include "support/NotifyClasses.h"

namespace tesvarin {

// A slot of the cursor table: a standard shape (TCursorSlot, 0 and below) or a loaded one (1 and up).
using TCursor = int;

// Plain fields: changing a shape needs no repaint, so setters send no notification; Assign sends one.
class TEditorCursors : public TNotifyPersistent {
public:
  // The two loaded shapes take the slots the editor unit filled at start-up; without a cursor table
  // they fall back to the nearest standard shapes.
  TEditorCursors();

  void Assign(const TPersistent& Source) override;

  [[nodiscard]] TCursor DefaultCursor() const { return FDefaultCursor; }
  void SetDefaultCursor(TCursor Value) { FDefaultCursor = Value; }
  [[nodiscard]] TCursor DragSelCursor() const { return FDragSelCursor; }
  void SetDragSelCursor(TCursor Value) { FDragSelCursor = Value; }
  [[nodiscard]] TCursor DragSelCopyCursor() const { return FDragSelCopyCursor; }
  void SetDragSelCopyCursor(TCursor Value) { FDragSelCopyCursor = Value; }
  [[nodiscard]] TCursor InSelCursor() const { return FInSelCursor; }
  void SetInSelCursor(TCursor Value) { FInSelCursor = Value; }
  [[nodiscard]] TCursor LeftMarginCursor() const { return FLeftMarginCursor; }
  void SetLeftMarginCursor(TCursor Value) { FLeftMarginCursor = Value; }
  [[nodiscard]] TCursor TopMarginCursor() const { return FTopMarginCursor; }
  void SetTopMarginCursor(TCursor Value) { FTopMarginCursor = Value; }

private:
  TCursor FDefaultCursor = crIBeam;
  TCursor FDragSelCursor = crDrag;
  TCursor FDragSelCopyCursor;
  TCursor FInSelCursor = crDefault;
  TCursor FLeftMarginCursor;
  TCursor FTopMarginCursor = crDefault;
};

}  // namespace tesvarin
