#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>

#include "app/FileSearch.h"
#include "app/FilePattern.h"
#include "support/StringList.h"

namespace tesvarin {
namespace {

namespace fs = std::filesystem;

class FileSearchTest : public ::testing::Test {
protected:
  void SetUp() override {
    std::string Template = (fs::temp_directory_path() / "tesvarin-walk-XXXXXX").string();
    Root = std::string(mkdtemp(Template.data())) + "/";
  }
  void TearDown() override { fs::remove_all(Root); }

  void Make(const std::string& Rel, const std::string& Bytes = "text\r\n") {
    fs::create_directories(fs::path(Root + Rel).parent_path());
    WriteFileBytes(Root + Rel, Bytes);
  }
  std::vector<std::string> Run(TSearchCriteria Criteria) {
    TFileSearch Search(std::move(Criteria), Abort);
    std::vector<std::string> Found;
    Search.OnFound = [&](const TFoundFile& F) { Found.push_back(F.Folder.substr(Root.size()) + F.Name); };
    Search.ProcessMessages = [&] { ++Pumps; };
    Search.OnFolder = [&](const std::string& F) { Folders.push_back(F.substr(Root.size())); };
    Search.ContainsText = ContainsText;
    Search.OnSkipped = [&](const std::string& Path, int Error) { Skipped.emplace_back(Path.substr(Root.size()), Error); };
    Search.SearchFolder(Root);
    return Found;
  }
  static TSearchCriteria Pattern(const std::string& Text) {
    TSearchCriteria C;
    C.FilePattern = NormalizeFilePattern(Text);
    return C;
  }

  std::string Root;
  bool Abort = false;
  int Pumps = 0;
  std::vector<std::string> Folders;
  std::function<bool(const std::string&, std::string_view)> ContainsText;
  std::vector<std::pair<std::string, int>> Skipped;
};

std::set<std::string> AsSet(const std::vector<std::string>& V) { return {V.begin(), V.end()}; }

TEST_F(FileSearchTest, FilesOfAFolderComeBeforeItsSubfolders) {
  Make("a.txt");
  Make("sub/b.txt");
  Make("sub/deeper/c.txt");
  Make("z.txt");
  std::vector<std::string> Found = Run(Pattern("*.txt"));
  ASSERT_EQ(Found.size(), 4u);
  EXPECT_EQ(AsSet({Found[0], Found[1]}), (std::set<std::string>{"a.txt", "z.txt"}));
  EXPECT_EQ(Found[2], "sub/b.txt");
  EXPECT_EQ(Found[3], "sub/deeper/c.txt");
  EXPECT_EQ(Folders, (std::vector<std::string>{"", "sub/", "sub/deeper/"}));
  EXPECT_GT(Pumps, 0);
}

// A big candidate comes in pieces: the window is pumped between them, and Abort pressed there stops
// the run before the file is reported; read to its end, the file is tested whole.
TEST_F(FileSearchTest, ABigCandidateIsReadInPiecesAndAbortIsHeardBetweenThem) {
  const size_t Size = TFileSearch::ReadPiece * 3;
  Make("big.txt", std::string(Size, 'a'));
  for (const bool Press : {false, true}) {
    SCOPED_TRACE(Press);
    Abort = false;
    TFileSearch Search(Pattern("*.txt"), Abort);
    bool Reading = false;
    int PumpsWhileReading = 0;
    std::vector<std::string> Found;
    Search.OnCandidate = [&] { Reading = true; };
    Search.ContainsText = [&](const std::string&, std::string_view Bytes) {
      Reading = false;
      return Bytes.size() == Size;
    };
    Search.ProcessMessages = [&] {
      if (!Reading) return;
      ++PumpsWhileReading;
      Abort = Press;
    };
    Search.OnFound = [&](const TFoundFile& F) { Found.push_back(F.Name); };
    Search.SearchFolder(Root);
    if (Press) {
      EXPECT_EQ(PumpsWhileReading, 1);
    } else {
      EXPECT_GE(PumpsWhileReading, 2);
    }
    EXPECT_EQ(Found, Press ? std::vector<std::string>{} : std::vector<std::string>{"big.txt"});
  }
}

TEST_F(FileSearchTest, BareNamesHiddenNamesAndSubfolders) {
  Make("memo.txt");
  Make("my memo");
  Make("MEMO");
  Make("other.txt");
  Make(".memo-hidden");
  Make(".dotdir/memo2.txt");
  Make("sub/memo3.txt");
  EXPECT_EQ(AsSet(Run(Pattern("memo"))),
            (std::set<std::string>{"memo.txt", "my memo", "MEMO", "sub/memo3.txt"}));
  TSearchCriteria Hidden = Pattern("memo");
  Hidden.Hidden = true;
  EXPECT_EQ(AsSet(Run(Hidden)), (std::set<std::string>{"memo.txt", "my memo", "MEMO", ".memo-hidden",
                                                        ".dotdir/memo2.txt", "sub/memo3.txt"}));
  TSearchCriteria Flat = Pattern("memo");
  Flat.SubFolders = false;
  EXPECT_EQ(AsSet(Run(Flat)), (std::set<std::string>{"memo.txt", "my memo", "MEMO"}));
}

TEST_F(FileSearchTest, NonTextFilesAreSkippedByExtensionAndProbe) {
  Make("a.XL");
  Make("a.xls");
  Make("two-nuls.txt", std::string("a\0b\0c", 5));
  Make("three-nuls.txt", std::string("a\0b\0c\0", 6));
  Make("empty.txt", "");
  EXPECT_EQ(AsSet(Run(Pattern("*.*"))), (std::set<std::string>{"a.xls", "two-nuls.txt", "empty.txt"}));
}

TEST_F(FileSearchTest, SizeBoundsAreInclusive) {
  Make("k1023", std::string(1023, 'a'));
  Make("k1024", std::string(1024, 'a'));
  Make("k1025", std::string(1025, 'a'));
  TSearchCriteria Larger = Pattern("*.*");
  Larger.SizeRule = srAtLeast;
  Larger.SizeBytes = 1024;
  EXPECT_EQ(AsSet(Run(Larger)), (std::set<std::string>{"k1024", "k1025"}));
  TSearchCriteria Smaller = Larger;
  Smaller.SizeRule = srAtMost;
  EXPECT_EQ(AsSet(Run(Smaller)), (std::set<std::string>{"k1023", "k1024"}));
}

TEST_F(FileSearchTest, DateRangeOfOneDay) {
  Make("before");
  Make("inside");
  Make("after");
  auto [Start, End] = DayRange(2024, 3, 1, 2024, 3, 1);
  EXPECT_EQ(End - Start, 86400);
  // Exact whole seconds: two clock readings could straddle a second and move a file across a bound.
  auto SetTime = [&](const char* Name, int64_t T) {
    const timespec Times[2] = {{static_cast<time_t>(T), 0}, {static_cast<time_t>(T), 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, (Root + Name).c_str(), Times, 0), 0);
  };
  SetTime("before", Start);  // 00:00:00 itself is outside: both bounds are strict
  SetTime("inside", Start + 3600);
  SetTime("after", End);
  TSearchCriteria C = Pattern("*.*");
  C.WriteTimeRange = {Start, End};
  EXPECT_EQ(Run(C), (std::vector<std::string>{"inside"}));
  EXPECT_EQ(DayRange(2024, 12, 31, 2024, 12, 31).second, DayRange(2025, 1, 1, 2025, 1, 1).first);
}

TEST_F(FileSearchTest, ContentTestRunsForEveryCandidate) {
  Make("yes.txt", "find me");
  Make("no.txt", "nothing");
  Make("big.txt", std::string(5000, 'x') + "find me");
  std::vector<std::string> Tested;
  ContainsText = [&](const std::string& Path, std::string_view Bytes) {
    Tested.push_back(Path);
    EXPECT_EQ(Bytes, ReadFileBytes(Path));  // the walk's one read hands over the whole file
    return Bytes.find("find me") != std::string_view::npos;
  };
  TSearchCriteria C = Pattern("*.*");
  C.SizeRule = srAtMost;
  C.SizeBytes = 1024;
  EXPECT_EQ(Run(C), (std::vector<std::string>{"yes.txt"}));
  EXPECT_EQ(Tested.size(), 3u);
}

TEST_F(FileSearchTest, LinkLoopsFifosAndDanglingLinksAreHarmless) {
  Make("a.txt");
  Make("sub/b.txt");
  fs::create_directory_symlink(Root, Root + "sub/loop");
  fs::create_directory_symlink(Root + "sub", Root + "again");
  fs::create_symlink(Root + "missing", Root + "dangling.txt");
  ASSERT_EQ(mkfifo((Root + "pipe.txt").c_str(), 0600), 0);
  std::vector<std::string> Found = Run(Pattern("*.txt"));
  EXPECT_EQ(Found.size(), 2u);  // each real folder once; the FIFO never opened
  EXPECT_EQ(Folders.size(), 2u);
}

TEST_F(FileSearchTest, AbortStopsEveryFurtherStep) {
  for (int I = 0; I < 5; ++I) Make("d" + std::to_string(I) + "/f.txt");
  TSearchCriteria C = Pattern("*.*");
  TFileSearch Search(C, Abort);
  int Found = 0;
  Search.OnFound = [&](const TFoundFile&) {
    if (++Found == 2) Abort = true;
  };
  Search.SearchFolder(Root);
  EXPECT_EQ(Found, 2);
}

TEST_F(FileSearchTest, AFolderThatCannotBeReadYieldsNothing) {
  TSearchCriteria C = Pattern("*.*");
  TFileSearch Search(C, Abort);
  int Found = 0;
  Search.OnFound = [&](const TFoundFile&) { ++Found; };
  Search.SearchFolder(Root + "missing/");
  EXPECT_EQ(Found, 0);
}

// A folder whose listing takes many reads of the descriptor gives every entry once.
TEST_F(FileSearchTest, ALongListingIsReadWhole) {
  std::set<std::string> Made;
  for (int I = 0; I < 1500; ++I) {
    const std::string Name = std::string(120, 'n') + std::to_string(I) + ".txt";
    Make(Name);
    Made.insert(Name);
  }
  int Error = -1;
  std::vector<TDirEntry> Entries = ReadFolder(Root, &Error);
  EXPECT_EQ(Error, 0);
  std::set<std::string> Listed;
  for (const TDirEntry& E : Entries) {
    EXPECT_EQ(E.Kind, ekRegular);
    Listed.insert(E.Name);
  }
  EXPECT_EQ(Entries.size(), Made.size());
  EXPECT_EQ(Listed, Made);
  EXPECT_EQ(AsSet(Run(Pattern("*.txt"))), Made);
}

// The read-only column comes from the open file; a file this user may not write shows it.
TEST_F(FileSearchTest, RowsSayWhetherTheFileMayBeWritten) {
  Make("open.txt");
  Make("locked.txt");
  fs::permissions(Root + "locked.txt", fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  TFileSearch Search(Pattern("*.txt"), Abort);
  std::map<std::string, bool> ReadOnly;
  Search.OnFound = [&](const TFoundFile& F) { ReadOnly[F.Name] = F.Info.ReadOnly; };
  Search.SearchFolder(Root);
  ASSERT_EQ(ReadOnly.size(), 2u);
  EXPECT_FALSE(ReadOnly["open.txt"]);
  // Root may write any file, so only another user sees the lock.
  EXPECT_EQ(ReadOnly["locked.txt"], geteuid() != 0);
}

// A file or folder that cannot be read is reported and skipped; the run lists the rest.
TEST_F(FileSearchTest, UnreadableEntriesAreSkippedAndReported) {
  Make("a.txt");
  Make("z/c.txt");
  fs::create_symlink(Root + "loop1.txt", Root + "loop2.txt");
  fs::create_symlink(Root + "loop2.txt", Root + "loop1.txt");
  const bool Root0 = geteuid() == 0;
  if (!Root0) {
    Make("locked.txt");
    Make("shut/d.txt");
    fs::permissions(Root + "locked.txt", fs::perms::none);
    fs::permissions(Root + "shut", fs::perms::none);
  }
  ContainsText = [](const std::string&, std::string_view Bytes) { return Bytes == "text\r\n"; };
  std::vector<std::string> Found = Run(Pattern("*.*"));
  std::sort(Found.begin(), Found.end());
  EXPECT_EQ(Found, (std::vector<std::string>{"a.txt", "z/c.txt"}));
  std::set<std::string> Paths;
  for (const auto& [Path, Error] : Skipped) {
    Paths.insert(Path);
    EXPECT_NE(Error, 0);
  }
  std::set<std::string> Expected{"loop1.txt", "loop2.txt"};
  if (!Root0) Expected.insert({"locked.txt", "shut/"});
  EXPECT_EQ(Paths, Expected);
  if (Root0) {
    fs::permissions(Root, fs::perms::owner_all);
  } else {
    fs::permissions(Root + "shut", fs::perms::owner_all);
    fs::permissions(Root + "locked.txt", fs::perms::owner_all);
  }
  if (Root0) GTEST_SKIP() << "running as root: unreadable files and folders cannot be made";
}

// A name that leads to a FIFO when it is opened is passed over without blocking.
TEST_F(FileSearchTest, AFifoBehindAFileNameNeverBlocks) {
  ASSERT_EQ(mkfifo((Root + "p.txt").c_str(), 0600), 0);
  bool Abort2 = false;
  TFileSearch Search(Pattern("*.*"), Abort2);
  int Found = 0;
  Search.OnFound = [&](const TFoundFile&) { ++Found; };
  Search.CheckFile(Root, "p.txt");  // as if the folder had shown a regular file there
  EXPECT_EQ(Found, 0);
}

}  // namespace
}  // namespace tesvarin
