#include <gtest/gtest.h>

#include "editor/chars/CharArr.h"
#include "editor/EditorUtils.h"
#include "testsupport/Fakes.h"

namespace tesvarin {
namespace {

TEST(CharClass, TableEntries) {
  struct Row {
    unsigned char Byte;
    TCharClasses Flags;
  };
  const Row Rows[] = {
      {0x00, ccControl | ccShortNameStop | ccNameStop},
      {0x09, ccControl | ccSpace | ccShortNameStop | ccNameStop},
      {0x0D, ccControl | ccSpace | ccShortNameStop | ccNameStop},
      {0x1A, ccControl | ccShortNameStop | ccNameStop},
      {0x20, ccSpace | ccShortNameStop},
      {'!', ccSymbol},
      {'"', ccSymbol | ccShortNameStop | ccNameStop},
      {'+', ccSymbol | ccShortNameStop},
      {'-', ccSymbol},
      {'/', ccSymbol | ccShortNameStop | ccNameStop},
      {'5', ccDigit | ccHexDigit},
      {'=', ccSymbol | ccShortNameStop},
      {'?', ccSymbol | ccShortNameStop | ccNameStop},
      {'@', ccSymbol | ccHigh},
      {'F', ccHexDigit | ccLetter | ccHigh},
      {'G', ccLetter | ccHigh},
      {'[', ccSymbol | ccHigh | ccShortNameStop},
      {'\\', ccSymbol | ccHigh},
      {'f', ccHexDigit | ccLetter | ccHigh},
      {'z', ccLetter | ccHigh},
      {'{', ccSymbol},
      {'|', ccSymbol | ccShortNameStop | ccNameStop},
      {'~', ccSymbol},
      {0x7F, ccControl},
      {0x80, ccHigh},
      {0x81, ccLeadByte | ccHigh},
      {0x9F, ccLeadByte | ccHigh},
      {0xA0, ccHigh},
      {0xA1, ccHigh | ccKana},
      {0xDF, ccHigh | ccKana},
      {0xE0, ccLeadByte | ccHigh},
      {0xFC, ccLeadByte | ccHigh},
      {0xFD, ccControl},
      {0xFF, ccControl},
  };
  for (const Row& R : Rows) {
    SCOPED_TRACE(static_cast<int>(R.Byte));
    EXPECT_EQ(CharClass(R.Byte), R.Flags);
  }
}

TEST(CharClass, LeadBytesAgreeWithTheTable) {
  for (int B = 0; B < 256; ++B) {
    EXPECT_EQ(IsLeadByte(static_cast<unsigned char>(B)), (CharClass(static_cast<unsigned char>(B)) & ccLeadByte) != 0)
        << B;
  }
}

TEST(CharClass, BinaryBytesAreControlsThatAreNotSpace) {
  int Count = 0;
  for (int B = 0; B < 256; ++B) Count += IsBinaryByte(static_cast<unsigned char>(B)) ? 1 : 0;
  // 00-08, 0E-1F, 7F, FD-FF
  EXPECT_EQ(Count, 9 + 18 + 1 + 3);
  for (unsigned char B : {'\t', '\n', '\v', '\f', '\r'}) EXPECT_FALSE(IsBinaryByte(B));
  EXPECT_TRUE(IsBinaryByte(0x1A));
  EXPECT_TRUE(IsBinaryByte(0xFF));
}

TEST(DoubleByteWalk, IndicesOfAMixedString) {
  const std::string S = "\x41\x82\xA0";
  EXPECT_FALSE(IsDBCS1(S, 0));
  EXPECT_TRUE(IsDBCS1(S, 1));
  EXPECT_FALSE(IsDBCS2(S, 1));
  EXPECT_TRUE(IsDBCS2(S, 2));
  EXPECT_FALSE(IsDBCS1(S, 2));
  EXPECT_FALSE(IsDBCS1(S, -1));
  EXPECT_FALSE(IsDBCS1(S, 3));
}

TEST(DoubleByteWalk, LeadByteAtTheEnd) {
  const std::string S = "a\x82";
  EXPECT_TRUE(IsDBCS1(S, 1));
  EXPECT_FALSE(IsDBCS2(S, 2));
}

TEST(DoubleByteWalk, RunsOfLeadByteValues) {
  // 82 82 | 82 82 | 41: every even index starts a character, and the trail 0x82 is no lead.
  const std::string S = "\x82\x82\x82\x82\x41";
  EXPECT_TRUE(IsDBCS1(S, 0));
  EXPECT_TRUE(IsDBCS2(S, 1));
  EXPECT_TRUE(IsDBCS1(S, 2));
  EXPECT_TRUE(IsDBCS2(S, 3));
  EXPECT_FALSE(IsDBCS2(S, 4));
  // Trail byte equal to an ASCII letter: "\x83\x41" is one character.
  const std::string T = "x\x83\x41\x41";
  EXPECT_TRUE(IsDBCS2(T, 2));
  EXPECT_FALSE(IsDBCS2(T, 3));
  EXPECT_FALSE(IsDBCS1(T, 3));
}

TEST(DoubleByteWalk, AgreesWithAWalkFromTheStart) {
  std::string S;
  unsigned Seed = 7;
  for (int I = 0; I < 2000; ++I) {
    Seed = Seed * 1103515245u + 12345u;
    const unsigned char Pool[] = {0x41, 0x5C, 0x82, 0x83, 0xE0, 0xA1, 0x40, 0x9F};
    S += static_cast<char>(Pool[(Seed >> 16) % 8]);
  }
  std::vector<int> Kind(S.size(), 0);  // 0 single, 1 lead, 2 trail
  for (size_t I = 0; I < S.size();) {
    if (IsLeadByte(S[I])) {
      Kind[I] = 1;
      if (I + 1 < S.size()) Kind[I + 1] = 2;
      I += 2;
    } else {
      ++I;
    }
  }
  for (size_t I = 0; I < S.size(); ++I) {
    ASSERT_EQ(IsDBCS1(S, static_cast<int>(I)), Kind[I] == 1) << I;
    ASSERT_EQ(IsDBCS2(S, static_cast<int>(I)), Kind[I] == 2) << I;
  }
}

TEST(StringHelpers, CharAtCountCharMaxMin) {
  EXPECT_EQ(CharAt("ab", 1), 'b');
  EXPECT_EQ(CharAt("ab", 2), 0);
  EXPECT_EQ(CharAt("ab", -1), 0);
  EXPECT_EQ(CountChar("a\tb\t\t", '\t', 3), 1);
  EXPECT_EQ(CountChar("a\tb\t\t", '\t', 99), 3);
  EXPECT_EQ(Max(3, -2), 3);
  EXPECT_EQ(Min(3, -2), -2);
}

TEST(StringHelpers, ContainsCharOnlyAtCharacterBoundaries) {
  const std::string List = "\x81\x41\x81\x42";  // 、。
  EXPECT_TRUE(ContainsChar("\x81\x42", List));
  EXPECT_FALSE(ContainsChar("\x41", List));  // the trail byte of 、
  EXPECT_FALSE(ContainsChar("", List));
  EXPECT_FALSE(ContainsChar("abc", "ab"));
  EXPECT_TRUE(ContainsChar(")", "!),"));
}

std::vector<std::string> Split(std::string_view Text) {
  TStringList Lines;
  SplitLines(Text, Lines);
  return Lines.Items();
}

TEST(SplitLines, BreaksOfEveryKind) {
  using V = std::vector<std::string>;
  EXPECT_EQ(Split("a\r\nb"), (V{"a", "b"}));
  EXPECT_EQ(Split("a\n"), (V{"a"}));
  EXPECT_EQ(Split("a\n\rb"), (V{"a", "", "b"}));
  EXPECT_EQ(Split("a\rb\r"), (V{"a", "b"}));
  EXPECT_EQ(Split(""), V{});
  EXPECT_EQ(Split("\n\n"), (V{"", ""}));
}

TEST(SplitLines, StopsAtNulButKeepsCountedLines) {
  using V = std::vector<std::string>;
  EXPECT_EQ(Split(std::string_view("a\nb\0c\nd\n", 8)), (V{"a", "b", ""}));
}

TEST(SplitLines, ReplacesOldContentsInOneNotification) {
  TStringList Lines;
  Lines.Add("old");
  int Changes = 0;
  Lines.OnChange = [&](TStringList&) { ++Changes; };
  SplitLines("x\ny", Lines);
  EXPECT_EQ(Lines.Items(), (std::vector<std::string>{"x", "y"}));
  EXPECT_EQ(Changes, 1);
}

TEST(CursorSlots, FindsTheLowestDefaultSlot) {
  test::FakeCursorTable Cursors;
  EXPECT_EQ(FindFreeCursorSlot(Cursors), 1);
  Cursors.Loaded[1] = "x";
  Cursors.Loaded[2] = "y";
  EXPECT_EQ(FindFreeCursorSlot(Cursors), 3);
}

TEST(EditorUtilsUnit, RegistersBoxFormatAndCursorsOnce) {
  test::FakePlatform P;
  TPlatform Platform = P.Platform();
  InitEditorUtils(Platform);
  InitEditorUtils(Platform);  // nested: no second registration
  EXPECT_EQ(P.Clipboard.Registered.size(), 1u);
  EXPECT_EQ(P.Clipboard.Registered.count(BoxClipboardFormatName), 1u);
  EXPECT_EQ(BoxClipboardFormat(), P.Clipboard.Registered[BoxClipboardFormatName]);
  EXPECT_EQ(RightArrowCursorSlot(), 1);
  EXPECT_EQ(DragSelCopyCursorSlot(), 2);
  EXPECT_EQ(P.Cursors.Loaded[1], "RightArrow");
  EXPECT_EQ(P.Cursors.Loaded[2], "DragSelCopy");
  FinalEditorUtils();
  EXPECT_NE(BoxClipboardFormat(), 0);
  FinalEditorUtils();
  EXPECT_EQ(BoxClipboardFormat(), 0);
}

TEST(DotLine, PatternStartsWithADotAndBitmapsAreShared) {
  test::FakePlatform P;
  TPlatform Platform = P.Platform();  // screen 640 wide
  InitEditorUtils(Platform);
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
  FinalEditorUtils();
}

}  // namespace
}  // namespace tesvarin
