// The editor widget with real Qt events: typing and the input method, keys, mouse selection and drag,
// the clipboard through QClipboard, the context menu and its shortcuts, wheel and scroll bars, and
// errors from commands.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QMenu>
#include <QMimeData>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>
#include <stdexcept>

#include "editor/EditorEx.h"
#include "editor/EditorMessages.h"
#include "editor/view/EditorScroll.h"
#include "editor/caret/EditorSelection.h"
#include "qt/EditorWidget.h"
#include "qt/QtPlatform.h"
#include "support/Exception.h"
#include "support/SjisCodec.h"
#include "QtApp.h"

namespace tesvarin {
namespace {

QString Q(const char* S) { return QString::fromUtf8(S); }
std::string Sjis(const char* Utf8) { return Utf8ToCp932(Utf8); }

class EditorWidgetTest : public ::testing::Test {
protected:
  static void SetUpTestSuite() {
    EnsureQtApplication();
  }
  void SetUp() override {
    Widget = std::make_unique<qt::EditorWidget>();
    Widget->resize(640, 400);
    Editor = std::make_unique<TEditorEx>(Widget.get(), Platform);
    Widget->SetEditor(Editor.get());
    Widget->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(Widget.get()));
    Widget->activateWindow();
    Widget->setFocus();
    QApplication::processEvents();
  }
  void TearDown() override {
    Widget->SetEditor(nullptr);
    Editor.reset();
    Widget.reset();
  }
  void Load(const char* Utf8) {
    Editor->Lines().SetLinesText(Sjis(Utf8));
    Editor->SetRowCol(0, 0);
  }
  [[nodiscard]] std::string Text() const { return Cp932ToUtf8(Editor->Lines().Text()); }
  [[nodiscard]] QPoint Cell(int Row, int Col) const {
    return QPoint(Editor->Scroll().ColToX(Col) + 1, Editor->Scroll().RowToY(Row) + 1);
  }
  void Mouse(QEvent::Type Type, QPoint At, Qt::MouseButtons Buttons, Qt::KeyboardModifiers Mods = {}) {
    const Qt::MouseButton Button = Type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent E(Type, At, Widget->viewport()->mapToGlobal(At), Button, Buttons, Mods);
    QApplication::sendEvent(Widget->viewport(), &E);
  }
  void DragMouse(QPoint From, QPoint To, Qt::KeyboardModifiers Mods = {}) {
    Mouse(QEvent::MouseButtonPress, From, Qt::LeftButton, Mods);
    Mouse(QEvent::MouseMove, To, Qt::LeftButton, Mods);
    Mouse(QEvent::MouseButtonRelease, To, Qt::NoButton, Mods);
  }
  void Commit(const QString& Result, const QString& Preedit = QString()) {
    QInputMethodEvent E(Preedit, {});
    E.setCommitString(Result);
    QApplication::sendEvent(Widget.get(), &E);
  }
  void Key(Qt::Key K, Qt::KeyboardModifiers Mods = Qt::NoModifier) { QTest::keyClick(Widget.get(), K, Mods); }

  qt::QtClipboard Clipboard;
  qt::QtCursorTable Cursors;
  TPlatform Platform{&Clipboard, nullptr, nullptr, nullptr, &Cursors};
  std::unique_ptr<qt::EditorWidget> Widget;
  std::unique_ptr<TEditorEx> Editor;
};

TEST_F(EditorWidgetTest, TypedAndComposedTextReachesTheEditorInItsCodePage) {
  QTest::keyClicks(Widget.get(), "ab");
  Commit(Q("日本語"));
  // The composed characters are not typed a second time, and typing goes on after them.
  QTest::keyClicks(Widget.get(), "c");
  Commit(Q("ｶﾅ"));
  EXPECT_EQ(Text(), "ab日本語cｶﾅ");
  EXPECT_EQ(Editor->Col(), 2 + 6 + 1 + 2);
  EXPECT_EQ(Editor->ImeSkip(), 0);
}

TEST_F(EditorWidgetTest, PreeditShowsAtTheCaretAndTheCandidateWindowOpensThere) {
  Load("abc");
  Editor->SetRowCol(0, 2);
  Commit(QString(), Q("にほ"));
  EXPECT_EQ(Widget->Preedit(), Q("にほ"));
  EXPECT_EQ(Text(), "abc");
  const QRect Caret = Widget->inputMethodQuery(Qt::ImCursorRectangle).toRect();
  EXPECT_EQ(Caret.topLeft(), QPoint(Editor->Scroll().ColToX(2), Editor->Scroll().RowToY(0)));
  EXPECT_GT(Caret.height(), 0);
  Commit(Q("日本"));
  EXPECT_TRUE(Widget->Preedit().isEmpty());
  EXPECT_EQ(Text(), "ab日本c");
}

TEST_F(EditorWidgetTest, EnterBackspaceDeleteAndTabEdit) {
  Load("abcd");
  Editor->SetRowCol(0, 2);
  Key(Qt::Key_Return);
  EXPECT_EQ(Text(), "ab\r\ncd");
  EXPECT_EQ(Editor->Row(), 1);
  Key(Qt::Key_Backspace);
  EXPECT_EQ(Text(), "abcd");
  Key(Qt::Key_Delete);
  EXPECT_EQ(Text(), "abd");
  Key(Qt::Key_Tab);
  EXPECT_EQ(Text(), "ab\td");
  EXPECT_TRUE(Widget->hasFocus());  // Tab is a character, not a focus move
}

TEST_F(EditorWidgetTest, EditControlMessagesReachTheAttachedEditor) {
  Load("abc\r\ndef");
  ASSERT_NE(Widget->Messages(), nullptr);
  Widget->Messages()->SetSel(1, 6);
  EXPECT_EQ(Editor->GetSelText(), "bc\r\nd");
  Widget->Messages()->ReplaceSel("X");
  EXPECT_EQ(Text(), "aXef");
  Widget->SetEditor(nullptr);
  EXPECT_EQ(Widget->Messages(), nullptr);
  Widget->SetEditor(Editor.get());
}

TEST_F(EditorWidgetTest, ArrowsMoveAndShiftArrowsSelect) {
  Load("日本語\r\nabc");
  Key(Qt::Key_Right);
  EXPECT_EQ(Editor->Col(), 2);  // over a double-byte character at once
  Key(Qt::Key_Down);
  EXPECT_EQ(Editor->Row(), 1);
  Key(Qt::Key_Home);
  Key(Qt::Key_Right, Qt::ShiftModifier);
  Key(Qt::Key_Right, Qt::ShiftModifier);
  EXPECT_EQ(Editor->GetSelText(), "ab");
  Key(Qt::Key_Up, Qt::ShiftModifier);
  EXPECT_EQ(Cp932ToUtf8(Editor->GetSelText()), "本語\r\n");
  Key(Qt::Key_Left);
  EXPECT_FALSE(Editor->Selected());
}

TEST_F(EditorWidgetTest, MouseDragSelectsAStreamOrWithBoxModeABox) {
  Load("abcdef\r\nghijkl\r\nmnopqr");
  DragMouse(Cell(0, 1), Cell(1, 3));
  EXPECT_EQ(Editor->GetSelText(), "bcdef\r\nghi");
  Key(Qt::Key_K, Qt::ControlModifier);
  ASSERT_TRUE(Editor->SelectionMode());
  DragMouse(Cell(0, 1), Cell(2, 3));
  EXPECT_EQ(Editor->GetSelText(), "bc\r\nhi\r\nno\r\n");
  // Shift with a press extends from the caret.
  Key(Qt::Key_K, Qt::ControlModifier);
  Mouse(QEvent::MouseButtonPress, Cell(0, 0), Qt::LeftButton);
  Mouse(QEvent::MouseButtonRelease, Cell(0, 0), Qt::NoButton);
  Mouse(QEvent::MouseButtonPress, Cell(0, 4), Qt::LeftButton, Qt::ShiftModifier);
  Mouse(QEvent::MouseButtonRelease, Cell(0, 4), Qt::NoButton, Qt::ShiftModifier);
  EXPECT_EQ(Editor->GetSelText(), "abcd");
}

TEST_F(EditorWidgetTest, CopyCutAndPasteGoThroughTheDesktopClipboard) {
  Load("日本 abc");
  Key(Qt::Key_Right, Qt::ShiftModifier);
  Key(Qt::Key_Right, Qt::ShiftModifier);
  Key(Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QApplication::clipboard()->text(), Q("日本"));
  Key(Qt::Key_X, Qt::ControlModifier);
  EXPECT_EQ(Text(), " abc");
  Key(Qt::Key_End);
  Key(Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(Text(), " abc日本");
  // Text another program put there is converted on the way in.
  QApplication::clipboard()->setText(Q("表示"));
  Key(Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(Text(), " abc日本表示");
}

TEST_F(EditorWidgetTest, ABoxCopiedInOneEditorPastesAsABoxInAnother) {
  Load("abcd\r\nefgh");
  Key(Qt::Key_K, Qt::ControlModifier);
  DragMouse(Cell(0, 1), Cell(1, 3));
  Key(Qt::Key_C, Qt::ControlModifier);
  const QMimeData* Data = QApplication::clipboard()->mimeData();
  ASSERT_NE(Data, nullptr);
  EXPECT_TRUE(Data->hasFormat("application/x-tesvarin-teditor-box-type"));
  EXPECT_EQ(Data->text(), Q("bc\r\nfg\r\n"));

  qt::QtClipboard OtherClipboard;
  TPlatform OtherPlatform{&OtherClipboard};
  qt::EditorWidget OtherWidget;
  OtherWidget.resize(300, 200);
  TEditorEx Other(&OtherWidget, OtherPlatform);
  OtherWidget.SetEditor(&Other);
  Other.Lines().SetLinesText("12345\r\n67890");
  Other.SetRowCol(0, 2);
  QTest::keyClick(&OtherWidget, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(Other.Lines().Text(), "12bc345\r\n67fg890\r\n");
  OtherWidget.SetEditor(nullptr);
}

TEST_F(EditorWidgetTest, TextCodePage932CannotHoldIsRefusedWhole) {
  Load("abc");
  // A typed character, a composed string and clipboard text with one character the code page
  // lacks: nothing of them is inserted, and the error names it.
  QTest::keyClick(Widget.get(), Qt::Key_X);
  QKeyEvent Typed(QEvent::KeyPress, 0, Qt::NoModifier, Q("😀"));
  EXPECT_THROW(QApplication::sendEvent(Widget.get(), &Typed), EConvertError);
  EXPECT_EQ(Text(), "xabc");
  EXPECT_THROW(Commit(Q("日本😀語")), EConvertError);
  EXPECT_EQ(Text(), "xabc");
  EXPECT_EQ(Editor->ImeSkip(), 0);
  QApplication::clipboard()->setText(Q("ok 😀"));
  try {
    Key(Qt::Key_V, Qt::ControlModifier);
    ADD_FAILURE() << "the paste was not refused";
  } catch (const EConvertError& E) {
    EXPECT_NE(std::string(E.what()).find("😀"), std::string::npos) << E.what();
  }
  EXPECT_EQ(Text(), "xabc");
}

TEST_F(EditorWidgetTest, DraggingASelectionMovesItAndWithCtrlCopiesIt) {
  Load("abc def");
  DragMouse(Cell(0, 0), Cell(0, 3));
  ASSERT_EQ(Editor->GetSelText(), "abc");
  DragMouse(Cell(0, 1), Cell(0, 7));
  EXPECT_EQ(Text(), " defabc");
  DragMouse(Cell(0, 1), Cell(0, 4));
  ASSERT_EQ(Editor->GetSelText(), "def");
  DragMouse(Cell(0, 2), Cell(0, 0), Qt::ControlModifier);
  EXPECT_EQ(Text(), "def defabc");
  // Escape during a drag cancels it: the release drops nothing.
  DragMouse(Cell(0, 0), Cell(0, 3));
  Mouse(QEvent::MouseButtonPress, Cell(0, 1), Qt::LeftButton);
  Mouse(QEvent::MouseMove, Cell(0, 9), Qt::LeftButton);
  ASSERT_TRUE(Editor->Dragging());
  Key(Qt::Key_Escape);
  EXPECT_FALSE(Editor->Dragging());
  Mouse(QEvent::MouseButtonRelease, Cell(0, 9), Qt::NoButton);
  EXPECT_EQ(Text(), "def defabc");
}

TEST_F(EditorWidgetTest, DoubleClickSelectsTheWordUnderThePointer) {
  Load("foo 日本語 bar");
  QTest::mouseDClick(Widget->viewport(), Qt::LeftButton, {}, Cell(0, 6));
  EXPECT_EQ(Cp932ToUtf8(Editor->GetSelText()), "日本語");
  QTest::mouseDClick(Widget->viewport(), Qt::LeftButton, {}, Cell(0, 12));
  EXPECT_EQ(Editor->GetSelText(), "bar");
}

TEST_F(EditorWidgetTest, AnErrorFromAKeyOrMouseCommandLeavesTheWidgetForTheApplicationsReport) {
  Load("foo bar");
  Editor->OnDblClick = TNotifyEvent::Lambda([](TObject*) { throw Exception("bad expression"); });
  EXPECT_THROW(QTest::mouseDClick(Widget->viewport(), Qt::LeftButton, {}, Cell(0, 1)), Exception);
  struct FailingClipboard : qt::QtClipboard {
    void SetText(std::string_view) override { throw std::runtime_error("the clipboard is full"); }
  };
  FailingClipboard Full;
  TPlatform FullPlatform{&Full};
  qt::EditorWidget Other;
  TEditorEx OtherEditor(&Other, FullPlatform);
  Other.SetEditor(&OtherEditor);
  OtherEditor.Lines().SetLinesText("abc");
  OtherEditor.SelectAll();
  EXPECT_THROW(QTest::keyClick(&Other, Qt::Key_C, Qt::ControlModifier), std::runtime_error);
  Other.SetEditor(nullptr);
}

// Runs Check on the context menu once it is open, then closes it or triggers the named item.
void OnMenu(std::function<void(QMenu&)> Check) {
  QTimer::singleShot(0, [Check] {
    auto* Menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(Menu, nullptr);
    Check(*Menu);
    if (Menu->isVisible()) Menu->close();
  });
}

QAction* ActionOf(QMenu& Menu, const QString& Caption) {
  for (QAction* A : Menu.actions()) {
    if (A->text().startsWith(Caption)) return A;
  }
  return nullptr;
}

TEST_F(EditorWidgetTest, TheContextMenuShowsTheEditorsStateAndRunsTheChosenCommand) {
  Load("abc");
  Key(Qt::Key_Right, Qt::ShiftModifier);
  bool Checked = false;
  OnMenu([&](QMenu& Menu) {
    Checked = true;
    ASSERT_NE(ActionOf(Menu, Q("コピー(&C)")), nullptr);
    EXPECT_EQ(ActionOf(Menu, Q("コピー(&C)"))->text(), Q("コピー(&C)\tCtrl+C"));
    EXPECT_TRUE(ActionOf(Menu, Q("切り取り(&T)"))->isEnabled());
    EXPECT_FALSE(ActionOf(Menu, Q("元に戻す(&U)"))->isEnabled());
    EXPECT_FALSE(ActionOf(Menu, Q("Box選択モード(&K)"))->isChecked());
    ASSERT_NE(ActionOf(Menu, Q("マーク設定")), nullptr);
    EXPECT_NE(ActionOf(Menu, Q("マーク設定"))->menu(), nullptr);
    Menu.setActiveAction(ActionOf(Menu, Q("切り取り(&T)")));
    QTest::keyClick(&Menu, Qt::Key_Return);
  });
  QContextMenuEvent E(QContextMenuEvent::Mouse, Cell(0, 1), Widget->viewport()->mapToGlobal(Cell(0, 1)));
  QApplication::sendEvent(Widget->viewport(), &E);
  EXPECT_TRUE(Checked);
  EXPECT_EQ(Text(), "bc");
  OnMenu([](QMenu& Menu) { EXPECT_TRUE(ActionOf(Menu, Q("元に戻す(&U)"))->isEnabled()); });
  QApplication::sendEvent(Widget->viewport(), &E);
}

TEST_F(EditorWidgetTest, TheEditorsShortcutsWinOverTheWindowsWhileItHasTheFocus) {
  QWidget Window;
  auto* Holder = new qt::EditorWidget(&Window);
  TEditorEx Inner(Holder, Platform);
  Holder->SetEditor(&Inner);
  auto* WindowCopy = new QAction(&Window);
  WindowCopy->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
  Window.addAction(WindowCopy);
  int WindowCopies = 0;
  QObject::connect(WindowCopy, &QAction::triggered, [&] { ++WindowCopies; });
  Window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&Window));
  Window.activateWindow();
  Holder->setFocus();
  QTest::keyClicks(Holder, "xy");
  QTest::keyClick(Holder, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_NE(Inner.Lines().Text(), "xy");
  EXPECT_EQ(WindowCopies, 0);
  QTest::keyClick(Holder, Qt::Key_A, Qt::ControlModifier);  // redo
  EXPECT_EQ(Inner.Lines().Text(), "xy");
  // Shift+Ctrl+digit sets a row mark. Keyboards send the symbol Shift puts on the digit, as each
  // platform reports it: a US X11 keyboard's "!" for 1 with its key code and key symbol, a Japanese
  // one's '"' for 2, and a bare symbol without native codes for 3.
  struct TPress {
    int Key;
    const char* Text;
    quint32 ScanCode, VirtualKey;
    int Row;
  };
  const TPress Presses[] = {{Qt::Key_Exclam, "!", 10, 0x21, 0}, {Qt::Key_QuoteDbl, "\"", 11, 0x22, 1}, {Qt::Key_NumberSign, "#", 0, 0, 2}};
  Inner.Lines().SetLinesText("a\r\nb\r\nc");
  const Qt::KeyboardModifiers Mods = Qt::ShiftModifier | Qt::ControlModifier;
  for (const TPress& P : Presses) {
    Inner.SetRowCol(P.Row, 0);
    for (QEvent::Type Type : {QEvent::ShortcutOverride, QEvent::KeyPress, QEvent::KeyRelease}) {
      QKeyEvent E(Type, P.Key, Mods, P.ScanCode, P.VirtualKey, 0, QString::fromLatin1(P.Text));
      QApplication::sendEvent(Holder, &E);
    }
  }
  EXPECT_EQ(Inner.FirstRowWithMark(1), 0);
  EXPECT_EQ(Inner.FirstRowWithMark(2), 1);
  EXPECT_EQ(Inner.FirstRowWithMark(3), 2);
  EXPECT_EQ(Inner.Lines().Text(), "a\r\nb\r\nc");  // no symbol typed
  Holder->SetEditor(nullptr);
}

TEST_F(EditorWidgetTest, WheelAndScrollBarsMoveTheTopRow) {
  std::string Many;
  for (int I = 0; I < 200; ++I) Many += "line\r\n";
  Editor->Lines().SetLinesText(Many);
  Editor->SetScrollBars(ssBoth);
  QApplication::processEvents();
  QScrollBar* Bar = Widget->verticalScrollBar();
  ASSERT_TRUE(Bar->isVisible());
  EXPECT_EQ(Bar->pageStep(), Editor->Scroll().VisibleRows());

  QWheelEvent Down(QPointF(10, 10), Widget->viewport()->mapToGlobal(QPointF(10, 10)), QPoint(), QPoint(0, -120),
                   Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(Widget->viewport(), &Down);
  EXPECT_EQ(Editor->TopRow(), QApplication::wheelScrollLines());
  EXPECT_EQ(Bar->value(), Editor->TopRow());

  Bar->triggerAction(QAbstractSlider::SliderToMinimum);
  EXPECT_EQ(Editor->TopRow(), 0);
  Bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  EXPECT_EQ(Editor->TopRow(), 1);
  Bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
  EXPECT_EQ(Editor->TopRow(), 1 + Editor->Scroll().VisibleRows());
  Bar->setSliderPosition(120);  // thumb tracking
  EXPECT_EQ(Editor->TopRow(), 120);
  EXPECT_EQ(Bar->value(), 120);
  Bar->triggerAction(QAbstractSlider::SliderToMaximum);
  EXPECT_EQ(Editor->TopRow(), Editor->RowCount());  // the last row can scroll up to the top
  EXPECT_EQ(Bar->value(), Editor->TopRow());
  // The horizontal bar and Shift with the wheel move the left column.
  Widget->horizontalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
  EXPECT_EQ(Editor->LeftCol(), Editor->Scroll().VisibleCols());
  QWheelEvent Left(QPointF(10, 10), Widget->viewport()->mapToGlobal(QPointF(10, 10)), QPoint(), QPoint(0, 120),
                   Qt::NoButton, Qt::ShiftModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(Widget->viewport(), &Left);
  EXPECT_EQ(Editor->LeftCol(), Editor->Scroll().VisibleCols() - QApplication::wheelScrollLines());
  EXPECT_EQ(Widget->horizontalScrollBar()->value(), Editor->LeftCol());
}

}  // namespace
}  // namespace tesvarin
