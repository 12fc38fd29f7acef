// The bars around the editor's text area: the ruler along the top with its caret-column mark, the
// line-number bar and the image bar on the left, and the corner where they meet. The ruler and the
// corner are drawn from images prepared once per setting, colour, font and size.
#pragma once

#include <string>

#include "platform/Platform.h"

namespace tesvarin {

class TEditModel;
class TEditorPainter;
class TEditorScroll;

class TEditorBars {
public:
  TEditorBars(const TEditModel& Model, const TEditorScroll& Scroll) : FModel(Model), FScroll(Scroll) {}

  // A setting, the colour or the font changed: the images are made again when next drawn.
  void Changed() { FStale = true; }

  void DrawCorner(TEditorPainter& Painter);
  // The ruler, then column MarkCol (-1: none) inverted.
  void DrawRuler(TEditorPainter& Painter, int MarkCol);
  void DrawLeftbar(TEditorPainter& Painter, int First, int Last);
  void DrawImagebar(TEditorPainter& Painter, int First, int Last);

  // Where column ACol's mark goes in the ruler: inside the column, above the bottom line or edge.
  [[nodiscard]] TRect RulerCell(int ACol) const;
  // The number text of row ARow's leftbar cell, empty when the row shows none.
  [[nodiscard]] std::string LeftbarText(int ARow) const;

  // The prepared images, current after Prepare.
  void Prepare();
  [[nodiscard]] const TImage& Corner() const { return FCorner; }
  [[nodiscard]] const TImage& RulerNormal() const { return FRulerNormal; }
  [[nodiscard]] const TImage& RulerMarked() const { return FRulerMarked; }

private:
  struct TGeometry {
    int ColWidth = 0;
    int RulerHeight = 0;
    int LeftOffset = 0;
    int TopOffset = 0;
    int ImagebarWidth = 0;
    int LeftbarWidth = 0;
    int Width = 0;
    friend bool operator==(const TGeometry&, const TGeometry&) = default;
  };
  [[nodiscard]] TGeometry CurrentGeometry() const;
  [[nodiscard]] TImage MakeGauge(TColor Ink, TColor Bk) const;
  [[nodiscard]] TImage MakeCorner() const;
  // The rulers numbered from column Base, the first column of the image.
  void NumberRulers(int Base);
  [[nodiscard]] TColor RulerBk() const;
  [[nodiscard]] TColor RulerInk() const;
  [[nodiscard]] TColor RulerMark() const;
  [[nodiscard]] TColor LeftbarBk() const;

  const TEditModel& FModel;
  const TEditorScroll& FScroll;
  bool FStale = true;
  TGeometry FGeometry;
  TImage FCorner;
  TImage FGaugeNormal;
  TImage FGaugeMarked;
  TImage FGlyphsNormal;
  TImage FGlyphsMarked;
  TImage FRulerNormal;
  TImage FRulerMarked;
  int FRulerBase = -1;
};

}  // namespace tesvarin
