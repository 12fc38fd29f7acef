// The marks the search extension paints over each row: full-width spaces, spaces and tabs, and a
// bar under every hit of the current search. The painter walks the row and says where each mark
// goes; the shapes are drawn through IRowMarkShapes, so the extension (and a descendant of it) can
// draw marks of its own, and the built-in shapes are here for it to use.
#pragma once

#include <string_view>
#include <vector>

#include "editor/search/EditorExMarks.h"
#include "platform/Platform.h"

namespace tesvarin {

class TEditModel;
class TEditorScroll;
class TPaintPass;

class IRowMarkShapes {
public:
  virtual ~IRowMarkShapes() = default;
  virtual void DrawDBSpaceMark(int X, int Y) = 0;
  virtual void DrawSpaceMark(int X, int Y) = 0;
  virtual void DrawTabMark(int X, int Y) = 0;
  virtual void DrawFindMark(int X1, int Y, int X2) = 0;
  // The hits of row ARow's first Bytes bytes (a hit running past them is cut there); throws
  // ERegExpParser for a bad expression.
  virtual const std::vector<TFindHit>& RowHitsUpTo(int ARow, int Bytes) = 0;
};

class THitMarkPainter {
public:
  THitMarkPainter(const TEditModel& Model, const TEditorScroll& Scroll, const TPaintPass& PaintPass,
                  const TEditorExMarks& Marks)
      : FModel(Model), FScroll(Scroll), FPaintPass(PaintPass), FMarks(Marks) {}
  THitMarkPainter(const THitMarkPainter&) = delete;
  THitMarkPainter& operator=(const THitMarkPainter&) = delete;

  // The marks over a row just painted: X is the x of its column 0, Y its top, ARect the rectangle
  // painted. Nothing outside a paint.
  void PaintRow(IRowMarkShapes& Shapes, int X, int Y, int Index, const TRect& ARect) const;

  // The built-in shapes, in the marks' colours.
  void DrawDBSpaceMark(int X, int Y) const;
  void DrawSpaceMark(int X, int Y) const;
  void DrawTabMark(int X, int Y) const;
  void DrawFindMark(int X1, int Y, int X2) const;

private:
  void DrawSpaceMarks(IRowMarkShapes& Shapes, std::string_view Row, int X0, int Y, int Left, int Right) const;
  void DrawFindMarks(IRowMarkShapes& Shapes, int ARow, int X0, int Y, int Left, int Right) const;

  const TEditModel& FModel;
  const TEditorScroll& FScroll;
  const TPaintPass& FPaintPass;
  const TEditorExMarks& FMarks;
};

}  // namespace tesvarin
