// A backup, and the new file, are never more open than the file they come from, whichever way the
// save went: a link of the old file, a copy for a file with other names, a copy onto another file
// system; owner and group are kept where this user may set them.
#include <gtest/gtest.h>

#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>

#include "FaultSeam.h"
#include "FormTestWindow.h"
#include "app/SafeSave.h"
#include "support/Exception.h"

namespace tesvarin {
namespace {

namespace fs = std::filesystem;
using test::TArmed;
using test::Tree;

struct stat StatOf(const std::string& Path) {
  struct stat St {};
  EXPECT_EQ(stat(Path.c_str(), &St), 0) << Path;
  return St;
}

mode_t ModeOf(const std::string& Path) { return StatOf(Path).st_mode & 07777; }

// A folder on another file system than the tree, where the tmpfs of shared memory is one.
std::optional<std::string> OtherFileSystem(const Tree& Tr) {
  std::string Template = "/dev/shm/tesvarin-modes-XXXXXX";
  if (!fs::is_directory("/dev/shm") || mkdtemp(Template.data()) == nullptr) return std::nullopt;
  if (StatOf(Template).st_dev == StatOf(Tr.T()).st_dev) {
    fs::remove_all(Template);
    return std::nullopt;
  }
  return Template;
}

enum TPath { pLink, pInPlace, pOtherFileSystem };

// Makes the file a.txt reach its save by the given path; returns the name to save by.
std::string Prepare(const Tree& Tr, TPath Path, mode_t Mode, const std::string& Other) {
  std::error_code Ec;
  for (const char* Name : {"a.txt", "a.bak", "b.txt"}) fs::remove(Tr.T() + "/" + Name, Ec);
  if (Path == pOtherFileSystem) {
    WriteFileBytes(Other + "/real.txt", "old");
    EXPECT_EQ(chmod((Other + "/real.txt").c_str(), Mode), 0);
    fs::create_symlink(Other + "/real.txt", Tr.T() + "/a.txt");
    return Tr.T() + "/a.txt";
  }
  Tr.Write("a.txt", "old");
  EXPECT_EQ(chmod((Tr.T() + "/a.txt").c_str(), Mode), 0);
  if (Path == pInPlace) fs::create_hard_link(Tr.T() + "/a.txt", Tr.T() + "/b.txt");
  return Tr.T() + "/a.txt";
}

TEST(BackupModes, NeverWiderThanTheFileOnEveryPath) {
  Tree Tr;
  fs::create_directories(Tr.T());
  const std::optional<std::string> Other = OtherFileSystem(Tr);
  struct Case {
    mode_t File, Backup;
  } Cases[] = {{0600, 0600}, {0640, 0640}, {0620, 0620}, {0664, 0664}, {04755, 0755}, {0700, 0700}};
  for (TPath Path : {pLink, pInPlace, pOtherFileSystem}) {
    if (Path == pOtherFileSystem && !Other) continue;
    for (const Case& K : Cases) {
      SCOPED_TRACE("path " + std::to_string(Path) + " mode " + std::to_string(K.File));
      const std::string A = Prepare(Tr, Path, K.File, Other.value_or(""));
      SaveFileSafely(A, "new", true);
      EXPECT_EQ(Tr.Read("a.txt"), "new");
      EXPECT_EQ(Tr.Read("a.bak"), "old");
      // A hard link is the old file itself; a copy drops the set-ID bits.
      EXPECT_EQ(ModeOf(Tr.T() + "/a.bak"), Path == pLink ? K.File : K.Backup);
      EXPECT_EQ(ModeOf(A), K.File);
    }
  }
  if (Other) fs::remove_all(*Other);
  if (!Other) GTEST_SKIP() << "no second file system at /dev/shm: the copy onto another one was not tried";
}

// Every new file (the text, a copied backup) is asked to take the old owner and group, root or
// not. Where neither may be given (a user who is not root, a group not theirs), the group's rights
// go: the new files are never more open than the old one.
TEST(BackupModes, OwnerAndGroupAreKeptOrTheirRightsDropped) {
  Tree Tr;
  for (TPath Path : {pLink, pInPlace}) {
    SCOPED_TRACE("path " + std::to_string(Path));
    const std::string A = Prepare(Tr, Path, 0660, "");
    const struct stat Old = StatOf(A);
    {
      TArmed Armed({});
      SaveFileSafely(A, "new", true);
      ASSERT_FALSE(Faults.Chowns.empty());
      for (const auto& [Uid, Gid] : Faults.Chowns) {
        EXPECT_TRUE(Uid == Old.st_uid || Uid == static_cast<uid_t>(-1));
        EXPECT_EQ(Gid, Old.st_gid);
      }
    }
    EXPECT_EQ(ModeOf(A), 0660u);
    EXPECT_EQ(StatOf(A).st_gid, Old.st_gid);
  }
  // A group this process may not give: only root can make such a file here.
  if (geteuid() != 0) GTEST_SKIP() << "giving a file a group not one's own needs root";
  for (TPath Path : {pLink, pInPlace}) {
    SCOPED_TRACE("refused, path " + std::to_string(Path));
    const std::string A = Prepare(Tr, Path, 0664, "");
    ASSERT_EQ(chown(A.c_str(), 0, 65534), 0);
    ASSERT_EQ(chmod(A.c_str(), 0664), 0);
    {
      TArmed Armed({.RefuseChown = true});
      SaveFileSafely(A, "new", true);
    }
    if (Path == pLink) {
      EXPECT_EQ(ModeOf(A), 0644u);  // a new file: group 0 may not have what group 65534 had
      EXPECT_EQ(ModeOf(Tr.T() + "/a.bak"), 0664u);  // the old file itself
    } else {
      EXPECT_EQ(ModeOf(A), 0664u);  // rewritten in place: still the old file
      EXPECT_EQ(ModeOf(Tr.T() + "/a.bak"), 0644u);
    }
  }
}

// The same without the seam, in a process that really is not root: it cannot give the new file the
// old group, so that group's rights go.
TEST(BackupModes, AUserWhoIsNotRootCannotWidenAFile) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root to make a file of another user's with a foreign group";
  Tree Tr;
  fs::create_directories(Tr.T());
  ASSERT_EQ(chmod(Tr.Root.c_str(), 0755), 0);
  ASSERT_EQ(chown(Tr.T().c_str(), 65534, 65534), 0);
  Tr.Write("a.txt", "old");
  const std::string A = Tr.T() + "/a.txt";
  ASSERT_EQ(chown(A.c_str(), 65534, 0), 0);
  ASSERT_EQ(chmod(A.c_str(), 0660), 0);
  const pid_t Child = fork();
  ASSERT_GE(Child, 0);
  if (Child == 0) {
    if (setgroups(0, nullptr) != 0 || setgid(65534) != 0 || setuid(65534) != 0) _exit(4);
    try {
      SaveFileSafely(A, "new", true);
    } catch (const std::exception& E) {
      std::fprintf(stderr, "%s\n", E.what());
      _exit(3);
    }
    _exit(0);
  }
  int Status = 0;
  waitpid(Child, &Status, 0);
  ASSERT_TRUE(WIFEXITED(Status));
  ASSERT_EQ(WEXITSTATUS(Status), 0);
  EXPECT_EQ(Tr.Read("a.txt"), "new");
  EXPECT_EQ(StatOf(A).st_gid, 65534u);
  EXPECT_EQ(ModeOf(A), 0600u);
  EXPECT_EQ(ModeOf(Tr.T() + "/a.bak"), 0660u);  // the old file itself
}

}  // namespace
}  // namespace tesvarin
