#include <gtest/gtest.h>

#include "editor/settings/EditorResources.h"
#include "editor/view/DotLine.h"
#include "testsupport/Fakes.h"

namespace tesvarin {
namespace {

TEST(CursorSlots, FindsTheLowestDefaultSlot) {
  test::FakeCursorTable Cursors;
  EXPECT_EQ(FindFreeCursorSlot(Cursors), 1);
  Cursors.Loaded[1] = "x";
  Cursors.Loaded[2] = "y";
  EXPECT_EQ(FindFreeCursorSlot(Cursors), 3);
}

TEST(EditorResources, RegistersBoxFormatAndCursorsOnce) {
  test::FakePlatform P;
  TPlatform Platform = P.Platform();
  InitEditorResources(Platform);
  InitEditorResources(Platform);  // nested: no second registration
  EXPECT_EQ(P.Clipboard.Registered.size(), 1u);
  EXPECT_EQ(P.Clipboard.Registered.count(BoxClipboardFormatName), 1u);
  EXPECT_EQ(BoxClipboardFormat(), P.Clipboard.Registered[BoxClipboardFormatName]);
  EXPECT_EQ(RightArrowCursorSlot(), 1);
  EXPECT_EQ(DragSelCopyCursorSlot(), 2);
  EXPECT_EQ(P.Cursors.Loaded[1], "RightArrow");
  EXPECT_EQ(P.Cursors.Loaded[2], "DragSelCopy");
  FinalEditorResources();
  EXPECT_NE(BoxClipboardFormat(), 0);
  FinalEditorResources();
  EXPECT_EQ(BoxClipboardFormat(), 0);
}

TEST(DotLine, PatternStartsWithADotAndBitmapsAreShared) {
  test::FakePlatform P;
  TPlatform Platform = P.Platform();  // screen 640 wide
  InitEditorResources(Platform);
  test::RecordingCanvas Canvas(700, 4);
  DrawDotLine(Canvas, 3, 1, clWhite, clRed, 9);
  for (int X = 0; X < 12; ++X) {
    TColor Expected = (X < 3 || X > 9) ? clNone : ((X - 3) % 2 == 0 ? clRed : clWhite);
    EXPECT_EQ(Canvas.Pixels.Pixel(X, 1), Expected) << X;
  }
  EXPECT_EQ(Canvas.Pixels.Pixel(3, 0), clNone);
  DrawDotLine(Canvas, 0, 2, clWhite, clRed, 5);
  EXPECT_EQ(DotLineCollection().Count(), 1);
  ASSERT_EQ(Canvas.ImagesDrawn.size(), 2u);
  EXPECT_EQ(Canvas.ImagesDrawn[0], Canvas.ImagesDrawn[1]);
  DrawDotLine(Canvas, 0, 3, clBlack, clRed, 5);
  EXPECT_EQ(DotLineCollection().Count(), 2);
  // Longer than the screen: cut at the bitmap's width.
  DrawDotLine(Canvas, 0, 0, clWhite, clRed, 699);
  EXPECT_EQ(Canvas.Calls.back(), "image 0,0 from 0 width 640");
  EXPECT_EQ(Canvas.Pixels.Pixel(639, 0), clWhite);
  EXPECT_EQ(Canvas.Pixels.Pixel(640, 0), clNone);
  FinalEditorResources();
}

}  // namespace
}  // namespace tesvarin
