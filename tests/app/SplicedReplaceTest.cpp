// The replace that splices against the editor's own replace-all: over generated files with every
// kind of break, NULs, Ctrl+Z, double-byte characters whose trail bytes look like ASCII, and blocks
// cut at every size, the hits and the bytes written must be the editor's exactly. Then the splicing
// save itself, on its own and through the window's batch.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <random>
#include <tuple>

#include "FormTestWindow.h"
#include "testsupport/TempFolder.h"
#include "app/FormEditorEx.h"
#include "app/SplicedReplace.h"
#include "editor/EditorEx.h"
#include "support/Exception.h"
#include "support/FileBytes.h"

namespace tesvarin {
namespace {

namespace fs = std::filesystem;
using test::Tree;

// Pieces a generated text is made of, the rarer ones repeated less.
const std::string Pieces[] = {
    "hit", "HIT", "Hit", "a", "b", " ", " ", "hitter", "\r\n", "\r\n", "\n", "\r", "\r\r\n", std::string(1, '\0'),
    "\x95\x5c",                    // a kanji whose trail byte is a backslash
    "\x83\x68\x83\x69\x83\x74",    // katakana whose trail bytes are the letters h, i, t
    "\x82\xa0", "\x82\xa2",        // hiragana
    "\xb1", "\xb2",                // half-width katakana
    "\x81\x40",                    // the full-width space, a delimiter
    "\x82\x88\x82\x89\x82\x94",    // full-width h i t
    "\x1a",                        // Ctrl+Z: the lines end at the first
};

std::string Generated(std::mt19937& Rng, size_t Count) {
  std::uniform_int_distribution<size_t> Pick(0, std::size(Pieces) - 1);
  std::string S;
  for (size_t I = 0; I < Count; ++I) {
    const std::string& P = Pieces[Pick(Rng)];
    // Ctrl+Z only now and then, so that most texts have lines to search after the first few.
    if (P == "\x1a" && Pick(Rng) % 4 != 0) continue;
    S += P;
  }
  return S;
}

struct TMode {
  std::string Find;
  TExSearchOptions Options;
};

const TMode Modes[] = {
    {"hit", {}},
    {"hit", {soMatchCase}},
    {"hit", {soWholeWord}},
    {"hit", {soMatchCase, soWholeWord}},
    {"\x95\x5c", {}},
    {"h.t", {soRegexp}},
    {"^a|b$", {soRegexp}},
    {"[\x82\xa0-\x82\xf1]+", {soRegexp}},
    {"\x82\xa0", {soRegexp, soFuzzy}},         // あ finds ア and ｱ too
    {"hit", {soRegexp, soFuzzy, soWholeWord}},
    {"t\\r\\n", {soRegexp}},                   // hits across lines: the text is seen whole
    {"a\\r\\nb", {soRegexp}},
};

const std::string Replacements[] = {"X", "", "\\r\\n", "\x95\x5c\x95\x5c long"};

using TSpotTuple = std::tuple<uint64_t, uint64_t, std::string>;

std::vector<TSpotTuple> Tuples(const TReplaceSpots& Spots) {
  std::vector<TSpotTuple> Out;
  for (const TReplaceSpot& S : Spots) Out.emplace_back(S.Offset, S.OldLength, S.New);
  return Out;
}

// What the batch wrote before it spliced: the file loaded as the editor's rows, replaced there.
struct TRowStoreResult {
  TReplaceSpots Spots;
  std::string Bytes;  // the plan applied over the file's bytes
  bool WellFormed = false;
};

TRowStoreResult ThroughRowStore(std::string_view File, const TMode& M, const std::string& R) {
  TEditorEx Ed(nullptr, TPlatform{});
  Ed.Lines().LoadFromBytes(File);
  TRowStoreResult Result;
  Result.WellFormed = Ed.Lines().WellFormed();
  EXPECT_EQ(Ed.Lines().FileBytes(), File);
  Ed.SetFindString(M.Find);
  Ed.SetExSearchOptions(M.Options);
  Ed.ReplaceAll(R, true, &Result.Spots);
  Result.Bytes = TReplacePlan(File, Result.Spots).Apply(File);
  // The plan over the old bytes gives what the editor itself now holds.
  EXPECT_EQ(Result.Bytes, Ed.Lines().FileBytes());
  return Result;
}

TEST(SplicedReplace, FindsTheEditorsHitsInEveryModeWhereverTheBlocksAreCut) {
  std::mt19937 Rng(20261209);
  std::vector<std::string> Files = {"", "hit", "hit\r\n", "a\r\nb", "hit\x1ahit", std::string("h\0it hit", 8),
                                    "\x95\x5chit\r\x83\x68it\n"};
  for (int I = 0; I < 40; ++I) Files.push_back(Generated(Rng, 5 + static_cast<size_t>(I) * 3));
  size_t Compared = 0;  // hits, so that a pass over nothing cannot pass
  for (const std::string& File : Files) {
    for (const TMode& M : Modes) {
      for (const std::string& R : Replacements) {
        const TRowStoreResult Want = ThroughRowStore(File, M, R);
        Compared += Want.Spots.size();
        TEditorExSearch Search;
        Search.SetFindString(M.Find);
        Search.SetExSearchOptions(M.Options);
        for (const size_t Block : {size_t{1}, size_t{2}, size_t{5}, size_t{16}, size_t{1} << 20}) {
          TReplaceSpots Spots;
          const int N = FindReplaceSpots(Search, File, R, true, Spots, Block);
          const auto Where = ::testing::Message() << "find " << M.Find << " replace " << R << " block " << Block
                                                  << " file " << ::testing::PrintToString(File);
          ASSERT_EQ(Tuples(Spots), Tuples(Want.Spots)) << Where;
          EXPECT_EQ(N, static_cast<int>(Spots.size())) << Where;
          EXPECT_EQ(TReplacePlan(File, Spots).Apply(File), Want.Bytes) << Where;
        }
      }
    }
    // The batch's check of the bytes is the editor's of its lines.
    EXPECT_EQ(IsWellFormedCp932(File), ThroughRowStore(File, Modes[0], "X").WellFormed)
        << ::testing::PrintToString(File);
  }
  EXPECT_GT(Compared, 1000u);
}

TEST(SplicedReplace, TellsBytesOutOfFormAsTheEditorDoes) {
  for (const std::string File : {"hit \x81\nnext\n", "hit \x81", "hit \xff\r\n", "hit \x81\x20\n", "\x81\x1a\x40",
                                 "ok\x1a\x81", "ok\x1a tail\x81\x40", "\x81\r\x40", "\x95\x5c\r\n"}) {
    EXPECT_EQ(IsWellFormedCp932(File), ThroughRowStore(File, Modes[0], "X").WellFormed) << ::testing::PrintToString(File);
  }
}

std::string Read(const std::string& Path) {
  std::string Bytes;
  (void)ReadFileStamped(Path, Bytes);
  return Bytes;
}

TEST(SplicedReplace, ASpliceSaveWritesTheFilesOwnBytesWithOnlyTheSplicesChanged) {
  test::TempFolder Dir;
  const std::string Path = Dir / "a.txt";
  const std::string Old = "one hit, two hit\r\nthree";
  WriteFileBytes(Path, Old);
  TSaveOptions O;
  O.Expected = StampOfFile(Path);
  const TByteSplices Splices = {{4, 3, "HIT!"}, {13, 3, ""}, {23, 0, " end"}};
  EXPECT_EQ(SplicedSize(Old.size(), Splices), Old.size() + 1 - 3 + 4);
  const TSaveResult Saved = SaveFileSpliced(Path, Splices, O);
  EXPECT_EQ(Read(Path), "one HIT!, two \r\nthree end");
  EXPECT_EQ(Saved.Stamp.Hash, StampOfFile(Path)->Hash);
  // A file with another name is rewritten in place, from a copy of its old bytes.
  fs::create_hard_link(Path, Dir / "b.txt");
  O.Expected = StampOfFile(Path);
  (void)SaveFileSpliced(Path, {{0, 3, "ONE and more"}}, O);
  EXPECT_EQ(Read(Dir / "b.txt"), "ONE and more HIT!, two \r\nthree end");
}

TEST(SplicedReplace, ASpliceSaveLeavesAFileThatChangedOrSplicesThatDoNotFit) {
  test::TempFolder Dir;
  const std::string Path = Dir / "a.txt";
  WriteFileBytes(Path, "hit hit");
  TSaveOptions O;
  O.Expected = StampOfFile(Path);
  WriteFileBytes(Path, "hit hit, longer now");
  EXPECT_THROW((void)SaveFileSpliced(Path, {{0, 3, "X"}}, O), EFileChangedOnDisk);
  EXPECT_EQ(Read(Path), "hit hit, longer now");
  O.Expected = StampOfFile(Path);
  EXPECT_THROW((void)SaveFileSpliced(Path, {{4, 3, "X"}, {0, 3, "Y"}}, O), EInOutError);
  EXPECT_THROW((void)SaveFileSpliced(Path, {{18, 3, "X"}}, O), EInOutError);
  EXPECT_THROW((void)SaveFileSpliced(Path, {{0, 3, "X"}}, TSaveOptions{}), EInOutError);
  EXPECT_EQ(Read(Path), "hit hit, longer now");
  EXPECT_EQ(fs::directory_iterator(Dir.Path)->path(), fs::path(Path));  // no temporary left
}

TEST(SplicedReplace, AMappedFileIsTheSameBytesAndStampAsOneRead) {
  test::TempFolder Dir;
  const std::string Path = Dir / "a.txt";
  std::mt19937 Rng(7);
  const std::string Bytes = Generated(Rng, 5000);
  WriteFileBytes(Path, Bytes);
  const TFileBytes Read(Path), Mapped(Path, 1);
  EXPECT_EQ(Read.Bytes(), Bytes);
  EXPECT_EQ(Mapped.Bytes(), Bytes);
  EXPECT_TRUE(SameFileState(Read.Stamp(), Mapped.Stamp()));
  WriteFileBytes(Path, "");
  EXPECT_EQ(TFileBytes(Path, 0).Bytes(), "");
  EXPECT_THROW(TFileBytes(Dir / "none.txt", 0), EInOutError);
}

// Another program may shorten a mapped file at any moment: what lies past its new end reads as
// zeros and the bytes say they are cut, while a bus error outside a guarded mapping still ends the
// process as before.
TEST(SplicedReplace, AMappedFileCutShortReadsAsZerosAndSaysSo) {
  test::TempFolder Dir;
  const std::string Path = Dir / "a.txt";
  WriteFileBytes(Path, std::string(16 * 4096, 'a'));
  const TFileBytes Mapped(Path, 1), Other(Path, 1);
  ASSERT_FALSE(Mapped.Cut());
  ASSERT_EQ(truncate(Path.c_str(), 4096), 0);
  const std::string_view Bytes = Mapped.Bytes();
  EXPECT_EQ(std::count(Bytes.begin(), Bytes.end(), 'a'), 4096);
  EXPECT_EQ(Bytes.back(), '\0');
  EXPECT_TRUE(Mapped.Cut());
  EXPECT_FALSE(Other.Cut());
  // Killed by the signal, or by a sanitizer's report of it.
  EXPECT_DEATH(
      {
        const int Fd = open(Path.c_str(), O_RDONLY);
        auto* P = static_cast<const volatile char*>(mmap(nullptr, 8 * 4096, PROT_READ, MAP_PRIVATE, Fd, 0));
        _exit(P[5 * 4096]);
      },
      "");
}

// The batch through the window on a file big enough to be mapped: the bytes written are the
// editor's replace-all applied, and an identity replace changes none.
struct TEditorOfWindow {
  TEditorEx Ed{nullptr, TPlatform{}};
  TFormEditorEx Adapter{Ed};
};
IFormEditor& FormEditorOf(TEditorOfWindow& E) { return E.Adapter; }

TEST(SplicedReplace, TheBatchReplacesInABigFileAsTheEditorWould) {
  std::mt19937 Rng(99);
  std::string Big;
  while (Big.size() < TFileBytes::DefaultMapFrom + 4096) Big += Generated(Rng, 4000);
  // Neither a Ctrl+Z, which ends the lines, nor a NUL, which makes the file binary to the search.
  std::erase_if(Big, [](char C) { return C == '\x1a' || C == '\0'; });
  Big += "\r\nlast hit";
  Tree Tr;
  Tr.Write("big.txt", Big);
  test::BasicWindow<TEditorOfWindow> W(Tr);
  W.C.ConfirmSave.SetChecked(false);
  W.C.MakeBackFile.SetChecked(false);
  W.C.CheckBox1.SetChecked(true);  // match case: HIT stays HIT
  W.Search(Tr.T(), "*.txt", "hit");
  ASSERT_EQ(W.C.FileList.Count(), 1);
  W.C.cReplaceWord.SetText("hit");
  W.P.Dialogs.Answers = {idYes};
  W.C.N4.Click();
  EXPECT_TRUE(Tr.Read("big.txt") == Big);
  W.C.CheckBox1.SetChecked(false);
  W.C.cReplaceWord.SetText("\xe7\x89\xa9");  // 物, two bytes in code page 932
  W.P.Dialogs.Answers = {idYes};
  W.C.N4.Click();
  const std::string Want = ThroughRowStore(Big, {"hit", {}}, "\x95\xa8").Bytes;
  EXPECT_TRUE(Tr.Read("big.txt") == Want);
  EXPECT_EQ(W.Form->SkippedCount(), 0);
}

}  // namespace
}  // namespace tesvarin
