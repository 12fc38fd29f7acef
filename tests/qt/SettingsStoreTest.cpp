// The window's settings file: written once at close, kept aside when it holds no settings, and a
// failure to write it told before the window goes.
#include <gtest/gtest.h>

#include <QApplication>
#include <QSettings>

#include <unistd.h>

#include <filesystem>
#include <functional>

#include "app/FileSystem.h"
#include "app/UserFolders.h"
#include "qt/MainForm.h"
#include "qt/MainWindow.h"
#include "qt/QtUserStore.h"
#include "support/StringList.h"
#include "testsupport/Fakes.h"
#include "QtApp.h"

namespace tesvarin {
namespace {

namespace fs = std::filesystem;

struct TempFolder {
  TempFolder() {
    std::string Template = (fs::temp_directory_path() / "tesvarin-settings-XXXXXX").string();
    Root = mkdtemp(Template.data());
  }
  ~TempFolder() {
    std::error_code Ec;
    for (auto& E : fs::recursive_directory_iterator(Root, Ec)) fs::permissions(E.path(), fs::perms::owner_all, fs::perm_options::add, Ec);
    fs::remove_all(Root, Ec);
  }
  std::string Root;
};

QString Q(const std::string& S) { return QString::fromUtf8(S.c_str()); }

class SettingsStore : public ::testing::Test {
protected:
  static void SetUpTestSuite() { EnsureQtApplication(); }
  TempFolder Tmp;
  std::string Path() const { return Tmp.Root + "/Bramwhirl/Vimbre.conf"; }
  static std::time_t Noon() { return 1700000000; }
};

TEST_F(SettingsStore, ValuesReachTheFileOnlyWhenFlushedAndComeBack) {
  fs::create_directories(Tmp.Root + "/Bramwhirl");
  WriteFileBytes(Path(), "[Tesvarin]\nLeft=5\n");
  {
    qt::QtUserStore Store(Q(Path()));
    EXPECT_EQ(Store.ReadString("Tesvarin", "Left"), "5");
    for (int I = 0; I < 30; ++I) Store.WriteString("Tesvarin", "Value" + std::to_string(I), "日本語 " + std::to_string(I));
    Store.WriteString("Tesvarin", "Left", "7");
    EXPECT_EQ(Store.ReadString("Tesvarin", "Left"), "7");
    EXPECT_EQ(ReadFileBytes(Path()), "[Tesvarin]\nLeft=5\n");  // no write per value
    EXPECT_TRUE(Store.TakeLoadProblem().empty());
    Store.Flush();
  }
  qt::QtUserStore Again(Q(Path()));
  EXPECT_EQ(Again.ReadString("Tesvarin", "Left"), "7");
  EXPECT_EQ(Again.ReadString("Tesvarin", "Value29"), "日本語 29");
  EXPECT_EQ(Again.ReadString("Tesvarin", "Missing"), std::nullopt);
}

TEST_F(SettingsStore, AnUnchangedValueDoesNotRewriteTheFile) {
  fs::create_directories(Tmp.Root + "/Bramwhirl");
  const std::string Text = "[Other]\nkept = as written\n\n[Tesvarin]\nLeft = 5\n";  // not as the toolkit spaces it
  WriteFileBytes(Path(), Text);
  qt::QtUserStore Store(Q(Path()));
  Store.WriteString("Tesvarin", "Left", "5");
  Store.Flush();
  EXPECT_EQ(ReadFileBytes(Path()), Text);
  Store.WriteString("Tesvarin", "Left", "6");
  Store.Flush();
  QSettings Saved(Q(Path()), QSettings::IniFormat);
  EXPECT_EQ(Saved.value("Tesvarin/Left").toString(), "6");
  EXPECT_EQ(Saved.value("Other/kept").toString(), "as written");  // other programs' values stay
}

TEST_F(SettingsStore, AFileThatHoldsNoSettingsIsKeptAsideAndTheStoreStartsEmpty) {
  fs::create_directories(Tmp.Root + "/Bramwhirl");
  const std::string Corrupt[] = {std::string("[Tesvarin]\nLeft=5\n") + std::string(2, '\0') + "\x01" "garbage", "[Tesv", "[Tesvarin]\nLe"};
  for (const std::string& Bytes : Corrupt) {
    WriteFileBytes(Path(), Bytes);
    qt::QtUserStore Store(Q(Path()), &SettingsStore::Noon);
    EXPECT_EQ(Store.ReadString("Tesvarin", "Left"), std::nullopt);
    std::string Problem = Store.TakeLoadProblem();
    const std::string Aside = SetAsideName(Path(), Noon());
    EXPECT_NE(Problem.find(Aside), std::string::npos) << Problem;
    EXPECT_EQ(ReadFileBytes(Aside), Bytes);
    EXPECT_TRUE(Store.TakeLoadProblem().empty());  // told once
    Store.WriteString("Tesvarin", "Left", "9");
    Store.Flush();
    EXPECT_EQ(QSettings(Q(Path()), QSettings::IniFormat).value("Tesvarin/Left").toString(), "9");
    fs::remove(Aside);
  }
}

TEST_F(SettingsStore, AFolderInPlaceOfTheFileIsToldAndNeverReplaced) {
  fs::create_directories(Path() + "/inside");
  qt::QtUserStore Store(Q(Path()));
  EXPECT_EQ(Store.ReadString("Tesvarin", "Left"), std::nullopt);
  EXPECT_NE(Store.TakeLoadProblem().find(Path()), std::string::npos);
  Store.WriteString("Tesvarin", "Left", "3");
  EXPECT_EQ(Store.ReadString("Tesvarin", "Left"), "3");
  Store.Flush();
  EXPECT_TRUE(fs::is_directory(Path() + "/inside"));
  EXPECT_EQ(qt::QtUserStore(Q(Path())).ReadString("Tesvarin", "Left"), std::nullopt);
}

// The window over its own settings file in Config; closing it with settings that cannot be written.
TEST_F(SettingsStore, AFailedSaveAtCloseIsToldAndTheWindowStillCloses) {
  struct Case {
    const char* Name;
    std::function<void(const std::string& Config)> Break;
  };
  const Case Cases[] = {
      // Fails for every user, root included.
      {"a file where the folder should be",
       [](const std::string& Config) { WriteFileBytes(Config + "/Bramwhirl", "not a folder"); }},
      {"a read-only settings folder",
       [](const std::string& Config) { fs::permissions(Config + "/Bramwhirl", fs::perms::owner_read | fs::perms::owner_exec); }},
  };
  for (const Case& C : Cases) {
    if (std::string(C.Name) == "a read-only settings folder" && geteuid() == 0) continue;  // root writes anyway
    TempFolder Root;
    const std::string Config = Root.Root + "/config";
    fs::create_directories(Config);
    if (std::string(C.Name) != "a file where the folder should be") fs::create_directories(Config + "/Bramwhirl");
    test::FakeDialogs Dialogs;
    TFormEnvironment Env;
    Env.ProgramFolder = Root.Root + "/";
    Env.ConfigFolder = Config;
    Env.DefaultDataFolder = Root.Root + "/data/";
    fs::create_directories(Root.Root + "/data");
    C.Break(Config);
    auto Form = std::make_unique<qt::MainForm>(Env, &Dialogs);
    Form->Window().show();
    QApplication::processEvents();
    Dialogs.Shown.clear();
    EXPECT_TRUE(Form->Window().close()) << C.Name;
    ASSERT_EQ(Dialogs.Shown.size(), 1u) << C.Name;
    EXPECT_NE(Dialogs.Shown[0].Text.find("設定を保存できませんでした"), std::string::npos) << Dialogs.Shown[0].Text;
    EXPECT_NE(Dialogs.Shown[0].Text.find("Vimbre.conf"), std::string::npos) << Dialogs.Shown[0].Text;
  }
}

TEST_F(SettingsStore, TheWindowKeepsItsSettingsInTheConfigurationFolder) {
  TempFolder Root;
  TFormEnvironment Env;
  Env.ProgramFolder = Root.Root + "/";
  Env.ConfigFolder = Root.Root + "/config";
  Env.DefaultDataFolder = Root.Root + "/data/";
  fs::create_directories(Root.Root + "/data");
  test::FakeDialogs Dialogs;
  {
    qt::MainForm Form(Env, &Dialogs);
    Form.Window().show();
    QApplication::processEvents();
    Form.Controls().cFindWord.SetText("検索語");
    EXPECT_TRUE(Form.Window().close());
  }
  EXPECT_TRUE(Dialogs.Shown.empty());
  QSettings Saved(Q(Root.Root + "/config/Bramwhirl/Vimbre.conf"), QSettings::IniFormat);
  EXPECT_EQ(Saved.value("Tesvarin/FindWord").toString(), QString::fromUtf8("検索語"));
}

}  // namespace
}  // namespace tesvarin
