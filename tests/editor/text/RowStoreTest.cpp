#include <gtest/gtest.h>

#include <unistd.h>

#include <string>
#include <vector>

#include "editor/FakeEditorView.h"
#include "editor/text/EditorScreenStrings.h"
#include "editor/text/EditorStrings.h"
#include "editor/text/EditorUndo.h"
#include "support/Exception.h"
#include "support/StringList.h"

namespace tesvarin {
namespace {

struct Store {
  TEditorScreenStrings Rows;
  FakeEditorView View;
  TEditorStrings Lines{Rows, &View};
  Store() { Rows.AttachEditor(View); }
};

std::string TempPath(const char* Name) {
  return ::testing::TempDir() + "/rows_" + std::to_string(::getpid()) + "_" + Name;
}

std::string Attributes(const TEditorScreenStrings& Rows) {
  std::string S;
  for (int I = 0; I < Rows.Count(); ++I) S += static_cast<char>('0' + Rows.RowAttribute(I));
  return S;
}

TEST(RowStoreFiles, LoadAndSaveRoundTrips) {
  const std::string Big(8191, 'x');
  struct Case {
    const char* Name;
    std::string File;
    int Rows;
    std::string Saved;
  } Cases[] = {
      {"crlf no final break", "a\r\nb", 2, "a\r\nb"},
      {"final crlf", "a\r\nb\r\n", 2, "a\r\nb\r\n"},
      {"crlf across 8192", Big + "\r\nz", 2, Big + "\r\nz"},
      {"lone cr and lf", "a\rb\nc", 3, "a\rb\nc"},
      {"lf cr is two breaks", "a\n\rb", 3, "a\n\rb"},
      {"ctrl z ends the lines, the rest is kept", std::string("ab\r\ncd\x1A" "ef\r\n"), 2, "ab\r\ncd\x1A" "ef\r\n"},
      {"empty file", "", 0, ""},
      {"only breaks", "\r\n\r\n\n", 3, "\r\n\r\n\n"},
      {"nul bytes kept", std::string("a\0b\r\n\0\0", 7), 2, std::string("a\0b\r\n\0\0", 7)},
      {"lf only written back with lf", "one\ntwo\n", 2, "one\ntwo\n"},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    Store S;
    const std::string In = TempPath("in");
    const std::string Out = TempPath("out");
    WriteFileBytes(In, C.File);
    S.Lines.LoadFromFile(In);
    EXPECT_EQ(S.Rows.Count(), C.Rows);
    S.Lines.SaveToFile(Out);
    EXPECT_EQ(ReadFileBytes(Out), C.Saved);
    ::unlink(In.c_str());
    ::unlink(Out.c_str());
  }
}

TEST(RowStoreFiles, LastRowAttributesAndAMissingFile) {
  Store S;
  const std::string In = TempPath("attr");
  WriteFileBytes(In, "a\r\nb");
  S.Lines.LoadFromFile(In);
  EXPECT_EQ(Attributes(S.Rows), "02");
  WriteFileBytes(In, "a\r\nb\r\n");
  S.Lines.LoadFromFile(In);
  EXPECT_EQ(Attributes(S.Rows), "00");
  EXPECT_EQ(S.Rows.MaxCaretRow(), 2);
  ::unlink(In.c_str());
  EXPECT_THROW(S.Lines.LoadFromFile(In), EInOutError);
  EXPECT_EQ(S.Rows.Count(), 0);
}

TEST(RowStoreLines, AddDeleteAndWrappedLineAccess) {
  Store S;
  S.Lines.SetLinesText("a\r\nb");
  EXPECT_EQ(S.Lines.Add("c"), 2);
  EXPECT_EQ(S.Lines.Text(), "a\r\nb\r\nc");
  EXPECT_EQ(Attributes(S.Rows), "002");
  S.Lines.Delete(0);
  S.Lines.Delete(0);
  S.Lines.Delete(0);
  EXPECT_EQ(S.Rows.Count(), 0);
  EXPECT_THROW(S.Lines.Delete(0), EListError);
  EXPECT_THROW((void)S.Lines.Get(-1), EListError);

  S.Rows.WrapOption().SetWrapByte(20);
  S.Rows.SetWordWrap(true);
  S.Lines.SetLinesText(std::string(45, 'w') + "\r\nshort");
  EXPECT_EQ(S.Rows.Count(), 4);
  EXPECT_EQ(S.Lines.Count(), 2);
  EXPECT_EQ(S.Lines.Get(0), std::string(45, 'w'));
  EXPECT_EQ(S.Lines.Get(1), "short");
  EXPECT_EQ(S.Rows.RowToLine(3), 1);
  EXPECT_EQ(S.Rows.RowColToLinePos(1, 3), 23);
}

TEST(RowStoreLines, AssignPutsTheCaretOnTheLastPlace) {
  Store S;
  TStringList Source;
  Source.SetText("x\r\ny\r\n");
  S.Lines.Assign(Source);
  EXPECT_EQ(S.Lines.Text(), "x\r\ny\r\n");
  EXPECT_EQ(S.View.Row, 2);
  EXPECT_EQ(S.View.Col, 0);
}

TEST(RowStoreEdits, RefusedAndOutOfRangeChangesLeaveTheStoreAlone) {
  Store S;
  S.Lines.SetLinesText("a\r\nb");
  struct Case {
    int A, N;
    const char* Text;
  } Cases[] = {{-1, 0, "x"}, {0, 3, "x"}, {3, 0, "x"}, {2, 0, "x"}, {0, 0, ""}, {1, -1, "x"}};
  for (const Case& C : Cases) {
    S.Rows.UpdateRows(C.A, C.N, C.Text);
    EXPECT_EQ(S.Lines.Text(), "a\r\nb") << C.A << "," << C.N;
  }
  EXPECT_FALSE(S.Rows.UndoObj().CanUndo());
}

TEST(RowStoreEdits, ReplacementEndingInALoneCrKeepsItsBreak) {
  Store S;
  S.Lines.SetLinesText("a");
  S.Rows.UpdateRows(0, 1, "b\r");
  EXPECT_EQ(S.Lines.Text(), "b\r\n");
  EXPECT_EQ(Attributes(S.Rows), "0");
}

TEST(RowStoreMarks, DeletionAndInsertionCarryMarks) {
  Store S;
  S.Lines.SetLinesText("a\r\nb\r\nc\r\n");
  S.Rows.SetRowMarks(1, 0x4);
  S.Rows.IncludeMarks(0x4);
  S.View.Col = 0;
  S.Rows.UpdateRows(1, 0, "new\r\n");  // inserted at the start of the line: the mark moves down
  EXPECT_EQ(S.Rows.RowMarks(2), 0x4);
  EXPECT_EQ(S.Rows.RowMarks(1), 0);
  S.Rows.UpdateRows(2, 1, "");  // whole-line deletion: the mark goes to the row now there
  EXPECT_EQ(S.Rows.RowMarks(2), 0x4);
  S.Lines.SetLinesText("only\r\n");
  S.Rows.SetRowMarks(0, 0x1);
  S.Rows.IncludeMarks(0x1);
  S.Lines.Delete(0);
  EXPECT_EQ(S.Rows.MarkSet(), 0);
}

TEST(RowStoreMarks, WrapOnAndOffKeepsMarksOnTheirLine) {
  Store S;
  S.Rows.WrapOption().SetWrapByte(20);
  S.Lines.SetLinesText("top\r\n" + std::string(50, 'm') + "\r\nend");
  S.Rows.SetRowMarks(1, 0x2);
  S.Rows.SetRowMarks(2, 0x8);
  S.Rows.SetWordWrap(true);
  EXPECT_EQ(S.Rows.Count(), 5);
  EXPECT_EQ(S.Rows.RowMarks(1), 0x2);
  EXPECT_EQ(S.Rows.RowMarks(4), 0x8);
  EXPECT_EQ(Attributes(S.Rows), "01102");
  S.Rows.SetRowMarks(3, 0x10);
  S.Rows.SetWordWrap(false);
  EXPECT_EQ(S.Rows.Count(), 3);
  EXPECT_EQ(S.Rows.RowMarks(1), 0x12);
  EXPECT_EQ(S.Rows.RowMarks(2), 0x8);
  EXPECT_EQ(S.Lines.Text(), "top\r\n" + std::string(50, 'm') + "\r\nend");
}

TEST(RowStoreWrap, StrToRowsAndWrapCount) {
  Store S;
  S.Rows.SetWordWrap(true);
  struct Case {
    const char* Name;
    std::string Line;
    bool FollowRetMark;
    int Rows;
  } Cases[] = {
      {"79 columns", std::string(79, 'a'), false, 1},
      {"80 columns", std::string(80, 'a'), false, 2},
      {"80 columns, follow ret mark", std::string(80, 'a'), true, 1},
      {"161 columns", std::string(161, 'a'), false, 3},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    S.Rows.WrapOption().SetFollowRetMark(C.FollowRetMark);
    EXPECT_EQ(S.Rows.WrapCount(C.Line), C.Rows);
    TEditorStringList L;
    S.Rows.StrToRows(C.Line + "\r\nb", L);
    EXPECT_EQ(L.Count(), C.Rows + 1);
    EXPECT_EQ(L.RowAttribute(0), C.Rows > 1 ? raWrapped : raCrlf);
  }
  TEditorStringList Empty;
  S.Rows.StrToRows("", Empty);
  EXPECT_EQ(Empty.Count(), 1);
}

TEST(RowStoreWrap, WrapChangesClearUndoAndResetColumns) {
  Store S;
  S.Lines.SetLinesText(std::string(100, 'q'));
  S.Rows.UpdateRows(0, 1, "z");
  ASSERT_TRUE(S.Rows.UndoObj().CanUndo());
  S.View.Col = 5;
  S.Rows.SetWordWrap(true);
  EXPECT_FALSE(S.Rows.UndoObj().CanUndo());
  EXPECT_EQ(S.View.Col, 0);
  S.Lines.SetLinesText(std::string(100, 'q'));
  EXPECT_EQ(S.Rows.Count(), 2);
  S.Rows.UpdateRows(0, 0, "z\r\n");
  S.View.Col = 3;
  S.Rows.WrapOption().SetWrapByte(30);
  EXPECT_FALSE(S.Rows.UndoObj().CanUndo());
  EXPECT_EQ(S.Rows.Count(), 5);  // z, then 30 + 30 + 30 + 10
  EXPECT_EQ(S.View.Col, 0);
}

TEST(RowStoreUndo, ListLimitAndItsLowerBound) {
  Store S;
  TEditorUndoObj& U = S.Rows.UndoObj();
  U.SetUndoListMax(10);
  EXPECT_EQ(U.UndoListMax(), 64);
  S.Lines.SetLinesText("");
  std::string Text;
  std::string AfterFirst;
  for (int I = 0; I < 65; ++I) {
    S.Rows.UpdateRows(0, S.Rows.Count(), Text + "k");
    Text += "k";
    if (I == 0) AfterFirst = S.Lines.Text();
  }
  for (int I = 0; I < 64; ++I) U.Undo();
  EXPECT_EQ(S.Lines.Text(), AfterFirst);
  EXPECT_FALSE(U.CanUndo());
  U.Undo();
  EXPECT_EQ(S.Lines.Text(), AfterFirst);
  U.SetUndoListMax(100);
  EXPECT_EQ(U.UndoListMax(), 100);
}

TEST(RowStoreUndo, AppendedRowsWholeLineDeletionAndRedoCleared) {
  Store S;
  TEditorUndoObj& U = S.Rows.UndoObj();
  S.Lines.SetLinesText("a\r\nb\r\n");
  S.Rows.UpdateRows(2, 0, "\r\n");  // Enter on the empty place after the final break
  EXPECT_EQ(S.Rows.Count(), 3);
  EXPECT_EQ(U.UndoList().Items(0).LastAttribute, 3);
  U.Undo();
  EXPECT_EQ(S.Lines.Text(), "a\r\nb\r\n");
  EXPECT_EQ(S.Rows.Count(), 2);

  S.Lines.Delete(0);
  EXPECT_EQ(S.Lines.Text(), "b\r\n");
  U.Undo();
  EXPECT_EQ(S.Lines.Text(), "a\r\nb\r\n");
  EXPECT_TRUE(U.CanRedo());
  S.Rows.UpdateRows(0, 1, "x\r\n");
  EXPECT_FALSE(U.CanRedo());
}

TEST(RowStoreUndo, CaretPositionsOnUndoAndRedo) {
  Store S;
  TEditorUndoObj& U = S.Rows.UndoObj();
  S.Lines.SetLinesText("hello\r\nworld\r\n");
  S.View.Row = 1;
  S.View.Col = 2;
  S.Rows.UpdateRows(1, 1, "woXrld\r\n");
  S.View.Row = 1;
  S.View.Col = 3;
  U.Undo();
  EXPECT_EQ(S.Lines.Text(), "hello\r\nworld\r\n");
  EXPECT_EQ(S.View.Row, 1);
  EXPECT_EQ(S.View.Col, 2);
  S.View.Row = 0;
  S.View.Col = 0;
  U.Redo();  // back where the caret stood when the undo was made
  EXPECT_EQ(S.Lines.Text(), "hello\r\nwoXrld\r\n");
  EXPECT_EQ(S.View.Row, 1);
  EXPECT_EQ(S.View.Col, 3);
  EXPECT_GE(S.View.TextChanges, 2);
}

TEST(RowStoreStates, RefreshStopsAtTheFirstMatchingRow) {
  Store S;
  CountingProvider P;
  S.View.Provider = &P;
  S.View.Screen = 100;
  S.Lines.SetLinesText("r0\r\nr1\r\nr2\r\nr3\r\nr4\r\nr5\r\n");
  for (int I = 0; I < S.Rows.Count(); ++I) EXPECT_EQ(S.Rows.ElementState(I), I) << I;
  S.View.Invalidated.clear();
  // The following line is re-split with the change; the rows below keep their states.
  S.Rows.UpdateRows(2, 1, "R2\r\n");
  EXPECT_EQ(S.View.Invalidated, (std::vector<int>{2, 3}));
  S.View.Invalidated.clear();
  S.Rows.UpdateRows(2, 0, "extra\r\n");  // every row below shifts by one
  EXPECT_EQ(S.View.Invalidated, (std::vector<int>{2, 3, 4, 5, 6}));
  for (int I = 0; I < S.Rows.Count(); ++I) EXPECT_EQ(S.Rows.ElementState(I), I) << I;
}

TEST(RowStoreStates, RowsBeyondTwoScreensStayUncomputed) {
  Store S;
  CountingProvider P;
  S.View.Provider = &P;
  S.View.Screen = 2;
  S.View.BracketsFull = false;
  std::string Text;
  for (int I = 0; I < 30; ++I) Text += "row\r\n";
  S.Lines.SetLinesText(Text);
  EXPECT_EQ(S.Rows.BracketIndex(4), -1);
  EXPECT_EQ(S.Rows.BracketIndex(5), -2);
  S.Rows.UpdateRows(20, 1, "x\r\n");
  EXPECT_EQ(S.Rows.ElementState(20), 20);
  EXPECT_EQ(S.Rows.BracketIndex(25), -2);
}

TEST(RowStoreEditors, ChangeEventsAndClear) {
  Store S;
  FakeEditorView Second;
  Second.IsFocused = true;
  S.Rows.AttachEditor(Second);
  EXPECT_EQ(S.Rows.ActiveEditor(), &Second);
  S.Lines.SetLinesText("a\r\nb\r\nc");
  const int Before = Second.TextChanges;
  S.Rows.UpdateRows(0, 1, "z\r\n");
  EXPECT_EQ(Second.TextChanges, Before + 1);
  EXPECT_FALSE(S.Rows.LastChange().Valid);
  Second.Row = 2;
  Second.Top = 2;
  S.Lines.Clear();
  EXPECT_EQ(Second.Row, 0);
  EXPECT_EQ(S.Rows.Count(), 0);
  EXPECT_FALSE(S.Rows.DetachEditor(Second));
  EXPECT_TRUE(S.Rows.DetachEditor(S.View));
}

}  // namespace
}  // namespace tesvarin
