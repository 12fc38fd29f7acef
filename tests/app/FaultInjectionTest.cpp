// Loading, searching and saving under failing system calls: this test program puts its own read,
// write, fsync, linkat, rename, fchown and fallocate in front of the C library's (FaultSeam.h), and
// arms them per test.
#include <gtest/gtest.h>

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <set>

#include "FakeFormEditor.h"
#include "FaultSeam.h"
#include "FormTestWindow.h"
#include "app/FileContentTest.h"
#include "app/FileSearch.h"
#include "app/FormEditorEx.h"
#include "app/SafeSave.h"
#include "support/Exception.h"
#include "support/StringList.h"

TFaults Faults;

namespace {

template <class F>
F Next(const char* Name) {
  return reinterpret_cast<F>(dlsym(RTLD_NEXT, Name));
}

void Step() {
  if (Faults.Armed && Faults.KillAtStep > 0 && ++Faults.Steps == Faults.KillAtStep) raise(SIGKILL);
}

}  // namespace

extern "C" ssize_t read(int Fd, void* Buf, size_t Count) {
  static auto Real = Next<ssize_t (*)(int, void*, size_t)>("read");
  if (Faults.Armed && Fd > 2) {
    if (Faults.InterruptNextRead) {
      Faults.InterruptNextRead = false;
      errno = EINTR;
      return -1;
    }
    if (Faults.ReadCap > 0 && Count > Faults.ReadCap) Count = Faults.ReadCap;
    const ssize_t Got = Real(Fd, Buf, Count);
    if (Got == 0 && Count > 0 && Faults.AtEndOfRead) Faults.AtEndOfRead(Fd);
    return Got;
  }
  return Real(Fd, Buf, Count);
}

extern "C" ssize_t write(int Fd, const void* Buf, size_t Count) {
  static auto Real = Next<ssize_t (*)(int, const void*, size_t)>("write");
  if (Faults.Armed && Fd > 2) {
    Step();
    const int N = ++Faults.Writes;
    if (N == Faults.FailWriteAt || (Faults.FailWritesFrom > 0 && N >= Faults.FailWritesFrom)) {
      errno = Faults.WriteError;
      return -1;
    }
    if (Faults.WriteCap > 0 && Count > Faults.WriteCap) Count = Faults.WriteCap;
    if (N == Faults.CorruptWriteAt && Count > 0) {
      std::string Other(static_cast<const char*>(Buf), Count);
      Other[0] = static_cast<char>(Other[0] ^ 0x20);
      return Real(Fd, Other.data(), Count);
    }
  }
  return Real(Fd, Buf, Count);
}

extern "C" int fsync(int Fd) {
  static auto Real = Next<int (*)(int)>("fsync");
  Step();
  return Real(Fd);
}

extern "C" int linkat(int OldDir, const char* Old, int NewDir, const char* New, int Flags) {
  static auto Real = Next<int (*)(int, const char*, int, const char*, int)>("linkat");
  Step();
  return Real(OldDir, Old, NewDir, New, Flags);
}

extern "C" int rename(const char* Old, const char* New) {
  static auto Real = Next<int (*)(const char*, const char*)>("rename");
  Step();
  if (Faults.Armed && Faults.FailRename) {
    errno = EIO;
    return -1;
  }
  return Real(Old, New);
}

extern "C" int fchown(int Fd, uid_t Owner, gid_t Group) {
  static auto Real = Next<int (*)(int, uid_t, gid_t)>("fchown");
  if (Faults.Armed) {
    Faults.Chowns.emplace_back(Owner, Group);
    if (Faults.RefuseChown) {
      errno = EPERM;
      return -1;
    }
  }
  return Real(Fd, Owner, Group);
}

extern "C" int fallocate(int Fd, int Mode, off_t Offset, off_t Length) {
  static auto Real = Next<int (*)(int, int, off_t, off_t)>("fallocate");
  if (Faults.Armed && Faults.RefuseFallocate) {
    errno = ENOSPC;
    return -1;
  }
  return Real(Fd, Mode, Offset, Length);
}

namespace tesvarin::test {

std::vector<std::string> Temporaries(const std::string& Folder) {
  std::vector<std::string> Found;
  for (const auto& E : std::filesystem::directory_iterator(Folder)) {
    const std::string Name = E.path().filename().string();
    if (Name.rfind(".tesvarin-save-", 0) == 0) Found.push_back(Name);
  }
  return Found;
}

std::string Sample(size_t Size) {
  std::string S;
  for (size_t I = 0; S.size() < Size; ++I) S += "line " + std::to_string(I) + "\r\n";
  S.resize(Size);
  return S;
}

std::string PathOfFd(int Fd) {
  std::error_code Ec;
  return std::filesystem::read_symlink("/proc/self/fd/" + std::to_string(Fd), Ec).string();
}

void AgeFile(const std::string& Path, long Seconds) {
  struct stat St {};
  ASSERT_EQ(lstat(Path.c_str(), &St), 0) << Path;
  const timespec Times[2] = {St.st_atim, {St.st_mtim.tv_sec - Seconds, St.st_mtim.tv_nsec}};
  ASSERT_EQ(utimensat(AT_FDCWD, Path.c_str(), Times, AT_SYMLINK_NOFOLLOW), 0) << Path;
}

}  // namespace tesvarin::test

namespace tesvarin {
namespace {

namespace fs = std::filesystem;
using test::Tree;
using test::TArmed;
using test::Temporaries;
using test::Sample;

// Every loader gets every byte when reads come short at any size, or are interrupted.
TEST(FaultInjection, ShortAndInterruptedReadsLoseNothing) {
  Tree Tr;
  const std::string Bytes = Sample(5000) + "needle";
  Tr.Write("a.txt", Bytes);
  const std::string Path = Tr.T() + "/a.txt";
  for (size_t Cap : {1u, 2u, 7u, 255u, 256u, 4096u, 4999u}) {
    SCOPED_TRACE(Cap);
    TArmed Armed({.ReadCap = Cap, .InterruptNextRead = true});
    std::string Buffer;
    EXPECT_EQ(Buffer.substr(0, ReadFileInto(Path, Buffer)), Bytes);
    Faults.InterruptNextRead = true;
    TFileContentTest Content;
    Content.SetFindString("needle");
    Content.LoadFromFile(Path);
    EXPECT_TRUE(Content.FindNext());
    Faults.InterruptNextRead = true;
    bool Abort = false;
    TFileSearch Walk(TSearchCriteria{}, Abort);
    std::string Seen;
    Walk.ContainsText = [&](const std::string&, std::string_view B) {
      Seen = B;
      return true;
    };
    Walk.CheckFile(Tr.T() + "/", "a.txt");
    EXPECT_EQ(Seen, Bytes);
    Faults.InterruptNextRead = true;
    TEditorEx Viewer(nullptr, TPlatform{});
    Viewer.Lines().LoadFromFile(Path);
    EXPECT_EQ(Viewer.Lines().FileBytes(), Bytes);
  }
}

// A write that fails at any point of a save, or a rename that fails, leaves the old file and no
// temporary.
TEST(FaultInjection, FailedWritesAndRenameLeaveTheOldFile) {
  Tree Tr;
  const std::string Old = Sample(3000);
  const std::string New = Sample(300000);  // five writes of 64 KiB
  for (int Error : {ENOSPC, EFBIG, EIO}) {
    for (int At = 1; At <= 5; ++At) {
      SCOPED_TRACE(std::to_string(Error) + " at write " + std::to_string(At));
      Tr.Write("a.txt", Old);
      {
        TArmed Armed({.WriteCap = 65536, .FailWriteAt = At, .WriteError = Error});
        EXPECT_THROW(SaveFileSafely(Tr.T() + "/a.txt", New, true), EInOutError);
      }
      EXPECT_TRUE(Tr.Read("a.txt") == Old);
      EXPECT_TRUE(Temporaries(Tr.T()).empty());
    }
  }
  {
    TArmed Armed({.FailRename = true});
    EXPECT_THROW(SaveFileSafely(Tr.T() + "/a.txt", New, false), EInOutError);
  }
  EXPECT_TRUE(Tr.Read("a.txt") == Old);
  EXPECT_TRUE(Temporaries(Tr.T()).empty());
}

// A save killed before any of its steps leaves the old or the new bytes, and any temporary it left
// is gone after the next save in that folder once it is an hour old.
TEST(FaultInjection, AKillAtEachSaveStepLeavesOldOrNew) {
  Tree Tr;
  const std::string Old = "old\r\n";
  const std::string New = Sample(200000);
  bool Finished = false;
  for (int Kill = 1; Kill < 40 && !Finished; ++Kill) {
    SCOPED_TRACE("kill at step " + std::to_string(Kill));
    const std::string Folder = Tr.T() + "/k" + std::to_string(Kill);
    fs::create_directories(Folder);
    WriteFileBytes(Folder + "/a.txt", Old);
    pid_t Child = fork();
    ASSERT_GE(Child, 0);
    if (Child == 0) {
      Faults = TFaults{.Armed = true, .KillAtStep = Kill};
      try {
        SaveFileSafely(Folder + "/a.txt", New, true);
      } catch (...) {
        _exit(3);
      }
      _exit(0);
    }
    int Status = 0;
    waitpid(Child, &Status, 0);
    Finished = WIFEXITED(Status);
    if (Finished) {
      EXPECT_EQ(WEXITSTATUS(Status), 0);
    }
    const std::string Now = ReadFileBytes(Folder + "/a.txt");
    EXPECT_TRUE(Now == Old || Now == New);
    if (fs::exists(Folder + "/a.bak")) {
      EXPECT_EQ(ReadFileBytes(Folder + "/a.bak"), Old);
    }
    for (const std::string& Name : Temporaries(Folder)) test::AgeFile(Folder + "/" + Name, 3600);
    WriteFileBytes(Folder + "/b.txt", "b");
    SaveFileSafely(Folder + "/b.txt", "b2", false);
    EXPECT_TRUE(Temporaries(Folder).empty());
  }
  EXPECT_TRUE(Finished);  // the kills covered every step of the save
}

// A file-size limit makes the save fail as an error, without the process being killed.
TEST(FaultInjection, TheFileSizeLimitIsAnError) {
  Tree Tr;
  Tr.Write("a.txt", "old");
  pid_t Child = fork();
  ASSERT_GE(Child, 0);
  if (Child == 0) {
    rlimit Limit{4096, 4096};
    setrlimit(RLIMIT_FSIZE, &Limit);
    try {
      SaveFileSafely(Tr.T() + "/a.txt", std::string(10000, 'x'), false);
    } catch (const EInOutError&) {
      _exit(3);
    }
    _exit(0);
  }
  int Status = 0;
  waitpid(Child, &Status, 0);
  ASSERT_TRUE(WIFEXITED(Status));
  EXPECT_EQ(WEXITSTATUS(Status), 3);
  EXPECT_EQ(Tr.Read("a.txt"), "old");
  EXPECT_TRUE(Temporaries(Tr.T()).empty());
}

// An identity replace through the window's editor writes every file back byte for byte: its own
// line breaks, NUL bytes and what follows a Ctrl+Z; a last line without a break gains one.
TEST(FaultInjection, IdentityReplaceKeepsEveryByte) {
  struct Case {
    std::string Name, Bytes;
  } Cases[] = {
      {"lf.txt", "a hit\nb\n"},
      {"cr.txt", "a hit\rb\r"},
      {"crlf.txt", "a hit\r\nb\r\n"},
      {"mixed.txt", "a hit\nb\r\nc\r"},
      {"nofinal.txt", "a\nhit"},
      {"nul.txt", std::string("x\0y hit\r\n", 9)},
      {"ctrlz.txt", "hit\r\n\x1a tail hit\n\x1a"},
  };
  Tree Tr;
  for (const Case& K : Cases) Tr.Write(K.Name, K.Bytes);
  TEditorEx Viewer(nullptr, TPlatform{});
  TFormEditorEx Editor(Viewer);
  TMainFormControls C;
  test::FakePlatform P;
  TFormEnvironment Env;
  Env.Persistent = false;
  TForm1 Form(C, P.Platform(), Editor, Env);
  Form.FormCreate();
  C.cFolderName.SetText(Tr.T());
  C.cFileName.SetText("*.txt");
  C.cFindWord.SetText("hit");
  C.cReplaceWord.SetText("hit");
  C.MakeBackFile.SetChecked(false);
  C.ConfirmSave.SetChecked(false);
  C.Button1.Click();
  ASSERT_EQ(C.FileList.Count(), static_cast<int>(std::size(Cases)));
  P.Dialogs.Answers = {idYes};
  C.N4.Click();
  EXPECT_EQ(Form.SkippedCount(), 0);
  for (const Case& K : Cases) EXPECT_EQ(Tr.Read(K.Name), K.Bytes) << K.Name;
}

// Two names of one file are replaced once; a read-only file is refused and the batch goes on.
TEST(FaultInjection, LinksAndReadOnlyFilesInABatch) {
  Tree Tr;
  Tr.Write("a.txt", "needle\r\n");
  Tr.Write("b.txt", "needle\r\n");
  Tr.Write("ro.txt", "needle\r\n");
  fs::create_symlink(Tr.T() + "/a.txt", Tr.T() + "/link.txt");
  fs::create_symlink(Tr.T() + "/a.txt", Tr.T() + "/link2.txt");
  fs::permissions(Tr.T() + "/ro.txt", fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  test::BasicWindow<test::FakeFormEditor> W(Tr);
  W.C.ConfirmSave.SetChecked(false);
  W.Search(Tr.T(), "*.txt", "needle");
  ASSERT_EQ(W.C.FileList.Count(), 5);
  W.C.cReplaceWord.SetText("needle-x");
  W.P.Dialogs.Answers = {idYes};
  W.C.N4.Click();
  EXPECT_EQ(Tr.Read("a.txt"), "needle-x\r\n");  // not needle-x-x
  EXPECT_EQ(Tr.Read("b.txt"), "needle-x\r\n");
  EXPECT_EQ(Tr.Read("ro.txt"), "needle\r\n");
  EXPECT_EQ(W.Form->SkippedCount(), 1);
  ASSERT_EQ(W.Form->SkippedItems().size(), 1u);
  EXPECT_NE(W.Form->SkippedItems()[0].find("ro.txt"), std::string::npos);
  EXPECT_NE(W.C.StatusBar1.PanelText(1).find("1 個のファイル・フォルダを処理できませんでした。"), std::string::npos);
}

// The new file keeps the old one's owner, group and extended attributes, as root and as anyone else;
// a hard-linked file is rewritten in place, so its other name sees the new text while the backup
// keeps the old.
TEST(FaultInjection, SavingKeepsOwnerAttributesAndHardLinks) {
  Tree Tr;
  Tr.Write("a.txt", "old");
  const std::string A = Tr.T() + "/a.txt";
  fs::create_hard_link(A, Tr.T() + "/other.txt");
  SaveFileSafely(A, "new", true);
  EXPECT_EQ(Tr.Read("other.txt"), "new");
  EXPECT_EQ(Tr.Read("a.bak"), "old");
  Tr.Write("x.txt", "old");
  const std::string X = Tr.T() + "/x.txt";
  const bool HasXattr = setxattr(X.c_str(), "user.tesvarin", "kept", 4, 0) == 0;
  // Root gives the file away; anyone else may still give it another group of theirs.
  if (geteuid() == 0) {
    ASSERT_EQ(chown(X.c_str(), 65534, 65534), 0);
  } else {
    std::vector<gid_t> Groups(static_cast<size_t>(std::max(getgroups(0, nullptr), 0)));
    Groups.resize(static_cast<size_t>(std::max(getgroups(static_cast<int>(Groups.size()), Groups.data()), 0)));
    for (gid_t G : Groups) {
      if (G != getegid()) (void)chown(X.c_str(), static_cast<uid_t>(-1), G);
    }
  }
  struct stat Before {};
  ASSERT_EQ(stat(X.c_str(), &Before), 0);
  {
    TArmed Armed({});
    SaveFileSafely(X, "new", false);
    // Asked for, root or not: the seam sees the request even where the system would refuse it.
    EXPECT_NE(std::find(Faults.Chowns.begin(), Faults.Chowns.end(), std::make_pair(Before.st_uid, Before.st_gid)),
              Faults.Chowns.end());
  }
  struct stat St {};
  ASSERT_EQ(stat(X.c_str(), &St), 0);
  EXPECT_EQ(St.st_uid, Before.st_uid);
  EXPECT_EQ(St.st_gid, Before.st_gid);
  if (HasXattr) {
    char Value[16] = {};
    EXPECT_EQ(getxattr(X.c_str(), "user.tesvarin", Value, sizeof Value), 4);
    EXPECT_EQ(std::string(Value), "kept");
  }
  if (!HasXattr) GTEST_SKIP() << "attributes checked only where user attributes can be set";
}

// A sparse file past 2 GiB is read whole: Linux hands out at most about 2 GiB per read.
TEST(FaultInjection, AFileOverTwoGibIsReadWhole) {
  if (std::getenv("TESVARIN_BIG_FILE_TESTS") == nullptr)
    GTEST_SKIP() << "set TESVARIN_BIG_FILE_TESTS=1 to read a sparse 2 GiB + 1 MiB file (2 GiB of memory, seconds)";
  constexpr off_t Size = (off_t{2} << 30) + (1 << 20);
  const long Pages = sysconf(_SC_PHYS_PAGES), PageSize = sysconf(_SC_PAGESIZE);
  if (Pages * PageSize < (off_t{12} << 30)) GTEST_SKIP() << "needs 12 GiB of memory";
  Tree Tr;
  const std::string Path = Tr.T() + "/big.txt";
  Tr.Write("big.txt", "start\r\n");
  const int Fd = open(Path.c_str(), O_WRONLY);
  ASSERT_GE(Fd, 0);
  const bool Sparse = ftruncate(Fd, Size - 6) == 0 && pwrite(Fd, "needle", 6, Size - 6) == 6;
  close(Fd);
  struct stat St {};
  if (!Sparse || stat(Path.c_str(), &St) != 0 || St.st_blocks * 512 > (off_t{64} << 20))
    GTEST_SKIP() << "this file system cannot hold a sparse file";
  std::string Buffer;
  const size_t Got = ReadFileInto(Path, Buffer);
  EXPECT_EQ(Got, static_cast<size_t>(Size));
  EXPECT_EQ(Buffer.substr(Got - 6, 6), "needle");
  EXPECT_EQ(Buffer.substr(0, 5), "start");
}

}  // namespace
}  // namespace tesvarin
