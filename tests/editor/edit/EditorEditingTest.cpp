// The editing commands: typing, Enter with indent, Backspace with unindent, Delete, selections,
// read-only, undo.
#include <gtest/gtest.h>

#include <stdexcept>

#include "editor/Editor.h"
#include "editor/edit/EditorEditText.h"
#include "editor/caret/EditorSelection.h"
#include "editor/FakeEditorWindow.h"

namespace tesvarin {
namespace {

std::unique_ptr<TEditor> EditorWith(std::string_view Text) {
  auto E = std::make_unique<TEditor>(nullptr, TPlatform{});
  E->Lines().SetLinesText(Text);
  return E;
}

TEST(EditorEditing, TypingPastTheRowEndWithFreeCaretFillsWithSpaces) {
  auto E = EditorWith("abc");
  E->SetRowCol(0, 10);
  E->KeyPress("x");
  EXPECT_EQ(E->Lines().Get(0), "abc       x");
  EXPECT_EQ(E->Col(), 11);
}

TEST(EditorEditing, EnterKeepsTheIndentOfTheLine) {
  auto E = EditorWith("    abcdef");
  E->SetRowCol(0, 7);
  E->KeyPress("\r");
  EXPECT_EQ(E->Lines().Text(), "    abc\r\n    def");
  EXPECT_EQ(E->Row(), 1);
  EXPECT_EQ(E->Col(), 4);
}

TEST(EditorEditing, EnterIndentTable) {
  struct Case {
    const char* Text;
    int Row, Col;
    bool TabIndent, PrevSpace;
    const char* Expect;
    int ExpectCol;
  } Cases[] = {
      {"    ab", 0, 2, false, false, "  \r\n    ab", 2},     // caret inside the indent: its column
      {"\tab", 0, 9, true, false, "\ta\r\n\tb", 8},         // tab indent
      {"  a\r\n\r\nb", 1, 0, false, true, "  a\r\n\r\n  \r\nb", 2},  // empty row: the nearest line's indent
      {"  a\r\n\r\nb", 1, 0, false, false, "  a\r\n\r\n\r\nb", 0},
      {"  a\r\n", 1, 0, false, true, "  a\r\n\r\n", 0},  // after the final break: only a break
  };
  for (const Case& C : Cases) {
    auto E = EditorWith(C.Text);
    E->Caret().SetTabIndent(C.TabIndent);
    E->Caret().SetPrevSpaceIndent(C.PrevSpace);
    E->SetRowCol(C.Row, C.Col);
    E->KeyPress("\r");
    EXPECT_EQ(E->Lines().Text(), C.Expect) << C.Text;
    EXPECT_EQ(E->Col(), C.ExpectCol) << C.Text;
  }
}

TEST(EditorEditing, ShiftEnterInsertsAnIndentedLineAboveButNotWithASelection) {
  auto E = EditorWith("  ab");
  E->SetRowCol(0, 3);
  E->KeyPress("\r", TShiftState{ssShift});
  EXPECT_EQ(E->Lines().Text(), "  \r\n  ab");
  EXPECT_EQ(E->Row(), 0);
  EXPECT_EQ(E->Col(), 2);
  E->SetSelStart(4);
  E->SetSelLength(2);
  ASSERT_EQ(E->SelState(), selSelected);
  E->KeyPress("\r", TShiftState{ssShift});
  EXPECT_EQ(E->Lines().Text(), "  \r\n  ab");
}

TEST(EditorEditing, BackspaceUnindentTable) {
  struct Case {
    const char* Text;
    int Row, Col;
    const char* Expect;
    int ExpectCol;
  } Cases[] = {
      {"    ", 0, 4, "", 0},                          // nothing above: column 0
      {"  a\r\n    ", 1, 4, "  a\r\n  ", 2},          // the nearest row indented less
      {"      a\r\n  b\r\n    x", 2, 4, "      a\r\n  b\r\n  x", 2},
      {"  a\r\n\t", 1, 8, "  a\r\n  ", 2},            // a tab leaves spaces before the target
      {"  a\r\n\x81\x40x", 1, 2, "  a\r\nx", 0},  // a double-byte space indent
      {"  a\r\nxy", 1, 2, "  a\r\nx", 1},           // not at an indent: one character back
  };
  for (const Case& C : Cases) {
    auto E = EditorWith(C.Text);
    E->SetRowCol(C.Row, C.Col);
    E->KeyPress("\b");
    EXPECT_EQ(E->Col(), C.ExpectCol) << C.Text;
    EXPECT_EQ(E->Lines().Text(), C.Expect) << C.Text;
  }
}

TEST(EditorEditing, BackspaceAndDeleteTable) {
  struct Case {
    const char* Text;
    int Row, Col;
    bool Back;
    const char* Expect;
    int ExpectRow, ExpectCol;
  } Cases[] = {
      {"a\x82\xa0z", 0, 3, true, "az", 0, 1},        // a double-byte character goes whole
      {"a\x82\xa0z", 0, 1, false, "az", 0, 1},
      {"ab\r\ncd", 1, 0, true, "abcd", 0, 2},        // join with the row above
      {"ab\r\ncd", 0, 2, false, "abcd", 0, 2},       // join with the next row
      {"ab\r\n", 1, 0, true, "ab", 0, 2},            // the final break goes
      {"ab\r\n", 0, 2, false, "ab", 0, 2},
      {"ab\r\ncd", 0, 4, false, "ab  cd", 0, 4},     // free caret: spaces, then the join
      {"ab", 0, 5, true, "ab", 0, 4},                // past the end: only the caret moves
      {"a\tb", 0, 8, true, "ab", 0, 1},              // just after a tab removes the tab
      {"", 0, 0, true, "", 0, 0},
      {"", 0, 0, false, "", 0, 0},
  };
  for (const Case& C : Cases) {
    auto E = EditorWith(C.Text);
    E->Caret().SetBackSpaceUnIndent(false);
    E->SetRowCol(C.Row, C.Col);
    if (C.Back) E->KeyPress("\b");
    else E->DeleteKey();
    EXPECT_EQ(E->Lines().Text(), C.Expect) << C.Text << (C.Back ? " back" : " delete");
    EXPECT_EQ(E->Row(), C.ExpectRow) << C.Text;
    EXPECT_EQ(E->Col(), C.ExpectCol) << C.Text;
  }
}

TEST(EditorEditing, LeadBytePairsWithTheNextMessageAndImeResultsSkipTheirEcho) {
  auto E = EditorWith("");
  E->KeyPress("\x82\xa0" "a\x82");  // the last lead byte has no trail: dropped
  EXPECT_EQ(E->Lines().Text(), "\x82\xa0" "a");
  E->ImeComposition("\x88\xa4x");
  EXPECT_EQ(E->ImeSkip(), 3);
  E->KeyPress("\x88\xa4x");
  EXPECT_EQ(E->ImeSkip(), 0);
  E->KeyPress("\x01\x7f");  // control bytes are ignored
  EXPECT_EQ(E->Lines().Text(), "\x82\xa0" "a\x88\xa4x");
}

TEST(EditorEditing, TabAndSoftTab) {
  auto E = EditorWith("ab");
  E->SetRowCol(0, 2);
  E->KeyPress("\t", TShiftState{ssCtrl});
  EXPECT_EQ(E->Lines().Text(), "ab");
  E->KeyPress("\t");
  EXPECT_EQ(E->Lines().Text(), "ab\t");
  E->Caret().SetSoftTab(true);
  E->KeyPress("\t");
  EXPECT_EQ(E->Lines().Text(), "ab\t        ");
  E->SetWantTabs(false);
  E->KeyPress("\t");
  EXPECT_EQ(E->Lines().Text(), "ab\t        ");
}

TEST(EditorEditing, ReadOnlyBlocksEveryChange) {
  auto E = EditorWith("ab\r\ncd");
  E->SetReadOnly(true);
  E->SetRowCol(1, 1);
  E->KeyPress("x\r\b\t");
  E->DeleteKey();
  E->ImeComposition("y");
  E->PasteText("z");
  E->BoxPasteText("z");
  EXPECT_EQ(E->Lines().Text(), "ab\r\ncd");
  EXPECT_FALSE(E->CanUndo());
}

// A change hook that fails (an out-of-memory error is alike) leaves the caret shown and working.
TEST(EditorEditing, AChangeThatFailsHalfWayLeavesTheCaretShown) {
  FakeEditorWindow Window;
  TEditor E(&Window, TPlatform{});
  E.Resize();
  E.Lines().SetLinesText("abc\r\ndef");
  E.SetRowCol(0, 1);
  const int Shown = Window.CaretShown;
  int Failed = 0;
  E.OnChange = TNotifyEvent::Lambda([&](TObject*) {
    ++Failed;
    throw std::runtime_error("a change hook failed");
  });
  for (const char* Key : {"x", "\r"}) {
    EXPECT_THROW(E.KeyPress(Key), std::runtime_error) << Key;
    EXPECT_EQ(Window.CaretShown, Shown) << Key;
  }
  EXPECT_THROW(E.Undo(), std::runtime_error);
  EXPECT_EQ(Window.CaretShown, Shown);
  EXPECT_EQ(Failed, 3);
  E.OnChange = {};
  E.KeyPress("y");
  EXPECT_EQ(Window.CaretShown, Shown);
  const TPoint Before = Window.CaretAt;
  E.KeyDown(VK_RIGHT, {});
  EXPECT_NE(Window.CaretAt.X, Before.X);  // the caret follows moves again: no batch was left open
}

TEST(EditorEditing, TypingOverAStreamSelectionAndUndoRedo) {
  auto E = EditorWith("abc\r\ndef");
  E->SetSelStart(1);
  E->SetSelLength(5);  // "bc\r\nd"
  E->KeyPress("X");
  EXPECT_EQ(E->Lines().Text(), "aXef");
  EXPECT_EQ(E->Col(), 2);
  E->Undo();
  EXPECT_EQ(E->Lines().Text(), "abc\r\ndef");
  E->Redo();
  EXPECT_EQ(E->Lines().Text(), "aXef");
  EXPECT_TRUE(E->CanUndo());
}

TEST(EditorEditing, DeletingABoxKeepsEachRowOutsideIt) {
  auto E = EditorWith("abcd\r\nefgh\r\nij");
  E->SetSelectionMode(true);
  E->SetRowCol(0, 1);
  E->Selection().Start();
  E->SetRowCol(2, 3);
  E->Selection().Extend();
  E->DeleteSelection();
  EXPECT_EQ(E->Lines().Text(), "ad\r\neh\r\ni");
  EXPECT_EQ(E->Row(), 0);
  EXPECT_EQ(E->Col(), 1);
}

TEST(EditorEditText, CutColumnsTable) {
  TColumnSettings S;
  struct Case {
    const char* Row;
    int Target, Caret;
    const char* Expect;
    int CaretByte;
  } Cases[] = {
      {"    x", 2, 4, "  x", 2},
      {"\x81\x40\x81\x40x", 1, 4, " x", 1},  // a double-byte space cut by the target: one space
      {"\tx", 3, 8, "   x", 3},               // a tab holding the target keeps the columns before it
      {"\tx", 2, 5, "     x", 2},             // a tab under the caret keeps its remaining fill
  };
  for (const Case& C : Cases) {
    const TUnindentCut Cut = CutColumns(C.Row, C.Target, C.Caret, S);
    EXPECT_EQ(Cut.Text, C.Expect) << C.Row;
    EXPECT_EQ(Cut.CaretByte, C.CaretByte) << C.Row;
  }
  EXPECT_EQ(LeadingWhiteWidth("", S), -1);
  EXPECT_EQ(LeadingWhiteWidth(" \x81\x40\tz", S), 8);
  EXPECT_EQ(LastCharStart("a\x82\x61"), 1);  // a trail byte in the ASCII range stays with its lead
}

}  // namespace
}  // namespace tesvarin
