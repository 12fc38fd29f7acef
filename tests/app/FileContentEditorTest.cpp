#include <gtest/gtest.h>

#include <filesystem>

#include "FileContentEditor.h"
#include "regexp/REChars.h"
#include "support/StringList.h"

namespace tesvarin {
namespace {

std::string Loaded(cli::TFileContentEditor& E, const std::string& Bytes) {
  // One file per test: ctest runs the tests of this file in parallel processes.
  const std::string Name =
      std::string("tesvarin-fce-") + ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".txt";
  std::string Path = (std::filesystem::temp_directory_path() / Name).string();
  WriteFileBytes(Path, Bytes);
  E.LoadFromFile(Path);
  std::filesystem::remove(Path);
  return E.SaveText();
}

TEST(FileContentEditor, LoadNormalisesBreaksAndStopsAtCtrlZ) {
  struct Case {
    std::string In, Text;
  } Cases[] = {{"a\nb\rc\r\nd", "a\r\nb\r\nc\r\nd"}, {"x\x1ay", "x"}, {"", ""}, {"\r\r\n", "\r\n\r\n"}};
  for (const Case& K : Cases) {
    cli::TFileContentEditor E;
    EXPECT_EQ(Loaded(E, K.In), K.Text);
  }
}

TEST(FileContentEditor, FindRespectsDoubleByteAndCase) {
  struct Case {
    std::string Text, Find;
    bool MatchCase, Found;
  } Cases[] = {
      {"\x8aJ", "J", false, false},             // J is a trail byte here
      {"\x8aJ J", "J", false, true},
      {"ABC", "abc", false, true},
      {"ABC", "abc", true, false},
      {"\x82\x60", "\x82\x81", false, false},   // full-width letters are not folded
      {"a\r\nb", "a\r\nb", false, false},       // no hit across a line break
      {"abc", "", false, false},
  };
  for (const Case& K : Cases) {
    SCOPED_TRACE(K.Text + "/" + K.Find);
    cli::TFileContentEditor E;
    Loaded(E, K.Text);
    E.SetFindString(K.Find);
    E.SetExSearchOptions(K.MatchCase ? TExSearchOptions{soMatchCase} : TExSearchOptions{});
    EXPECT_EQ(E.FindNext(), K.Found);
  }
}

TEST(FileContentEditor, StepsDownUpAndReplaces) {
  cli::TFileContentEditor E;
  Loaded(E, "ab ab\nab");
  E.SetFindString("ab");
  EXPECT_TRUE(E.FindNext());
  EXPECT_TRUE(E.FindNext());
  EXPECT_TRUE(E.FindNext());
  EXPECT_FALSE(E.FindNext());  // never wraps; the caret stays after the last hit
  EXPECT_TRUE(E.FindPrev());   // so the last hit is found again going up
  EXPECT_TRUE(E.FindPrev());
  EXPECT_TRUE(E.FindPrev());
  EXPECT_FALSE(E.FindPrev());
  EXPECT_EQ(E.ReplaceAll("X\\R\\ny", true), 3);
  EXPECT_EQ(E.SaveText(), "X\r\ny X\r\ny\r\nX\r\ny\r\n");  // line mode ends every line
  EXPECT_EQ(E.ReplaceAll("z", false), 0);
}

// The command line searches with the editor's own options, so regular expressions, fuzzy kana and
// whole words list the same files as the viewer would.
TEST(FileContentEditor, EveryOptionGoesThroughTheEditorSearch) {
  struct Case {
    std::string Text, Find;
    TExSearchOptions Options;
    bool Found;
  } Cases[] = {
      {"xx\r\nab12", "^ab[0-9]+$", {soRegexp}, true},
      {"xab12", "^ab[0-9]+$", {soRegexp}, false},
      {"\x83\x4a\x83\x69", "\x82\xa9\x82\xc8", {soRegexp, soFuzzy}, true},  // katakana found by hiragana
      {"\x83\x4a\x83\x69", "\x82\xa9\x82\xc8", {soRegexp}, false},
      {"ab-ab ab", "ab", {soWholeWord}, true},
      {"ab-ab", "ab", {soWholeWord}, false},
  };
  for (const Case& K : Cases) {
    SCOPED_TRACE(K.Text + "/" + K.Find);
    cli::TFileContentEditor E;
    Loaded(E, K.Text);
    E.SetFindString(K.Find);
    E.SetExSearchOptions(K.Options);
    EXPECT_EQ(E.FindNext(), K.Found);
  }
}

TEST(FileContentEditor, RegexpReplaceAcrossLinesAndBadExpression) {
  cli::TFileContentEditor E;
  Loaded(E, "a\r\nb a\r\nc");
  E.SetFindString("a\\r\\nb");
  E.SetExSearchOptions({soRegexp});
  EXPECT_EQ(E.ReplaceAll("X", true), 1);
  EXPECT_EQ(E.SaveText(), "X a\r\nc");  // whole-text mode keeps the missing final break
  E.SetFindString("(a");
  EXPECT_THROW(E.FindNext(), ERegExpParser);
}

}  // namespace
}  // namespace tesvarin
