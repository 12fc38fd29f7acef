// Never saving over newer text: a file that changed on disk after it was read (even while it was
// being read) is left as it is unless the user explicitly chooses to overwrite it.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "FaultSeam.h"
#include "FormTestWindow.h"
#include "app/FormEditorEx.h"
#include "app/SafeSave.h"
#include "support/EncodingConverter.h"
#include "support/Exception.h"
#include "support/SjisCodec.h"

namespace tesvarin::test {

// The window over the real editor control, headless.
struct TViewer {
  TEditorEx Ed{nullptr, TPlatform{}};
  TFormEditorEx Adapter{Ed};
};
inline IFormEditor& FormEditorOf(TViewer& V) { return V.Adapter; }

namespace {

namespace fs = std::filesystem;
using ViewerWindow = BasicWindow<TViewer>;

// What another program may do to a file after it was read.
enum TChange { chAppend, chSameSizeAndTime, chReplacedBySameBytes, chRemoved };

void Change(const std::string& Path, TChange How) {
  struct stat St {};
  ASSERT_EQ(stat(Path.c_str(), &St), 0);
  switch (How) {
    case chAppend: {
      const int Fd = open(Path.c_str(), O_WRONLY | O_APPEND);
      ASSERT_EQ(write(Fd, "appended\r\n", 10), 10);
      close(Fd);
      break;
    }
    case chSameSizeAndTime: {
      const int Fd = open(Path.c_str(), O_WRONLY);
      ASSERT_EQ(pwrite(Fd, "#", 1, 0), 1);
      close(Fd);
      const timespec Times[2] = {St.st_atim, St.st_mtim};
      ASSERT_EQ(utimensat(AT_FDCWD, Path.c_str(), Times, 0), 0);
      break;
    }
    case chReplacedBySameBytes:
      WriteFileBytes(Path + ".new", ReadFileBytes(Path));
      fs::rename(Path + ".new", Path);
      break;
    case chRemoved:
      fs::remove(Path);
      break;
  }
}

// Whichever way the file was saved (beside it, or in place for a file with two names), a change
// since the stamp leaves the file, and the previous backup, as they are.
TEST(ChangedOnDisk, SavingChecksTheStampAtTheLastMoment) {
  Tree Tr;
  for (bool Linked : {false, true}) {
    for (TChange How : {chAppend, chSameSizeAndTime, chReplacedBySameBytes, chRemoved}) {
      if (Linked && How == chReplacedBySameBytes) continue;  // then it has one name again
      SCOPED_TRACE(std::string(Linked ? "linked, " : "") + "change " + std::to_string(How));
      std::error_code Ec;
      for (const char* Name : {"a.txt", "b.txt", "a.bak"}) fs::remove(Tr.T() + "/" + Name, Ec);
      Tr.Write("a.txt", "loaded text\r\n");
      Tr.Write("a.bak", "previous backup");
      if (Linked) fs::create_hard_link(Tr.T() + "/a.txt", Tr.T() + "/b.txt");
      const std::string A = Tr.T() + "/a.txt";
      std::string Bytes;
      TSaveOptions Options{.MakeBackup = true, .BackupPath = {}, .Expected = ReadFileStamped(A, Bytes)};
      Change(A, How);
      const bool Existed = fs::exists(A);
      const std::string Newer = Existed ? Tr.Read("a.txt") : "";
      EXPECT_THROW(SaveFileSafely(A, "older text with an edit\r\n", Options), EFileChangedOnDisk);
      EXPECT_EQ(fs::exists(A), Existed);
      if (Existed) {
        EXPECT_EQ(Tr.Read("a.txt"), Newer);
      }
      EXPECT_EQ(Tr.Read("a.bak"), "previous backup");
      EXPECT_TRUE(Temporaries(Tr.T()).empty());
    }
  }
  // Unchanged, the same stamp lets the save through, and the new stamp is that of the saved bytes.
  Tr.Write("a.txt", "loaded text\r\n");
  std::string Bytes;
  TSaveOptions Options{.MakeBackup = false, .BackupPath = {}, .Expected = ReadFileStamped(Tr.T() + "/a.txt", Bytes)};
  const TSaveResult Saved = SaveFileSafely(Tr.T() + "/a.txt", "edited\r\n", Options);
  EXPECT_TRUE(SameFileState(Saved.Stamp, *StampOfFile(Tr.T() + "/a.txt")));
}

// A write that lands after the load read the last byte, before the load took its stamp, is never
// taken for what was loaded.
TEST(ChangedOnDisk, AChangeBetweenReadAndStampIsSeen) {
  Tree Tr;
  Tr.Write("a.txt", Sample(200000));
  const std::string A = Tr.T() + "/a.txt";
  TViewer V;
  TFileStamp Stamp;
  {
    bool Done = false;
    TArmed Armed({.AtEndOfRead = [&](int) {
      if (!Done) Change(A, chAppend);
      Done = true;
    }});
    Stamp = V.Adapter.LoadFromFile(A);
  }
  EXPECT_FALSE(V.Adapter.SaveText().ends_with("appended\r\n"));
  EXPECT_FALSE(SameFileState(Stamp, *StampOfFile(A)));
  TSaveOptions Options{.MakeBackup = false, .BackupPath = {}, .Expected = Stamp};
  EXPECT_THROW(SaveFileSafely(A, V.Adapter.SaveText(), Options), EFileChangedOnDisk);
  EXPECT_TRUE(Tr.Read("a.txt").ends_with("appended\r\n"));
}

struct ChangedOnDiskWindow : ::testing::Test {
  void SetUp() override {
    Tr.Write("a.txt", "first hit\r\n");
    Tr.Write("b.txt", "second\r\n");
    W = std::make_unique<ViewerWindow>(Tr);
    W->C.SelectFirstSearch.SetChecked(false);
    W->C.ConfirmSave.SetChecked(false);
    W->C.MakeBackFile.SetChecked(true);
    W->Search(Tr.T(), "*.txt");
    Open("a.txt");
    W->E.Ed.Lines().Put(0, "edited");
    W->E.Ed.SetModified(true);
    Tr.Write("a.txt", "newer\r\n");
  }
  void Open(const std::string& Name) {
    for (int I = 0; I < W->C.FileList.Count(); ++I) {
      if (W->C.FileList.Item(I).Caption == Name) W->C.FileList.SetSelected(I);
    }
    W->C.FileList.OnClick();
  }
  Tree Tr;
  std::unique_ptr<ViewerWindow> W;
};

// Enter at the question (the fake answers an unscripted question with its default) keeps the newer
// file and the edits, whether another row is clicked or the window is closed: both stay on the file.
TEST_F(ChangedOnDiskWindow, EnterKeepsTheNewerFile) {
  Open("b.txt");
  ASSERT_EQ(W->P.Dialogs.Asked.size(), 1u);
  const TQuestion& Q = W->P.Dialogs.Asked[0];
  EXPECT_EQ(Q.Caption, "保存確認");
  EXPECT_EQ(Q.Buttons, (std::vector<std::string>{"上書き保存(&O)", "読み込み直す(&R)", "キャンセル"}));
  EXPECT_EQ(Q.Default, 2u);
  EXPECT_EQ(Q.Escape, 2u);
  EXPECT_EQ(Tr.Read("a.txt"), "newer\r\n");
  EXPECT_FALSE(fs::exists(Tr.T() + "/a.bak"));
  EXPECT_EQ(W->C.fName.Caption(), Tr.T() + "/a.txt");  // and the edits stay on screen
  EXPECT_TRUE(W->E.Ed.Modified());

  W->E.Ed.Lines().Put(0, "edited again");
  W->E.Ed.SetModified(true);
  Tr.Write("a.txt", "newest\r\n");
  EXPECT_FALSE(W->Form->FormCloseQuery());
  EXPECT_TRUE(W->E.Ed.Modified());
  EXPECT_EQ(Tr.Read("a.txt"), "newest\r\n");
}

TEST_F(ChangedOnDiskWindow, ReloadShowsTheNewerFile) {
  W->P.Dialogs.AskAnswers = {1};
  EXPECT_TRUE(W->Form->FormCloseQuery());
  EXPECT_EQ(W->E.Adapter.SaveText(), "newer\r\n");
  EXPECT_FALSE(W->E.Ed.Modified());
  EXPECT_EQ(Tr.Read("a.txt"), "newer\r\n");
}

// Overwriting keeps the newer text as the backup; the saved text is then the one loaded, so a
// further edit is saved without a question.
TEST_F(ChangedOnDiskWindow, OverwriteKeepsTheNewerTextAsTheBackup) {
  W->P.Dialogs.AskAnswers = {0};
  EXPECT_TRUE(W->Form->FormCloseQuery());
  EXPECT_EQ(Tr.Read("a.txt"), "edited\r\n");
  EXPECT_EQ(Tr.Read("a.bak"), "newer\r\n");
  W->E.Ed.Lines().Put(0, "edited twice");
  W->E.Ed.SetModified(true);
  EXPECT_TRUE(W->Form->FormCloseQuery());
  EXPECT_EQ(Tr.Read("a.txt"), "edited twice\r\n");
  EXPECT_EQ(W->P.Dialogs.Asked.size(), 1u);
}

// The batch leaves a file that changed after its load as it is, goes on with the others, and says
// at the end which files it left.
TEST(ChangedOnDisk, TheBatchLeavesAChangedFileAndNamesIt) {
  Tree Tr;
  Tr.Write("a.txt", "hit\r\n");
  Tr.Write("b.txt", "hit\r\n");
  Tr.Write("c.txt", "hit\r\n");
  ViewerWindow W(Tr);
  W.C.ConfirmSave.SetChecked(false);
  W.C.MakeBackFile.SetChecked(true);
  W.Search(Tr.T(), "*.txt", "hit");
  ASSERT_EQ(W.C.FileList.Count(), 3);
  W.C.cReplaceWord.SetText("HIT");
  W.P.Dialogs.Answers = {idYes};
  {
    TArmed Armed({.AtEndOfRead = [&](int Fd) {
      if (PathOfFd(Fd) == Tr.T() + "/b.txt" && Tr.Read("b.txt") == "hit\r\n") Tr.Write("b.txt", "hit, and more\r\n");
    }});
    W.C.N4.Click();
  }
  EXPECT_EQ(Tr.Read("a.txt"), "HIT\r\n");
  EXPECT_EQ(Tr.Read("b.txt"), "hit, and more\r\n");
  EXPECT_EQ(Tr.Read("c.txt"), "HIT\r\n");
  EXPECT_FALSE(fs::exists(Tr.T() + "/b.bak"));
  EXPECT_EQ(W.Form->UnchangedCount(), 1);
  EXPECT_EQ(W.Form->UnchangedItems(), std::vector<std::string>{Tr.T() + "/b.txt"});
  EXPECT_EQ(W.Form->SkippedCount(), 0);
  const MessageRecord& End = W.P.Dialogs.Shown.back();
  EXPECT_EQ(End.Caption, "リストされたファイルの置換");
  EXPECT_EQ(End.Text, "3 個の置換作業が終了しました。\r\n\r\nバックアップを 2 個作成しました。\r\n\r\n"
                      "読み込んだ後に他で変更されたため、1 個のファイルは変更していません:\r\n" + Tr.T() + "/b.txt");
}

// Files in other encodings are planned over their text as code page 932: a change after the read
// must still leave the file as the other program wrote it, whatever its encoding.
TEST(ChangedOnDisk, TheBatchLeavesAChangedFileInAnyEncoding) {
  for (const TTextEncoding E : {teUtf8, teUtf8Bom, teEucJp, teUtf16Le}) {
    SCOPED_TRACE(EncodingName(E));
    auto In = [E](const char* Utf8) {
      std::string Out = std::string(ByteOrderMark(E));
      EXPECT_TRUE(ConvertFromCp932(Utf8ToCp932(Utf8), E, Out));
      return Out;
    };
    Tree Tr;
    Tr.Write("a.txt", In("東京の会議\r\n"));
    Tr.Write("b.txt", In("東京の会議\r\n"));
    const std::string Newer = In("東京の会議、追記\r\n");
    ViewerWindow W(Tr);
    W.C.ConfirmSave.SetChecked(false);
    W.Search(Tr.T(), "*.txt", "東京");
    ASSERT_EQ(W.C.FileList.Count(), 2);
    W.C.cReplaceWord.SetText("大阪");
    W.P.Dialogs.Answers = {idYes};
    {
      TArmed Armed({.AtEndOfRead = [&](int Fd) {
        if (PathOfFd(Fd) == Tr.T() + "/b.txt" && Tr.Read("b.txt") != Newer) Tr.Write("b.txt", Newer);
      }});
      W.C.N4.Click();
    }
    EXPECT_EQ(Tr.Read("a.txt"), In("大阪の会議\r\n"));
    EXPECT_EQ(Tr.Read("b.txt"), Newer);
    EXPECT_EQ(W.Form->UnchangedItems(), std::vector<std::string>{Tr.T() + "/b.txt"});
  }
}

}  // namespace
}  // namespace tesvarin::test
