// The Qt canvas: text on a fixed cell grid whatever the font's advances, clipping, and image copies.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QImage>
#include <QPainter>
#include <QRawFont>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "qt/Fonts.h"
#include "qt/QtCanvas.h"
#include "support/SjisCodec.h"
#include "Ink.h"
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
  static TTextMetrics FixedSysMetrics() {
    QImage Image(1, 1, QImage::Format_RGB32);
    QPainter Painter(&Image);
    qt::QtCanvas Canvas(Painter, QPalette());
    Canvas.SetFont(TFontSpec{"FixedSys", 9, clBlack, {}});
    return Canvas.TextMetrics();
  }
  static int Darkness(const QImage& Image) {
    int Sum = 0;
    for (int Y = 0; Y < Image.height(); ++Y)
      for (int X = 0; X < Image.width(); ++X) Sum += 255 - qGray(Image.pixel(X, Y));
    return Sum;
  }
  // Whether ink in its two cells starting at X leaves as much room on either side, give or take the
  // glyph's own bearings.
  static bool Centred(const QRect& Ink, int X, int Width) {
    return std::abs((Ink.left() - X) - (X + Width - 1 - Ink.right())) <= 3;
  }
  // An installed family, under its own name, whose face holds what Wanted asks for.
  template <class P>
  static std::string FamilyWhere(const QStringList& Families, P Wanted) {
    for (const QString& Family : Families) {
      const QFont Font(Family, 9);
      const QRawFont Face = QRawFont::fromFont(Font);
      const bool Named = Face.familyName().compare(Family, Qt::CaseInsensitive) == 0 ||
                         QFontInfo(Font).family().compare(Family, Qt::CaseInsensitive) == 0;
      if (Named && Wanted(Face)) return Family.toStdString();
    }
    return {};
  }
  static std::string LatinOnlyFamily() {
    return FamilyWhere(QFontDatabase::families(), [](const QRawFont& Face) {
      return Face.supportsCharacter(QLatin1Char('a')) && Face.supportsCharacter(QLatin1Char('c')) &&
             !Face.supportsCharacter(QChar(0x65E5));
    });
  }
  static constexpr int Height = 30;
};

// The fonts the program names stand for faces chosen by what they hold, whatever names the desktop
// lists them under.
TEST_F(QtCanvasTest, TheNamedFontsAreJapaneseFacesWhereverOneIsInstalled) {
  const QStringList Japanese = QFontDatabase::families(QFontDatabase::Japanese);
  if (Japanese.isEmpty()) GTEST_SKIP() << "no Japanese font is installed";
  for (const char* Proportional : {"ＭＳ Ｐゴシック", "MS UI Gothic"}) {
    SCOPED_TRACE(Proportional);
    EXPECT_TRUE(QFontMetrics(qt::ToQFont(TFontSpec{Proportional, 9, clBlack, {}})).inFont(QChar(0x65E5)));
  }
  EXPECT_TRUE(QFontMetrics(qt::JapaneseUiFont()).inFont(QChar(0x65E5)));
  if (std::none_of(Japanese.begin(), Japanese.end(), [](const QString& F) { return IsJapaneseMonospace(QFont(F, 9)); }))
    GTEST_SKIP() << "no Japanese monospace font is installed";
  for (const char* Fixed : {"FixedSys", "ＭＳ ゴシック"}) {
    SCOPED_TRACE(Fixed);
    EXPECT_TRUE(IsJapaneseMonospace(qt::ToQFont(TFontSpec{Fixed, 9, clBlack, {}})));
  }
}

TEST_F(QtCanvasTest, EveryByteAdvancesByTheGivenWidthWhateverTheGlyphs) {
  // With wide cells each character starts at its byte's cell, as it is drawn there alone, and
  // leaves the rest of its cells blank.
  if (!IsJapaneseMonospace(qt::ToQFont(TFontSpec{"FixedSys", 9, clBlack, {}})))
    GTEST_SKIP() << "no Japanese monospace font is installed";
  constexpr int A = 20;
  const QImage Image = Drawn("ab日c", A);
  const int Half = FixedSysMetrics().AveCharWidth;
  ASSERT_LT(2 * Half, 2 * A);
  struct {
    const char* Alone;
    int Col;
    int Cells;
  } const Cases[] = {{"a", 0, 1}, {" b", 1, 1}, {"  日", 2, 2}, {"    c", 4, 1}};
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Alone);
    const QRect Cell(C.Col * A, 0, C.Cells * A, Height);
    EXPECT_EQ(Image.copy(Cell), Drawn(C.Alone, A).copy(Cell));
    const QRect Ink = InkBox(Image, Cell);
    ASSERT_FALSE(Ink.isEmpty());
    EXPECT_LE(Ink.right(), Cell.left() + C.Cells * Half);  // its second byte is not a character of its own
  }
}

// A font chosen without Japanese glyphs still shows Japanese text, from the font Qt takes for
// Japanese, fitted into the same cells; its own letters stay its own.
TEST_F(QtCanvasTest, CharactersTheChosenFontLacksAreDrawnFromAJapaneseFont) {
  const std::string Latin = LatinOnlyFamily();
  if (Latin.empty()) GTEST_SKIP() << "every installed font has kanji";
  const QFont Font(QString::fromStdString(Latin), 9);
  if (!QRawFont::fromFont(Font, QFontDatabase::Japanese).supportsCharacter(QChar(0x65E5)))
    GTEST_SKIP() << "no installed font has kanji";
  constexpr int A = 20;
  const QImage Image = Drawn("a日c", A, {0, 0, 400, Height}, {}, Latin);
  EXPECT_EQ(Image.copy(0, 0, A, Height), Drawn("a", A, {0, 0, 400, Height}, {}, Latin).copy(0, 0, A, Height));
  const QRect C(3 * A, 0, A, Height);
  EXPECT_EQ(Image.copy(C), Drawn("   c", A, {0, 0, 400, Height}, {}, Latin).copy(C));
  const QRect Ink = InkBox(Image, QRect(A, 0, 2 * A, Height));
  ASSERT_FALSE(Ink.isEmpty());
  EXPECT_EQ(Image.copy(Ink), QtDrawn(Font, QString::fromUtf8("日")));
  EXPECT_TRUE(Centred(Ink, A, 2 * A)) << Ink.left() << ".." << Ink.right();
  // On cells narrower than the glyph it is shrunk into them rather than spilling over its neighbours.
  const QImage Narrow = Drawn(" 国", 3, {0, 0, 400, Height}, {}, Latin);
  const QRect Shrunk = InkBox(Narrow, Narrow.rect());
  ASSERT_FALSE(Shrunk.isEmpty());
  EXPECT_GE(Shrunk.left(), 3) << Shrunk.left() << ".." << Shrunk.right();
  EXPECT_LE(Shrunk.right(), 9) << Shrunk.left() << ".." << Shrunk.right();
}

// ∑ is in code page 932 but not in every Japanese font: it comes from whichever installed font Qt
// finds for it.
TEST_F(QtCanvasTest, ACharacterNeitherFontHasIsDrawnFromAnyInstalledFontThatHasIt) {
  const std::string Lacking = FamilyWhere(QFontDatabase::families(QFontDatabase::Japanese), [](const QRawFont& Face) {
    return Face.supportsCharacter(QChar(0x65E5)) && !Face.supportsCharacter(QChar(0x2211));
  });
  if (Lacking.empty()) GTEST_SKIP() << "every installed Japanese font has U+2211";
  bool Anywhere = false;
  for (const QString& Family : QFontDatabase::families())
    Anywhere = Anywhere || QRawFont::fromFont(QFont(Family, 9)).supportsCharacter(QChar(0x2211));
  if (!Anywhere) GTEST_SKIP() << "no installed font has U+2211";
  constexpr int A = 20;
  const QImage Image = Drawn("a∑b", A, {0, 0, 400, Height}, {}, Lacking);
  const QRect Ink = InkBox(Image, QRect(A, 0, 2 * A, Height));
  ASSERT_FALSE(Ink.isEmpty());
  EXPECT_EQ(Image.copy(Ink), QtDrawn(QFont(QString::fromStdString(Lacking), 9), QString::fromUtf8("∑")));
  EXPECT_TRUE(Centred(Ink, A, 2 * A)) << Ink.left() << ".." << Ink.right();
  const QRect B(3 * A, 0, A, Height);
  EXPECT_EQ(Image.copy(B), Drawn("   b", A, {0, 0, 400, Height}, {}, Lacking).copy(B));
}

// Bold is heavier whether the face has a bold of its own or Qt thickens the regular one.
TEST_F(QtCanvasTest, BoldTextIsBoldEvenWhereTheFontHasNoBoldFace) {
  const QImage Regular = Drawn("abc 日本語", 6);
  const QImage Bold = Drawn("abc 日本語", 6, {0, 0, 400, 30}, TFontStyles{fsBold});
  EXPECT_GT(Darkness(Bold), Darkness(Regular) * 11 / 10);
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
