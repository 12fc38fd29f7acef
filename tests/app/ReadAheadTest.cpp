#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <random>

#include "app/FilePattern.h"
#include "app/FileSearch.h"
#include "app/ReadAhead.h"
#include "support/StringList.h"

namespace tesvarin {
namespace {

namespace fs = std::filesystem;

class ReadAheadTest : public ::testing::Test {
protected:
  void SetUp() override {
    std::string Template = (fs::temp_directory_path() / "tesvarin-ahead-XXXXXX").string();
    Root = std::string(mkdtemp(Template.data())) + "/";
  }
  void TearDown() override {
    fs::permissions(Root, fs::perms::owner_all);
    fs::remove_all(Root);
  }
  void Make(const std::string& Rel, const std::string& Bytes) {
    fs::create_directories(fs::path(Root + Rel).parent_path());
    WriteFileBytes(Root + Rel, Bytes);
  }

  // A tree of every kind of candidate: texts with and without the word, non-text probes and
  // extensions, empty files, a file over the read-ahead limit with the word at its end, links,
  // a FIFO and, for other users than root, an unreadable file.
  void MakeTree(unsigned Seed) {
    std::mt19937 Rng(Seed);
    for (int Folder = 0; Folder < 6; ++Folder) {
      const std::string Dir = "d" + std::to_string(Folder) + "/";
      fs::create_directories(Root + Dir);
      const int Files = static_cast<int>(Rng() % 40);
      for (int F = 0; F < Files; ++F) {
        const std::string Name = Dir + "f" + std::to_string(F);
        switch (Rng() % 6) {
          case 0: Make(Name + ".txt", std::string(Rng() % 3000, 'a') + "word\r\n"); break;
          case 1: Make(Name + ".txt", std::string(Rng() % 3000, 'b')); break;
          case 2: Make(Name + ".txt", std::string("\0\0\0word", 7)); break;
          case 3: Make(Name + ".exe", "word"); break;
          case 4: Make(Name + ".txt", ""); break;
          default: Make(Name + ".txt", "word"); break;
        }
      }
    }
    Make("d0/big.txt", std::string(TReadAhead::FileLimit + 4096, 'x') + "word");
    fs::create_symlink(Root + "d0/big.txt", Root + "d1/link.txt");
    fs::create_symlink(Root + "nowhere.txt", Root + "d1/dangling.txt");
    ASSERT_EQ(mkfifo((Root + "d2/fifo.txt").c_str(), 0600), 0);
    if (geteuid() != 0) {
      Make("d3/locked.txt", "word");
      fs::permissions(Root + "d3/locked.txt", fs::perms::none);
    }
  }

  // Every callback of a run, in order, with what it was given.
  std::vector<std::string> Log(unsigned Threads, int AbortAt = -1) {
    TSearchCriteria Criteria;
    Criteria.FilePattern = NormalizeFilePattern("*.*");
    bool Abort = false;
    TFileSearch Search(Criteria, Abort);
    Search.ReadAheadThreads = Threads;
    std::vector<std::string> Events;
    int Candidates = 0;
    Search.OnFolder = [&](const std::string& F) { Events.push_back("folder " + F); };
    Search.OnCandidate = [&] {
      Events.push_back("candidate");
      if (++Candidates == AbortAt) Abort = true;
    };
    Search.ContainsText = [&](const std::string& Path, std::string_view Bytes) {
      Events.push_back("test " + Path + " " + std::to_string(Bytes.size()));
      return Bytes.find("word") != std::string_view::npos;
    };
    Search.OnFound = [&](const TFoundFile& F) {
      Events.push_back("found " + F.Folder + F.Name + " " + std::to_string(F.Info.Size) + (F.Info.ReadOnly ? " R" : ""));
    };
    Search.OnChecked = [&] { Events.push_back("checked"); };
    Search.OnSkipped = [&](const std::string& Path, int Error) { Events.push_back("skipped " + Path + " " + std::to_string(Error)); };
    Search.SearchFolder(Root);
    return Events;
  }

  std::string Root;
};

// Reading ahead changes when a file is read, never what the run does with it, nor in which order.
TEST_F(ReadAheadTest, RunsWithHelpersMatchTheRunWithout) {
  for (unsigned Seed : {1u, 2u, 3u}) {
    SCOPED_TRACE(Seed);
    fs::remove_all(Root);
    fs::create_directory(Root);
    MakeTree(Seed);
    const std::vector<std::string> Alone = Log(0);
    ASSERT_GT(Alone.size(), 50u);
    for (unsigned Threads : {1u, 2u, 4u}) EXPECT_EQ(Log(Threads), Alone) << Threads << " threads";
  }
}

// An abort leaves the reads still queued or running behind and ends the run at the same point.
TEST_F(ReadAheadTest, AnAbortEndsTheRunWhereItWouldWithout) {
  MakeTree(4);
  for (int At : {1, 2, 7, 30}) {
    SCOPED_TRACE(At);
    EXPECT_EQ(Log(2, At), Log(0, At));
  }
}

// Each job gives its own file's bytes back, whether a thread or the caller read it.
TEST_F(ReadAheadTest, JobsKeepTheirOwnBytes) {
  for (int I = 0; I < 40; ++I) Make("f" + std::to_string(I), std::string(static_cast<size_t>(I) * 97, static_cast<char>('a' + I % 26)));
  for (unsigned Threads : {0u, 1u, 3u}) {
    SCOPED_TRACE(Threads);
    TReadAhead Ahead(Threads);
    std::deque<std::shared_ptr<TReadAhead::TJob>> Jobs;
    for (int I = 0; I < 40; ++I) Jobs.push_back(Ahead.Queue(Root + "f" + std::to_string(I), true, std::string::npos));
    for (int I = 0; I < 40; ++I) {
      std::shared_ptr<TReadAhead::TJob> Job = std::move(Jobs.front());
      Jobs.pop_front();
      TCandidateRead& Read = Ahead.Take(*Job, Jobs);
      ASSERT_TRUE(Read.Opened());
      EXPECT_EQ(Read.Bytes(), std::string(static_cast<size_t>(I) * 97, static_cast<char>('a' + I % 26)));
      Ahead.Release(std::move(Job));
    }
  }
}

}  // namespace
}  // namespace tesvarin
