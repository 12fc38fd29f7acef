#include "editor/view/DotLine.h"

#include <algorithm>

#include "editor/settings/EditorResources.h"

namespace tesvarin {

void DrawDotLine(ICanvas& Canvas, int X1, int Y, TColor BkColor, TColor Color, int X2) {
  if (X2 < X1) return;
  const TDotLineItem& Item = DotLineCollection().Find(Color, BkColor);
  int Width = std::min(X2 - X1 + 1, Item.Bitmap.Width());
  Canvas.DrawImage(X1, Y, Item.Bitmap, 0, Width);
}

}  // namespace tesvarin
