// The view settings dialog on the real window: each change shows on the editor at once, OK keeps it
// in the per-user file for the next start, Cancel puts the view back.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSpinBox>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>
#include <QTimer>

#include <filesystem>
#include <functional>
#include <memory>

#include "app/EditorViewSettings.h"
#include "app/IniFile.h"
#include "editor/EditorEx.h"
#include "qt/EditorWidget.h"
#include "qt/MainForm.h"
#include "qt/MainWindow.h"
#include "qt/ViewSettingsDialog.h"
#include "support/SjisCodec.h"
#include "support/StringList.h"
#include "testsupport/Fakes.h"
#include "QtApp.h"

namespace tesvarin {
namespace {

namespace fs = std::filesystem;

const char* const SharedText = "[Editor]\r\nWrapByte=60\r\nShowLeftBar=0\r\nNextLine=0\r\n";

class ViewSettingsFlow : public ::testing::Test {
protected:
  static void SetUpTestSuite() { EnsureQtApplication(); }
  void SetUp() override {
    std::string Template = (fs::temp_directory_path() / "tesvarin-viewdlg-XXXXXX").string();
    Root = mkdtemp(Template.data());
    // The shared file sits in the program's folder, where it is looked for first.
    WriteFileBytes(Root + "/Vimbre.ini", SharedText);
    WriteFileBytes(Root + "/a.txt", Utf8ToCp932("一行目\r\n\t二行目\r\n三行目\r\n"));
    Open();
  }
  void TearDown() override {
    Form.reset();
    std::error_code Ec;
    fs::remove_all(Root, Ec);
  }
  void Open() {
    Form.reset();
    TFormEnvironment Env;
    Env.ProgramFolder = Root + "/";
    Env.ConfigFolder = Root + "/config";
    Env.DefaultDataFolder = Root + "/";
    Form = std::make_unique<qt::MainForm>(Env, &Dialogs, &Store);
    Form->Window().show();
    QApplication::processEvents();
    Form->Editor().Lines().LoadFromFile(Root + "/a.txt");
  }
  [[nodiscard]] std::string UserIni() const { return Root + "/config/Bramwhirl/Vimbre.user.ini"; }
  // Opens the dialog from the window's menu and runs Steps while it is up.
  void WithDialogFromMenu(const std::function<void(qt::ViewSettingsDialog&)>& Steps) {
    bool Ran = false;
    QTimer::singleShot(0, [&] {
      auto* Dialog = qobject_cast<qt::ViewSettingsDialog*>(QApplication::activeModalWidget());
      ASSERT_NE(Dialog, nullptr);
      Ran = true;
      Steps(*Dialog);
      if (Dialog->isVisible()) Dialog->reject();
    });
    auto* Action = Form->Window().findChild<QAction*>(QStringLiteral("ViewSettingsAction"));
    ASSERT_NE(Action, nullptr);
    EXPECT_EQ(Action->text(), QString::fromUtf8("表示設定(&O)..."));
    Action->trigger();
    EXPECT_TRUE(Ran);
  }
  // A check box toggles only when the click lands on its box or its text, and a laid-out check box
  // may be wider than both, by how wide the installed fonts draw the text: click the box itself.
  static void Tick(QCheckBox* Box) {
    QStyleOptionButton Option;
    Option.initFrom(Box);
    Option.text = Box->text();
    const QRect Area = Box->style()->subElementRect(QStyle::SE_CheckBoxClickRect, &Option, Box);
    QTest::mouseClick(Box, Qt::LeftButton, {}, Area.center());
  }
  template <class W>
  static W* Child(QWidget& Dialog, const char* Name) {
    W* Widget = Dialog.findChild<W*>(QString::fromLatin1(Name));
    EXPECT_NE(Widget, nullptr) << Name;
    return Widget;
  }
  static void Press(QWidget& Dialog, QDialogButtonBox::StandardButton Which) {
    QTest::mouseClick(Dialog.findChild<QDialogButtonBox*>()->button(Which), Qt::LeftButton);
  }
  QImage EditorImage() { return Form->EditorView().viewport()->grab().toImage(); }

  std::string Root;
  test::FakeDialogs Dialogs;
  test::FakeUserStore Store;
  std::unique_ptr<qt::MainForm> Form;
};

TEST_F(ViewSettingsFlow, LineNumbersShowAtOnceAndOkKeepsThemForTheNextStart) {
  ASSERT_FALSE(Form->Editor().Leftbar().Visible());
  QImage Before = EditorImage();
  WithDialogFromMenu([&](qt::ViewSettingsDialog& D) {
    EXPECT_EQ(D.windowTitle(), QString::fromUtf8("表示設定"));
    auto* LineNumbers = Child<QCheckBox>(D, "ShowLeftBar");
    EXPECT_EQ(LineNumbers->text(), QString::fromUtf8("行番号を表示する(&L)"));
    QTest::mouseClick(LineNumbers, Qt::LeftButton);
    EXPECT_TRUE(Form->Editor().Leftbar().Visible());
    QApplication::processEvents();
    EXPECT_NE(EditorImage(), Before);  // repainted behind the dialog
    Tick(Child<QCheckBox>(D, "ShowImageBar"));
    EXPECT_TRUE(Form->Editor().Imagebar().Visible());
    Press(D, QDialogButtonBox::Ok);
    EXPECT_FALSE(D.isVisible());
  });
  EXPECT_TRUE(Form->Editor().Leftbar().Visible());
  TIniFile User(UserIni());
  EXPECT_TRUE(User.ReadBool("Editor", "ShowLeftBar", false));
  EXPECT_TRUE(User.ReadBool("Editor", "ShowImageBar", false));
  EXPECT_FALSE(User.Value("Editor", "WrapByte"));  // untouched keys stay the shared file's
  EXPECT_EQ(ReadFileBytes(Root + "/Vimbre.ini"), SharedText);

  Open();
  EXPECT_TRUE(Form->Editor().Leftbar().Visible());
  EXPECT_TRUE(Form->Editor().Imagebar().Visible());
  EXPECT_EQ(Form->Editor().WrapOption().WrapByte(), 60);
  EXPECT_FALSE(Form->Editor().Caret().NextLine());
}

TEST_F(ViewSettingsFlow, CancelAndEscapePutTheViewBackAndWriteNothing) {
  TEditorViewSettings Start = ReadViewSettings(Form->Editor(), Form->Editor().ExMarks());
  WithDialogFromMenu([&](qt::ViewSettingsDialog& D) {
    Tick(Child<QCheckBox>(D, "ShowLeftBar"));
    Tick(Child<QCheckBox>(D, "ShowRuler"));
    Tick(Child<QCheckBox>(D, "Leading"));
    auto* Width = Child<QSpinBox>(D, "WrapByte");
    Width->setFocus();
    Width->selectAll();
    QTest::keyClicks(Width, "40");
    EXPECT_EQ(Form->Editor().WrapOption().WrapByte(), 40);
    EXPECT_FALSE(Form->Editor().Ruler().Visible());
    EXPECT_FALSE(Form->Editor().WrapOption().Leading());
    Press(D, QDialogButtonBox::Cancel);
  });
  EXPECT_EQ(ReadViewSettings(Form->Editor(), Form->Editor().ExMarks()), Start);

  WithDialogFromMenu([&](qt::ViewSettingsDialog& D) {
    Tick(Child<QCheckBox>(D, "WordWrap"));
    EXPECT_FALSE(Form->Editor().WordWrap());
    EXPECT_FALSE(Child<QSpinBox>(D, "WrapByte")->isEnabled());
    QTest::keyClick(&D, Qt::Key_Escape);
  });
  EXPECT_EQ(ReadViewSettings(Form->Editor(), Form->Editor().ExMarks()), Start);
  EXPECT_FALSE(fs::exists(UserIni()));
}

TEST_F(ViewSettingsFlow, AMarksColourButtonSetsItsColour) {
  qt::ViewSettingsDialog D(Form->Editor(), Form->Editor().ExMarks(), UserIni(), Root + "/Vimbre.ini");
  D.ChooseColor = [](const QColor&, QWidget*) { return std::optional<QColor>(QColor(255, 0, 0)); };
  D.show();
  QTest::mouseClick(Child<QPushButton>(D, "RetMarkColor"), Qt::LeftButton);
  EXPECT_EQ(Form->Editor().Marks().RetMark().Color(), clRed);
  D.ChooseColor = [](const QColor&, QWidget*) { return std::optional<QColor>(); };  // the chooser cancelled
  const TColor TabBefore = Form->Editor().ExMarks().TabMark().Color();
  QTest::mouseClick(Child<QPushButton>(D, "TabMarkColor"), Qt::LeftButton);
  EXPECT_EQ(Form->Editor().ExMarks().TabMark().Color(), TabBefore);
  Press(D, QDialogButtonBox::Ok);
  EXPECT_EQ(TIniFile(UserIni()).ReadInteger("Editor", "RetMarkColor", 0), 255);
  EXPECT_FALSE(TIniFile(UserIni()).Value("Editor", "TabMarkColor"));
}

TEST_F(ViewSettingsFlow, AFailedSaveSaysSoAndKeepsTheDialogOpen) {
  fs::create_directories(UserIni());  // a folder where the file should be
  qt::ViewSettingsDialog D(Form->Editor(), Form->Editor().ExMarks(), UserIni(), Root + "/Vimbre.ini");
  D.show();
  Tick(Child<QCheckBox>(D, "ShowLeftBar"));
  size_t Shown = Dialogs.Shown.size();
  Press(D, QDialogButtonBox::Ok);
  EXPECT_TRUE(D.isVisible());
  ASSERT_EQ(Dialogs.Shown.size(), Shown + 1);
  EXPECT_NE(Dialogs.Shown.back().Text.find(UserIni()), std::string::npos) << Dialogs.Shown.back().Text;
  EXPECT_TRUE(Form->Editor().Leftbar().Visible());
  Press(D, QDialogButtonBox::Cancel);
  EXPECT_FALSE(D.isVisible());
  EXPECT_FALSE(Form->Editor().Leftbar().Visible());
}

}  // namespace
}  // namespace tesvarin
