// Files with more than one name are rewritten in place; under a full disk or a bad write they keep
// every old byte, on every name, and the previous backup survives a copy that failed.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "FaultSeam.h"
#include "FormTestWindow.h"
#include "app/SafeSave.h"
#include "support/Exception.h"

namespace tesvarin {
namespace {

namespace fs = std::filesystem;
using test::Sample;
using test::TArmed;
using test::Temporaries;
using test::Tree;

const std::string Previous = "the previous backup\r\n";

struct TLinked {
  explicit TLinked(const Tree& Tr, const std::string& Old) : Tr(Tr) {
    std::error_code Ec;
    for (const char* Name : {"a.txt", "other.txt", "a.bak"}) fs::remove(Tr.T() + "/" + Name, Ec);
    Tr.Write("a.txt", Old);
    fs::create_hard_link(A(), Tr.T() + "/other.txt");
    Tr.Write("a.bak", Previous);
  }
  [[nodiscard]] std::string A() const { return Tr.T() + "/a.txt"; }
  [[nodiscard]] bool StillLinked() const { return fs::equivalent(A(), Tr.T() + "/other.txt"); }
  [[nodiscard]] size_t Entries() const {
    return static_cast<size_t>(std::distance(fs::directory_iterator(Tr.T()), fs::directory_iterator{}));
  }
  const Tree& Tr;
};

// ENOSPC at each write in turn (copying the old bytes, then writing the new ones in place): the
// file keeps its old bytes on both names, the backup is the previous one or a whole copy of the
// old bytes, and nothing else is left in the folder.
TEST(InPlaceSave, AFullDiskAtAnyWriteLeavesTheOldBytes) {
  Tree Tr;
  const std::string Old = Sample(150000);  // copied in three writes of 64 KiB
  const std::string New = "NEW " + Sample(300000);  // written in five
  for (bool Backup : {true, false}) {
    bool Finished = false;
    for (int At = 1; At < 30 && !Finished; ++At) {
      SCOPED_TRACE((Backup ? "with backup, write " : "without backup, write ") + std::to_string(At));
      TLinked F(Tr, Old);
      try {
        TArmed Armed({.WriteCap = 65536, .FailWriteAt = At});
        SaveFileSafely(F.A(), New, Backup);
        Finished = true;
      } catch (const EInOutError&) {
      }
      if (Finished) {
        EXPECT_EQ(Tr.Read("other.txt"), New);
        EXPECT_EQ(Tr.Read("a.bak"), Backup ? Old : Previous);
        continue;
      }
      EXPECT_TRUE(Tr.Read("a.txt") == Old);
      EXPECT_TRUE(F.StillLinked());
      const std::string Bak = Tr.Read("a.bak");
      EXPECT_TRUE(Bak == Previous || (Backup && Bak == Old));
      EXPECT_TRUE(Temporaries(Tr.T()).empty());
      EXPECT_EQ(F.Entries(), 3u);
    }
    EXPECT_TRUE(Finished);  // the failures covered every write
  }
}

// A disk that stays full from some write on cannot take the old bytes back either: then they are
// kept under a name the error gives, and nothing is lost.
TEST(InPlaceSave, ADiskThatStaysFullKeepsTheOldBytesUnderANamedCopy) {
  Tree Tr;
  const std::string Old = Sample(150000);
  const std::string New = "NEW " + Sample(300000);
  for (int From = 1; From <= 8; ++From) {
    SCOPED_TRACE("full from write " + std::to_string(From));
    TLinked F(Tr, Old);
    std::string Message;
    try {
      TArmed Armed({.WriteCap = 65536, .FailWritesFrom = From});
      SaveFileSafely(F.A(), New, false);
    } catch (const EInOutError& E) {
      Message = E.what();
    }
    ASSERT_FALSE(Message.empty());
    EXPECT_TRUE(Temporaries(Tr.T()).empty());
    if (Tr.Read("a.txt") == Old) continue;
    const std::string Before = "元の内容は ";
    const size_t At = Message.find(Before);
    ASSERT_NE(At, std::string::npos) << Message;
    const size_t From = At + Before.size();
    const std::string Kept = Message.substr(From, Message.find(" にあります") - From);
    EXPECT_TRUE(ReadFileBytes(Kept) == Old) << Kept;
  }
}

// Where the file system can say beforehand that the new bytes do not fit, the file is not touched
// and the previous backup stays.
TEST(InPlaceSave, NoRoomForTheNewBytesRefusesBeforeTouchingTheFile) {
  Tree Tr;
  TLinked F(Tr, "old\r\n");
  {
    TArmed Armed({.RefuseFallocate = true});
    EXPECT_THROW(SaveFileSafely(F.A(), "new and longer\r\n", true), EInOutError);
  }
  EXPECT_EQ(Tr.Read("other.txt"), "old\r\n");
  EXPECT_EQ(Tr.Read("a.bak"), Previous);
  EXPECT_TRUE(Temporaries(Tr.T()).empty());
}

// A write that put other bytes on the disk than it was given is found by reading back: in place the
// old bytes are put back; beside the file nothing is renamed and the backup is not touched.
TEST(VerifiedWrites, BytesThatReadBackWrongAreNeverKept) {
  Tree Tr;
  for (int At : {1, 2, 3}) {
    SCOPED_TRACE("corrupt write " + std::to_string(At));
    TLinked F(Tr, Sample(100000));
    {
      TArmed Armed({.WriteCap = 65536, .CorruptWriteAt = At});
      EXPECT_THROW(SaveFileSafely(F.A(), "NEW " + Sample(100000), false), EInOutError);
    }
    EXPECT_TRUE(Tr.Read("other.txt") == Sample(100000));
    EXPECT_TRUE(Temporaries(Tr.T()).empty());
  }
  Tr.Write("single.txt", "old");
  Tr.Write("single.bak", Previous);
  {
    TArmed Armed({.CorruptWriteAt = 1});
    try {
      SaveFileSafely(Tr.T() + "/single.txt", "new", true);
      ADD_FAILURE() << "a bad write was kept";
    } catch (const EInOutError& E) {
      EXPECT_NE(std::string(E.what()).find("single.txt"), std::string::npos);
    }
  }
  EXPECT_EQ(Tr.Read("single.txt"), "old");
  EXPECT_EQ(Tr.Read("single.bak"), Previous);
  EXPECT_TRUE(Temporaries(Tr.T()).empty());
}

}  // namespace
}  // namespace tesvarin
