#include <gtest/gtest.h>

#include <filesystem>

#include "FileContentEditor.h"
#include "support/StringList.h"

namespace tesvarin {
namespace {

std::string Loaded(cli::TFileContentEditor& E, const std::string& Bytes) {
  std::string Path = (std::filesystem::temp_directory_path() / "tesvarin-fce.txt").string();
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
  EXPECT_FALSE(E.FindNext());  // never wraps
  EXPECT_TRUE(E.FindPrev());
  EXPECT_TRUE(E.FindPrev());
  EXPECT_FALSE(E.FindPrev());
  EXPECT_EQ(E.ReplaceAll("X\\R\\ny", true), 3);
  EXPECT_EQ(E.SaveText(), "X\r\ny X\r\ny\r\nX\r\ny");
  EXPECT_EQ(E.ReplaceAll("z", false), 0);
}

}  // namespace
}  // namespace tesvarin
