#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "app/FileContentTest.h"
#include "editor/EditorEx.h"
#include "editor/search/EditorExSearch.h"
#include "regexp/REChars.h"
#include "support/StringList.h"

namespace tesvarin {
namespace {

void Loaded(TFileContentTest& E, const std::string& Bytes) {
  // One file per test and process: ctest runs tests in parallel, and other builds may run the same test.
  const std::string Name = std::string("tesvarin-fce-") + std::to_string(::getpid()) + "-" +
                           ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".txt";
  std::string Path = (std::filesystem::temp_directory_path() / Name).string();
  WriteFileBytes(Path, Bytes);
  E.LoadFromFile(Path);
  std::filesystem::remove(Path);
}

// The viewer's text of the same bytes: every line break CR LF.
std::string ViewerText(const std::string& Bytes) {
  TEditorEx Viewer(nullptr, TPlatform{});
  const std::string Path = (std::filesystem::temp_directory_path() /
                            ("tesvarin-fct-view-" + std::to_string(::getpid()) + ".txt")).string();
  WriteFileBytes(Path, Bytes);
  Viewer.Lines().LoadFromFile(Path);
  std::filesystem::remove(Path);
  return Viewer.Lines().Text();
}

// Hits are placed in the text as the viewer holds it: each break CR LF, nothing after a Ctrl+Z.
TEST(FileContentTest, HitsAtViewerOffsetsAndNothingAfterCtrlZ) {
  struct Case {
    std::string In;
    size_t At;  // npos: no hit
  } Cases[] = {{"a\nb\rc\r\nd#", 10}, {"x\x1a#", std::string::npos}, {"\r\r\n#", 4},
               {"a\r\r#\r", 5},     {"\n\n#", 4},                {"x\r\n\x1a\r\n#", std::string::npos},
               {"#", 0},              {"ab\r\ncd#", 6}};
  for (const Case& K : Cases) {
    SCOPED_TRACE(K.In);
    TFileContentTest E;
    Loaded(E, K.In);
    E.SetFindString("#");
    EXPECT_EQ(E.FindNext() ? E.SelStart() : std::string::npos, K.At);
  }
}

// The bytes after a Ctrl+Z hold no hit for any kind of search, though a search of the raw bytes
// sees them.
TEST(FileContentTest, NoKindOfSearchFindsAHitAfterCtrlZ) {
  for (TExSearchOption Option : {soMatchCase, soRegexp, soFuzzy, soWholeWord}) {
    SCOPED_TRACE(static_cast<int>(Option));
    TFileContentTest E;
    E.SetFindString("word");
    E.SetExSearchOptions(TExSearchOptions{Option});
    E.LoadBytes("a\r\nb\x1aword");
    EXPECT_FALSE(E.FindNext());
    E.LoadBytes("a word\x1aword");
    ASSERT_TRUE(E.FindNext());
    EXPECT_EQ(E.SelStart(), 2u);
    EXPECT_FALSE(E.FindNext());
  }
}

// The search run hands over the bytes it read; they are searched as a loaded file would be.
TEST(FileContentTest, BytesFromTheCallerAsFromTheFile) {
  TFileContentTest E;
  E.SetFindString("ab");
  const std::string Bytes = "x\nab\x1a ab";
  E.LoadBytes(Bytes);
  ASSERT_TRUE(E.FindNext());
  EXPECT_EQ(E.SelStart(), 3u);
  EXPECT_FALSE(E.FindNext());
  Loaded(E, "zz");
  EXPECT_FALSE(E.FindNext());  // the previous bytes are gone
  E.LoadBytes(Bytes);
  EXPECT_TRUE(E.FindNext());  // and the search starts at the top again
  E.Clear();
  EXPECT_FALSE(E.FindNext());
}

TEST(FileContentTest, FindRespectsDoubleByteAndCase) {
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
      {std::string("x\0ab", 4), "ab", false, true},  // a NUL hides nothing behind it
  };
  for (const Case& K : Cases) {
    SCOPED_TRACE(K.Text + "/" + K.Find);
    TFileContentTest E;
    Loaded(E, K.Text);
    E.SetFindString(K.Find);
    E.SetExSearchOptions(K.MatchCase ? TExSearchOptions{soMatchCase} : TExSearchOptions{});
    EXPECT_EQ(E.FindNext(), K.Found);
  }
}

TEST(FileContentTest, StepsDownWithoutWrapping) {
  TFileContentTest E;
  Loaded(E, "ab ab\nab");
  E.SetFindString("ab");
  size_t Starts[3] = {};
  for (size_t& S : Starts) {
    ASSERT_TRUE(E.FindNext());
    S = E.SelStart();
    EXPECT_EQ(E.SelLength(), 2u);
  }
  EXPECT_EQ(Starts[0], 0u);
  EXPECT_EQ(Starts[1], 3u);
  EXPECT_EQ(Starts[2], 7u);
  EXPECT_FALSE(E.FindNext());  // never wraps
  EXPECT_FALSE(E.FindNext());
}

// The test searches with the editor's own options, so regular expressions, fuzzy kana and whole
// words list the same files as the viewer would.
TEST(FileContentTest, EveryOptionGoesThroughTheEditorSearch) {
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
    TFileContentTest E;
    Loaded(E, K.Text);
    E.SetFindString(K.Find);
    E.SetExSearchOptions(K.Options);
    EXPECT_EQ(E.FindNext(), K.Found);
  }
}

TEST(FileContentTest, BadExpressionRaises) {
  TFileContentTest E;
  Loaded(E, "a\r\nb a\r\nc");
  E.SetExSearchOptions({soRegexp});
  E.SetFindString("(a");
  EXPECT_THROW(E.FindNext(), ERegExpParser);
}

// Hits the viewer finds stepping down: each line searched on from the end of its previous hit.
int ReferenceHits(const std::string& Text, const std::string& Find, TExSearchOptions Options) {
  TEditorExSearch Search;
  Search.SetFindString(Find);
  Search.SetExSearchOptions(Options);
  int Count = 0;
  for (std::string_view Rest = Text;;) {
    const size_t Cr = Rest.find("\r\n");
    std::string_view Line = Rest.substr(0, Cr);
    for (size_t From = 0; From <= Line.size();) {
      int Len = 0;
      const int P = Search.StrSearch(Line.substr(From), Len);
      if (P == 0) break;
      ++Count;
      From += static_cast<size_t>(P) - 1 + static_cast<size_t>(Len);
    }
    if (Cr == std::string_view::npos) return Count;
    Rest.remove_prefix(Cr + 2);
  }
}

// The skip over lines that cannot hold a hit must never change what stepping down finds: trail
// bytes that are ASCII letters, case variants and lone breaks are where a byte-wise scan could err.
TEST(FileContentTest, SkippingLinesFindsWhatTheLineSearchFinds) {
  const std::string Pieces[] = {"ab", "AB", "aB", "\x83" "a", "\x83" "ab", "\x8a" "J", "J", "x", "12", "b",
                                "\r\n", "\n", "\r", " ", "\x82\xa0", "zq7x", "ZQ7X", "a1b"};
  const std::pair<std::string, TExSearchOptions> Searches[] = {
      {"ab", {}}, {"AB", {soMatchCase}}, {"ab", {soWholeWord}}, {"J", {}}, {"J", {soMatchCase}},
      {"zq[0-9]+x", {soRegexp}}, {"a[0-9]b", {soRegexp}}, {"ab", {soRegexp, soFuzzy}}, {"b\r\na", {}}};
  uint32_t Seed = 12345;
  auto Next = [&Seed] { return (Seed = Seed * 1103515245u + 12345u) >> 16; };
  for (int Round = 0; Round < 150; ++Round) {
    std::string Text;
    for (uint32_t I = Next() % 40; I > 0; --I) Text += Pieces[Next() % std::size(Pieces)];
    TFileContentTest E;
    const std::string Normal = ViewerText(Text);
    for (const auto& [Find, Options] : Searches) {
      SCOPED_TRACE(Normal + " / " + Find);
      Loaded(E, Text);
      E.SetFindString(Find);
      E.SetExSearchOptions(Options);
      int Count = 0;
      while (E.FindNext()) ++Count;
      EXPECT_EQ(Count, ReferenceHits(Normal, Find, Options));
    }
  }
}

}  // namespace
}  // namespace tesvarin
