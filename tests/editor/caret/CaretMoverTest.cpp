// Caret movement driven with the shared model alone, no editor: what the mover asks of the editor
// (placing the on-screen caret, scrolling, the selection's events) is recorded by fake signals.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor/FakeEditorView.h"
#include "editor/caret/CaretMover.h"
#include "editor/caret/EditorSelection.h"
#include "editor/model/EditModel.h"

namespace tesvarin {
namespace {

class RecordingSignals : public IEditorSignals {
public:
  TCaretMover* Mover = nullptr;
  int Top = 0;
  int Visible = 3;
  int CaretPlacements = 0;
  int CaretShapes = 0;
  std::vector<bool> SelectionEvents;

  void InvalidateRows(int, int) override {}
  void RowPainted(std::string_view, int, int, int, const TRect&, bool) override {}
  void SetRowCol(int ARow, int ACol) override { Mover->SetRowCol(ARow, ACol); }
  void UpdateCaret() override { ++CaretPlacements; }
  void RecreateCaret() override { ++CaretShapes; }
  void BeginLinesUpdate() override {}
  void EndLinesUpdate() override {}
  void CleanSelection() override { Mover->CleanSelection(); }
  void SelectionChanged(bool Selected) override { SelectionEvents.push_back(Selected); }
  void SetSelectionMode(bool) override {}
  [[nodiscard]] int TopRow() const override { return Top; }
  [[nodiscard]] int VisibleRows() const override { return Visible; }
  void SetTopRow(int ARow) override { Top = ARow; }
  void SetLeftCol(int) override {}
  void MakeCaretVisible() override {}
  void TopRowChanged() override {}
  void LeftColChanged() override {}
};

class CaretMoverTest : public ::testing::Test {
protected:
  FakeEditorView View;
  RecordingSignals Signals;
  TEditModel Model{nullptr, TPlatform{}, View, Signals};
  TEditorSelection Selection{Model};
  TCaretMover Mover{Model, Selection};

  CaretMoverTest() { Signals.Mover = &Mover; }
  void Load(const std::string& Text) { TEditorStrings(Model.ListRows(), nullptr).SetLinesText(Text); }
  void Key(uint16_t K, TShiftState Shift = {}) { Mover.MoveByKey(K, Shift, false); }
};

TEST_F(CaretMoverTest, AVerticalMoveKeepsItsColumnThroughShorterRows) {
  Model.Caret().SetFreeCaret(false);
  Model.Caret().SetKeepCaret(true);
  Load("abcdef\r\nab\r\n\x82\xa0\x82\xa2\x82\xa4\r\nabcdef");
  Mover.SetRowCol(0, 5);
  Key(VK_DOWN);
  EXPECT_EQ(Model.Col(), 2);  // the short row's end
  Key(VK_DOWN);
  EXPECT_EQ(Model.Col(), 4);  // column 5 is the second half of a double-byte character
  Key(VK_DOWN);
  EXPECT_EQ(Model.Col(), 5);  // back at the column the move started from
  Key(VK_LEFT);
  Key(VK_UP);
  EXPECT_EQ(Model.Row(), 2);
  EXPECT_EQ(Model.Col(), 4);  // a horizontal move forgot the kept column
}

TEST_F(CaretMoverTest, CommandsOfManyStepsPlaceTheCaretOnceAndLoneStepsEachTime) {
  Load("abc\r\ndef\r\nghi");
  Signals.CaretPlacements = 0;
  Mover.SelectAll();
  EXPECT_EQ(Signals.CaretPlacements, 1);
  EXPECT_EQ(Selection.Text(), "abc\r\ndef\r\nghi");
  Mover.SetRowCol(1, 1);
  Mover.SetCol(2);
  EXPECT_EQ(Signals.CaretPlacements, 3);
  // An outer batch holds back the inner commands' placements until it ends.
  Mover.BeginBatch();
  Mover.ShowHit(2);
  Mover.SetRow(0);
  EXPECT_EQ(Signals.CaretPlacements, 3);
  EXPECT_TRUE(Mover.EndBatch());
  EXPECT_FALSE(Mover.InBatch());
}

TEST_F(CaretMoverTest, AHitIsSelectedAndForgottenWithTheSelection) {
  Load("abcdef");
  Mover.SetRowCol(0, 1);
  Mover.ShowHit(3);
  EXPECT_EQ(Selection.Text(), "bcd");
  EXPECT_EQ(Mover.HitLength(), 3);
  EXPECT_EQ(Mover.GetSelStart(), 1);
  Mover.CleanSelection();
  EXPECT_EQ(Mover.HitLength(), 0);
  EXPECT_EQ(Selection.State(), selNone);
  EXPECT_EQ(Signals.SelectionEvents.back(), false);
  EXPECT_EQ(Signals.CaretShapes, 0);  // a selected hit leaves the caret's shape alone
}

TEST_F(CaretMoverTest, PageDownScrollsThroughTheSignalsAndTheCaretFollows) {
  std::string Text;
  for (int I = 0; I < 20; ++I) Text += "row\r\n";
  Load(Text);
  Signals.Visible = 5;
  Mover.SetRowCol(1, 0);
  Key(VK_NEXT);
  EXPECT_EQ(Signals.Top, 4);  // two half pages of the five rows on screen
  EXPECT_EQ(Model.Row(), 5);
}

}  // namespace
}  // namespace tesvarin
