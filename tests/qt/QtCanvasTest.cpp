// The Qt canvas: text on a fixed cell grid whatever the font's advances, clipping, and image copies.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFontDatabase>
#include <QImage>
#include <QPainter>
#include <QRawFont>

#include "qt/QtCanvas.h"
#include "support/SjisCodec.h"
#include "QtApp.h"

namespace tesvarin {
namespace {

class QtCanvasTest : public ::testing::Test {
protected:
  static void SetUpTestSuite() {
    EnsureQtApplication();
  }
  // Text drawn at (0, 0) with the given advance per byte, on white.
  static QImage Drawn(const char* Utf8, int Advance, TRect Clip = {0, 0, 400, 30}, TFontStyles Style = {},
                      const std::string& Font = "FixedSys") {
    QImage Image(400, 30, QImage::Format_RGB32);
    Image.fill(Qt::white);
    QPainter Painter(&Image);
    qt::QtCanvas Canvas(Painter, QPalette());
    Canvas.SetFont(TFontSpec{Font, 9, clBlack, Style});
    Canvas.SetBrushColor(clWhite);
    Canvas.TextOut(0, 0, Clip, Utf8ToCp932(Utf8), Advance, true);
    return Image;
  }
  static int Darkness(const QImage& Image) {
    int Sum = 0;
    for (int Y = 0; Y < Image.height(); ++Y)
      for (int X = 0; X < Image.width(); ++X) Sum += 255 - qGray(Image.pixel(X, Y));
    return Sum;
  }
  static bool HasInk(const QImage& Image, int X1, int X2) {
    for (int Y = 0; Y < Image.height(); ++Y)
      for (int X = X1; X < X2; ++X)
        if (Image.pixel(X, Y) != qRgb(255, 255, 255)) return true;
    return false;
  }
};

TEST_F(QtCanvasTest, EveryByteAdvancesByTheGivenWidthWhateverTheGlyphs) {
  // With wide cells each character starts at its byte's cell and leaves a gap after it.
  const QImage Image = Drawn("ab日c", 20);
  EXPECT_TRUE(HasInk(Image, 0, 12));
  EXPECT_FALSE(HasInk(Image, 14, 20));
  EXPECT_TRUE(HasInk(Image, 20, 32));
  EXPECT_TRUE(HasInk(Image, 40, 56));   // 日 from byte 2
  EXPECT_FALSE(HasInk(Image, 60, 80));  // its second byte's cell is not a character of its own
  EXPECT_TRUE(HasInk(Image, 80, 92));   // c at byte 4
  const QImage Alone = Drawn("    c", 20);
  EXPECT_EQ(Image.copy(80, 0, 20, 30), Alone.copy(80, 0, 20, 30));
}

// A font chosen without Japanese glyphs still shows Japanese text, from the font Qt takes for it,
// on the same cells; its own letters stay its own.
TEST_F(QtCanvasTest, CharactersTheChosenFontLacksAreDrawnFromAJapaneseFont) {
  std::string Latin;
  for (const QString& Family : QFontDatabase::families()) {
    if (QFontDatabase::isSmoothlyScalable(Family) && !QRawFont::fromFont(QFont(Family, 9)).supportsCharacter(QChar(0x65E5))) {
      Latin = Family.toStdString();
      break;
    }
  }
  if (Latin.empty()) GTEST_SKIP() << "every installed font has Japanese glyphs";
  const QImage Image = Drawn("ab日本c", 20, {0, 0, 400, 30}, {}, Latin);
  EXPECT_TRUE(HasInk(Image, 0, 14));    // a
  EXPECT_TRUE(HasInk(Image, 40, 58));   // 日 from byte 2
  EXPECT_TRUE(HasInk(Image, 80, 98));   // 本 from byte 4
  EXPECT_FALSE(HasInk(Image, 62, 78));  // nothing on 日's second byte
  EXPECT_TRUE(HasInk(Image, 120, 134)); // c at byte 6
  EXPECT_EQ(Image.copy(0, 0, 20, 30), Drawn("a", 20, {0, 0, 400, 30}, {}, Latin).copy(0, 0, 20, 30));
}

TEST_F(QtCanvasTest, BoldTextIsBoldEvenWhereTheFontHasNoBoldFace) {
  const QImage Regular = Drawn("abc 日本語", 6);
  const QImage Bold = Drawn("abc 日本語", 6, {0, 0, 400, 30}, TFontStyles{fsBold});
  EXPECT_GT(Darkness(Bold), Darkness(Regular) * 5 / 4);
}

TEST_F(QtCanvasTest, TextStaysInsideItsClipAndAnOpaqueCallFillsIt) {
  QImage Image(100, 30, QImage::Format_RGB32);
  Image.fill(Qt::white);
  QPainter Painter(&Image);
  qt::QtCanvas Canvas(Painter, QPalette());
  Canvas.SetFont(TFontSpec{"FixedSys", 9, clRed, {}});
  Canvas.SetBrushColor(clBlue);
  Canvas.TextOut(0, 0, TRect{10, 0, 30, 20}, "xxxxxxxxxx", 6, true);
  Painter.end();
  EXPECT_EQ(Image.pixel(5, 5), qRgb(255, 255, 255));
  EXPECT_EQ(Image.pixel(10, 0), qRgb(0, 0, 255));
  EXPECT_EQ(Image.pixel(35, 5), qRgb(255, 255, 255));
  bool Red = false;
  for (int Y = 0; Y < 20; ++Y)
    for (int X = 10; X < 30; ++X) Red = Red || (qRed(Image.pixel(X, Y)) > 150 && qBlue(Image.pixel(X, Y)) < 100);
  EXPECT_TRUE(Red);
}

TEST_F(QtCanvasTest, AnImageIsCopiedFromItsSourceColumnWithItsColours) {
  TImage Source(4, 2, clWhite);
  Source.SetPixel(1, 0, clRed);
  Source.SetPixel(2, 1, clBlue);
  Source.SetPixel(3, 1, static_cast<TColor>(0x80000000 + 5));  // the window background
  QImage Image(10, 10, QImage::Format_RGB32);
  Image.fill(Qt::black);
  QPainter Painter(&Image);
  QPalette Palette;
  Palette.setColor(QPalette::Base, QColor(1, 2, 3));
  qt::QtCanvas Canvas(Painter, Palette);
  Canvas.DrawImage(5, 5, Source, 1, 10);  // wider than what is left: only 3 columns
  Painter.end();
  EXPECT_EQ(Image.pixel(5, 5), qRgb(255, 0, 0));
  EXPECT_EQ(Image.pixel(6, 6), qRgb(0, 0, 255));
  EXPECT_EQ(Image.pixel(7, 6), qRgb(1, 2, 3));
  EXPECT_EQ(Image.pixel(6, 5), qRgb(255, 255, 255));
  EXPECT_EQ(Image.pixel(8, 5), qRgb(0, 0, 0));
}

}  // namespace
}  // namespace tesvarin
