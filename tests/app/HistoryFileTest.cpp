// History files as they are found on disk (folders, FIFOs, odd line breaks, a million lines, a tail
// nobody should read) and as they are written back (a whole new file or none).
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <random>

#include "FormTestWindow.h"
#include "app/History.h"
#include "support/Exception.h"
#include "support/StringList.h"

namespace tesvarin {
namespace {

namespace fs = std::filesystem;
using test::Tree;
using Lines = std::vector<std::string>;

std::string NumberedLines(int Count, const char* Break = "\r\n") {
  std::string Text;
  for (int I = 0; I < Count; ++I) Text += "/folder/" + std::to_string(I) + Break;
  return Text;
}

TEST(HistoryFile, ReadsAsTheStringListDoesUpToTheEntriesItKeeps) {
  // Breaks of every kind, also cut apart by the reader's 64 KB chunks (a CR at the end of one, its LF
  // at the start of the next), compared with the list's own line split.
  Tree Tr;
  std::mt19937 Random(27);
  const char* const Breaks[] = {"\r\n", "\n", "\r", "\r\r\n", "\n\r"};
  for (int Round = 0; Round < 40; ++Round) {
    std::string Text;
    int Count = static_cast<int>(Random() % 130);
    for (int I = 0; I < Count; ++I) {
      size_t Length = Round % 4 == 0 ? 1000 + Random() % 4000 : Random() % 12;
      Text += std::string(Length, static_cast<char>('a' + I % 26)) + Breaks[Random() % 5];
    }
    if (Round % 3 == 0) Text += "tail without a break";
    if (Round == 1) Text = std::string(65535, 'x') + "\r\n" + std::string(70000, 'y') + "\r";
    const std::string Path = Tr.Root + "/data/FindWord.dat";
    WriteFileBytes(Path, Text);
    TStringList Expected;
    Expected.SetText(Text);
    Lines Want = Expected.Items();
    if (Want.size() > HistoryMax) Want.resize(HistoryMax);
    TStringList Got;
    LoadHistory(Got, Path);
    EXPECT_EQ(Got.Items(), Want) << "round " << Round;
  }
}

TEST(HistoryFile, AMillionLinesGiveTheFirstHundredAndTheRestIsNeverRead) {
  Tree Tr;
  const std::string Path = Tr.Root + "/data/FindFolder.dat";
  WriteFileBytes(Path, NumberedLines(1000000));
  TStringList L;
  LoadHistory(L, Path);
  ASSERT_EQ(L.Count(), HistoryMax);
  EXPECT_EQ(L[0], "/folder/0");
  EXPECT_EQ(L[99], "/folder/99");
  // 100 lines, then 64 GiB of hole: a reader that went on would run out of memory long before the end.
  WriteFileBytes(Path, NumberedLines(100, "\n"));
  ASSERT_EQ(truncate(Path.c_str(), off_t{64} << 30), 0);
  LoadHistory(L, Path);
  EXPECT_EQ(L.Count(), HistoryMax);
  EXPECT_EQ(L[99], "/folder/99");
}

TEST(HistoryFile, WhatCannotBeReadAsAFileRaisesAndLeavesTheListEmpty) {
  Tree Tr;
  const std::string Folder = Tr.Root + "/data/folder.dat";
  fs::create_directory(Folder);
  const std::string Fifo = Tr.Root + "/data/fifo.dat";
  ASSERT_EQ(mkfifo(Fifo.c_str(), 0600), 0);
  for (const std::string& Path : {Folder, Fifo}) {
    TStringList L;
    L.Add("stale");
    EXPECT_THROW(LoadHistory(L, Path), EInOutError) << Path;  // a FIFO without a writer must not block
    EXPECT_TRUE(L.Empty()) << Path;
  }
  TStringList L;
  L.Add("stale");
  LoadHistory(L, Tr.Root + "/data/missing.dat");
  EXPECT_TRUE(L.Empty());
  if (geteuid() != 0) {
    const std::string Locked = Tr.Root + "/data/locked.dat";
    WriteFileBytes(Locked, "a\r\n");
    fs::permissions(Locked, fs::perms::none);
    EXPECT_THROW(LoadHistory(L, Locked), EInOutError);
  }
}

TEST(HistoryFile, ASaveReplacesTheWholeFileOrLeavesItAlone) {
  Tree Tr;
  const std::string Path = Tr.Root + "/data/FindFile.dat";
  WriteFileBytes(Path, "old\r\nentries\r\n");
  // Whoever holds the old file open keeps reading the old entries: a new file took its name, the
  // old one was never cut and rewritten.
  int Old = open(Path.c_str(), O_RDONLY);
  ASSERT_GE(Old, 0);
  TStringList L;
  LoadHistory(L, Path);
  UpdateHistory(L, "*.txt");
  SaveHistory(L, Path);
  EXPECT_EQ(ReadFileBytes(Path), "*.txt\r\nold\r\nentries\r\n");
  char Buffer[64] = {};
  EXPECT_EQ(pread(Old, Buffer, sizeof Buffer, 0), 14);
  EXPECT_EQ(std::string(Buffer), "old\r\nentries\r\n");
  close(Old);
  // Nothing beside it but the history itself.
  std::vector<std::string> Names;
  for (const auto& E : fs::directory_iterator(Tr.Root + "/data")) Names.push_back(E.path().filename().string());
  EXPECT_EQ(Names, Lines{"FindFile.dat"});

  const std::string Folder = Tr.Root + "/data/FindWord.dat";
  fs::create_directories(Folder + "/inside");
  EXPECT_THROW(SaveHistory(L, Folder), EInOutError);
  EXPECT_TRUE(fs::is_directory(Folder + "/inside"));
}

TEST(HistoryFile, UpdatingAHugeListKeepsTheNewestHundredWithoutCopies) {
  TStringList L;
  L.BeginUpdate();
  for (int I = 0; I < 1000000; ++I) L.Add(I % 2 == 0 ? std::string("dup") : std::to_string(I));
  L.EndUpdate();
  UpdateHistory(L, "dup");
  ASSERT_EQ(L.Count(), HistoryMax);
  EXPECT_EQ(L[0], "dup");
  EXPECT_EQ(L[1], "1");
  EXPECT_EQ(L[99], "197");
  EXPECT_EQ(L.IndexOf("dup"), 0);
  EXPECT_EQ(std::count(L.Items().begin(), L.Items().end(), "dup"), 1);
}

}  // namespace
}  // namespace tesvarin
