#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <ctime>
#include <filesystem>
#include <map>

#include "app/FilePattern.h"
#include "app/FileSystem.h"
#include "app/History.h"
#include "app/IniFile.h"
#include "app/IniPath.h"
#include "app/ResultRow.h"
#include "app/SafeSave.h"
#include "support/Exception.h"

namespace tesvarin {
namespace {

namespace fs = std::filesystem;

class TempDir {
public:
  TempDir() {
    std::string Template = (fs::temp_directory_path() / "tesvarin-test-XXXXXX").string();
    Path = mkdtemp(Template.data());
  }
  ~TempDir() {
    std::error_code Ec;
    fs::permissions(Path, fs::perms::owner_all, fs::perm_options::add, Ec);
    fs::remove_all(Path, Ec);
  }
  [[nodiscard]] std::string operator/(const std::string& Name) const { return Path + "/" + Name; }
  std::string Path;
};

TEST(IniFile, SectionsKeysAndNumberForms) {
  TIniFile Ini = TIniFile::FromText(
      "[Font]\r\nName=IPAGothic\r\nsize = 12\r\n[Editor]\nWrapByte=0x40\nLineMargin=$A\nShowRuler=0\n"
      "StyleB=1\nBad=12a\nBackColor=0x80000005\n");
  EXPECT_EQ(Ini.ReadString("font", "NAME", "x"), "IPAGothic");
  EXPECT_EQ(Ini.ReadInteger("Font", "size", 9), 12);
  EXPECT_EQ(Ini.ReadInteger("Editor", "WrapByte", 80), 64);
  EXPECT_EQ(Ini.ReadInteger("Editor", "LineMargin", 1), 10);
  EXPECT_FALSE(Ini.ReadBool("Editor", "ShowRuler", true));
  EXPECT_TRUE(Ini.ReadBool("Editor", "StyleB", false));
  EXPECT_EQ(Ini.ReadInteger("Editor", "Bad", 7), 7);
  EXPECT_EQ(Ini.ReadInteger("Editor", "Missing", 5), 5);
  EXPECT_EQ(static_cast<int32_t>(static_cast<uint32_t>(Ini.ReadInteger("Editor", "BackColor", 0))),
            static_cast<int32_t>(0x80000005u));
  EXPECT_EQ(Ini.ReadInteger("Font", "WrapByte", 3), 3);  // keys belong to their section
}

TEST(IniFile, MissingFileReadsAsDefaults) {
  TIniFile Ini("/nonexistent/Vimbre.ini");
  EXPECT_EQ(Ini.ReadInteger("Editor", "WrapByte", 80), 80);
  EXPECT_EQ(ParseIniInteger("-3"), -3);
  EXPECT_EQ(ParseIniInteger(""), std::nullopt);
  EXPECT_EQ(ParseIniInteger("0x"), std::nullopt);
}

TEST(IniPath, ProgramFolderWinsThenAppDataIsCreated) {
  TempDir Program;
  TempDir AppData;
  std::string Created = GetIniFolder(Program.Path, AppData.Path);
  EXPECT_EQ(Created, AppData / "Bramwhirl/Vimbre/");
  EXPECT_TRUE(fs::is_directory(Created));
  WriteFileBytes(Program / IniFileName, "[Font]\n");
  EXPECT_EQ(GetIniFolder(Program.Path, AppData.Path), Program.Path + "/");
  EXPECT_EQ(GetIniFolder(Program.Path + "/", std::nullopt), Program.Path + "/");
}

TEST(History, MostRecentlyUsedRule) {
  TStringList L;
  UpdateHistory(L, "a");
  UpdateHistory(L, "b");
  UpdateHistory(L, "a");
  EXPECT_EQ(L.Items(), (std::vector<std::string>{"a", "b"}));
  UpdateHistory(L, "");
  EXPECT_EQ(L[0], "");
  UpdateHistory(L, "A");  // exact bytes: a different entry
  EXPECT_EQ(L.Count(), 4);
  for (int I = 0; I < 150; ++I) UpdateHistory(L, std::to_string(I));
  EXPECT_EQ(L.Count(), HistoryMax);
  EXPECT_EQ(L[0], "149");
}

TEST(History, FileWithEmptyLinesAndMoreThanAHundredEntries) {
  TempDir Dir;
  std::string Text;
  for (int I = 0; I < 120; ++I) Text += (I == 5 ? std::string() : "w" + std::to_string(I)) + "\r\n";
  WriteFileBytes(Dir / "FindWord.dat", Text);
  TStringList L;
  LoadHistory(L, Dir / "FindWord.dat");
  EXPECT_EQ(L.Count(), HistoryMax);  // the entries a history keeps; the rest is never read
  EXPECT_EQ(HistoryItems(L).size(), 99u);
  EXPECT_EQ(L[99], "w99");
  UpdateHistory(L, "new");
  L.SaveToFile(Dir / "FindWord.dat");
  TStringList Back;
  LoadHistory(Back, Dir / "FindWord.dat");
  EXPECT_EQ(Back.Count(), HistoryMax);
  EXPECT_EQ(Back[0], "new");
  LoadHistory(Back, Dir / "missing.dat");
  EXPECT_TRUE(Back.Empty());
}

TEST(FilePattern, WildcardsAndBareNames) {
  struct Row {
    const char* Pattern;
    const char* Name;
    bool Match;
  };
  const Row Rows[] = {
      {"*.*", "README", true},         {"*.*", "a.txt", true},        {"*.txt", "memo.TXT", true},
      {"*.txt", "memo.txt.bak", false}, {"m?mo.txt", "memo.txt", true}, {"m?mo.txt", "mmo.txt", false},
      {"*memo*", "my memo", true},      {"*memo*", "MEMO", true},       {"*a;b*", "xa;by", true},
      {"*a;b*", "a", false},            {"?.txt", "あ.txt", true},      {"*", "", true},
      {"a*b*c", "aXbYbZc", true},       {"a*b*c", "aXbYbZ", false},
  };
  for (const Row& R : Rows) {
    SCOPED_TRACE(std::string(R.Pattern) + " ~ " + R.Name);
    EXPECT_EQ(MatchesFilePattern(R.Pattern, R.Name), R.Match);
  }
  EXPECT_EQ(NormalizeFilePattern("memo"), "*memo*");
  EXPECT_EQ(NormalizeFilePattern("a;b"), "*a;b*");
  EXPECT_EQ(NormalizeFilePattern("*.txt"), "*.txt");
  EXPECT_EQ(NormalizeFilePattern("a?"), "a?");
}

TEST(ResultRow, SizesTimesAndAttributes) {
  EXPECT_EQ(FormatKilobytes(0), "0KB");
  EXPECT_EQ(FormatKilobytes(1024), "1KB");
  EXPECT_EQ(FormatKilobytes(1025), "2KB");
  EXPECT_EQ(FormatKilobytes(5ull << 30), "5242880KB");
  struct tm Tm {};
  Tm.tm_year = 2024 - 1900;
  Tm.tm_mon = 2;
  Tm.tm_mday = 1;
  Tm.tm_hour = 13;
  Tm.tm_min = 5;
  Tm.tm_sec = 7;
  Tm.tm_isdst = -1;
  int64_t T = mktime(&Tm);
  EXPECT_EQ(FormatWriteTime(T), "2024/03/01 13:05:06");
  EXPECT_EQ(FormatCreationTime(T), "2024/03/01 13:05:07");
  Tm = {};
  Tm.tm_year = 80;
  Tm.tm_mon = 0;
  Tm.tm_mday = 1;
  Tm.tm_hour = 12;
  Tm.tm_isdst = -1;
  EXPECT_EQ(FormatCreationTime(mktime(&Tm)), "");
  Tm.tm_mday = 2;
  Tm.tm_hour = 0;
  EXPECT_EQ(FormatCreationTime(mktime(&Tm)), "1980/01/02 00:00:00");
  EXPECT_EQ(FormatCreationTime(std::nullopt), "");
  EXPECT_EQ(AttributeLetters(true, true), "RH");
  EXPECT_EQ(AttributeLetters(false, true), "H");
  EXPECT_EQ(AttributeLetters(false, false), "");
  EXPECT_TRUE(IsHiddenName(".profile"));
  EXPECT_FALSE(IsHiddenName("."));
  EXPECT_FALSE(IsHiddenName(".."));
  EXPECT_FALSE(IsHiddenName("a.b"));
}

TEST(NonTextTest, ExtensionsAndProbe) {
  struct Row {
    const char* Name;
    bool NonText;
  };
  const Row Rows[] = {{"a.XL", true},  {"a.xls", false}, {"a.txt", false}, {"a", false},       {"a.d", true},
                      {"a.ex", true},  {"a.x", true},    {"a.~txt", true}, {"a.b.ZIP", true}, {"a.zip.txt", false},
                      {"a.~", true},   {"a.exe", true},  {"a.", true}};
  for (const Row& R : Rows) EXPECT_EQ(HasNonTextExtension(R.Name), R.NonText) << R.Name;
  EXPECT_FALSE(IsBinaryProbe(std::string("ab\0c\0d", 6)));
  EXPECT_TRUE(IsBinaryProbe(std::string("ab\0c\0d\0", 7)));
  EXPECT_FALSE(IsBinaryProbe("a\tb\r\nc\f\v\r\n\r\n"));
  EXPECT_TRUE(IsBinaryProbe("\x1A\xFF\x7F"));
  EXPECT_FALSE(IsBinaryProbe(""));
  std::string Late(255, 'a');
  Late += std::string(3, '\0');
  EXPECT_FALSE(IsBinaryProbe(Late));  // only the first 255 bytes count
}

TEST(FileSystem, EntriesKindsAndLinks) {
  TempDir Dir;
  WriteFileBytes(Dir / "a.txt", "x");
  fs::create_directory(Dir / "sub");
  fs::create_symlink(Dir / "sub", Dir / "link");
  fs::create_symlink(Dir / "nowhere", Dir / "dangling");
  ASSERT_EQ(mkfifo((Dir / "fifo").c_str(), 0600), 0);
  std::map<std::string, TEntryKind> Kinds;
  for (const TDirEntry& E : ReadFolder(Dir.Path)) Kinds[E.Name] = E.Kind;
  EXPECT_EQ(Kinds.size(), 5u);
  EXPECT_EQ(Kinds["a.txt"], ekRegular);
  EXPECT_EQ(Kinds["sub"], ekDirectory);
  EXPECT_EQ(Kinds["link"], ekDirectory);
  EXPECT_EQ(Kinds["dangling"], ekOther);
  EXPECT_EQ(Kinds["fifo"], ekOther);
  EXPECT_EQ(FileIdOf(Dir / "link"), FileIdOf(Dir / "sub"));
  EXPECT_TRUE(ReadFolder(Dir / "missing").empty());
  EXPECT_TRUE(FileExists(Dir / "a.txt"));
  EXPECT_FALSE(FileExists(Dir / "sub"));
  EXPECT_FALSE(FileExists(Dir / "fifo"));
  EXPECT_TRUE(DirectoryExists(Dir / "link"));
  auto Info = GetFileInfo(Dir / "a.txt");
  ASSERT_TRUE(Info);
  EXPECT_EQ(Info->Size, 1u);
  EXPECT_TRUE(Info->Regular);
  EXPECT_EQ(ReadFilePrefix(Dir / "a.txt", 255), "x");
  EXPECT_THROW((void)ReadFilePrefix(Dir / "missing", 255), EInOutError);
}

TEST(SafeSave, BackupNames) {
  EXPECT_EQ(BackupName("/d/memo.txt"), "/d/memo.bak");
  EXPECT_EQ(BackupName("/d/memo.htm"), "/d/memo.bak");
  EXPECT_EQ(BackupName("/d/memo"), "/d/memo.bak");
  EXPECT_EQ(BackupName("/d.x/memo"), "/d.x/memo.bak");
  EXPECT_EQ(BackupName("/d/a.b.c"), "/d/a.b.bak");
}

TEST(SafeSave, WritesWithBackupAndKeepsPermissions) {
  TempDir Dir;
  std::string Path = Dir / "memo.txt";
  WriteFileBytes(Path, "one");
  chmod(Path.c_str(), 0640);
  SaveFileSafely(Path, "two", true);
  EXPECT_EQ(ReadFileBytes(Path), "two");
  EXPECT_EQ(ReadFileBytes(Dir / "memo.bak"), "one");
  SaveFileSafely(Path, "three", true);
  EXPECT_EQ(ReadFileBytes(Dir / "memo.bak"), "two");
  struct stat St {};
  stat(Path.c_str(), &St);
  EXPECT_EQ(St.st_mode & 0777, 0640u);
  SaveFileSafely(Dir / "old.bak", "x", true);  // the backup would be the file itself
  EXPECT_EQ(ReadFileBytes(Dir / "old.bak"), "x");
  SaveFileSafely(Dir / "plain.txt", "new", false);
  EXPECT_FALSE(fs::exists(Dir / "plain.bak"));
  for (const auto& E : fs::directory_iterator(Dir.Path)) {
    EXPECT_EQ(E.path().filename().string().rfind(".tesvarin-save", 0), std::string::npos);
  }
}

TEST(SafeSave, ASymbolicLinkKeepsPointingToItsTarget) {
  TempDir Dir;
  fs::create_directory(Dir / "real");
  WriteFileBytes(Dir / "real/data.txt", "old");
  fs::create_symlink(Dir / "real/data.txt", Dir / "link.txt");
  SaveFileSafely(Dir / "link.txt", "new", true);
  EXPECT_TRUE(fs::is_symlink(Dir / "link.txt"));
  EXPECT_EQ(ReadFileBytes(Dir / "real/data.txt"), "new");
  EXPECT_EQ(ReadFileBytes(Dir / "link.bak"), "old");
}

TEST(SafeSave, AReadOnlyFolderLeavesTheOriginal) {
  if (geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
  TempDir Dir;
  std::string Path = Dir / "memo.txt";
  WriteFileBytes(Path, "keep");
  chmod(Dir.Path.c_str(), 0500);
  EXPECT_THROW(SaveFileSafely(Path, "lost?", true), EInOutError);
  chmod(Dir.Path.c_str(), 0700);
  EXPECT_EQ(ReadFileBytes(Path), "keep");
}

TEST(SafeSave, AFullDiskLeavesTheOriginal) {
  TempDir Dir;
  std::string Path = Dir / "memo.txt";
  WriteFileBytes(Path, "keep");
  struct rlimit Old {};
  getrlimit(RLIMIT_FSIZE, &Old);
  auto OldHandler = std::signal(SIGXFSZ, SIG_IGN);
  struct rlimit Small = Old;
  Small.rlim_cur = 16;
  setrlimit(RLIMIT_FSIZE, &Small);
  bool Threw = false;
  try {
    SaveFileSafely(Path, std::string(4096, 'x'), true);
  } catch (const EInOutError&) {
    Threw = true;
  }
  setrlimit(RLIMIT_FSIZE, &Old);
  std::signal(SIGXFSZ, OldHandler);
  EXPECT_TRUE(Threw);
  EXPECT_EQ(ReadFileBytes(Path), "keep");
  for (const auto& E : fs::directory_iterator(Dir.Path)) {
    EXPECT_EQ(E.path().filename().string().rfind(".tesvarin-save", 0), std::string::npos);
  }
}

}  // namespace
}  // namespace tesvarin
