// What the editor widget puts on the screen: text on the cell grid, selection colours, the caret at
// its position, and scrolled pixels that match a view painted from scratch.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QImage>
#include <QInputMethodEvent>
#include <QScreen>
#include <QTest>
#include <QWheelEvent>

#include <iterator>
#include <memory>
#include <stdexcept>

#include "editor/EditorEx.h"
#include "editor/view/EditorScroll.h"
#include "qt/EditorWidget.h"
#include "support/SjisCodec.h"
#include "Ink.h"
#include "QtApp.h"

namespace tesvarin {
namespace {

class EditorWidgetPaintTest : public ::testing::Test {
protected:
  static void SetUpTestSuite() {
    EnsureQtApplication();
  }
  void SetUp() override {
    QApplication::setCursorFlashTime(0);  // a steady caret
    Widget = std::make_unique<qt::EditorWidget>();
    Widget->resize(400, 300);
    Editor = std::make_unique<TEditorEx>(Widget.get(), TPlatform{});
    Widget->SetEditor(Editor.get());
    Widget->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(Widget.get()));
  }
  void TearDown() override {
    Widget->SetEditor(nullptr);
    Editor.reset();
    Widget.reset();
    QApplication::setCursorFlashTime(1000);
  }
  void Load(const char* Utf8) {
    Editor->Lines().SetLinesText(Utf8ToCp932(Utf8));
    Editor->SetRowCol(0, 0);
    QApplication::processEvents();
  }
  // The view painted from scratch.
  [[nodiscard]] QImage Painted() const { return Widget->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32); }
  // The pixels on the screen as they are, scrolled ones included.
  // The smallest rectangle holding every pixel that differs between two images of one size.
  static QRect Changed(const QImage& A, const QImage& B) {
    QRect Diff;
    for (int Y = 0; Y < A.height(); ++Y)
      for (int X = 0; X < A.width(); ++X)
        if (A.pixel(X, Y) != B.pixel(X, Y)) Diff |= QRect(X, Y, 1, 1);
    return Diff;
  }
  [[nodiscard]] QImage OnScreen() const {
    QApplication::processEvents();
    const QPoint At = Widget->viewport()->mapTo(Widget.get(), QPoint(0, 0));
    const QSize Size = Widget->viewport()->size();
    return Widget->screen()
        ->grabWindow(Widget->winId(), At.x(), At.y(), Size.width(), Size.height())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
  }
  // The cells Col .. Col + Count - 1 of Row.
  [[nodiscard]] QRect Cells(int Row, int Col, int Count) const {
    const TEditorScroll& S = Editor->Scroll();
    return QRect(S.ColToX(Col), S.RowToY(Row), Count * S.ColWidth(), S.FontHeight());
  }
  [[nodiscard]] static int Ink(const QImage& Image, const QRect& R, QRgb Background) {
    int N = 0;
    for (int Y = R.top(); Y <= R.bottom(); ++Y)
      for (int X = R.left(); X <= R.right(); ++X) N += Image.pixel(X, Y) != Background;
    return N;
  }

  std::unique_ptr<qt::EditorWidget> Widget;
  std::unique_ptr<TEditorEx> Editor;
};

TEST_F(EditorWidgetPaintTest, EveryByteKeepsItsCellAndADoubleByteCharacterTakesTwo) {
  Load("aあb");
  const QImage Mixed = Painted();
  Load("   b");
  const QImage Alone = Painted();
  Load(" あ");
  const QImage Wide = Painted();
  const QRgb White = qRgb(255, 255, 255);
  EXPECT_GT(Ink(Mixed, Cells(0, 0, 1), White), 0);
  EXPECT_GT(Ink(Mixed, Cells(0, 1, 1), White), 0);
  EXPECT_GT(Ink(Mixed, Cells(0, 2, 1), White), 0);  // the second half of あ
  EXPECT_EQ(Mixed.copy(Cells(0, 3, 1)), Alone.copy(Cells(0, 3, 1)));
  EXPECT_EQ(Mixed.copy(Cells(0, 1, 2)), Wide.copy(Cells(0, 1, 2)));
  EXPECT_EQ(Ink(Mixed, Cells(0, 4, 10), White), 0);
}

// In every Japanese monospace face installed, a row spans what the face's own text layout gives it:
// the grid is the face's spacing, not wider for a face that does not call itself fixed-pitch.
TEST_F(EditorWidgetPaintTest, TextKeepsTheSpacingOfEveryInstalledJapaneseMonospaceFace) {
  QStringList Faces;
  for (const QString& Family : QFontDatabase::families(QFontDatabase::Japanese)) {
    const QFont Font(Family, 9);
    const QString Face = QFontInfo(Font).family();
    if (IsJapaneseMonospace(Font) && !Faces.contains(Face)) Faces.append(Face);
  }
  if (Faces.isEmpty()) GTEST_SKIP() << "no Japanese monospace font is installed";
  const char* const Rows[] = {"WWWWWWWWWW", "iiiiiiiiii", "日本語の文字", "ｱｲｳｴｵｶｷｸｹｺ", "a日b本c"};
  std::string Text;
  for (const char* Row : Rows) Text += std::string(Row) + "\r\n";
  for (const QString& Face : Faces) {
    SCOPED_TRACE(Face.toStdString());
    Editor->SetFont(TFontSpec{Face.toStdString(), 9, clBlack, {}});
    Load(Text.c_str());
    Editor->SetRowCol(static_cast<int>(std::size(Rows)), 0);  // the caret clear of the rows measured
    const QImage Image = Painted();
    for (int Row = 0; Row < static_cast<int>(std::size(Rows)); ++Row) {
      SCOPED_TRACE(Rows[Row]);
      const int Bytes = static_cast<int>(Utf8ToCp932(Rows[Row]).size());
      const QRect Ink = InkBox(Image, Cells(Row, 0, Bytes));
      const QImage Natural = QtDrawn(QFont(Face, 9), QString::fromUtf8(Rows[Row]));
      EXPECT_NEAR(Ink.width(), Natural.width(), 2);
    }
  }
}

TEST_F(EditorWidgetPaintTest, ASelectionIsDrawnInTheSelectionColours) {
  Load("abcdef");
  Editor->SetSelLength(3);
  const QImage Image = Painted();
  const QRect Selected = Cells(0, 0, 3);
  const QRgb Navy = qRgb(0, 0, 128);
  const QRgb White = qRgb(255, 255, 255);
  // Mostly selection background, with text in the selection's text colour on it.
  EXPECT_GT(Ink(Image, Selected, White), Selected.width() * Selected.height() / 2);
  EXPECT_EQ(Image.pixel(Selected.topLeft()), Navy);
  int WhiteInk = 0;
  for (int Y = Selected.top(); Y <= Selected.bottom(); ++Y)
    for (int X = Selected.left(); X <= Selected.right(); ++X) WhiteInk += qGray(Image.pixel(X, Y)) > 200;
  EXPECT_GT(WhiteInk, 0);
  EXPECT_EQ(Image.pixel(Cells(0, 4, 1).topLeft()), White);  // past the caret, which stands at column 3
}

TEST_F(EditorWidgetPaintTest, TheCaretStandsAtTheCaretPositionWhileFocused) {
  Load("abc\r\ndef");
  Widget->activateWindow();
  Widget->setFocus();
  Editor->SetRowCol(1, 2);
  QApplication::processEvents();
  const QImage With = OnScreen();
  Widget->clearFocus();
  const QImage Without = OnScreen();
  const QRect Diff = Changed(With, Without);
  const TPoint At = Editor->Scroll().CaretPos();
  EXPECT_EQ(Diff.topLeft(), QPoint(At.X, At.Y));
  EXPECT_EQ(Diff.size(), QSize(2, Editor->Scroll().FontHeight()));
}

TEST_F(EditorWidgetPaintTest, TheTextBeingComposedIsShownAtTheCaretUntilItIsCommitted) {
  Load("abc\r\ndef");
  Widget->activateWindow();
  Widget->setFocus();
  Editor->SetRowCol(1, 1);
  QApplication::processEvents();
  const QImage Before = OnScreen();
  QInputMethodEvent Composing(QString::fromUtf8("にほ"), {});
  QApplication::sendEvent(Widget.get(), &Composing);
  const QImage During = OnScreen();
  const QRect Diff = Changed(During, Before);
  const TPoint At = Editor->Scroll().CaretPos();
  EXPECT_EQ(Diff.topLeft(), QPoint(At.X, At.Y));
  EXPECT_GE(Diff.width(), 2 * Editor->Scroll().ColWidth());
  EXPECT_FALSE(Editor->CaretOnScreen());  // the composition shows where typing goes
  QInputMethodEvent Cancelled(QString(), {});
  QApplication::sendEvent(Widget.get(), &Cancelled);
  EXPECT_TRUE(Editor->CaretOnScreen());
  EXPECT_EQ(OnScreen(), Before);
  QInputMethodEvent Again(QString::fromUtf8("に"), {});
  QApplication::sendEvent(Widget.get(), &Again);
  QInputMethodEvent Committed;
  Committed.setCommitString(QString::fromUtf8("日本"));
  QApplication::sendEvent(Widget.get(), &Committed);
  EXPECT_TRUE(Editor->CaretOnScreen());
  EXPECT_EQ(Editor->Lines().Text(), Utf8ToCp932("abc\r\nd日本ef"));
}

TEST_F(EditorWidgetPaintTest, ScrollingMovesPixelsThatMatchAViewPaintedFromScratch) {
  std::string Text;
  for (int I = 0; I < 60; ++I) Text += "row " + std::to_string(I) + " 行の文字 " + std::string(static_cast<size_t>(I % 7), 'x') + "\r\n";
  Editor->Lines().SetLinesText(Utf8ToCp932(Text));
  Editor->SetSelStart(30);
  Editor->SetSelLength(40);  // a selection scrolls too
  QApplication::processEvents();
  (void)OnScreen();
  Editor->VScroll(SB_LINEDOWN, 0);
  EXPECT_EQ(OnScreen(), Painted());
  Editor->VScroll(SB_PAGEDOWN, 0);
  Editor->VScroll(SB_LINEUP, 0);
  EXPECT_EQ(OnScreen(), Painted());
  Editor->HScroll(SB_LINEDOWN, 0);
  EXPECT_EQ(OnScreen(), Painted());
}

// An editor whose per-row hook fails while Throwing is set, as a descendant's drawing code might.
class TFailingRowEditor final : public TEditorEx {
public:
  using TEditorEx::TEditorEx;
  bool Throwing = false;
  int Thrown = 0;

protected:
  void DrawLine(std::string_view LineStr, int X, int Y, int Index, const TRect& ARect, bool Selected) override {
    if (Throwing) {
      ++Thrown;
      throw std::runtime_error("a drawing hook failed");
    }
    TEditorEx::DrawLine(LineStr, X, Y, Index, ARect, Selected);
  }
};

TEST_F(EditorWidgetPaintTest, AnErrorWhilePaintingStaysInThePaintEventAndLeavesTheCaretWorking) {
  Widget->SetEditor(nullptr);
  auto Failing = std::make_unique<TFailingRowEditor>(Widget.get(), TPlatform{});
  TFailingRowEditor& Hook = *Failing;
  Editor = std::move(Failing);
  Widget->SetEditor(Editor.get());
  Load("abc\r\ndef");
  Widget->activateWindow();
  Widget->setFocus();
  Hook.Throwing = true;
  EXPECT_NO_THROW(Widget->viewport()->repaint());
  EXPECT_NO_THROW((void)Painted());
  EXPECT_GT(Hook.Thrown, 0);
  Hook.Throwing = false;
  Editor->SetRowCol(1, 1);
  QApplication::processEvents();
  const TPoint At = Editor->Scroll().CaretPos();
  EXPECT_EQ(Widget->CaretRect(), QRect(At.X, At.Y, 2, Editor->Scroll().FontHeight()));
  EXPECT_EQ(Painted(), OnScreen());
}

TEST_F(EditorWidgetPaintTest, KeysThatScrollTheViewLeaveNoStaleCaretOrSelectionBehind) {
  std::string Text;
  for (int I = 0; I < 80; ++I) Text += "日本語のテキスト abc 123\tタブ\r\n    インデント\r\n";
  Editor->Lines().SetLinesText(Utf8ToCp932(Text));
  Editor->SetRowCol(3, 30);
  Widget->activateWindow();
  Widget->setFocus();
  QApplication::processEvents();
  // Down past the last visible row scrolls by a row each time while the caret moves; a selection
  // grown by Shift+Down is scrolled with it; the wheel scrolls with the caret and selection shown.
  for (int I = 0; I < 30; ++I) {
    QTest::keyClick(Widget.get(), Qt::Key_Down);
    ASSERT_EQ(OnScreen(), Painted()) << "Down " << I;
  }
  QTest::keyClick(Widget.get(), Qt::Key_PageDown);
  ASSERT_EQ(OnScreen(), Painted()) << "Page Down";
  for (int I = 0; I < 3; ++I) {
    QTest::keyClick(Widget.get(), Qt::Key_Down, Qt::ShiftModifier);
    ASSERT_EQ(OnScreen(), Painted()) << "Shift+Down " << I;
  }
  QWheelEvent Up(QPointF(10, 10), Widget->viewport()->mapToGlobal(QPointF(10, 10)), QPoint(), QPoint(0, 120),
                 Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(Widget->viewport(), &Up);
  EXPECT_EQ(OnScreen(), Painted()) << "wheel";
}

}  // namespace
}  // namespace tesvarin
