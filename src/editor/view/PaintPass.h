// One paint of the editor's window: which areas an update rectangle touches, the rows it covers and
// who draws each part (the bars, the row painter, the margins, the caret-row underline), and the
// invalidation of rows and bars.
#pragma once

#include "platform/Platform.h"

namespace tesvarin {

class TCaretDisplay;
class TEditModel;
class TEditorBars;
class TEditorPainter;
class TEditorScroll;
class TEditorSelection;

class TPaintPass {
public:
  TPaintPass(TEditModel& Model, const TEditorScroll& Scroll, const TEditorSelection& Selection, TEditorBars& Bars,
             TCaretDisplay& CaretDisplay)
      : FModel(Model), FScroll(Scroll), FSelection(Selection), FBars(Bars), FCaretDisplay(CaretDisplay) {}
  TPaintPass(const TPaintPass&) = delete;
  TPaintPass& operator=(const TPaintPass&) = delete;

  // Paints every part of the window that Area (client pixels) touches, with the caret hidden.
  void Paint(ICanvas& Canvas, const TRect& Area);
  // The painter of the paint in progress, null outside Paint.
  [[nodiscard]] TEditorPainter* Painter() const { return FPainter; }

  // Repaints rows Row1 .. Row2 (either order) of the text area at once.
  void InvalidateRows(int Row1, int Row2);
  // Marks one row of the text area for the next paint.
  void InvalidateRow(int ARow);
  // Repaints the leftbar of rows Row1 .. Row2 (either order) at once.
  void InvalidateLeftbarRows(int Row1, int Row2);
  // Repaints the image-bar strip of a row at once.
  void InvalidateImagebarRow(int ARow);
  // Marks the whole window for the next paint.
  void Invalidate();

private:
  TEditModel& FModel;
  const TEditorScroll& FScroll;
  const TEditorSelection& FSelection;
  TEditorBars& FBars;
  TCaretDisplay& FCaretDisplay;
  TEditorPainter* FPainter = nullptr;
};

}  // namespace tesvarin
