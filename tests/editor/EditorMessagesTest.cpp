// The edit-control messages: their argument rules over display rows and byte offsets.
#include <gtest/gtest.h>

#include <array>
#include <string>

#include "editor/Editor.h"
#include "editor/EditorMessages.h"
#include "editor/text/EditorUndo.h"
#include "editor/view/EditorScroll.h"
#include "FakeEditorWindow.h"
#include "testsupport/Fakes.h"

namespace tesvarin {
namespace {

struct MessagesFixture : ::testing::Test {
  test::FakeClipboard Clipboard;
  TEditor Editor{nullptr, TPlatform{&Clipboard}};
  TEditorMessages Msg{Editor};

  void Load(std::string_view Text) { Editor.Lines().SetLinesText(Text); }
};

TEST_F(MessagesFixture, TextLengthCountsTwoPerLineBreakAndNothingForAWrap) {
  for (const auto& [Text, Length] :
       {std::pair{"", 0}, {"abc", 3}, {"abc\r\n", 5}, {"ab\r\ncd", 6}, {"\r\n\r\n", 4}, {"a\nb", 4}}) {
    Load(Text);
    EXPECT_EQ(Msg.GetTextLength(), Length) << '"' << Text << '"';
  }
  Editor.WrapOption().SetWrapByte(20);
  Editor.SetWordWrap(true);
  Load(std::string(45, 'x') + "\r\nyz");
  ASSERT_GT(Editor.RowCount(), 2);
  EXPECT_EQ(Msg.GetTextLength(), 49);
}

TEST_F(MessagesFixture, GetTextCopiesAtMostTheBufferLessOneAndEndsWithZero) {
  Load("ab\r\ncd");
  struct Case {
    size_t Size;
    int Copied;
    std::string Expect;
  };
  for (const Case& C : {Case{0, 0, ""}, Case{1, 0, ""}, Case{4, 3, "ab\r"}, Case{7, 6, "ab\r\ncd"},
                        Case{20, 6, "ab\r\ncd"}}) {
    std::array<char, 21> Buf;
    Buf.fill('#');
    EXPECT_EQ(Msg.GetText(std::span<char>(Buf.data(), C.Size)), C.Copied) << C.Size;
    if (C.Size == 0) {
      EXPECT_EQ(Buf[0], '#');
      continue;
    }
    EXPECT_EQ(std::string(Buf.data()), C.Expect);
    EXPECT_EQ(Buf[C.Size], '#') << "wrote past the buffer";
  }
}

TEST_F(MessagesFixture, GetLineTakesItsSizeFromTheFirstWordAndAddsNoZero) {
  Load("abcdef\r\nxy");
  std::array<char, 8> Buf;
  Buf.fill('#');
  Buf[0] = 3;
  Buf[1] = 0;
  EXPECT_EQ(Msg.GetLine(0, Buf), 3);
  EXPECT_EQ(std::string(Buf.data(), 4), "abc#");

  Buf.fill('#');
  Buf[0] = 0;
  Buf[1] = 1;  // 256 bytes claimed, 8 handed over
  EXPECT_EQ(Msg.GetLine(0, Buf), 6);
  EXPECT_EQ(std::string(Buf.data(), 7), "abcdef#");

  Buf[0] = 5;
  Buf[1] = 0;
  EXPECT_EQ(Msg.GetLine(1, Buf), 2);
  EXPECT_EQ(Msg.GetLine(2, Buf), 0);
  EXPECT_EQ(Msg.GetLine(-1, Buf), 0);
  EXPECT_EQ(Msg.GetLine(0, std::span<char>(Buf.data(), 1)), 0);
}

TEST_F(MessagesFixture, LineMessagesCountRowsAndOffsets) {
  Load("abc\r\nde\r\n");  // rows "abc", "de", then the caret row after the final break
  EXPECT_EQ(Msg.GetLineCount(), 2);
  struct Case {
    int64_t Offset;
    int Row;
    int Length;
  };
  for (const Case& C : {Case{0, 0, 3}, Case{3, 0, 3}, Case{5, 1, 2}, Case{7, 1, 2}, Case{9, 2, 0}, Case{99, 2, 0}}) {
    EXPECT_EQ(Msg.LineFromChar(C.Offset), C.Row) << C.Offset;
    EXPECT_EQ(Msg.LineLength(C.Offset), C.Length) << C.Offset;
  }
  for (const auto& [Row, Index] : {std::pair{0, 0}, {1, 5}, {2, 9}, {3, -1}, {-5, -1}})
    EXPECT_EQ(Msg.LineIndex(Row), Index) << Row;
  Load("abc\r\nde");  // the last row ends the text: no caret row after it
  EXPECT_EQ(Msg.LineIndex(1), 5);
  EXPECT_EQ(Msg.LineIndex(2), -1);
}

TEST_F(MessagesFixture, MinusOneMeansTheCaretRow) {
  Load("abc\r\nde\r\nfghi");
  Editor.SetRowCol(2, 1);
  EXPECT_EQ(Msg.LineFromChar(-1), 2);
  EXPECT_EQ(Msg.LineIndex(-1), 9);
  EXPECT_EQ(Msg.LineLength(-1), 4);
}

TEST_F(MessagesFixture, DialogCodeFollowsWantTabsAndWantReturns) {
  for (const bool Tabs : {false, true})
    for (const bool Returns : {false, true}) {
      Editor.SetWantTabs(Tabs);
      Editor.SetWantReturns(Returns);
      const uint32_t Expected =
          DLGC_WANTARROWS | DLGC_WANTCHARS | (Tabs ? DLGC_WANTTAB : 0u) | (Returns ? DLGC_WANTALLKEYS : 0u);
      EXPECT_EQ(Msg.GetDlgCode(), Expected) << Tabs << Returns;
    }
}

TEST_F(MessagesFixture, ReadOnlyRefusesTextModifiedAndReplace) {
  Load("abc");
  Msg.SetReadOnly(true);
  EXPECT_TRUE(Editor.ReadOnly());
  EXPECT_FALSE(Msg.SetText("new"));
  EXPECT_FALSE(Msg.ReplaceSel("x"));
  Msg.SetModify(true);
  EXPECT_FALSE(Msg.GetModify());
  EXPECT_EQ(Editor.Lines().Text(), "abc");

  Msg.SetReadOnly(false);
  Msg.SetModify(true);
  EXPECT_TRUE(Msg.GetModify());
  EXPECT_TRUE(Msg.SetText("one\r\ntwo"));
  EXPECT_EQ(Editor.Lines().Get(1), "two");
}

TEST_F(MessagesFixture, EmptyUndoBufferForgetsEveryChange) {
  Load("abc");
  Editor.ListRows().UpdateRows(0, 1, "xyz");
  ASSERT_TRUE(Editor.ListRows().UndoObj().CanUndo());
  Msg.EmptyUndoBuffer();
  EXPECT_FALSE(Editor.ListRows().UndoObj().CanUndo());
  EXPECT_FALSE(Msg.CanUndo());
  EXPECT_FALSE(Msg.Undo());
}

TEST_F(MessagesFixture, CutAndCopyWithoutASelectionEmptyTheClipboard) {
  Load("abc");
  Clipboard.SetText("old");
  Msg.Copy();
  EXPECT_FALSE(Clipboard.HasText());
  Clipboard.SetText("old");
  Msg.Cut();
  EXPECT_FALSE(Clipboard.HasText());
  EXPECT_EQ(Editor.Lines().Text(), "abc");
}

TEST_F(MessagesFixture, SetSelArgumentRules) {
  Load("abc\r\ndefg");  // 9 bytes
  struct Case {
    int64_t Start;
    int64_t End;
    const char* Text;
  };
  const Case Cases[] = {
      {0, -1, "abc\r\ndefg"},  // all
      {1, 3, "bc"},
      {3, 1, "bc"},             // the smaller value starts
      {2, 6, "c\r\nd"},
      {6, -1, "efg"},           // a negative end reaches the end, never back to the top
      {4, 4, ""},
  };
  for (const Case& C : Cases) {
    Msg.SetSel(C.Start, C.End);
    EXPECT_EQ(Editor.GetSelText(), C.Text) << C.Start << ' ' << C.End;
    if (*C.Text != 0) {
      const TEditorSelRange Got = Msg.GetSel();
      EXPECT_EQ(Got.End - Got.Start, static_cast<int64_t>(std::string_view(C.Text).size()));
    }
  }
  Msg.SetSel(1, 3);
  Msg.SetSel(-1, 0);
  EXPECT_FALSE(Editor.Selected());
}

TEST_F(MessagesFixture, LineLengthOfMinusOneLeavesOutTheSelectedBytesOfTheEndRow) {
  Load("abcdef\r\nghijkl");
  Msg.SetSel(2, 11);  // "cdef\r\nghi": three bytes of the end row selected
  EXPECT_EQ(Msg.LineLength(-1), 3);
  EXPECT_EQ(Msg.LineFromChar(-1), 0);
  Msg.SetSel(1, 4);  // one row
  EXPECT_EQ(Msg.LineLength(-1), 3);
}

TEST(EditorMessages, CharFromPosGivesOffsetAndRowOrMinusOneOutside) {
  FakeEditorWindow Window;
  TEditor Editor(&Window, TPlatform{});
  Editor.Lines().SetLinesText("abc\r\ndefg");
  TEditorMessages Msg(Editor);
  const TEditorScroll& S = Editor.Scroll();
  const int32_t Got = Msg.CharFromPos(S.ColToX(2) + 1, S.RowToY(1) + 1);
  EXPECT_EQ(Got & 0xFFFF, 7);
  EXPECT_EQ(Got >> 16, 1);
  EXPECT_EQ(Msg.CharFromPos(S.ColToX(40), S.RowToY(0) + 1) & 0xFFFF, 3);  // past the row's end
  EXPECT_EQ(Msg.CharFromPos(-1, 5), -1);
  EXPECT_EQ(Msg.CharFromPos(5, Window.Height), -1);
  TEditor Headless(nullptr, TPlatform{});
  EXPECT_EQ(TEditorMessages(Headless).CharFromPos(1, 1), -1);
}

}  // namespace
}  // namespace tesvarin
