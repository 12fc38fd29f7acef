// The painter on a raster canvas: row text and its colours, selections and hits, the row-end marks,
// the 1000-column cut, italics and the caret-row underline.
#include <gtest/gtest.h>

#include <string>

#include "editor/FakeEditorWindow.h"
#include "editor/RasterCanvas.h"
#include "editor/Editor.h"
#include "editor/view/EditorScroll.h"
#include "editor/caret/EditorSelection.h"
#include "editor/settings/EditorViewInfo.h"
#include "highlighter/EditorHighlighter.h"

namespace tesvarin {
namespace {

class EditorPaintTest : public ::testing::Test {
protected:
  // 12-pixel rows and 6-pixel columns; with no image bar the text starts at x 19, y 2.
  static constexpr int X0 = 19;
  static constexpr int Top = 2;
  static constexpr int W = 6;
  static constexpr int H = 12;
  FakeEditorWindow Window;
  TEditor Editor{&Window, TPlatform{}};
  RasterCanvas Canvas{400, 200};

  EditorPaintTest() { Editor.Imagebar().SetVisible(false); }
  void Load(std::string_view Text) { Editor.Lines().SetLinesText(Text); }
  void Paint() {
    Canvas.Clear();
    Editor.PaintRect(Canvas, {0, 0, Window.Width, Window.Height});
  }
  TEditorColors& Colors() { return Editor.View().Colors(); }
  // The text calls of a row, drawn in Brush (clNone: any).
  std::vector<RasterCanvas::TText> TextsAt(int Row, TColor Brush = clNone) const {
    std::vector<RasterCanvas::TText> Out;
    for (const auto& T : Canvas.Texts)
      if (T.Y == RowY(Row) && (Brush == clNone || T.Brush == Brush)) Out.push_back(T);
    return Out;
  }
  static int RowY(int Row) { return Top + Row * H; }
};

TEST_F(EditorPaintTest, PlainRowIsOneOpaqueCallAndColouredTokensOneEach) {
  Load("abc 123 def\r\nxyz");
  Paint();
  ASSERT_EQ(Canvas.TextsOf("abc 123 def").size(), 1u);
  EXPECT_TRUE(Canvas.TextsOf("abc 123 def")[0].Opaque);
  EXPECT_EQ(Canvas.Texts.size(), 2u);  // one call per row, no token differs from the defaults
  Colors().Int().SetColor(clRed);
  Colors().Int().SetBkColor(clYellow);
  Paint();
  const auto Numbers = Canvas.TextsOf("123");
  ASSERT_EQ(Numbers.size(), 1u);
  EXPECT_EQ(Numbers[0].X, X0 + 4 * W);
  EXPECT_EQ(Numbers[0].Font.Color, clRed);
  EXPECT_EQ(Numbers[0].Brush, clYellow);
  EXPECT_EQ(Numbers[0].Clip, (TRect{X0 + 4 * W, RowY(0), X0 + 7 * W, RowY(0) + H}));
  EXPECT_EQ(Canvas.Texts.size(), 3u);
}

TEST_F(EditorPaintTest, TabsAreExpandedInTheDisplayText) {
  Editor.Caret().SetTabSpaceCount(4);
  Load("a\tb\r\n\x82\xa0\tc");
  Paint();
  EXPECT_EQ(Canvas.TextsOf("a   b").size(), 1u);
  EXPECT_EQ(Canvas.TextsOf("\x82\xa0  c").size(), 1u);
}

TEST_F(EditorPaintTest, LongRowIsCutAtColumn1000WithTheHideChevronAfterIt) {
  Editor.Marks().HideMark().SetVisible(true);
  Load(std::string(1200, 'x'));
  Editor.SetLeftCol(TEditorScroll::MaxCols);
  const int Left = Editor.LeftCol();
  Paint();
  ASSERT_FALSE(Canvas.Texts.empty());
  EXPECT_EQ(Canvas.Texts[0].X + static_cast<int>(Canvas.Texts[0].Text.size()) * W, X0 + (1000 - Left) * W);
  // The chevron's lines start in the cell at column 1000.
  const int Xm = X0 + (1000 - Left) * W;
  ASSERT_EQ(Canvas.Lines.size(), 2u);
  EXPECT_GE(Canvas.Lines[0].Left, Xm);
  EXPECT_LE(Canvas.Lines[0].Left, Xm + W);
  // A double-byte character that begins at the 1000th byte is drawn whole, the chevron after it.
  Load(std::string(999, 'x') + "\x82\xa0" + std::string(100, 'y'));
  Paint();
  EXPECT_EQ(Canvas.Texts[0].X + static_cast<int>(Canvas.Texts[0].Text.size()) * W, X0 + (1001 - Left) * W);
  EXPECT_GE(Canvas.Lines[0].Left, Xm + W);
}

TEST_F(EditorPaintTest, EofMarkFollowsTheLastCharacterOrStartsTheRowAfterABreak) {
  Editor.Marks().EofMark().SetVisible(true);
  Load("abc");
  Paint();
  auto Eof = Canvas.TextsOf("[EOF]");
  ASSERT_EQ(Eof.size(), 1u);
  EXPECT_EQ(Eof[0].X, X0 + 3 * W);
  EXPECT_EQ(Eof[0].Y, RowY(0));
  EXPECT_EQ(Eof[0].Clip, (TRect{X0 + 3 * W, RowY(0), X0 + 9 * W, RowY(0) + H}));
  Load("abc\r\n");
  Paint();
  Eof = Canvas.TextsOf("[EOF]");
  ASSERT_EQ(Eof.size(), 1u);
  EXPECT_EQ(Eof[0].X, X0);
  EXPECT_EQ(Eof[0].Y, RowY(1));
}

TEST_F(EditorPaintTest, SelectionIsWhiteOnNavyAndAHitWithoutColoursIsInverse) {
  Load("hello world");
  Editor.SetSelStart(6);
  Editor.SetSelLength(5);
  Paint();
  const auto Selected = TextsAt(0);
  ASSERT_EQ(Selected.size(), 3u);  // plain, selected, plain spans
  EXPECT_EQ(Selected[1].Brush, clNavy);
  EXPECT_EQ(Selected[1].Font.Color, clWhite);
  EXPECT_EQ(Selected[1].Clip.Left, X0 + 6 * W);
  EXPECT_EQ(Selected[1].Clip.Right, X0 + 11 * W);
  EXPECT_EQ(Canvas.Pixel(X0 + 6 * W, RowY(0) + H - 1), clNavy);

  Editor.CleanSelection();
  Editor.SetHitStyle(hsDraw);
  Editor.SetRowCol(0, 0);
  Editor.ShowHit(5);
  Paint();
  const auto Hit = TextsAt(0);
  ASSERT_EQ(Hit.size(), 2u);  // the hit, then plain after it
  EXPECT_EQ(Hit[0].Brush, clBlack);      // the font colour as background
  EXPECT_EQ(Hit[0].Font.Color, clWhite);  // the editor colour as text
  EXPECT_EQ(Hit[0].Clip.Right, X0 + 5 * W);
}

TEST_F(EditorPaintTest, SpansFollowStreamAndBoxSelections) {
  Load("0123456789\r\n0123456789\r\n0123456789\r\n0123456789");
  Editor.SetSelStart(3);       // row 0, byte 3
  Editor.SetSelLength(12 * 2 + 2);  // to row 2, byte 5
  Paint();
  std::vector<TRect> SelectedClips;
  for (const auto& T : Canvas.Texts)
    if (T.Brush == clNavy) SelectedClips.push_back(T.Clip);
  ASSERT_EQ(SelectedClips.size(), 3u);
  EXPECT_EQ(SelectedClips[0].Left, X0 + 3 * W);        // first row: selected after the start
  EXPECT_EQ(SelectedClips[0].Right, Window.Width);
  EXPECT_EQ(SelectedClips[1].Left, X0);                 // a row in between: wholly
  EXPECT_EQ(SelectedClips[1].Right, Window.Width);
  EXPECT_EQ(SelectedClips[2].Left, X0);                 // last row: up to the end column
  EXPECT_EQ(SelectedClips[2].Right, X0 + 5 * W);

  Editor.CleanSelection();
  Editor.SetSelectionMode(true);
  Editor.SetRowCol(1, 2);
  Editor.Selection().Start();
  Editor.SetRowCol(3, 6);
  Editor.Selection().Extend();
  Paint();
  SelectedClips.clear();
  for (const auto& T : Canvas.Texts)
    if (T.Brush == clNavy) SelectedClips.push_back(T.Clip);
  ASSERT_EQ(SelectedClips.size(), 3u);
  for (const TRect& R : SelectedClips) {
    EXPECT_EQ(R.Left, X0 + 2 * W);
    EXPECT_EQ(R.Right, X0 + 6 * W);
  }
}

TEST_F(EditorPaintTest, UnderlinedTokenGetsADottedLineAboveTheCellBottom) {
  Colors().Ank().SetStyle({fsUnderline});
  Colors().Ank().SetColor(clRed);
  Load("  word");
  Paint();
  const auto Word = Canvas.TextsOf("word");
  ASSERT_EQ(Word.size(), 1u);
  EXPECT_FALSE(Word[0].Font.Style.Contains(fsUnderline));
  const int Y = RowY(0) + H - 1;
  for (int X = X0 + 2 * W; X < X0 + 6 * W; ++X) {
    EXPECT_EQ(Canvas.Pixel(X, Y), (X - (X0 + 2 * W)) % 2 == 0 ? clRed : clWhite) << X;
  }
  EXPECT_NE(Canvas.Pixel(X0 + 6 * W, Y), clRed);
}

TEST_F(EditorPaintTest, WrappedRowPaintsTheFirstPartOfItsLastTokenInItsColour) {
  Colors().Int().SetColor(clRed);
  Editor.WrapOption().SetWrapByte(20);
  Editor.SetWordWrap(true);
  Load("abcdefghijklmnop 1234567890");
  ASSERT_EQ(Editor.RowCount(), 2);
  Paint();
  const auto Part = Canvas.TextsOf("123");
  ASSERT_EQ(Part.size(), 1u);
  EXPECT_EQ(Part[0].Font.Color, clRed);
  EXPECT_EQ(Part[0].Y, RowY(0));
  const auto Rest = TextsAt(1);
  ASSERT_EQ(Rest.size(), 2u);  // the row, then the token's rest
  EXPECT_EQ(Rest[1].Text, "4567890");
  EXPECT_EQ(Rest[1].Font.Color, clRed);
}

TEST_F(EditorPaintTest, ItalicModeFillsTheRowAndDrawsEveryVisibleToken) {
  Colors().Int().SetStyle({fsItalic});
  EXPECT_TRUE(Editor.ItalicMode());
  Load("ab 12 cd");
  Paint();
  // ab, 12 and cd (spaces make no token): every one transparent over the filled row.
  EXPECT_EQ(Canvas.Texts.size(), 3u);
  for (const auto& T : Canvas.Texts) {
    EXPECT_FALSE(T.Opaque);
    EXPECT_EQ(T.Brush, clNone);
  }
  EXPECT_TRUE(Canvas.TextsOf("12")[0].Font.Style.Contains(fsItalic));
  Colors().Int().SetStyle({});
  EXPECT_FALSE(Editor.ItalicMode());
}

TEST_F(EditorPaintTest, ReturnAndWrapMarksAreDrawnAfterTheRowText) {
  Editor.Marks().RetMark().SetVisible(true);
  Editor.Marks().RetMark().SetColor(clRed);
  Load("ab\r\ncd");
  Paint();
  // d = 1, f = 3: the stem and two arrow strokes at the middle of the cell after "ab".
  const int Xm = X0 + 2 * W + W / 2;
  ASSERT_EQ(Canvas.Lines.size(), 3u);
  EXPECT_EQ(Canvas.Lines[0], (TRect{Xm, RowY(0) + 2, Xm, RowY(0) + H - 2}));
  EXPECT_EQ(Canvas.Lines[1], (TRect{Xm, RowY(0) + H - 2, Xm + 3, RowY(0) + H - 5}));
  EXPECT_EQ(Canvas.Pixel(Xm, RowY(0) + 5), clRed);
}

TEST_F(EditorPaintTest, CaretRowUnderlineIsDrawnAndErasedWithTheCaretRow) {
  Editor.Marks().Underline().SetVisible(true);
  Editor.Marks().Underline().SetColor(clRed);
  Load("one\r\ntwo\r\nthree");
  const int RowH = H + 1;
  Paint();
  EXPECT_EQ(Canvas.Count({X0, Top + H, Window.Width, Top + H + 1}, clRed), Window.Width - X0);
  Editor.SetRowCol(2, 0);
  Paint();
  EXPECT_EQ(Canvas.Count({X0, Top + H, Window.Width, Top + H + 1}, clRed), 0);
  EXPECT_EQ(Canvas.Count({X0, Top + 2 * RowH + H, Window.Width, Top + 2 * RowH + H + 1}, clRed), Window.Width - X0);
  Editor.HideUnderline();
  Paint();
  EXPECT_EQ(Canvas.Count({X0, Top + 2 * RowH + H, Window.Width, Top + 2 * RowH + H + 1}, clRed), 0);
  Editor.ShowUnderline();
}

TEST_F(EditorPaintTest, OnDrawLineGetsTheRowWithItsPositionAndSelectionState) {
  struct TCall {
    std::string Line;
    int X, Y, Index;
    bool Selected;
  };
  std::vector<TCall> Calls;
  Editor.OnDrawLine = [&](TObject* Sender, std::string_view Line, int X, int Y, int Index, const TRect&, bool Sel) {
    EXPECT_EQ(Sender, &Editor);
    Calls.push_back({std::string(Line), X, Y, Index, Sel});
  };
  Load("a\tb\r\nxy");
  Editor.SelectAll();
  Paint();
  ASSERT_GE(Calls.size(), 2u);
  EXPECT_EQ(Calls[0].Line, "a       b");
  EXPECT_EQ(Calls[0].X, X0);
  EXPECT_EQ(Calls[0].Y, RowY(0));
  EXPECT_TRUE(Calls[0].Selected);
  EXPECT_EQ(Calls.back().Index, 1);
}

TEST_F(EditorPaintTest, PaintingOnlyTouchesTheUpdateRectangleRows) {
  Load("r0\r\nr1\r\nr2\r\nr3\r\nr4");
  Canvas.Clear();
  Editor.PaintRect(Canvas, {100, RowY(2) + 3, 120, RowY(3) + 1});
  ASSERT_EQ(Canvas.Texts.size(), 2u);
  EXPECT_EQ(Canvas.Texts[0].Y, RowY(2));
  EXPECT_EQ(Canvas.Texts[1].Y, RowY(3));
  // Rows start at a column boundary left of the rectangle; nothing left of the text area.
  EXPECT_EQ(Canvas.Texts[0].Clip.Left, X0 + (100 - X0) / W * W);
  EXPECT_EQ(Canvas.Pixel(5, RowY(2) + 4), RasterCanvas::Unpainted);
}

TEST_F(EditorPaintTest, ScrollingRepaintsOnlyTheUncoveredStrip) {
  Editor.Ruler().SetVisible(true);
  Editor.Leftbar().SetVisible(true);
  Editor.Marks().RetMark().SetVisible(true);
  std::string Text;
  for (int I = 0; I < 40; ++I) Text += std::to_string(I) + " line \x82\xa0 text " + std::string(I * 3, 'x') + "\r\n";
  Load(Text);
  Editor.SetRowCol(3, 4);
  Paint();
  const auto Step = [&](auto Move) {
    Window.Scrolled.clear();
    Window.Invalidated.clear();
    Move();
    ASSERT_EQ(Window.Scrolled.size(), 1u);
    EXPECT_TRUE(Window.Invalidated.empty());
    const auto& S = Window.Scrolled[0];
    Canvas.ScrollPixels(S.Area, S.Dx, S.Dy);
    TRect Uncovered = S.Area;
    if (S.Dy > 0) Uncovered.Bottom = S.Area.Top + S.Dy;
    if (S.Dy < 0) Uncovered.Top = S.Area.Bottom + S.Dy;
    if (S.Dx > 0) Uncovered.Right = S.Area.Left + S.Dx;
    if (S.Dx < 0) Uncovered.Left = S.Area.Right + S.Dx;
    Editor.PaintRect(Canvas, Uncovered);
    RasterCanvas Fresh(400, 200);
    Editor.PaintRect(Fresh, {0, 0, Window.Width, Window.Height});
    int Differing = 0;
    for (int Y = 0; Y < Window.Height; ++Y)
      for (int X = 0; X < Window.Width; ++X) Differing += Canvas.Pixel(X, Y) != Fresh.Pixel(X, Y);
    EXPECT_EQ(Differing, 0);
  };
  Step([&] { Editor.SetTopRow(2); });
  Step([&] { Editor.SetTopRow(1); });
  Step([&] { Editor.SetLeftCol(8); });
  Step([&] { Editor.SetLeftCol(5); });
}

}  // namespace
}  // namespace tesvarin
