// Runs with helper threads against the run alone: the same callbacks, in the same order, on the
// caller's thread, over trees of every kind of entry.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <random>
#include <stdexcept>
#include <thread>

#include "app/FilePattern.h"
#include "app/FileSearch.h"
#include "support/StringList.h"

namespace tesvarin {
namespace {

namespace fs = std::filesystem;

class FileSearchHelpersTest : public ::testing::Test {
protected:
  void SetUp() override {
    std::string Template = (fs::temp_directory_path() / "tesvarin-helpers-XXXXXX").string();
    Root = std::string(mkdtemp(Template.data())) + "/";
  }
  void TearDown() override {
    for (const auto& E : fs::recursive_directory_iterator(Root, fs::directory_options::skip_permission_denied)) {
      if (E.is_directory() && !E.is_symlink()) fs::permissions(E.path(), fs::perms::owner_all);
    }
    fs::remove_all(Root);
  }
  void Make(const std::string& Rel, const std::string& Bytes) {
    fs::create_directories(fs::path(Root + Rel).parent_path());
    WriteFileBytes(Root + Rel, Bytes);
  }

  // Folders three deep with a random number of subfolders and files of every kind, links between
  // subtrees (so that which walk reaches a folder first decides), loops, and for other users than
  // root an unreadable file and folder.
  void MakeTree(unsigned Seed) {
    std::mt19937 Rng(Seed);
    std::vector<std::string> Folders{""};
    for (size_t I = 0; I < Folders.size(); ++I) {
      const std::string Dir = Folders[I];
      fs::create_directories(Root + Dir);
      const int Depth = static_cast<int>(std::count(Dir.begin(), Dir.end(), '/'));
      const int Subs = Depth == 0 ? 4 : Depth < 3 ? static_cast<int>(Rng() % 5) : 0;
      for (int S = 0; S < Subs; ++S) Folders.push_back(Dir + "s" + std::to_string(S) + "/");
      const int Files = static_cast<int>(Rng() % 8);
      for (int F = 0; F < Files; ++F) {
        const std::string Name = Dir + "f" + std::to_string(F);
        switch (Rng() % 5) {
          case 0: Make(Name + ".txt", std::string(Rng() % 2000, 'a') + "word\r\n"); break;
          case 1: Make(Name + ".txt", std::string(Rng() % 2000, 'b')); break;
          case 2: Make(Name + ".txt", std::string("\0\0word", 6)); break;
          case 3: Make(Name + ".exe", "word"); break;
          default: Make(Name + ".txt", "word raise"); break;
        }
      }
    }
    for (int L = 0; L < 6; ++L) {
      const std::string& From = Folders[Rng() % Folders.size()];
      const std::string& To = Folders[Rng() % Folders.size()];
      fs::create_directory_symlink(Root + To, Root + From + "link" + std::to_string(L));
    }
    fs::create_symlink(Root + "nowhere", Root + Folders.back() + "dangling.txt");
    ASSERT_EQ(mkfifo((Root + "fifo.txt").c_str(), 0600), 0);
    if (geteuid() != 0 && Folders.size() > 2) {
      Make(Folders[1] + "locked.txt", "word");
      fs::permissions(Root + Folders[1] + "locked.txt", fs::perms::none);
      fs::create_directories(Root + Folders[2] + "shut/inner");
      fs::permissions(Root + Folders[2] + "shut", fs::perms::none);
    }
  }

  static bool Test(std::string_view Bytes, bool Raising) {
    if (Raising && Bytes.find("raise") != std::string_view::npos) throw std::runtime_error("bad expression");
    return Bytes.find("word") != std::string_view::npos;
  }

  // Every callback of a run, in order and with what it was given; Pumps are left out, since a run
  // stopped by Abort gives back the window fewer times when a helper had walked ahead.
  // AbortAtPump: Abort is pressed at that pump, as the window would hear it, where the run may be
  // walking for a helper.
  std::vector<std::string> Log(unsigned Helpers, int AbortAt = -1, bool Raising = false, bool Content = true,
                               int AbortAtPump = -1, int* PumpCount = nullptr) {
    TSearchCriteria Criteria;
    Criteria.FilePattern = NormalizeFilePattern("*.*");
    bool Abort = false;
    TFileSearch Search(Criteria, Abort);
    Search.HelperThreads = Helpers;
    std::vector<std::string> Events;
    const std::thread::id Caller = std::this_thread::get_id();
    auto Note = [&](std::string Event) {
      EXPECT_EQ(std::this_thread::get_id(), Caller) << Event;
      Events.push_back(std::move(Event));
    };
    int Candidates = 0;
    int Pumps = 0;
    Search.ProcessMessages = [&] {
      EXPECT_EQ(std::this_thread::get_id(), Caller);
      if (++Pumps == AbortAtPump) Abort = true;
    };
    Search.OnFolder = [&](const std::string& F) { Note("folder " + F.substr(Root.size())); };
    Search.OnCandidate = [&] {
      Note("candidate");
      if (++Candidates == AbortAt) Abort = true;
    };
    if (Content) {
      // Not noted: a helper runs its own content test, and only its outcome is reported.
      Search.ContainsText = [Raising](const std::string&, std::string_view Bytes) { return Test(Bytes, Raising); };
      Search.MakeHelperContentTest = [Raising] {
        return [Raising](std::string_view Bytes) { return Test(Bytes, Raising); };
      };
    }
    Search.OnFound = [&](const TFoundFile& F) {
      Note("found " + F.Folder.substr(Root.size()) + F.Name + " " + std::to_string(F.Info.Size) +
           (F.Info.ReadOnly ? " R" : ""));
    };
    Search.OnChecked = [&] { Note("checked"); };
    Search.OnSkipped = [&](const std::string& Path, int Error) {
      Note("skipped " + Path.substr(Root.size()) + " " + std::to_string(Error));
    };
    try {
      Search.SearchFolder(Root);
    } catch (const std::runtime_error& E) {
      Events.push_back(std::string("raised ") + E.what());
    }
    if (PumpCount != nullptr) *PumpCount = Pumps;
    return Events;
  }

  std::string Root;
};

TEST_F(FileSearchHelpersTest, RunsWithHelpersReportWhatTheRunAloneReports) {
  for (unsigned Seed = 1; Seed <= 6; ++Seed) {
    SCOPED_TRACE(Seed);
    TearDown();
    SetUp();
    MakeTree(Seed);
    const std::vector<std::string> Alone = Log(0);
    const std::vector<std::string> WalkOnly = Log(0, -1, false, false);
    for (unsigned Helpers : {1u, 2u, 4u}) {
      EXPECT_EQ(Log(Helpers), Alone) << Helpers << " helpers";
      EXPECT_EQ(Log(Helpers, -1, false, false), WalkOnly) << Helpers << " helpers, no content test";
    }
  }
}

// Abort ends the run at the same file; an error of the content test surfaces at the same file.
TEST_F(FileSearchHelpersTest, AbortAndErrorsComeWhereTheyWouldAlone) {
  for (unsigned Seed : {11u, 12u}) {
    SCOPED_TRACE(Seed);
    TearDown();
    SetUp();
    MakeTree(Seed);
    // Early presses stop the run's own walk; late ones stop it while it reports a helper's finds.
    const std::vector<std::string> Whole = Log(0);
    const int Candidates = static_cast<int>(std::count(Whole.begin(), Whole.end(), "candidate"));
    ASSERT_GT(Candidates, 20);
    for (int At : {1, 3, Candidates / 3, Candidates / 2, Candidates * 2 / 3, Candidates * 5 / 6, Candidates - 1}) {
      EXPECT_EQ(Log(2, At), Log(0, At)) << "abort at " << At;
    }
    const std::vector<std::string> Alone = Log(0, -1, true);
    EXPECT_EQ(Log(1, -1, true), Alone);
    EXPECT_EQ(Log(3, -1, true), Alone);
  }
}

// Abort heard in a pump ends the run soon, with what it reported so far as the run alone reports it.
TEST_F(FileSearchHelpersTest, AbortHeardWhileTheRunWaitsStopsItEarly) {
  MakeTree(31);
  const std::vector<std::string> Alone = Log(0);
  int Pumps = 0;
  Log(0, -1, false, true, -1, &Pumps);
  ASSERT_GT(Pumps, 100);
  for (int At : {1, 5, 20, Pumps / 3, Pumps / 2, Pumps * 3 / 4}) {
    for (unsigned Helpers : {1u, 2u}) {
      const std::vector<std::string> Cut = Log(Helpers, -1, false, true, At);
      ASSERT_LE(Cut.size(), Alone.size()) << At;
      EXPECT_TRUE(std::equal(Cut.begin(), Cut.end(), Alone.begin())) << "abort at pump " << At;
      // It stopped short of the end.
      EXPECT_LT(std::count(Cut.begin(), Cut.end(), "candidate"), std::count(Alone.begin(), Alone.end(), "candidate"))
          << At;
    }
  }
}

// A gate one thread opens and others wait at. A wait gives up after a long while, and leaves the
// gate open, only so that a run that never opens it fails instead of hanging; a sound run never
// comes near that.
class TGate {
public:
  void Open() {
    {
      std::lock_guard Lock(FLock);
      FOpen = true;
    }
    FOpened.notify_all();
  }
  bool Wait() {
    std::unique_lock Lock(FLock);
    const bool Opened = FOpened.wait_for(Lock, std::chrono::seconds(10), [this] { return FOpen; });
    FOpen = true;
    return Opened;
  }

private:
  std::mutex FLock;
  std::condition_variable FOpened;
  bool FOpen = false;
};

// A helper held inside its subtree leaves the run waiting for it; the run then walks that subtree's
// later subfolders itself, and still reports everything in walk order.
TEST_F(FileSearchHelpersTest, ARunWaitingForABusyHelperWalksPartOfItsSubtree) {
  for (int S = 0; S < 2; ++S) {
    for (int F = 0; F < 6; ++F) Make("s" + std::to_string(S) + "/t" + std::to_string(F) + "/f.txt", "word");
  }
  const std::vector<std::string> Alone = Log(0);
  TSearchCriteria Criteria;
  Criteria.FilePattern = NormalizeFilePattern("*.*");
  bool Abort = false;
  TFileSearch Search(Criteria, Abort);
  Search.HelperThreads = 1;
  const std::thread::id Caller = std::this_thread::get_id();
  std::atomic<int> OnCaller{0};
  TGate HelperInside;  // the helper has taken s1 and is testing its first file
  TGate RunTookPart;   // the run has walked part of s1 for the helper
  std::atomic<bool> GateMissed{false};
  std::vector<std::string> Found;
  // The run's own walk of s0 waits until the helper is inside s1, which it takes as the last of the
  // root's subfolders; the helper then stays there until the run has come to s1 and taken a share.
  Search.ContainsText = [&](const std::string&, std::string_view Bytes) {
    if (!HelperInside.Wait()) GateMissed = true;
    return Test(Bytes, false);
  };
  Search.MakeHelperContentTest = [&] {
    return [&](std::string_view Bytes) {
      if (std::this_thread::get_id() == Caller) {
        ++OnCaller;
        RunTookPart.Open();
      } else {
        HelperInside.Open();
        if (!RunTookPart.Wait()) GateMissed = true;
      }
      return Test(Bytes, false);
    };
  };
  Search.OnFound = [&](const TFoundFile& F) { Found.push_back(F.Folder.substr(Root.size()) + F.Name); };
  Search.SearchFolder(Root);
  EXPECT_FALSE(GateMissed.load());
  EXPECT_GT(OnCaller.load(), 0);
  std::vector<std::string> Expected;
  for (const std::string& E : Alone) {
    if (E.starts_with("found ")) Expected.push_back(E.substr(6, E.find(' ', 6) - 6));
  }
  EXPECT_EQ(Found, Expected);
  EXPECT_EQ(Found.size(), 12u);
}

// A content test the helpers cannot have fails the run at once, and no helper is left behind.
TEST_F(FileSearchHelpersTest, AHelperTestThatCannotBeMadeFailsTheRun) {
  MakeTree(21);
  bool Abort = false;
  TSearchCriteria Criteria;
  Criteria.FilePattern = NormalizeFilePattern("*.*");
  TFileSearch Search(Criteria, Abort);
  Search.HelperThreads = 2;
  Search.ContainsText = [](const std::string&, std::string_view) { return true; };
  Search.MakeHelperContentTest = []() -> std::function<bool(std::string_view)> {
    throw std::runtime_error("bad expression");
  };
  EXPECT_THROW(Search.SearchFolder(Root), std::runtime_error);
}

}  // namespace
}  // namespace tesvarin
