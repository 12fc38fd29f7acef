// One paint of the editor's text area: the display text of each row, the plain, selection and span
// painters, text output with the 1000-byte cut and the dotted underline, and the row-end marks.
// Every shape is clipped to the rectangle being painted, so a paint never touches pixels outside it.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/Platform.h"
#include "support/Color.h"

namespace tesvarin {

class TEditModel;
class TEditorScroll;
class TEditorSelection;
class THighlighterColor;
class THighlighterParser;

class TEditorPainter {
public:
  // Display bytes a row is read to: the drawn 1000 columns and enough after them for the token that
  // crosses the limit to be told apart as it would be in the whole row.
  static constexpr int DisplayLimit = 1256;

  TEditorPainter(TEditModel& Model, const TEditorScroll& Scroll, const TEditorSelection& Selection,
                 ICanvas& Canvas);
  ~TEditorPainter();
  TEditorPainter(const TEditorPainter&) = delete;
  TEditorPainter& operator=(const TEditorPainter&) = delete;

  [[nodiscard]] ICanvas& Canvas() { return FCanvas; }
  // Shapes are clipped to this rectangle (the one being painted).
  [[nodiscard]] const TRect& Clip() const { return FClip; }
  void SetClip(const TRect& R) { FClip = R; }

  // Paints the text-area part of row ARow (which may lie past the last row) within RowRect.
  void PaintRow(int ARow, const TRect& RowRect);
  // The caret-row underline of ARow, clipped.
  void DrawUnderline(int ARow);

  // Clipped drawing for marks: 1-pixel lines (horizontal, vertical or diagonal), outlines and fills.
  void Line(int X1, int Y1, int X2, int Y2, TColor Color);
  void Frame(const TRect& R, TColor Color);
  void Fill(const TRect& R, TColor Color);
  // The Source rectangle of Image with its top left corner at (X, Y).
  void Image(int X, int Y, const TImage& Image, const TRect& Source);
  // The font with Style and Color (the underline replaced by dots in TextOut) and the text brush.
  void SetTextFont(TFontStyles Style, TColor Color);
  void SetBrush(TColor Color);
  // Code page 932 text cut at 1000 bytes (1001 when the 1000th begins a character), clipped; only
  // the characters reaching into the clip are sent.
  void TextOut(int X, int Y, const TRect& ClipRect, std::string_view Text, bool Opaque);

  // A mark's colour, clNone meaning the font colour.
  [[nodiscard]] TColor MarkColor(TColor Color) const;
  // The cut length of a display text: 1000 bytes, or 1001 when the 1000th begins a character.
  [[nodiscard]] static int CutLength(std::string_view S);

private:
  struct TColors {
    TColor Bk;
    TColor Text;
  };
  // What one row needs while its spans are painted.
  struct TRowText {
    int Row = -1;
    std::string Display;  // display text, cut at DisplayLimit
    int Length = 0;       // display length (DisplayLimit when the row is longer)
    int Cut = 0;          // bytes drawn
    bool Long = false;    // the row goes on past the drawn columns
  };
  void LoadRow(int ARow);
  // Plain (Selected false) or selection colours over the part Rect of the row.
  void PaintSpan(const TRect& Rect, bool Selected);
  void PaintSpans(const TRect& RowRect);
  void PaintTokens(const TRect& Rect, bool Selected, const TColors& Pair);
  void PaintRowEnd(const TRect& Rect, bool Selected);
  void PaintPastEnd(int ARow, const TRect& RowRect);
  [[nodiscard]] TColors SelectionColors() const;
  void DrawEofMark(int X, int Y);
  void DrawRetMark(int X, int Y, TColor Color);
  void DrawWrapMark(int X, int Y, TColor Color);
  void DrawHideMark(int X, int Y, TColor Color);
  // The row's columns a selection covers: [First, Last) display columns, or none.
  [[nodiscard]] bool SelectedColumns(int ARow, int& First, int& Last) const;

  TEditModel& FModel;  // rows not yet coloured get their states as they are painted
  const TEditorScroll& FScroll;
  const TEditorSelection& FSelection;
  ICanvas& FCanvas;
  TRect FClip;
  std::unique_ptr<THighlighterParser> FParser;
  std::string FTokenText;  // the row's display text with the next row's bytes when it wraps on
  TRowText FText;
  // The text state last given to the canvas, so unchanged state is not sent again.
  TFontSpec FFont;
  bool FFontSet = false;
  TColor FBrush = clNone;
  bool FBrushSet = false;
  bool FUnderline = false;  // the current style asks for the dotted underline
};

}  // namespace tesvarin
