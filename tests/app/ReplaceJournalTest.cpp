// The journal of replace runs: a run taken back restores the files that still hold what it wrote,
// leaves and names the others, survives a crash between the record and the rename, stays within
// its bounds, and is taken back at most once.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>

#include "FormTestWindow.h"
#include "app/FormEditorEx.h"
#include "app/ReplaceJournal.h"
#include "app/SafeSave.h"
#include "support/StringList.h"
#include "testsupport/TempFolder.h"

namespace tesvarin::test {
namespace {

namespace fs = std::filesystem;

struct Book {
  TempFolder Dir;
  std::string Folder = Dir / "journal";
  TReplaceJournal Journal{Folder};

  std::string File(const std::string& Name, const std::string& Bytes) {
    WriteFileBytes(Dir / Name, Bytes);
    return Dir / Name;
  }
  // A run that replaces each file's content by New, as the replace does: recorded, then saved.
  int Run(const std::vector<std::pair<std::string, std::string>>& Changes, TReplaceJournal* J = nullptr) {
    TJournalRecorder R = (J ? *J : Journal).Begin({1700000000, Dir.Path, "old", "new", ""});
    for (const auto& [Path, New] : Changes) {
      R.Record(Path, ReadFileBytes(Path), New);
      SaveFileSafely(Path, New, false);
    }
    R.Finish();
    return R.Number();
  }
};

TEST(ReplaceJournal, TakingBackRestoresTheFilesAndNamesThoseChangedOrGoneSince) {
  Book B;
  const std::string Same = B.File("same.txt", "old a\r\n"), Edited = B.File("edited.txt", "old b\n"),
                    Gone = B.File("gone.txt", "old c");
  const int N = B.Run({{Same, "new a\r\n"}, {Edited, "new b\n"}, {Gone, "new c"}});
  WriteFileBytes(Edited, "new b and an edit\n");
  fs::remove(Gone);

  const std::vector<TJournalRun> Runs = B.Journal.Runs();
  ASSERT_EQ(Runs.size(), 1u);
  EXPECT_EQ(Runs[0].Number, N);
  EXPECT_EQ(Runs[0].FileCount(), 3);
  EXPECT_EQ(Runs[0].Info.Needle, "old");
  EXPECT_EQ(Runs[0].StateText(), "置換済み");

  const TTakeBackResult R = B.Journal.TakeBack(N);
  EXPECT_EQ(R.Restored, 1);
  EXPECT_EQ(ReadFileBytes(Same), "old a\r\n");
  EXPECT_EQ(ReadFileBytes(Edited), "new b and an edit\n");
  EXPECT_FALSE(fs::exists(Gone));
  ASSERT_EQ(R.Left.size(), 2u);
  EXPECT_EQ(R.Left[0], Edited + " (置換の後に変更されています)");
  EXPECT_EQ(R.Left[1], Gone + " (置換の後に削除されています)");
  EXPECT_EQ(B.Journal.Run(N)->StateText(), "一部を元に戻し済み");

  // Put right by hand, the edited file is taken back on a second try; the restored one is not touched.
  WriteFileBytes(Edited, "new b\n");
  WriteFileBytes(Same, "old a, edited after the take-back\r\n");
  const TTakeBackResult Again = B.Journal.TakeBack(N);
  EXPECT_EQ(Again.Restored, 1);
  EXPECT_EQ(ReadFileBytes(Edited), "old b\n");
  EXPECT_EQ(ReadFileBytes(Same), "old a, edited after the take-back\r\n");
}

TEST(ReplaceJournal, ARunTakenBackIsMarkedAndASecondTakeBackDoesNothing) {
  Book B;
  const std::string A = B.File("a.txt", "1"), C = B.File("c.txt", "3");
  const int N = B.Run({{A, "one"}, {C, "three"}});
  // One file alone first.
  EXPECT_EQ(B.Journal.TakeBack(N, &C).Restored, 1);
  EXPECT_EQ(ReadFileBytes(A), "one");
  EXPECT_EQ(ReadFileBytes(C), "3");
  EXPECT_EQ(B.Journal.TakeBack(N).Restored, 1);
  EXPECT_EQ(ReadFileBytes(A), "1");
  EXPECT_EQ(B.Journal.Run(N)->StateText(), "元に戻し済み");
  EXPECT_FALSE(B.Journal.NewestToTakeBack());
  WriteFileBytes(A, "one");  // even the bytes the run wrote, back again, are not its to touch now
  const TTakeBackResult Twice = B.Journal.TakeBack(N);
  EXPECT_EQ(Twice.Restored, 0);
  EXPECT_TRUE(Twice.Left.empty());
  EXPECT_EQ(ReadFileBytes(A), "one");
}

TEST(ReplaceJournal, ACrashBetweenTheRecordAndTheRenameCanStillBeTakenBack) {
  Book B;
  const std::string A = B.File("a.txt", "old a"), C = B.File("c.txt", "old c");
  int N = 0;
  {
    TJournalRecorder R = B.Journal.Begin({1, B.Dir.Path, "old", "new", ""});
    N = R.Number();
    R.Record(A, "old a", "new a");
    SaveFileSafely(A, "new a", false);
    R.Record(C, "old c", "new c");  // the program dies here, before c.txt is replaced
    // A record cut short by the crash.
    const std::string Cut = "F\x40\0\0\0\0\0\0\0partial";
    std::FILE* F = std::fopen(B.Journal.Run(N)->File.c_str(), "ab");
    std::fwrite(Cut.data(), 1, Cut.size(), F);
    std::fclose(F);
  }
  std::optional<TJournalRun> Run = B.Journal.Run(N);
  ASSERT_TRUE(Run);
  EXPECT_EQ(Run->StateText(), "中断");
  EXPECT_EQ(Run->FileCount(), 2);
  const TTakeBackResult R = B.Journal.TakeBack(N);
  EXPECT_EQ(R.Restored, 2);
  EXPECT_TRUE(R.Left.empty());
  EXPECT_EQ(ReadFileBytes(A), "old a");
  EXPECT_EQ(ReadFileBytes(C), "old c");
  // The marks went after the cut record, which they replaced: they are read back.
  EXPECT_EQ(B.Journal.Run(N)->StateText(), "元に戻し済み");
}

TEST(ReplaceJournal, TwoRunsOverOneFileTakenBackInTheWrongOrderAreRefusedThenHandled) {
  Book B;
  const std::string A = B.File("a.txt", "A");
  const int First = B.Run({{A, "B"}});
  const int Second = B.Run({{A, "C"}});
  // The first run's bytes are no longer there: the file is left.
  const TTakeBackResult Wrong = B.Journal.TakeBack(First);
  EXPECT_EQ(Wrong.Restored, 0);
  EXPECT_EQ(Wrong.Left.size(), 1u);
  EXPECT_EQ(ReadFileBytes(A), "C");
  EXPECT_EQ(B.Journal.NewestToTakeBack()->Number, Second);
  EXPECT_EQ(B.Journal.TakeBack(Second).Restored, 1);
  EXPECT_EQ(B.Journal.TakeBack(First).Restored, 1);
  EXPECT_EQ(ReadFileBytes(A), "A");
}

TEST(ReplaceJournal, TheOldestRunsGoWhenTheBoundIsReached) {
  Book B;
  TReplaceJournal Few(B.Folder, {2, uint64_t(1) << 30});
  const std::string A = B.File("a.txt", "0");
  std::vector<int> Numbers;
  for (int I = 1; I <= 4; ++I) Numbers.push_back(B.Run({{A, std::to_string(I)}}, &Few));
  std::vector<TJournalRun> Runs = Few.Runs();
  ASSERT_EQ(Runs.size(), 2u);
  EXPECT_EQ(Runs[0].Number, Numbers[3]);
  EXPECT_EQ(Runs[1].Number, Numbers[2]);

  // By size: a run that makes the journal too big pushes the older ones out, never itself.
  std::string Noise(5000, '\0');
  uint32_t Seed = 12345;
  for (char& Ch : Noise) Ch = static_cast<char>((Seed = Seed * 1103515245 + 12345) >> 24);  // does not compress
  const std::string Big = B.File("big.txt", Noise);
  TReplaceJournal Small(B.Folder, {20, 4000});
  EXPECT_FALSE(Small.Fits(5000));
  const int Last = B.Run({{Big, "y"}}, &Small);
  Runs = Small.Runs();
  ASSERT_EQ(Runs.size(), 1u);
  EXPECT_EQ(Runs[0].Number, Last);
}

TEST(ReplaceJournal, ARunThatChangedNothingLeavesNoFile) {
  Book B;
  const std::string A = B.File("a.txt", "old");
  {
    TJournalRecorder R = B.Journal.Begin({1, B.Dir.Path, "old", "new", ""});
    R.Record(A, "old", "new");
    R.Dropped(A);  // the save was refused
    R.Finish();
  }
  { TJournalRecorder R = B.Journal.Begin({1, B.Dir.Path, "old", "new", ""}); }
  EXPECT_TRUE(B.Journal.Runs().empty());
  EXPECT_TRUE(fs::is_empty(B.Folder));
}

// The window's batch journals exactly the files it wrote; the run is taken back the next day.
struct TrustEditor {
  TEditorEx Ed{nullptr, TPlatform{}};
  TFormEditorEx Adapter{Ed};
};
IFormEditor& FormEditorOf(TrustEditor& E) { return E.Adapter; }

TEST(ReplaceJournal, TheBatchJournalsWhatItWritesAndIsTakenBackLater) {
  Tree Tr;
  Tr.Write("a.txt", "a hit\nhit\r\n");
  Tr.Write("b.txt", "b hit");
  Tr.Write("c.txt", "no match");
  std::string Journal;
  int N = 0;
  {
    BasicWindow<TrustEditor> W(Tr, {}, {}, true);
    W.C.ConfirmSave.SetChecked(false);
    W.Search(Tr.T(), "*.txt", "hit");
    W.C.cReplaceWord.SetText("HIT");
    W.P.Dialogs.Answers = {idYes};
    W.C.N4.Click();
    Journal = W.Form->JournalFolder();
    N = W.Form->JournaledRun();
  }
  EXPECT_EQ(Tr.Read("a.txt"), "a HIT\nHIT\r\n");
  TReplaceJournal Book(Journal);
  std::optional<TJournalRun> Run = Book.Run(N);
  ASSERT_TRUE(Run);
  EXPECT_EQ(Run->Info.Folder, Tr.T());
  EXPECT_EQ(Run->Info.Needle, "hit");
  EXPECT_EQ(Run->Info.Replacement, "HIT");
  ASSERT_EQ(Run->FileCount(), 2);
  Tr.Write("b.txt", "b HIT edited");
  const TTakeBackResult R = Book.TakeBack(N);
  EXPECT_EQ(R.Restored, 1);
  EXPECT_EQ(Tr.Read("a.txt"), "a hit\nhit\r\n");
  ASSERT_EQ(R.Left.size(), 1u);
  EXPECT_NE(R.Left[0].find("b.txt"), std::string::npos);
  EXPECT_EQ(Tr.Read("b.txt"), "b HIT edited");
}

// Old bytes of many megabytes are compressed into the run a piece at a time and come back whole; a
// spliced save is recorded by the hash of its bytes without their being made.
TEST(ReplaceJournal, ABigFileSplicedIsTakenBackToItsOldBytes) {
  Book B;
  std::string Old;
  for (uint64_t I = 0; Old.size() < (size_t{5} << 20); ++I) Old += "line " + std::to_string(I * 7919 % 100003) + " old\r\n";
  const std::string Path = B.File("big.txt", Old);
  const TByteSplices Splices = {{5, 1, "X"}, {Old.size() - 5, 3, "new"}};
  std::string New = Old;
  New.replace(Old.size() - 5, 3, "new").replace(5, 1, "X");
  EXPECT_EQ(JournalHash(Old, Splices), JournalHash(New));
  TJournalRecorder R = B.Journal.Begin({1700000000, B.Dir.Path, "old", "new", ""});
  R.Record(Path, Old, SplicedSize(Old.size(), Splices), JournalHash(Old, Splices));
  TSaveOptions O;
  O.Expected = StampOfFile(Path);
  (void)SaveFileSpliced(Path, Splices, O);
  R.Finish();
  EXPECT_TRUE(ReadFileBytes(Path) == New);
  EXPECT_EQ(B.Journal.TakeBack(R.Number()).Restored, 1);
  EXPECT_TRUE(ReadFileBytes(Path) == Old);
}

}  // namespace
}  // namespace tesvarin::test
