// The editor's life cycle: construction, a shared row store, the external scheme's destruction.
#include <gtest/gtest.h>

#include "FakeEditorWindow.h"
#include "editor/Editor.h"
#include "editor/settings/EditorViewInfo.h"
#include "highlighter/HTMLHighlighter.h"

namespace tesvarin {
namespace {

TEST(EditorLifecycle, SharedStoreOutlivesTheFirstEditorAndSchemeDestructionEmptiesTheProperty) {
  auto First = std::make_unique<TEditor>(nullptr, TPlatform{});
  First->Lines().SetLinesText("abc\r\ndef");
  TEditor Second(nullptr, TPlatform{});
  Second.ShareRowsWith(*First);
  EXPECT_EQ(&Second.ListRows(), &First->ListRows());
  EXPECT_EQ(First->ListRows().EditorCount(), 2);
  First.reset();
  EXPECT_EQ(Second.ListRows().EditorCount(), 1);
  EXPECT_EQ(Second.Lines().Get(1), "def");

  auto Scheme = THighlighter::New<THTMLHighlighter>();
  Second.SetHighlighter(Scheme.get());
  EXPECT_EQ(&Second.ActiveHighlighter(), Scheme.get());
  Scheme.reset();
  EXPECT_EQ(Second.Highlighter(), nullptr);
  EXPECT_EQ(&Second.ActiveHighlighter(), &Second.View().Highlighter());
}

TEST(EditorLifecycle, ProgramChangesSetModifiedAndFireOnChangeButLoadingDoesNot) {
  TEditor Editor(nullptr, TPlatform{});
  int Changes = 0;
  Editor.OnChange = TNotifyEvent::Lambda([&](TObject*) { ++Changes; });
  Editor.Lines().SetLinesText("one\r\ntwo");
  EXPECT_FALSE(Editor.Modified());
  EXPECT_EQ(Changes, 0);
  Editor.ListRows().UpdateRows(0, 1, "uno\r\n");
  EXPECT_TRUE(Editor.Modified());
  EXPECT_EQ(Changes, 1);
}

TEST(EditorLifecycle, AnEditThatAddsRowsMovesTheScrollRangeAndRepaintsToTheBottom) {
  FakeEditorWindow Window;
  TEditor Editor(&Window, TPlatform{});
  Editor.SetScrollBars(ssVertical);
  Editor.Lines().SetLinesText("a\r\nb\r\n");
  const int Before = Window.VertRange.Max;
  Window.Invalidated.clear();
  Editor.ListRows().UpdateRows(1, 0, "x\r\ny\r\nz\r\n");
  EXPECT_EQ(Window.VertRange.Max, Before + 3);
  ASSERT_FALSE(Window.Invalidated.empty());
  EXPECT_GE(Window.Invalidated.back().Bottom, Window.Height - 5 - Window.Metrics.Height);
}

}  // namespace
}  // namespace tesvarin
