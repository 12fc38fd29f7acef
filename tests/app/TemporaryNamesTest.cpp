// Temporary names only this program makes, and the clean-up that removes its old leftovers and
// nothing of the user's.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <set>

#include "FaultSeam.h"
#include "FormTestWindow.h"
#include "app/SafeSave.h"
#include "app/TemporaryFile.h"

namespace tesvarin {
namespace {

namespace fs = std::filesystem;
using test::AgeFile;
using test::Tree;

TEST(TemporaryNames, OnlyOurOwnShapeCounts) {
  struct Case {
    const char* Name;
    bool Ours;
  } Cases[] = {
      {".tesvarin-save-1234-0123456789abcdef", true},
      {".tesvarin-save-1-ffffffffffffffff", true},
      {".tesvarin-save-notes.txt", false},
      {".tesvarin-save-", false},
      {".tesvarin-save-1234-0123456789ABCDEF", false},  // we write small letters
      {".tesvarin-save-1234-0123456789abcde", false},   // too short a random part
      {".tesvarin-save-1234-0123456789abcdef0", false},
      {".tesvarin-save--0123456789abcdef", false},
      {".tesvarin-save-12a4-0123456789abcdef", false},
      {".tesvarin-save-0-0123456789abcdef", false},
      {".tesvarin-save-99999999999-0123456789abcdef", false},
      {".tesvarin-save-XXXXXX", false},
      {"tesvarin-save-1234-0123456789abcdef", false},
  };
  for (const Case& K : Cases) {
    pid_t Pid = 0;
    EXPECT_EQ(IsTemporaryName(K.Name, &Pid), K.Ours) << K.Name;
    if (K.Ours) {
      EXPECT_GT(Pid, 0);
    }
  }
  std::set<std::string> Made;
  for (int I = 0; I < 100; ++I) {
    const std::string Name = NewTemporaryName("/d");
    ASSERT_EQ(Name.rfind("/d/", 0), 0u);
    pid_t Pid = 0;
    EXPECT_TRUE(IsTemporaryName(Name.substr(3), &Pid)) << Name;
    EXPECT_EQ(Pid, getpid());
    Made.insert(Name);
  }
  EXPECT_EQ(Made.size(), 100u);
}

// A process id that is surely not running: a child that has been waited for.
pid_t GonePid() {
  const pid_t Child = fork();
  if (Child == 0) _exit(0);
  waitpid(Child, nullptr, 0);
  return Child;
}

std::string Random16() { return "0123456789abcdef"; }

// The next save in a folder removes leftovers of ours that are old and whose process is gone,
// or a week old; everything else there stays: the user's own files with our prefix, a young
// leftover, one of a running process, a link, a folder.
TEST(TemporaryNames, TheCleanUpRemovesOnlyOurOldLeftovers) {
  Tree Tr;
  const std::string Gone = std::to_string(GonePid());
  const std::string Running = std::to_string(getppid());
  struct Case {
    std::string Name;
    long Age;
    bool Removed;
  } Cases[] = {
      {".tesvarin-save-" + Gone + "-" + Random16(), 2 * 3600, true},
      {".tesvarin-save-" + Gone + "-" + Random16().replace(0, 1, "1"), 600, false},  // young
      {".tesvarin-save-" + Running + "-" + Random16(), 2 * 3600, false},             // still running
      {".tesvarin-save-" + Running + "-" + Random16().replace(0, 1, "2"), 8 * 24 * 3600, true},
      {".tesvarin-save-notes.txt", 30 * 24 * 3600, false},
      {".tesvarin-save-XXXXXX", 30 * 24 * 3600, false},
      {".tesvarin-save-" + Gone + "-" + Random16().replace(0, 1, "3") + ".txt", 30 * 24 * 3600, false},
  };
  for (const Case& K : Cases) {
    Tr.Write(K.Name, "the user's");
    AgeFile(Tr.T() + "/" + K.Name, K.Age);
  }
  const std::string LinkName = ".tesvarin-save-" + Gone + "-" + Random16().replace(0, 1, "4");
  fs::create_symlink("a.txt", Tr.T() + "/" + LinkName);
  AgeFile(Tr.T() + "/" + LinkName, 30 * 24 * 3600);
  Tr.Write("a.txt", "old");
  SaveFileSafely(Tr.T() + "/a.txt", "new", false);
  for (const Case& K : Cases) EXPECT_EQ(!fs::exists(Tr.T() + "/" + K.Name), K.Removed) << K.Name;
  EXPECT_TRUE(fs::is_symlink(Tr.T() + "/" + LinkName));
  EXPECT_EQ(Tr.Read("a.txt"), "new");
}

// A file kept under a name of its own never replaces an existing one.
TEST(TemporaryNames, AKeptFileTakesOnlyAFreeNameAndNoTemporaryStays) {
  Tree Tr;
  fs::create_directories(Tr.T());
  {
    TTemporaryFile File(Tr.T(), Tr.T() + "/a.txt");
    ASSERT_GE(File.Fd(), 0);
    ASSERT_EQ(write(File.Fd(), "x", 1), 1);
    ASSERT_TRUE(File.LinkAs(Tr.T() + "/kept.txt"));
    EXPECT_FALSE(File.LinkAs(Tr.T() + "/kept.txt"));  // never over an existing name
  }
  EXPECT_EQ(Tr.Read("kept.txt"), "x");
  EXPECT_TRUE(test::Temporaries(Tr.T()).empty());
}

}  // namespace
}  // namespace tesvarin
