#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "app/EditorSettings.h"
#include "app/EditorViewSettings.h"
#include "app/IniFile.h"
#include "editor/Editor.h"
#include "editor/search/EditorExMarks.h"
#include "editor/search/EditorExSearch.h"
#include "editor/text/WrapOption.h"
#include "highlighter/HTMLHighlighter.h"
#include "support/Exception.h"
#include "support/SjisCodec.h"
#include "support/StringList.h"

namespace tesvarin {
namespace {

namespace fs = std::filesystem;

// An editor as the window sets it up, with the shared and the per-user file in a folder of its own.
struct TViewEditor {
  TViewEditor() { ApplyEditorStartConfiguration(Editor, ExMarks, Search); }
  TEditor Editor{nullptr, TPlatform{}};
  TEditorExMarks ExMarks;
  TEditorExSearch Search;
  std::unique_ptr<THTMLHighlighter> Html = THighlighter::New<THTMLHighlighter>();
};

class EditorViewSettings : public ::testing::Test {
protected:
  void SetUp() override {
    std::string Template = (fs::temp_directory_path() / "tesvarin-view-XXXXXX").string();
    Root = mkdtemp(Template.data());
    Shared = Root + "/Vimbre/Vimbre.ini";
    User = UserIniPath(Root);
    fs::create_directories(Root + "/Vimbre");
  }
  void TearDown() override {
    std::error_code Ec;
    fs::remove_all(Root, Ec);
  }
  // A fresh editor that reads both files, as a new start of the program does.
  TEditorViewSettings Restart() {
    TViewEditor E;
    LoadEditorSettingsWithOverlay(Shared, User, E.Editor, E.ExMarks, *E.Html);
    return ReadViewSettings(E.Editor, E.ExMarks);
  }
  // Every value different from the window's start and from the defaults of the shared file.
  static TEditorViewSettings AllChanged() {
    TEditorViewSettings S;
    S.FontName = "Ｍ日本語ゴシック";
    S.FontSize = 14;
    S.WordWrap = false;
    S.WrapByte = 120;
    S.Leading = false;
    S.FollowPunctuation = true;
    S.WordBreak = true;
    S.ShowLeftBar = true;
    S.LeftBarByRow = false;
    S.ShowRuler = false;
    S.ShowImageBar = true;
    S.TabSpaceCount = 4;
    S.Marks = {TMarkSetting{false, 0x0000FF}, TMarkSetting{false, 0x00FF00}, TMarkSetting{false, clWindowText},
               TMarkSetting{false, 0x123456}, TMarkSetting{true, 0x808080}};
    return S;
  }

  std::string Root, Shared, User;
  TViewEditor E;
};

TEST_F(EditorViewSettings, ApplyingWhatWasReadRestoresTheViewExactly) {
  TEditorViewSettings Before = ReadViewSettings(E.Editor, E.ExMarks);
  ApplyViewSettings(AllChanged(), E.Editor, E.ExMarks);
  EXPECT_EQ(ReadViewSettings(E.Editor, E.ExMarks), AllChanged());
  EXPECT_TRUE(E.Editor.Leftbar().Visible());
  EXPECT_TRUE(E.Editor.Imagebar().Visible());
  EXPECT_EQ(E.Editor.Leftbar().ShowNumberMode(), nmLine);
  EXPECT_EQ(E.ExMarks.DBSpaceMark().Color(), 0x123456);
  ApplyViewSettings(Before, E.Editor, E.ExMarks);
  EXPECT_EQ(ReadViewSettings(E.Editor, E.ExMarks), Before);
}

TEST_F(EditorViewSettings, ApplyClampsAsTheEditorsSettersDo) {
  TEditorViewSettings S = ReadViewSettings(E.Editor, E.ExMarks);
  S.WrapByte = 500;
  S.TabSpaceCount = 7;
  S.FontSize = 0;
  ApplyViewSettings(S, E.Editor, E.ExMarks);
  TEditorViewSettings Now = ReadViewSettings(E.Editor, E.ExMarks);
  EXPECT_EQ(Now.WrapByte, TEditorWrapOption::MaxWrapByte);
  EXPECT_EQ(Now.TabSpaceCount, 6);
  EXPECT_EQ(Now.FontSize, 9);  // a size of no points keeps the current one
}

TEST_F(EditorViewSettings, UserFileKeysWinAndTheSharedFilesOtherKeysStay) {
  WriteFileBytes(Shared, "[Font]\r\nName=IPAGothic\r\nsize=11\r\n[Editor]\r\nWrapByte=60\r\nShowLeftBar=0\r\n"
                         "NextLine=0\r\nShowRuler=0\r\n");
  fs::create_directories(fs::path(User).parent_path());
  WriteFileBytes(User, "[Editor]\nShowLeftBar=1\nShowImageBar=1\nTabSpaceCount=4\n[Font]\nsize=13\n");
  TViewEditor F;
  LoadEditorSettingsWithOverlay(Shared, User, F.Editor, F.ExMarks, *F.Html);
  EXPECT_TRUE(F.Editor.Leftbar().Visible());
  EXPECT_TRUE(F.Editor.Imagebar().Visible());
  EXPECT_EQ(F.Editor.Caret().TabSpaceCount(), 4);
  EXPECT_EQ(F.Editor.Font().Size, 13);
  EXPECT_EQ(F.Editor.Font().Name, "IPAGothic");
  EXPECT_EQ(F.Editor.WrapOption().WrapByte(), 60);
  EXPECT_FALSE(F.Editor.Caret().NextLine());
  EXPECT_FALSE(F.Editor.Ruler().Visible());
}

TEST_F(EditorViewSettings, WithoutEitherFileThisProgramsOwnKeysKeepTheWindowsStart) {
  TEditorViewSettings S = Restart();
  EXPECT_FALSE(S.FollowPunctuation);
  EXPECT_FALSE(S.WordBreak);
  EXPECT_FALSE(S.ShowImageBar);
  EXPECT_EQ(S.TabSpaceCount, 8);
  EXPECT_FALSE(fs::exists(User));
}

TEST_F(EditorViewSettings, EverySavedValueComesBackAtTheNextStart) {
  const std::string SharedBytes = "[Editor]\r\nWrapByte=60\r\nNextLine=0\r\n";
  WriteFileBytes(Shared, SharedBytes);
  TEditorViewSettings Before = Restart();
  TEditorViewSettings After = AllChanged();
  SaveUserViewSettings(User, Shared, Before, After);
  EXPECT_EQ(Restart(), After);
  EXPECT_EQ(ReadFileBytes(Shared), SharedBytes);
  EXPECT_EQ(TIniFile(User).ReadString("Font", "Name", ""), Utf8ToCp932("Ｍ日本語ゴシック"));
  TViewEditor F;
  LoadEditorSettingsWithOverlay(Shared, User, F.Editor, F.ExMarks, *F.Html);
  EXPECT_FALSE(F.Editor.Caret().NextLine());
}

TEST_F(EditorViewSettings, OnlyChangedKeysAreWrittenAndTheFilesOtherLinesStay) {
  WriteFileBytes(Shared, "[Editor]\r\nWrapByte=60\r\nShowRuler=0\r\n");
  fs::create_directories(fs::path(User).parent_path());
  WriteFileBytes(User, "; my own\r\n[Editor]\r\nLockScroll=0\r\n");
  TEditorViewSettings Before = Restart();
  TEditorViewSettings After = Before;
  After.ShowLeftBar = true;
  After.Marks[vmRetMark].Color = 0x0000FF;
  SaveUserViewSettings(User, Shared, Before, After);
  EXPECT_EQ(ReadFileBytes(User), "; my own\r\n[Editor]\r\nLockScroll=0\r\nShowLeftBar=1\r\nRetMarkColor=255\r\n");
  // A later change of the shared file still reaches every key the user left alone.
  WriteFileBytes(Shared, "[Editor]\r\nWrapByte=70\r\nShowRuler=1\r\n");
  TEditorViewSettings Next = Restart();
  EXPECT_EQ(Next.WrapByte, 70);
  EXPECT_TRUE(Next.ShowRuler);
  EXPECT_TRUE(Next.ShowLeftBar);
}

TEST_F(EditorViewSettings, NothingChangedWritesNothing) {
  TEditorViewSettings Before = Restart();
  SaveUserViewSettings(User, Shared, Before, Before);
  EXPECT_FALSE(fs::exists(User));
}

TEST_F(EditorViewSettings, RefusalsLeaveEveryFileAsItWas) {
  const std::string SharedBytes = "[Editor]\r\nWrapByte=60\r\n";
  WriteFileBytes(Shared, SharedBytes);
  TEditorViewSettings Before = Restart();
  TEditorViewSettings After = Before;
  After.FontName = "한글";  // no code page 932 form
  EXPECT_THROW(SaveUserViewSettings(User, Shared, Before, After), EConvertError);
  EXPECT_FALSE(fs::exists(User));

  After = Before;
  After.ShowLeftBar = true;
  fs::create_directories(fs::path(User).parent_path());
  fs::create_symlink(Shared, User);
  EXPECT_THROW(SaveUserViewSettings(User, Shared, Before, After), EInOutError);
  EXPECT_EQ(ReadFileBytes(Shared), SharedBytes);

  // A per-user file that cannot be read is not replaced by one holding only the new keys.
  fs::remove(User);
  fs::create_directory(User);
  EXPECT_THROW(SaveUserViewSettings(User, Shared, Before, After), EInOutError);
  EXPECT_TRUE(fs::is_directory(User));

  EXPECT_THROW(SaveUserViewSettings("", Shared, Before, After), EInOutError);
}

TEST(UserIniPath, IsInTheSuitesFolderOfTheConfigurationFolder) {
  EXPECT_EQ(UserIniPath(std::string("/home/u/.config")), "/home/u/.config/Bramwhirl/Vimbre.user.ini");
  EXPECT_EQ(UserIniPath(std::string("/home/u/.config/")), "/home/u/.config/Bramwhirl/Vimbre.user.ini");
  EXPECT_EQ(UserIniPath(std::nullopt), "");
  EXPECT_EQ(UserIniPath(std::string()), "");
}

}  // namespace
}  // namespace tesvarin
