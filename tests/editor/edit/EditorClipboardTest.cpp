// Clipboard commands: stream and box copy, the private box format, box paste past the last row.
#include <gtest/gtest.h>

#include "editor/Editor.h"
#include "editor/caret/EditorSelection.h"
#include "editor/settings/EditorResources.h"
#include "testsupport/Fakes.h"

namespace tesvarin {
namespace {

struct ClipboardEditor {
  test::FakeClipboard Clip;
  std::unique_ptr<TEditor> E;
  explicit ClipboardEditor(std::string_view Text) {
    TPlatform P;
    P.Clipboard = &Clip;
    E = std::make_unique<TEditor>(nullptr, P);
    E->Lines().SetLinesText(Text);
  }
  void Box(int R1, int C1, int R2, int C2) {
    E->SetSelectionMode(true);
    E->SetRowCol(R1, C1);
    E->Selection().Start();
    E->SetRowCol(R2, C2);
    E->Selection().Extend();
  }
};

TEST(EditorClipboard, BoxCopyTakesWholeDoubleByteCharactersAndAddsTheBoxFormat) {
  ClipboardEditor T("\x82\xa0\x82\xa2\x82\xa4");
  T.Box(0, 2, 0, 4);
  T.E->CopyToClipboard();
  EXPECT_EQ(T.Clip.Text(), "\x82\xa2\r\n");
  ASSERT_EQ(T.Clip.Registered.count(std::string(BoxClipboardFormatName)), 1u);
  EXPECT_TRUE(T.Clip.HasFormat(T.Clip.Registered[std::string(BoxClipboardFormatName)]));
}

TEST(EditorClipboard, StreamCutAndPasteRoundTrip) {
  ClipboardEditor T("abc\r\ndef");
  T.E->SetSelStart(2);
  T.E->SetSelLength(4);
  T.E->CutToClipboard();
  EXPECT_EQ(T.Clip.Text(), "c\r\nd");
  EXPECT_EQ(T.E->Lines().Text(), "abef");
  EXPECT_TRUE(T.Clip.Registered.empty() || !T.Clip.HasFormat(T.Clip.Registered.begin()->second));
  T.E->PasteFromClipboard();
  EXPECT_EQ(T.E->Lines().Text(), "abc\r\ndef");
  EXPECT_EQ(T.E->Row(), 1);
  EXPECT_EQ(T.E->Col(), 1);
}

TEST(EditorClipboard, BoxPastePastTheLastRowMakesRowsOfSpaces) {
  ClipboardEditor T("ab\r\ncd");
  T.E->SetRowCol(0, 5);
  T.E->BoxPasteText("X\r\nY\r\nZ");
  EXPECT_EQ(T.E->Lines().Text(), "ab   X\r\ncd   Y\r\n     Z\r\n");
  EXPECT_EQ(T.E->Row(), 2);
  EXPECT_EQ(T.E->Col(), 6);
  T.E->Undo();
  EXPECT_EQ(T.E->Lines().Text(), "ab\r\ncd");
}

TEST(EditorClipboard, BoxCopyThenPasteFromClipboardPastesABox) {
  ClipboardEditor T("abcd\r\nefgh");
  T.Box(0, 1, 1, 3);
  T.E->CopyToClipboard();
  T.E->CleanSelection();
  T.E->SetRowCol(0, 4);
  T.E->PasteFromClipboard();
  EXPECT_EQ(T.E->Lines().Text(), "abcdbc\r\nefghfg\r\n");
}

TEST(EditorClipboard, LoneLineFeedsMakeLinesThatSaveWithCrLf) {
  ClipboardEditor T("");
  T.E->PasteText("a\nb\nc");
  ASSERT_EQ(T.E->Lines().Text(), "a\r\nb\r\nc");
  EXPECT_EQ(T.E->RowCount(), 3);
  EXPECT_EQ(T.E->Lines().Text(), "a\r\nb\r\nc");
  EXPECT_EQ(T.E->Row(), 2);
  EXPECT_EQ(T.E->Col(), 1);
}

TEST(EditorClipboard, NoClipboardAndNoSelectionDoNothing) {
  auto E = std::make_unique<TEditor>(nullptr, TPlatform{});
  E->Lines().SetLinesText("ab");
  E->CopyToClipboard();
  E->PasteFromClipboard();
  E->CutToClipboard();
  EXPECT_EQ(E->Lines().Text(), "ab");
}

}  // namespace
}  // namespace tesvarin
