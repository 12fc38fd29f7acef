// The real window over a temporary tree, driven as a person does it: shared by the window's flow tests.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <filesystem>
#include <memory>

#include "app/FileSystem.h"
#include "editor/EditorEx.h"
#include "qt/EditorWidget.h"
#include "qt/FileListView.h"
#include "qt/StatusPanel.h"
#include "qt/MainForm.h"
#include "qt/MainWindow.h"
#include "support/SjisCodec.h"
#include "testsupport/Fakes.h"
#include "QtApp.h"

namespace tesvarin {
namespace {

namespace fs = std::filesystem;

inline QString Q(const std::string& S) { return QString::fromUtf8(S.c_str()); }
inline std::string Sjis(const char* Utf8) { return Utf8ToCp932(Utf8); }

struct TempTree {
  TempTree() {
    std::string Template = (fs::temp_directory_path() / "tesvarin-window-XXXXXX").string();
    Root = mkdtemp(Template.data());
    fs::create_directories(Root + "/t");
    fs::create_directories(Root + "/data");
  }
  ~TempTree() {
    std::error_code Ec;
    fs::remove_all(Root, Ec);
  }
  void Write(const std::string& Name, const std::string& Bytes) const { WriteFileBytes(T() + "/" + Name, Bytes); }
  [[nodiscard]] std::string Read(const std::string& Name) const { return ReadFileBytes(T() + "/" + Name); }
  [[nodiscard]] std::string T() const { return Root + "/t"; }
  std::string Root;
};

class MainFormFlow : public ::testing::Test {
protected:
  static void SetUpTestSuite() {
    EnsureQtApplication();
  }
  void SetUp() override {
    Tr.Write("a.txt", Sjis("一行目\r\n日本語の検索\r\n三行目 日本語\r\n"));
    Tr.Write("b.txt", Sjis("ほかの日本語\r\n"));
    Tr.Write("c.txt", Sjis("関係なし\r\n"));
    Open();
  }
  void TearDown() override { Form.reset(); }

  // A new window over the same per-user store and data folder, as after a restart; null dialogs
  // give the real message boxes.
  void Open(bool RealDialogs = false) {
    Form.reset();
    TFormEnvironment Env;
    Env.ProgramFolder = Tr.Root + "/";
    Env.ConfigFolder = Tr.Root + "/config";
    Env.DefaultDataFolder = Tr.Root + "/data/";
    Env.Journal = true;
    Env.ScreenAreas = Screens;
    Form = std::make_unique<qt::MainForm>(Env, RealDialogs ? nullptr : &Dialogs, &Store);
    Window().show();
    QApplication::processEvents();
  }
  qt::MainWindow& Window() { return Form->Window(); }
  TMainFormControls& C() { return Form->Controls(); }
  template <class W>
  W* Find(const char* Name) {
    W* Widget = Window().findChild<W*>(QString::fromLatin1(Name));
    EXPECT_NE(Widget, nullptr) << Name;
    return Widget;
  }
  void Type(const char* Combo, const char* Utf8) {
    auto* Box = Find<QComboBox>(Combo);
    Box->lineEdit()->clear();
    QString Text = QString::fromUtf8(Utf8);
    // Key events carry ASCII; other characters arrive as an input method's commit does.
    bool Ascii = std::all_of(Text.begin(), Text.end(), [](QChar Ch) { return Ch.unicode() < 0x80; });
    if (Ascii) {
      QTest::keyClicks(Box, Text);
    } else {
      Box->lineEdit()->insert(Text);
    }
  }
  // Types the inputs and presses Enter in the folder box.
  void SearchFor(const char* Pattern, const char* Word) {
    Type("cFileName", Pattern);
    Type("cFindWord", Word);
    Type("cFolderName", Tr.T().c_str());
    QTest::keyClick(Find<QComboBox>("cFolderName"), Qt::Key_Return);
  }
  qt::FileListView* List() { return Window().FileList(); }
  int RowOf(const std::string& Name) {
    for (int I = 0; I < C().FileList.Count(); ++I) {
      if (C().FileList.Item(I).Caption == Name) return I;
    }
    return -1;
  }
  void ClickRow(int Row) {
    QRect R = List()->visualRect(List()->model()->index(Row, 0));
    QTest::mouseClick(List()->viewport(), Qt::LeftButton, {}, R.center());
  }
  std::string Panel1() { return Find<qt::StatusPanel>("StatusPanel1")->text().toStdString(); }
  // Opens PopupMenu1 by Button3 and picks its item Index by keyboard.
  void PickReplaceItem(int Index) {
    QTimer::singleShot(0, [this, Index] {
      QMenu* Menu = Window().ReplaceMenu();
      for (int I = 0; I <= Index; ++I) QTest::keyClick(Menu, Qt::Key_Down);
      QTest::keyClick(Menu, Qt::Key_Return);
    });
    QTest::mouseClick(Find<QPushButton>("Button3"), Qt::LeftButton);
  }

  TempTree Tr;
  std::vector<TBounds> Screens;  // none: the window takes the bounds as read
  test::FakeDialogs Dialogs;
  test::FakeUserStore Store;
  std::unique_ptr<qt::MainForm> Form;
};

}  // namespace
}  // namespace tesvarin
