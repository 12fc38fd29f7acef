// The row store computes its colouring states through the editor's active highlighter.
#include <gtest/gtest.h>

#include "../editor/FakeEditorView.h"
#include "editor/text/EditorScreenStrings.h"
#include "editor/text/EditorStrings.h"
#include "highlighter/EditorHighlighter.h"
#include "highlighter/HTMLHighlighter.h"

namespace tesvarin {
namespace {

struct StoreWithHighlighter : ::testing::Test {
  std::unique_ptr<TEditorHighlighter> H = THighlighter::New<TEditorHighlighter>();
  TEditorScreenStrings Rows;
  FakeEditorView View;
  TEditorStrings Lines{Rows, &View};

  void SetUp() override {
    auto& B = H->Brackets().AddItem();
    B.SetLeftBracket("/*");
    B.SetRightBracket("*/");
    View.Provider = H.get();
    Rows.AttachEditor(View);
  }
  int Bracket(int Row) const { return Rows.RowState(Row).BracketIndex; }
};

TEST_F(StoreWithHighlighter, CommentStateCarriedAcrossRowsAndUndoneByAnEdit) {
  Lines.SetLinesText("a /*\r\nx\r\n   \r\ny */ b\r\nz");
  Rows.RefreshAllRowStates();
  EXPECT_EQ(Bracket(0), -1);
  EXPECT_EQ(Bracket(1), 0);
  EXPECT_EQ(Bracket(2), 0);
  EXPECT_EQ(Bracket(3), 0);
  EXPECT_EQ(Bracket(4), -1);

  Rows.UpdateRows(0, 1, "a\r\n");  // the opening bracket goes away
  Rows.RefreshRowStates(0, false);
  for (int R = 0; R < Rows.Count(); ++R) EXPECT_EQ(Bracket(R), -1) << R;
}

TEST_F(StoreWithHighlighter, CommentCutByWordWrapKeepsItsState) {
  Rows.WrapOption().SetWrapByte(20);
  Lines.SetLinesText("/* " + std::string(30, 'c') + "\r\nafter */ q");
  Rows.SetWordWrap(true);
  Rows.RefreshAllRowStates();
  ASSERT_GE(Rows.Count(), 3);
  EXPECT_EQ(Rows.RowAttribute(0), raWrapped);
  for (int R = 1; R < Rows.Count(); ++R) EXPECT_EQ(Bracket(R), 0) << R;
}

// An editor that subscribes to its highlighter sees a bracket change in the stored states at once.
TEST_F(StoreWithHighlighter, ABracketChangeReachesTheStoreThroughTheNotifier) {
  Lines.SetLinesText("a [[\r\nx\r\n]] b");
  Rows.RefreshAllRowStates();
  EXPECT_EQ(Bracket(1), -1);
  int Calls = 0;
  H->Notifier().Add(TNotifyEvent::Lambda([&](TObject*) {
    ++Calls;
    Rows.RefreshAllRowStates();
  }));
  auto& B = H->Brackets().AddItem();
  B.SetLeftBracket("[[");
  B.SetRightBracket("]]");
  EXPECT_GE(Calls, 1);
  EXPECT_EQ(Bracket(1), 1);  // the second bracket of the collection
  EXPECT_EQ(Bracket(2), 1);
}

TEST_F(StoreWithHighlighter, SwitchingToTheHtmlSchemeRecomputesTheStates) {
  Lines.SetLinesText("<!-- a\r\nb -->\r\nc");
  Rows.RefreshAllRowStates();
  EXPECT_EQ(Bracket(1), -1);  // the editor scheme has no such bracket
  auto Html = THighlighter::New<THTMLHighlighter>();
  View.Provider = Html.get();
  Rows.RefreshAllRowStates();
  EXPECT_EQ(Bracket(1), 0);  // the HTML scheme's default comment bracket
  EXPECT_EQ(Bracket(2), -1);
}

TEST_F(StoreWithHighlighter, ReservedWordAndStringCutByTheStoresWrap) {
  TStringList Words;
  Words.Add("begin");
  H->SetReserveWordList(Words);
  H->SetQuotation("\"");
  Rows.WrapOption().SetWrapByte(20);
  Lines.SetLinesText(std::string(17, 'x') + " begin " + std::string(10, 'y') + " \"abcdef\" z");
  Rows.SetWordWrap(true);
  Rows.RefreshAllRowStates();
  ASSERT_GE(Rows.Count(), 2);
  ASSERT_EQ(Rows.RowText(0).size(), 20u);
  EXPECT_EQ(Rows.RowState(1).WrappedKind, ttReserve);
  EXPECT_EQ(Rows.RowState(1).WrappedBytes, 3);
  ASSERT_GE(Rows.Count(), 3);
  EXPECT_EQ(Rows.RowText(1).substr(14, 3), " \"a");
  EXPECT_EQ(Rows.RowState(2).WrappedKind, ttQuotation);
}

}  // namespace
}  // namespace tesvarin
