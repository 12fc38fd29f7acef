// In one replace over the listed files, a backup never overwrites another backup, or a file, that
// the same batch wrote before; the end message says how many backups there are and which names
// differ from the usual ones.
#include <gtest/gtest.h>

#include <filesystem>

#include "FakeFormEditor.h"
#include "FormTestWindow.h"
#include "app/BatchBackups.h"

namespace tesvarin {
namespace {

namespace fs = std::filesystem;
using test::Tree;
using Window = test::BasicWindow<test::FakeFormEditor>;

TEST(BatchBackups, TheUsualNameThenTheFullNameThenANumber) {
  Tree Tr;
  fs::create_directories(Tr.T());
  const std::string D = Tr.T() + "/";
  TBatchBackups B;
  struct Step {
    std::string File, Backup;
  } Steps[] = {
      {"h.cpp", "h.bak"},           {"h.h.x", "h.h.bak"}, {"h.h", "h.h.2.bak"},
      {"h.h.2.y", "h.h.2.y.bak"},   {"g.txt", "g.bak"},   {"g", "g.2.bak"},  // its full name is "g" too
  };
  for (const Step& S : Steps) {
    const std::string Name = B.NameFor(D + S.File);
    EXPECT_EQ(Name, D + S.Backup) << S.File;
    WriteFileBytes(Name, S.File);
    B.Written(D + S.File, Name);
  }
  EXPECT_EQ(B.Count(), 6);
  ASSERT_EQ(B.Unusual().size(), 3u);
  EXPECT_EQ(B.Unusual()[0], std::make_pair(D + "h.h", D + "h.h.2.bak"));
  // The same folder by another spelling finds the names taken too.
  fs::create_directory_symlink(Tr.T(), Tr.Root + "/alias");
  EXPECT_EQ(B.NameFor(Tr.Root + "/alias/h.txt"), Tr.Root + "/alias/h.txt.bak");
  EXPECT_EQ(B.Summary(), "バックアップを 6 個作成しました。\r\n名前が重なるため、次の 3 個は別の名前にしました:\r\n" + D +
                             "h.h → h.h.2.bak\r\n" + D + "h.h.2.y → h.h.2.y.bak\r\n" + D + "g → g.2.bak");
}

// Files sharing a stem each keep their own backup; a listed file the batch already saved is not
// overwritten by a later file's backup.
TEST(BatchBackups, FilesSharingAStemKeepEveryBackup) {
  Tree Tr;
  const char* Names[] = {"h.bak", "h.cpp", "h.h", "h.txt"};
  for (const char* Name : Names) Tr.Write(Name, std::string("old ") + Name + "\r\n");
  Window W(Tr);
  W.C.ConfirmSave.SetChecked(false);
  W.C.MakeBackFile.SetChecked(true);
  W.Search(Tr.T(), "h.*", "old");
  ASSERT_EQ(W.C.FileList.Count(), 4);
  W.C.FileList.OnColumnClick(0);  // by name: h.bak is saved first
  W.C.cFindWord.SetText("old");
  W.C.cReplaceWord.SetText("new");
  W.P.Dialogs.Answers = {idYes};
  W.C.N4.Click();
  EXPECT_EQ(Tr.Read("h.bak"), "new h.bak\r\n");
  EXPECT_EQ(Tr.Read("h.cpp.bak"), "old h.cpp\r\n");
  EXPECT_EQ(Tr.Read("h.h.bak"), "old h.h\r\n");
  EXPECT_EQ(Tr.Read("h.txt.bak"), "old h.txt\r\n");
  const std::string D = Tr.T() + "/";
  EXPECT_EQ(W.P.Dialogs.Shown.back().Text,
            "4 個の置換作業が終了しました。\r\n\r\nバックアップを 3 個作成しました。\r\n"
            "名前が重なるため、次の 3 個は別の名前にしました:\r\n" +
                D + "h.cpp → h.cpp.bak\r\n" + D + "h.h → h.h.bak\r\n" + D + "h.txt → h.txt.bak");
  // A later batch starts afresh: the usual name again, overwriting the older generation.
  W.C.cFindWord.SetText("new");
  W.C.cReplaceWord.SetText("newer");
  W.P.Dialogs.Answers = {idYes};
  W.C.N4.Click();
  EXPECT_EQ(Tr.Read("h.cpp.bak"), "new h.cpp\r\n");
  EXPECT_EQ(W.P.Dialogs.Shown.back().Text.rfind("4 個の置換作業が終了しました。\r\n\r\nバックアップを 3 個作成しました。", 0), 0u);
}

}  // namespace
}  // namespace tesvarin
