// The mouse: press, drag and release selections, row selection in the margin, selection drag with
// its single undo step, Ctrl copy and Escape, and the pointer shapes of the zones.
#include <gtest/gtest.h>

#include "editor/Editor.h"
#include "editor/view/EditorScroll.h"
#include "editor/caret/EditorSelection.h"
#include "editor/text/EditorUndo.h"
#include "editor/FakeEditorWindow.h"
#include "testsupport/Fakes.h"

namespace tesvarin {
namespace {

struct MouseFixture : ::testing::Test {
  test::FakeClipboard Clipboard;
  test::FakeCursorTable Cursors;
  FakeEditorWindow Window;
  TEditor Editor{&Window, MakePlatform()};

  TPlatform MakePlatform() {
    TPlatform P;
    P.Clipboard = &Clipboard;
    P.Cursors = &Cursors;
    return P;
  }
  void Load(std::string_view Text) {
    Editor.Lines().SetLinesText(Text);
    Editor.ListRows().UndoObj().ClearUndo();
  }
  // A point inside the cell of (Row, Col), which both roundings map to that cell.
  [[nodiscard]] TPoint At(int Row, int Col) const {
    return {Editor.Scroll().ColToX(Col) + 1, Editor.Scroll().RowToY(Row) + 1};
  }
  [[nodiscard]] TPoint Margin(int Row) const { return {1, Editor.Scroll().RowToY(Row) + 1}; }
  void Press(TPoint P, TShiftState Shift = {}) { Editor.MouseDown(embLeft, Shift + TShiftState{ssLeft}, P.X, P.Y); }
  void Move(TPoint P, TShiftState Shift = {ssLeft}) { Editor.MouseMove(Shift, P.X, P.Y); }
  void Release(TPoint P, TShiftState Shift = {}) { Editor.MouseUp(embLeft, Shift, P.X, P.Y); }
  void Select(int Row1, int Col1, int Row2, int Col2) {
    Press(At(Row1, Col1));
    Move(At(Row2, Col2));
    Release(At(Row2, Col2));
  }
  [[nodiscard]] size_t UndoCount() { return static_cast<size_t>(Editor.ListRows().UndoObj().UndoList().Count()); }
};

TEST_F(MouseFixture, PressDragReleaseSelectsTheRange) {
  Load("abcdef\r\nghijkl");
  Press(At(0, 1));
  EXPECT_EQ(Editor.SelState(), selStarted);
  Move(At(1, 3));
  Release(At(1, 3));
  EXPECT_EQ(Editor.SelState(), selSelected);
  EXPECT_EQ(Editor.GetSelText(), "bcdef\r\nghi");
  EXPECT_EQ(Editor.Row(), 1);
  EXPECT_EQ(Editor.Col(), 3);
}

TEST_F(MouseFixture, ShiftPressExtendsFromTheCaret) {
  Load("abcdef\r\nghijkl");
  Press(At(0, 2));
  Release(At(0, 2));
  Press(At(1, 2), {ssShift});
  Release(At(1, 2));
  EXPECT_EQ(Editor.GetSelText(), "cdef\r\ngh");
  Press(At(0, 4), {ssShift});  // a second Shift press keeps the anchor
  Release(At(0, 4));
  EXPECT_EQ(Editor.GetSelText(), "cd");
}

TEST_F(MouseFixture, MarginPressSelectsWholeRowsAndADragKeepsTheFirstRow) {
  Load("r0\r\nr1\r\nr2\r\nr3");
  Press(Margin(1));
  EXPECT_EQ(Editor.GetSelText(), "r1\r\n");
  Move(Margin(2));
  EXPECT_EQ(Editor.GetSelText(), "r1\r\nr2\r\n");
  Move(Margin(0));
  EXPECT_EQ(Editor.GetSelText(), "r0\r\nr1\r\n");
  Move(Margin(3));  // the last row has no break: it ends at its own end
  Release(Margin(3));
  EXPECT_EQ(Editor.GetSelText(), "r1\r\nr2\r\nr3");
}

TEST_F(MouseFixture, MarginPressWithoutRowSelectPlacesTheCaret) {
  Load("r0\r\nr1");
  Editor.Caret().SetRowSelect(false);
  Press(Margin(1));
  Release(Margin(1));
  EXPECT_FALSE(Editor.GetSelLength() > 0);
  EXPECT_EQ(Editor.Row(), 1);
  EXPECT_EQ(Editor.Col(), 0);
}

TEST_F(MouseFixture, DragMovesTheSelectionInOneUndoStep) {
  Load("hello world");
  Select(0, 0, 0, 6);
  ASSERT_EQ(Editor.GetSelText(), "hello ");
  Press(At(0, 2));
  EXPECT_FALSE(Editor.Dragging());
  Move(At(0, 8));
  EXPECT_TRUE(Editor.Dragging());
  Move(At(0, 11));
  Release(At(0, 11));
  EXPECT_FALSE(Editor.Dragging());
  EXPECT_EQ(Editor.Lines().Text(), "worldhello ");
  EXPECT_EQ(Editor.Col(), 11);
  EXPECT_FALSE(Editor.Selected());
  EXPECT_EQ(UndoCount(), 1u);
  Editor.ListRows().UndoObj().Undo();
  EXPECT_EQ(Editor.Lines().Text(), "hello world");
}

TEST_F(MouseFixture, DragMovesRowsUpwardsAcrossLines) {
  Load("aa\r\nbb\r\ncc");
  Select(1, 0, 2, 1);  // "bb\r\nc"
  ASSERT_EQ(Editor.GetSelText(), "bb\r\nc");
  Press(At(1, 1));
  Move(At(0, 1));
  Release(At(0, 1));
  EXPECT_EQ(Editor.Lines().Text(), "abb\r\nca\r\nc");
  EXPECT_EQ(Editor.Row(), 1);
  EXPECT_EQ(Editor.Col(), 1);
  EXPECT_EQ(UndoCount(), 1u);
  Editor.ListRows().UndoObj().Undo();
  EXPECT_EQ(Editor.Lines().Text(), "aa\r\nbb\r\ncc");
}

TEST_F(MouseFixture, DropPastTheRowEndFillsWithSpaces) {
  Load("ab\r\nxyz");
  Select(0, 0, 0, 1);  // "a"
  Press(At(0, 0));
  Move(At(1, 6));
  Release(At(1, 6));
  EXPECT_EQ(Editor.Lines().Text(), "b\r\nxyz   a");
}

TEST_F(MouseFixture, DropInsideTheSelectionOrOutsideTheWindowOnlyDropsIt) {
  Load("hello world");
  for (const TPoint Drop : {At(0, 3), TPoint{Window.Width + 5, 20}}) {
    Select(0, 1, 0, 6);
    Press(At(0, 2));
    Move(At(0, 9));
    Release(Drop);
    EXPECT_EQ(Editor.Lines().Text(), "hello world");
    EXPECT_FALSE(Editor.Selected());
  }
  EXPECT_EQ(UndoCount(), 0u);
}

TEST_F(MouseFixture, APressInsideThatNeverMovesDropsTheSelection) {
  Load("hello world");
  Select(0, 1, 0, 6);
  Press(At(0, 3));
  Release(At(0, 3));
  EXPECT_FALSE(Editor.Selected());
  EXPECT_EQ(Editor.Col(), 3);
}

TEST_F(MouseFixture, NoDragWhenReadOnlyInBoxModeOrWithoutSelMove) {
  const std::function<void()> Setups[] = {
      [&] { Editor.SetReadOnly(true); },
      [&] { Editor.Caret().SetSelMove(false); },
      [&] { Editor.Caret().SetSelDragMode(dmManual); },
  };
  for (const auto& Setup : Setups) {
    Load("hello world");
    Editor.SetReadOnly(false);
    Editor.Caret().SetSelMove(true);
    Editor.Caret().SetSelDragMode(dmAutomatic);
    Select(0, 0, 0, 6);
    Setup();
    Press(At(0, 2));
    Move(At(0, 9));
    EXPECT_FALSE(Editor.Dragging());
    Release(At(0, 9));
    EXPECT_EQ(Editor.Lines().Text(), "hello world");
  }
}

TEST_F(MouseFixture, ACtrlDragCopiesAndCtrlSwitchesThePointerAtOnce) {
  Load("hello world");
  Select(0, 0, 0, 6);
  Press(At(0, 2));
  Move(At(0, 8));
  ASSERT_TRUE(Editor.Dragging());
  EXPECT_EQ(Cursors.Current, Editor.Caret().Cursors().DragSelCursor());
  Editor.KeyDown(VK_CONTROL, {ssCtrl});
  EXPECT_EQ(Cursors.Current, Editor.Caret().Cursors().DragSelCopyCursor());
  Editor.KeyUp(VK_CONTROL, {});
  EXPECT_EQ(Cursors.Current, Editor.Caret().Cursors().DragSelCursor());
  Editor.KeyDown(VK_CONTROL, {ssCtrl});
  Release(At(0, 11), {ssCtrl});
  EXPECT_EQ(Editor.Lines().Text(), "hello worldhello ");
  Editor.Undo();
  EXPECT_EQ(Editor.Lines().Text(), "hello world");
}

TEST_F(MouseFixture, EscapeCancelsTheDragAndRestoresTheDefaultPointer) {
  Load("hello world");
  Select(0, 0, 0, 6);
  Press(At(0, 2));
  Move(At(0, 9));
  ASSERT_TRUE(Editor.Dragging());
  ASSERT_EQ(Cursors.Current, Editor.Caret().Cursors().DragSelCursor());
  Editor.CancelDrag();
  EXPECT_FALSE(Editor.Dragging());
  EXPECT_EQ(Cursors.Current, Editor.Caret().Cursors().DefaultCursor());
  Release(At(0, 9));
  EXPECT_EQ(Editor.Lines().Text(), "hello world");
  EXPECT_EQ(UndoCount(), 0u);
}

TEST_F(MouseFixture, PointerShapesChangeOnlyWithTheZone) {
  Load("hello world\r\nsecond");
  TEditorCursors& C = Editor.Caret().Cursors();
  // Distinct shapes, so each zone is told apart whatever the defaults fall back to.
  C.SetDragSelCopyCursor(7);
  C.SetLeftMarginCursor(8);
  C.SetInSelCursor(9);
  Move(At(1, 2), {});
  Move(At(1, 4), {});
  Move(Margin(1), {});
  Move(Margin(0), {});
  Move({At(0, 2).X, 0}, {});
  EXPECT_EQ(Cursors.Set, (std::vector<int>{C.DefaultCursor(), C.LeftMarginCursor(), C.TopMarginCursor()}));

  Select(0, 0, 0, 6);
  Cursors.Set.clear();
  Move(At(0, 2), {});
  Move(At(0, 3), {});
  Move(At(1, 3), {});
  EXPECT_EQ(Cursors.Set, (std::vector<int>{C.InSelCursor(), C.DefaultCursor()}));

  Cursors.Set.clear();
  Press(At(0, 2));
  Move(At(0, 8));
  Move(At(0, 9), {ssLeft, ssCtrl});
  Editor.DragShiftChanged({});
  Move(At(0, 10));
  EXPECT_EQ(Cursors.Set, (std::vector<int>{C.DragSelCursor(), C.DragSelCopyCursor(), C.DragSelCursor()}));
}

TEST_F(MouseFixture, NoPointerChangesWithoutAutoCursor) {
  Load("hello");
  Editor.Caret().SetAutoCursor(false);
  Move(At(0, 2), {});
  Move(Margin(0), {});
  EXPECT_TRUE(Cursors.Set.empty());
}

}  // namespace
}  // namespace tesvarin
