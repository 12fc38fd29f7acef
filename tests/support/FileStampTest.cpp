#include "support/FileStamp.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <random>
#include <set>

#include "support/StringList.h"

namespace tesvarin {
namespace {

namespace fs = std::filesystem;

std::string RandomBytes(size_t Size, unsigned Seed) {
  std::mt19937 Gen(Seed);
  std::string S(Size, '\0');
  for (char& Ch : S) Ch = static_cast<char>(Gen());
  return S;
}

// Fed in pieces of any size, the hash is what one call over the whole gives.
TEST(StampHash, PiecesOfAnySizeGiveTheWholeHash) {
  const std::string Bytes = RandomBytes(1000, 1);
  for (size_t Length : {0u, 1u, 7u, 31u, 32u, 33u, 64u, 95u, 1000u}) {
    const std::string_view Whole(Bytes.data(), Length);
    for (size_t Piece : {1u, 3u, 8u, 31u, 32u, 33u, 100u}) {
      SCOPED_TRACE(std::to_string(Length) + " in pieces of " + std::to_string(Piece));
      TStampHash H;
      for (size_t At = 0; At < Length; At += Piece) H.Update(Whole.substr(At, Piece));
      EXPECT_EQ(H.Final(), StampHashOf(Whole));
    }
  }
}

// Any one changed byte, or a different length of the same bytes, changes the hash.
TEST(StampHash, EveryOneByteChangeAndEveryLengthDiffers) {
  const std::string Bytes = RandomBytes(200, 2);
  std::set<uint64_t> Seen;
  for (size_t Length = 0; Length <= Bytes.size(); ++Length) {
    EXPECT_TRUE(Seen.insert(StampHashOf(std::string_view(Bytes.data(), Length))).second) << Length;
  }
  std::string Zeros(100, '\0');
  EXPECT_NE(StampHashOf(Zeros), StampHashOf(Zeros + '\0'));
  const uint64_t Original = StampHashOf(Bytes);
  for (size_t At = 0; At < Bytes.size(); ++At) {
    for (int Bit = 0; Bit < 8; ++Bit) {
      std::string Changed = Bytes;
      Changed[At] = static_cast<char>(Changed[At] ^ (1 << Bit));
      ASSERT_NE(StampHashOf(Changed), Original) << "byte " << At << " bit " << Bit;
    }
  }
}

class FileStampTest : public ::testing::Test {
protected:
  void SetUp() override {
    std::string Template = (fs::temp_directory_path() / "tesvarin-stamp-XXXXXX").string();
    Dir = mkdtemp(Template.data());
    Path = Dir + "/a.txt";
    WriteFileBytes(Path, "first text\r\n");
  }
  void TearDown() override { fs::remove_all(Dir); }
  void SetModified(const std::string& P, const timespec& T) {
    const timespec Times[2] = {T, T};
    ASSERT_EQ(utimensat(AT_FDCWD, P.c_str(), Times, 0), 0);
  }
  std::string Dir, Path;
};

// A stamp matches the same untouched file only: new bytes of the same size and time, a touch, a
// file renamed into its place, or a read during which the file changed, all tell.
TEST_F(FileStampTest, OnlyTheUntouchedFileMatches) {
  std::string Bytes;
  const TFileStamp Loaded = ReadFileStamped(Path, Bytes);
  EXPECT_EQ(Bytes, "first text\r\n");
  ASSERT_TRUE(Loaded.Steady);
  EXPECT_TRUE(SameFileState(Loaded, *StampOfFile(Path)));
  EXPECT_TRUE(StatMatches(Path, Loaded));

  struct stat St {};
  ASSERT_EQ(stat(Path.c_str(), &St), 0);
  const int Fd = open(Path.c_str(), O_WRONLY);
  ASSERT_EQ(pwrite(Fd, "F", 1, 0), 1);  // same size, and the time put back below
  close(Fd);
  SetModified(Path, St.st_mtim);
  EXPECT_TRUE(StatMatches(Path, Loaded));  // the cheap look cannot see it ...
  EXPECT_FALSE(SameFileState(Loaded, *StampOfFile(Path)));  // ... the bytes do

  WriteFileBytes(Path, "first text\r\n");
  SetModified(Path, St.st_mtim);
  EXPECT_TRUE(SameFileState(Loaded, *StampOfFile(Path)));
  SetModified(Path, {St.st_mtim.tv_sec + 1, St.st_mtim.tv_nsec});
  EXPECT_FALSE(SameFileState(Loaded, *StampOfFile(Path)));
  EXPECT_FALSE(StatMatches(Path, Loaded));

  WriteFileBytes(Dir + "/b.txt", "first text\r\n");
  SetModified(Dir + "/b.txt", St.st_mtim);
  fs::rename(Dir + "/b.txt", Path);
  EXPECT_FALSE(SameFileState(Loaded, *StampOfFile(Path)));
  EXPECT_FALSE(StatMatches(Path, Loaded));
  fs::remove(Path);
  EXPECT_FALSE(StampOfFile(Path));
  EXPECT_FALSE(StatMatches(Path, Loaded));
}

TEST_F(FileStampTest, AChangeDuringTheReadMakesTheStampMatchNothing) {
  const int Fd = open(Path.c_str(), O_RDONLY);
  ASSERT_GE(Fd, 0);
  const TStampTaker Taker(Fd);
  const std::string Bytes = ReadFileBytes(Path);
  WriteFileBytes(Path, "first text\r\nand a line appended while it was read\r\n");
  const TFileStamp Torn = Taker.Finish(Fd, Bytes);
  close(Fd);
  EXPECT_FALSE(Torn.Steady);
  EXPECT_FALSE(SameFileState(Torn, Torn));
  // Bytes fewer than the file holds were no whole read either.
  const int Fd2 = open(Path.c_str(), O_RDONLY);
  const TStampTaker Taker2(Fd2);
  EXPECT_FALSE(Taker2.Finish(Fd2, Bytes).Steady);
  close(Fd2);
}

}  // namespace
}  // namespace tesvarin
