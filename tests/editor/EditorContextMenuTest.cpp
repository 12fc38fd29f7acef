// The context menu model: its items, the states computed when it opens, and the shortcuts.
#include <gtest/gtest.h>

#include "editor/Editor.h"
#include "editor/EditorContextMenu.h"
#include "FakeEditorWindow.h"
#include "testsupport/Fakes.h"

namespace tesvarin {
namespace {

using M = TEditorContextMenu;

struct MenuFixture : ::testing::Test {
  test::FakeClipboard Clipboard;
  FakeEditorWindow Window;
  TPlatform Platform{&Clipboard};
  TEditor Editor{&Window, Platform};
  TEditorContextMenu& Menu = Editor.ContextMenu();

  const TEditorMenuItem& Opened(int Index) {
    Editor.ContextPopup(10, 20);
    return Menu.Item(Index);
  }
};

TEST_F(MenuFixture, ItemsCarryTheirCaptionsShortcutsAndKeys) {
  const TShiftState Ctrl{ssCtrl};
  struct Row {
    int Index;
    const char* Caption;
    const char* ShortCut;
    uint16_t Key;
  };
  const Row Rows[] = {
      {M::miPutMark, "マーク設定", "", 0},          {M::miGotoMark, "マークジャンプ", "", 0},
      {M::miSep1, "-", "", 0},                     {M::miUndo, "元に戻す(&U)", "Ctrl+Z", 'Z'},
      {M::miRedo, "やり直し(&R)", "Ctrl+A", 'A'},   {M::miSep2, "-", "", 0},
      {M::miCut, "切り取り(&T)", "Ctrl+X", 'X'},    {M::miCopy, "コピー(&C)", "Ctrl+C", 'C'},
      {M::miPaste, "貼り付け(&P)", "Ctrl+V", 'V'},  {M::miBoxPaste, "Box貼り付け(&B)", "Ctrl+B", 'B'},
      {M::miDelete, "削除(&D)", "", 0},            {M::miSep3, "-", "", 0},
      {M::miSelectAll, "すべて選択(&A)", "", 0},    {M::miSep4, "-", "", 0},
      {M::miBoxMode, "Box選択モード(&K)", "Ctrl+K", 'K'},
  };
  ASSERT_EQ(Menu.Items().size(), static_cast<size_t>(M::miCount));
  for (const Row& R : Rows) {
    SCOPED_TRACE(R.Caption);
    const TEditorMenuItem& Item = Menu.Item(R.Index);
    EXPECT_EQ(Item.Caption, R.Caption);
    EXPECT_EQ(Item.ShortCutText, R.ShortCut);
    EXPECT_EQ(Item.Key, R.Key);
    EXPECT_EQ(Item.Shift, R.Key != 0 ? Ctrl : TShiftState{});
    EXPECT_EQ(Item.IsSeparator(), std::string(R.Caption) == "-");
  }
  for (int K = 0; K < 10; ++K) {
    const std::string Digit(1, static_cast<char>('0' + K));
    const TEditorMenuItem& Put = Menu.Item(M::miPutMark).Items.at(static_cast<size_t>(K));
    const TEditorMenuItem& Jump = Menu.Item(M::miGotoMark).Items.at(static_cast<size_t>(K));
    EXPECT_EQ(Put.Caption, Digit);
    EXPECT_EQ(Put.ShortCutText, "Shift+Ctrl+" + Digit);
    EXPECT_EQ(Put.Key, '0' + K);
    EXPECT_EQ(Put.Shift, (TShiftState{ssShift, ssCtrl}));
    EXPECT_EQ(Jump.Caption, Digit);
    EXPECT_EQ(Jump.ShortCutText, "Ctrl+" + Digit);
    EXPECT_EQ(Jump.Shift, Ctrl);
  }
  EXPECT_EQ(Menu.Item(M::miPutMark).Items.size(), 10u);
}

TEST_F(MenuFixture, PopupComputesStatesAndOpensAtThePoint) {
  ASSERT_TRUE(Menu.Item(M::miPaste).Enabled);  // states start enabled: the popup must compute them
  EXPECT_FALSE(Opened(M::miPaste).Enabled);
  ASSERT_EQ(Window.Popups.size(), 1u);
  EXPECT_EQ(Window.Popups[0], (TPoint{10, 20}));
}

TEST_F(MenuFixture, PasteItemsNeedClipboardTextAndAWritableEditor) {
  struct Case {
    bool HasText;
    bool ReadOnly;
    bool Enabled;
  };
  for (const Case C : {Case{false, false, false}, Case{true, false, true}, Case{true, true, false}}) {
    Clipboard.Clear();
    if (C.HasText) Clipboard.SetText("x");
    Editor.SetReadOnly(C.ReadOnly);
    EXPECT_EQ(Opened(M::miPaste).Enabled, C.Enabled);
    EXPECT_EQ(Menu.Item(M::miBoxPaste).Enabled, C.Enabled);
  }
}

TEST(EditorContextMenu, PasteItemsAreDisabledWithoutAClipboard) {
  TEditor Editor(nullptr, TPlatform{});
  Editor.ContextPopup(0, 0);
  EXPECT_FALSE(Editor.ContextMenu().Item(M::miPaste).Enabled);
  EXPECT_FALSE(Editor.HandleShortCut('B', {ssCtrl}));
}

TEST_F(MenuFixture, SelectAllNeedsAnyText) {
  for (const auto& [Text, Enabled] : {std::pair{"", false}, {"a", true}, {"\r\n", true}}) {
    Editor.Lines().SetLinesText(Text);
    EXPECT_EQ(Opened(M::miSelectAll).Enabled, Enabled) << '"' << Text << '"';
  }
}

TEST_F(MenuFixture, MarkItemsAreTickedWhileTheMarkIsPlacedAnywhere) {
  Editor.ListRows().IncludeMarks(1 << 3 | 1 << 9 | 1 << 12);
  Editor.ContextPopup(0, 0);
  for (int K = 0; K < 10; ++K) {
    const bool Placed = K == 3 || K == 9;
    EXPECT_EQ(Menu.Item(M::miPutMark).Items[static_cast<size_t>(K)].Checked, Placed) << K;
    EXPECT_EQ(Menu.Item(M::miGotoMark).Items[static_cast<size_t>(K)].Checked, Placed) << K;
    EXPECT_TRUE(Menu.Item(M::miPutMark).Items[static_cast<size_t>(K)].Enabled);
  }
}

TEST_F(MenuFixture, ShortcutsMatchExactModifiersAnywhereInTheMenu) {
  struct Case {
    uint16_t Key;
    TShiftState Shift;
    const TEditorMenuItem* Expected;
  };
  const Case Cases[] = {
      {'Z', {ssCtrl}, &Menu.Item(M::miUndo)},
      {'Z', {ssCtrl, ssLeft}, &Menu.Item(M::miUndo)},  // a held button is no modifier
      {'Z', {ssCtrl, ssShift}, nullptr},
      {'Z', {}, nullptr},
      {'A', {ssCtrl}, &Menu.Item(M::miRedo)},
      {'K', {ssCtrl}, &Menu.Item(M::miBoxMode)},
      {'5', {ssCtrl}, &Menu.Item(M::miGotoMark).Items[5]},
      {'5', {ssCtrl, ssShift}, &Menu.Item(M::miPutMark).Items[5]},
      {'5', {ssShift}, nullptr},
      {'D', {ssCtrl}, nullptr},  // the delete item has no shortcut
  };
  for (const Case& C : Cases) EXPECT_EQ(Menu.FindShortCut(C.Key, C.Shift), C.Expected) << char(C.Key);
}

TEST_F(MenuFixture, DisabledItemsDoNotRun) {
  int Runs = 0;
  TEditorMenuItem Item;
  Item.Command = [&](TEditor&) { ++Runs; };
  Item.Enabled = false;
  EXPECT_FALSE(Menu.Execute(Item));
  Item.Enabled = true;
  EXPECT_TRUE(Menu.Execute(Item));
  EXPECT_FALSE(Menu.Execute(Menu.Item(M::miSep1)));
  EXPECT_EQ(Runs, 1);
}

TEST_F(MenuFixture, SelectionItemsNeedSelectedBytesAndEditingItemsAWritableEditor) {
  Editor.Lines().SetLinesText("abc\r\ndef");
  struct Case {
    int64_t Length;
    bool ReadOnly;
    bool Copy;
    bool CutDelete;
  };
  for (const Case C : {Case{0, false, false, false}, Case{2, false, true, true}, Case{2, true, true, false}}) {
    Editor.SetReadOnly(false);
    Editor.SetSelStart(1);
    Editor.SetSelLength(C.Length);
    Editor.SetReadOnly(C.ReadOnly);
    SCOPED_TRACE(testing::Message() << C.Length << ' ' << C.ReadOnly);
    EXPECT_EQ(Opened(M::miCopy).Enabled, C.Copy);
    EXPECT_EQ(Menu.Item(M::miCut).Enabled, C.CutDelete);
    EXPECT_EQ(Menu.Item(M::miDelete).Enabled, C.CutDelete);
  }
}

TEST_F(MenuFixture, CtrlKTogglesBoxModeAndItsTick) {
  Editor.Lines().SetLinesText("abc");
  EXPECT_TRUE(Editor.HandleShortCut('K', {ssCtrl}));
  EXPECT_TRUE(Editor.SelectionMode());
  EXPECT_TRUE(Opened(M::miBoxMode).Checked);
  Editor.KeyDown('K', {ssCtrl});  // keys reach the shortcut table
  EXPECT_FALSE(Editor.SelectionMode());
  EXPECT_FALSE(Opened(M::miBoxMode).Checked);
  EXPECT_FALSE(Editor.HandleShortCut('K', {}));
}

}  // namespace
}  // namespace tesvarin
