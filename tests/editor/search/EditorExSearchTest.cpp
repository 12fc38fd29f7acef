#include <gtest/gtest.h>

#include <string>

#include "editor/search/EditorExSearch.h"
#include "editor/text/EditorScreenStrings.h"
#include "regexp/REChars.h"
#include "support/Sjis.h"
#include "support/SjisCodec.h"

namespace tesvarin {
namespace {

using namespace std::string_literals;

const TExSearchOptions None{};
const TExSearchOptions Case{soMatchCase};
const TExSearchOptions Re{soRegexp};
const TExSearchOptions Fuzzy{soRegexp, soFuzzy};
const TExSearchOptions Word{soWholeWord};
const TExSearchOptions ReWord{soRegexp, soWholeWord};

TEST(EditorExSearch, DelimiterListsHoldTheirBytes) {
  const std::string_view Single = SingleByteDelimiters();
  EXPECT_EQ(Single.size(), 4u + 31u + 3u);
  EXPECT_EQ(Single.substr(0, 4), "\t\n\r "s);
  EXPECT_EQ(Single.substr(4, 31), "!\"#$%&'()=~^\\|{}[]`@;+:*,<.>/?_");
  EXPECT_EQ(Single.substr(35), "\xA4\xA1\xA5"s);
  const std::string_view Double = DoubleByteDelimiters();
  ASSERT_EQ(Double.size(), 92u * 2);
  EXPECT_EQ(Double.substr(0, 6), Utf8ToCp932("\u3000、。"));
  EXPECT_EQ(Double.substr(Double.size() - 2), Utf8ToCp932("▽"));
  std::string Expected;
  for (auto [Lo, Hi] : {std::pair{0x8140, 0x8151}, {0x815A, 0x817E}, {0x8180, 0x81A4}})
    for (int C = Lo; C <= Hi; ++C) Expected += {static_cast<char>(C >> 8), static_cast<char>(C & 0xFF)};
  EXPECT_EQ(Double, Expected);
}

struct KindCase {
  std::string Text;
  int Index;
  char Kind;
};

TEST(EditorExSearch, CharKindTable) {
  const KindCase Cases[] = {
      {"a", 0, '0'},          {"a", 2, '0'},           {"\0"s, 1, '0'},        {"\t", 1, '0'},
      {"\n", 1, '0'},         {"\r", 1, '0'},          {" ", 1, '0'},          {"!", 1, '0'},
      {"_", 1, '0'},          {"@", 1, '0'},           {"\\", 1, '0'},         {"a", 1, '1'},
      {"Z", 1, '1'},          {"7", 1, '1'},           {"-", 1, '1'},          {"\x01", 1, '1'},
      {"\x7F", 1, '1'},       {"\xB1", 1, '2'},        {"\xDF", 1, '2'},       {"\xA4", 1, '0'},
      {"\xA1", 1, '0'},       {"\xA5", 1, '0'},        {"\xA2", 1, '2'},       {"\x80", 1, '0'},
      {"\xA0", 1, '0'},       {"\xFD", 1, '0'},        {"\xFF", 1, '0'},       {"\x82\x4F", 1, '3'},
      {"\x82\x60", 2, '3'},   {"\x82\x9A", 1, '3'},    {"\x83\x40", 1, '4'},   {"\x83\x96", 2, '4'},
      {"\x83\x97", 1, '0'},   {"\x82\x9F", 1, '5'},    {"\x82\xF1", 2, '5'},   {"\x82\x9B", 1, '0'},
      {"\x8A\xBF", 1, '6'},   {"\x88\x9F", 2, '6'},    {"\xEA\xA4", 1, '6'},   {"\x88\x9E", 1, '0'},
      {"\x81\x40", 1, '0'},   {"\x81\x41", 2, '0'},    {"\x81\xA4", 1, '0'},   {"\x81\x52", 1, '0'},
      {"\x81\xA5", 1, '0'},   {"a\x83\x41", 3, '4'},   {"\x8A", 1, '6'},       {"\x82", 1, '0'},
  };
  for (const KindCase& C : Cases) {
    SCOPED_TRACE(testing::PrintToString(C.Text) + " at " + std::to_string(C.Index));
    EXPECT_EQ(CharKind(C.Text, C.Index), C.Kind);
  }
}

struct WordCase {
  std::string Text;
  int Pos, Len;
  bool Whole;
};

TEST(EditorExSearch, IsWholeWordAcrossScripts) {
  const std::string KanjiKana = Utf8ToCp932("漢字かな"), KanaKata = Utf8ToCp932("かなカナ");
  const WordCase Cases[] = {
      {"ab", 1, 2, true},
      {"ab-ab ab", 1, 2, false},
      {"ab-ab ab", 4, 2, false},
      {"ab-ab ab", 7, 2, true},
      {"abc", 2, 1, false},
      {"ab", 0, 2, false},
      {"ab", 3, 1, false},
      {KanjiKana, 5, 4, true},
      {KanjiKana, 1, 4, true},
      {KanjiKana, 1, 2, false},
      {KanaKata, 1, 4, true},
      {KanaKata, 5, 4, true},
      {Utf8ToCp932("かなか"), 1, 4, false},
      {Utf8ToCp932("ＡＢ漢"), 1, 4, true},
      {"x\xB1\xB2y", 2, 2, true},
      {"  ", 1, 1, false},
      {"a b", 2, 1, true},
      {"a  b", 2, 1, false},
  };
  for (const WordCase& C : Cases) {
    SCOPED_TRACE(testing::PrintToString(C.Text) + " at " + std::to_string(C.Pos));
    EXPECT_EQ(IsWholeWord(C.Text, C.Pos, C.Len), C.Whole);
  }
}

TEST(EditorExSearch, OptionReductionTable) {
  const std::pair<TExSearchOptions, TExSearchOptions> Cases[] = {
      {{soMatchCase, soRegexp, soFuzzy}, {soMatchCase}},
      {{soFuzzy}, {}},
      {{soRegexp, soFuzzy, soWholeWord}, {soRegexp, soFuzzy, soWholeWord}},
      {{soRegexp}, {soRegexp}},
      {{soMatchCase, soWholeWord}, {soMatchCase, soWholeWord}},
      {{soFuzzy, soWholeWord}, {soWholeWord}},
      {{soMatchCase, soRegexp, soFuzzy, soWholeWord}, {soMatchCase, soWholeWord}},
      {{}, {}},
  };
  for (const auto& [Given, Stored] : Cases) {
    TEditorExSearch S;
    S.SetExSearchOptions(Given);
    EXPECT_EQ(S.ExSearchOptions().Bits(), Stored.Bits()) << "given " << Given.Bits();
  }
}

TEST(EditorExSearch, OptionsSetOneAtATimeAreReducedEachStep) {
  TEditorExSearch S;
  S.SetExSearchOptions(S.ExSearchOptions() + TExSearchOptions{soRegexp});
  S.SetExSearchOptions(S.ExSearchOptions() + TExSearchOptions{soFuzzy});
  EXPECT_EQ(S.ExSearchOptions(), Fuzzy);
  S.SetExSearchOptions(S.ExSearchOptions() + TExSearchOptions{soMatchCase});
  EXPECT_EQ(S.ExSearchOptions(), Case);
  S.SetExSearchOptions(S.ExSearchOptions() - TExSearchOptions{soMatchCase} + TExSearchOptions{soFuzzy});
  EXPECT_EQ(S.ExSearchOptions(), None);  // fuzzy alone does not survive
}

TEST(EditorExSearch, ChangeIsReportedOnlyForRealChanges) {
  TEditorExSearch S;
  int Calls = 0;
  S.OnChange = [&] { ++Calls; };
  S.SetFindString("a");
  S.SetFindString("a");
  EXPECT_EQ(Calls, 1);
  S.SetExSearchOptions({soRegexp});
  S.SetExSearchOptions({soRegexp});
  EXPECT_EQ(Calls, 2);
  S.SetExSearchOptions({soRegexp, soFuzzy, soMatchCase});  // reduces to {soMatchCase}
  EXPECT_EQ(Calls, 3);
  S.SetExSearchOptions({soMatchCase, soRegexp});  // reduces to the stored set
  EXPECT_EQ(Calls, 3);
}

struct SearchCase {
  const char* Name;
  std::string Find;
  TExSearchOptions Options;
  std::string Text;
  int Pos, Len;
};

const SearchCase FirstCases[] = {
    {"folded", "ABC", None, "xabcx", 2, 3},
    {"case kept", "ABC", Case, "xabcx", 0, 0},
    {"folded find", "ab", None, "xaB", 2, 2},
    {"empty text", "abc", None, "", 0, 0},
    {"empty find", "", None, "abc", 0, 0},
    {"whole word past hyphens", "ab", Word, "ab-ab ab", 7, 2},
    {"whole word alone", "ab", Word, "ab", 1, 2},
    {"whole word none", "ab", Word, "abab", 0, 0},
    {"first of overlapping", "aa", None, "aaa", 1, 2},
    {"trail byte J", "J", Case, "\x8AJ", 0, 0},
    {"trail byte j folded", "j", None, "\x8AJ", 0, 0},
    {"trail byte never folded", "\x8Aj", None, "\x8AJ", 0, 0},
    {"after a katakana trail A", "A", None, "\x83\x41" "A", 3, 1},
    {"trail backslash", "\\", Case, "\x95\x5C", 0, 0},
    {"lone lead never splits", "\x83", Case, "\x83\x41", 0, 0},
    {"double byte", "\x82\xA0", None, "a\x82\xA0", 2, 2},
    {"past a NUL plain", "b", None, "a\0b"s, 3, 1},
    {"past a NUL regexp", "b", Re, "a\0b"s, 3, 1},
    {"a NUL ends what an expression sees", "a.b", Re, "a\0b"s, 0, 0},
    {"before NUL", "a", Re, "xa\0a"s, 2, 1},
    {"251-byte hit", ".*", Re, std::string(251, 'a'), 0, 0},
    {"250-byte hit", ".*", Re, std::string(250, 'a'), 1, 250},
    {"251-byte literal", std::string(251, 'a'), Case, std::string(251, 'a'), 0, 0},
    {"an empty match is no hit", "x*", Re, "b", 0, 0},
    {"the first match of a character or more", "x*", Re, "bxx", 2, 2},
    {"a line start stays at the start", "^a*", Re, "baa", 0, 0},
    {"a line end stays at the end", "a*$", Re, "baa", 2, 2},
    {"only an empty match before the end", "a*$", Re, "aab", 0, 0},
    {"regexp whole word retry", "a+", ReWord, "aab a", 5, 1},
    {"regexp alternation", "ab|abc", Re, "xabcx", 2, 3},
    {"regexp never on trail", "A", Re, "\x83\x41", 0, 0},
    {"fuzzy width", "abc", Fuzzy, "x\x82\x81\x82\x82\x82\x83", 2, 6},
};

TEST(EditorExSearch, StrSearchTable) {
  for (const SearchCase& C : FirstCases) {
    SCOPED_TRACE(C.Name);
    TEditorExSearch S;
    S.SetFindString(C.Find);
    S.SetExSearchOptions(C.Options);
    int Len = -1;
    EXPECT_EQ(S.StrSearch(C.Text, Len), C.Pos);
    EXPECT_EQ(Len, C.Len);
  }
}

const SearchCase LastCases[] = {
    {"non-overlapping", "aa", None, "aaa", 1, 2},
    {"last", "ab", None, "ab ab", 4, 2},
    {"folded", "AB", None, "ab xab", 5, 2},
    {"whole word cut", "ab", Word, "ab abc", 1, 2},
    {"whole word none", "ab", Word, "abab", 0, 0},
    {"whole word judged in whole text", "ab", Word, "ab abab", 1, 2},
    {"NUL", "b", None, "b\0b"s, 3, 1},
    {"before a NUL", "b", None, "b\0a"s, 1, 1},
    {"trail byte", "J", Case, "J\x8AJ", 1, 1},
    {"251-byte hit", ".*", Re, std::string(251, 'a'), 0, 0},
    {"empty matches are no hits", "x*", Re, "ab", 0, 0},
    {"no empty hit right after a hit", "a*", Re, "baa", 2, 2},
    {"regexp", "b+", Re, "abbab", 5, 1},
    {"none", "q", None, "abc", 0, 0},
};

TEST(EditorExSearch, StrSearchLastTable) {
  for (const SearchCase& C : LastCases) {
    SCOPED_TRACE(C.Name);
    TEditorExSearch S;
    S.SetFindString(C.Find);
    S.SetExSearchOptions(C.Options);
    int Len = -1;
    EXPECT_EQ(S.StrSearchLast(C.Text, Len), C.Pos);
    EXPECT_EQ(Len, C.Len);
  }
}

TEST(EditorExSearch, InvalidExpressionRaises) {
  TEditorExSearch S;
  S.SetFindString("a[b");
  S.SetExSearchOptions(Re);
  int Len = 0;
  EXPECT_THROW((void)S.StrSearch("ab", Len), ERegExpParser);
  EXPECT_THROW((void)S.StrSearchLast("ab", Len), ERegExpParser);
  TBigString Out;
  EXPECT_THROW((void)S.ReplaceAllText("ab\r\n", "", "x", true, Out), ERegExpParser);
}

TEST(EditorExSearch, CrLfEscape) {
  const std::pair<std::string, std::string> Cases[] = {
      {"x\\r\\ny", "x\r\ny"},
      {"\\R\\N", "\r\n"},
      {"\\r\\N\\R\\n", "\r\n\r\n"},
      {"\\r", "\\r"},
      {"\\n\\r", "\\n\\r"},
      {"\x95\\r\\n", "\x95\\r\\n"},  // the backslash is the trail byte of a kanji
      {"\x95\\\\r\\n", "\x95\\\r\n"},
  };
  for (const auto& [In, Out] : Cases) EXPECT_EQ(ExpandCrLfEscape(In), Out) << testing::PrintToString(In);
  EXPECT_EQ(FindCrLfEscape("ab\\r\\n"), 2u);
  EXPECT_EQ(FindCrLfEscape("\x95\\r\\n"), std::string_view::npos);
}

struct ReplaceCase {
  const char* Name;
  std::string Find;
  TExSearchOptions Options;
  std::string Text, Replacement;
  bool Expand;
  int Count;
  std::string Out;
  std::string Breaks = {};  // the file's break for each CR LF of Text; none: all CR LF
};

const std::string LfLf{static_cast<char>(lbLf), static_cast<char>(lbLf)};
const std::string LfCr{static_cast<char>(lbLf), static_cast<char>(lbCr)};
const std::string CrOnly{static_cast<char>(lbCr)};
const std::string LfOnly{static_cast<char>(lbLf)};

TEST(EditorExSearch, ReplaceAllTextTable) {
  const ReplaceCase Cases[] = {
      {"escape adds lines", "a", None, "bab\r\nca\r\n", "x\\r\\ny", true, 2, "bx\r\nyb\r\ncx\r\ny\r\n"},
      {"escape upper case", "a", None, "a\r\n", "\\R\\N", true, 1, "\r\n\r\n"},
      {"escape kept literal", "a", None, "a\r\n", "\\r\\n", false, 1, "\\r\\n\r\n"},
      {"whole text across a break", "a\\r\\nb", Re, "xa\r\nby\r\n", "-", true, 1, "x-y\r\n"},
      {"upper escape is whole text, literal R N", "a\\R\\Nb", Re, "aRNb", "-", true, 1, "-"},
      {"whole text no hit", "a\\r\\nb", Re, "ab\r\n", "-", true, 0, ""},
      {"plain escape is line mode", "a\\r\\nb", None, "a\\r\\nb", "-", true, 1, "-"},
      {"last line keeps having no break", "a", None, "a\r\nba", "c", true, 2, "c\r\nbc"},
      {"no hit leaves nothing", "z", None, "a\r\nb", "c", true, 0, ""},
      {"empty find", "", None, "a", "c", true, 0, ""},
      {"empty matches are no hits", "x*", Re, "ab", "-", true, 0, ""},
      {"empty matches on double byte", "x*", Re, "\x82\xA0", "-", true, 0, ""},
      {"only the longer match of a* counts", "a*", Re, "aab", "-", true, 1, "-b"},
      {"start anchor after a hit", "^a", Re, "aab", "-", true, 2, "--b"},
      {"whole word retries", "ab", Word, "abab ab", "x", true, 1, "abab x"},
      {"trail byte untouched", "A", None, "\x83\x41" "A", "b", true, 1, "\x83\x41" "b"},
      {"each line keeps its break", "a", None, "a\r\nb\r\na", "x", true, 2, "x\nb\rx", LfCr},
      {"an escaped break is the line's own", "a", None, "a\r\nza", "1\\r\\n2", true, 2, "1\n2\nz1\n2", LfOnly},
      {"whole text keeps the other breaks", "a\\r\\nb", Re, "xa\r\nby\r\nz", "-", true, 1, "x-y\rz", LfCr},
      {"whole text escape takes the hit's line break", "a\\r\\nb", Re, "a\r\nb", "1\\r\\n2", true, 1, "1\r2", CrOnly},
      {"a hit from inside an LF break", "y\\r\\n|\\nb", Re, "xa\r\nb\r\n", "-", true, 1, "xa-\n", LfLf},
      {"a hit from inside a CR LF break keeps its CR", "y\\r\\n|\\nb", Re, "xa\r\nb", "-", true, 1, "xa\r-"},
  };
  for (const ReplaceCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    TEditorExSearch S;
    S.SetFindString(C.Find);
    S.SetExSearchOptions(C.Options);
    TBigString Out = "stale";
    EXPECT_EQ(S.ReplaceAllText(C.Text, C.Breaks, C.Replacement, C.Expand, Out), C.Count);
    EXPECT_EQ(std::string_view(Out), C.Out);
  }
}

// A NUL is kept, and the hits after it are replaced too.
TEST(EditorExSearch, ReplaceInStringGoesOnPastNul) {
  TEditorExSearch S;
  S.SetFindString("a");
  std::string Out;
  EXPECT_EQ(S.ReplaceInString("a\0a"s, "b", Out), 2);
  EXPECT_EQ(Out, "b\0b"s);
  S.SetFindString("x*");
  S.SetExSearchOptions(Re);
  EXPECT_EQ(S.ReplaceInString("a\0a"s, "-", Out), 0);
  EXPECT_EQ(Out, "a\0a"s);
}

// Replacing keeps where the next NUL is as it steps through the text; it must replace what a fresh
// search of the rest of the text after each hit finds, NULs, empty hits and line anchors included.
TEST(EditorExSearch, ReplaceInStringAgreesWithASearchOfTheRestAfterEachHit) {
  const char* Pieces[] = {"ab", "a", "\x83\x5c", "b ", "x", "", "", "\r\n"};  // "" stands for a NUL
  uint32_t Seed = 11;
  auto Next = [&Seed] { return Seed = Seed * 1103515245u + 12345u, (Seed >> 16) & 0x7FFF; };
  const std::pair<const char*, TExSearchOptions> Finds[] = {
      {"a", {}},           {"ab", {soWholeWord}}, {"x*", {soRegexp}},   {"^a|b$", {soRegexp}},
      {"b?$", {soRegexp}}, {"^a?", {soRegexp}},   {"^b*$", {soRegexp}}, {"b\\r\\n", {soRegexp}}};
  for (const auto& [Find, Options] : Finds) {
    TEditorExSearch S;
    S.SetFindString(Find);
    S.SetExSearchOptions(Options);
    for (int Round = 0; Round < 300; ++Round) {
      std::string Text;
      for (int K = static_cast<int>(Next() % 20); K > 0; --K) {
        const char* Piece = Pieces[Next() % std::size(Pieces)];
        Text += *Piece == 0 ? std::string(1, '\0') : std::string(Piece);
      }
      // The search of the rest after each hit, as replacing once did it.
      std::string Expected;
      int ExpectedCount = 0;
      std::string_view T = Text;
      bool AfterHit = false;
      int Len = 0;
      for (int P = S.StrSearch(T, Len); P > 0; P = S.StrSearch(T, Len)) {
        const auto Pos = static_cast<size_t>(P - 1);
        const bool Skip = Len == 0 && Pos == 0 && AfterHit;
        AfterHit = Len > 0;
        Expected.append(T.substr(0, Pos));
        if (!Skip) {
          ++ExpectedCount;
          Expected += "-";
        }
        if (Len > 0) {
          T.remove_prefix(Pos + static_cast<size_t>(Len));
          continue;
        }
        if (Pos >= T.size()) {
          T.remove_prefix(Pos);
          break;
        }
        const size_t N = CharLength(T, Pos);
        Expected.append(T.substr(Pos, N));
        T.remove_prefix(Pos + N);
      }
      Expected.append(T);
      std::string Out;
      ASSERT_EQ(S.ReplaceInString(Text, "-", Out), ExpectedCount) << Find << " in " << Text;
      EXPECT_EQ(Out, Expected) << Find << " in " << Text;
    }
  }
}

TEST(EditorExSearch, ReplaceInLinesPutsBackOnlyChangedLines) {
  TEditorExSearch S;
  S.SetFindString("o");
  TStringList Lines;
  Lines.SetText("foo\r\nbar\r\nxo");
  int Changes = 0;
  Lines.OnChange = [&](TStringList&) { ++Changes; };
  EXPECT_EQ(S.ReplaceInLines(Lines, "0"), 3);
  EXPECT_EQ(Lines.Text(), "f00\r\nbar\r\nx0\r\n");
  EXPECT_EQ(Changes, 2);
}

}  // namespace
}  // namespace tesvarin

namespace tesvarin {
namespace {

// Line mode walks the text in place and skips lines without a candidate; it must give what
// replacing in each line on its own and writing back its break gives, for plain finds with and
// without case and for expressions with and without required literals.
TEST(EditorExSearch, LineModeReplaceMatchesTheStringListRoundTrip) {
  const char* Pieces[] = {"ab", "a", "\r\n", "\r", "\n", "\x83\x5c", "\x82\xa0", "aa", "b", "A", "x y", ""};  // the last stands for a NUL
  uint32_t Seed = 7;
  auto Next = [&Seed] { return Seed = Seed * 1103515245u + 12345u, (Seed >> 16) & 0x7FFF; };
  struct TFind {
    const char* Find;
    TExSearchOptions Options;
  };
  const TFind Finds[] = {{"a", {}},           {"aa", {}},          {"b", {}},
                         {"a", {soMatchCase}}, {"ab", {soMatchCase, soWholeWord}},
                         {"a+b", {soRegexp}},  {"^b|y$", {soRegexp}}, {"x?", {soRegexp}},
                         {"\x83\x5c", {soMatchCase}}};
  for (const TFind& F : Finds) {
    TEditorExSearch S;
    S.SetFindString(F.Find);
    S.SetExSearchOptions(F.Options);
    for (int Round = 0; Round < 300; ++Round) {
      std::string Text;
      for (int K = static_cast<int>(Next() % 16); K > 0; --K) {
        const size_t P = Next() % std::size(Pieces);
        Text += P + 1 == std::size(Pieces) ? std::string(1, '\0') : std::string(Pieces[P]);
      }
      int Expected = 0;
      std::string Joined, Breaks, Line;
      ForEachLine(Text, [&](std::string_view Piece, int Kind) {
        Expected += S.ReplaceInString(Piece, "-", Line);
        Joined += Line;
        if (Kind < 0) return;
        Joined += LineBreakBytes(LineBreakOfKind(Kind));
        Breaks += static_cast<char>(LineBreakOfKind(Kind));
      });
      TBigString Out;
      ASSERT_EQ(S.ReplaceAllText(Text, Breaks, "-", false, Out), Expected) << F.Find << " in " << Text;
      EXPECT_EQ(std::string_view(Out), Expected > 0 ? Joined : std::string()) << F.Find << " in " << Text;
    }
  }
}

}  // namespace
}  // namespace tesvarin

namespace tesvarin {
namespace {

// The viewer replaces in its text a piece of whole lines at a time, the CR LF between two pieces in
// neither, and copies runs of lines without a candidate in one go where their breaks are CR LF.
// Wherever the pieces are cut, and whatever the breaks, it must give the count, text and spots
// that replacing in the whole joined text gives.
TEST(EditorExSearch, ReplaceInPiecesGivesWhatTheWholeTextGives) {
  const char* Words[] = {"a", "ab", "b", "x y", "\x83\x5c", "\x82\xa0", "q", "qq", "zz", "A"};
  uint32_t Seed = 11;
  auto Next = [&Seed] { return Seed = Seed * 1103515245u + 12345u, (Seed >> 16) & 0x7FFF; };
  struct TFind {
    const char* Find;
    TExSearchOptions Options;
  };
  const TFind Finds[] = {{"a", {}}, {"ab", {soMatchCase, soWholeWord}}, {"\x83\x5c", {soMatchCase}},
                         {"a+b", {soRegexp}}, {"^b|y$", {soRegexp}}, {"a\\r\\nb", {soRegexp}}};
  const TLineBreak Kinds[] = {lbCrLf, lbCrLf, lbCrLf, lbCrLf, lbLf, lbCr};
  for (const TFind& F : Finds) {
    TEditorExSearch S;
    S.SetFindString(F.Find);
    S.SetExSearchOptions(F.Options);
    for (int Round = 0; Round < 200; ++Round) {
      // Mostly lines of filler that hold no candidate, so that runs of them come up.
      std::vector<std::string> Lines(Next() % 24);
      for (std::string& L : Lines) {
        for (int K = static_cast<int>(Next() % 4); K > 0; --K)
          L += Next() % 5 == 0 ? Words[Next() % std::size(Words)] : "qq";
      }
      std::string Breaks;
      const bool LastHasBreak = Next() % 2 == 0;
      for (size_t I = 0; I + (LastHasBreak ? 0 : 1) < Lines.size(); ++I)
        Breaks += static_cast<char>(Kinds[Next() % std::size(Kinds)]);
      std::string Whole;
      std::vector<std::string> Pieces(1);
      for (size_t I = 0; I < Lines.size(); ++I) {
        Whole += Lines[I];
        Pieces.back() += Lines[I];
        if (I >= Breaks.size()) continue;
        Whole += "\r\n";
        if (I + 1 < Lines.size() && Next() % 3 == 0)
          Pieces.emplace_back();
        else
          Pieces.back() += "\r\n";
      }
      const std::string Trace = std::string(F.Find) + " in " + Whole;
      TBigString Expected, Out;
      TReplaceSpots ExpectedSpots, Spots;
      const int Count = S.ReplaceAllText(Whole, Breaks, "1\\r\\n2", true, Expected, &ExpectedSpots);
      if (!S.IsWholeTextMode()) {
        // Line by line on its own: a break in the replacement is the line's, the last line's the one before.
        int LineCount = 0;
        std::string ByLine, Line;
        for (size_t I = 0; I < Lines.size(); ++I) {
          const TLineBreak B = I < Breaks.size() ? static_cast<TLineBreak>(Breaks[I])
                                                 : (Breaks.empty() ? lbCrLf : static_cast<TLineBreak>(Breaks.back()));
          const int N = S.ReplaceInString(Lines[I], "1" + std::string(LineBreakBytes(B)) + "2", Line);
          LineCount += N;
          ByLine += N > 0 ? Line : Lines[I];
          if (I < Breaks.size()) ByLine += LineBreakBytes(B);
        }
        ASSERT_EQ(Count, LineCount) << Trace;
        EXPECT_EQ(std::string_view(Expected), Count > 0 ? ByLine : std::string()) << Trace;
      }
      const TTextPieces Produce = [&Pieces](const TTextPieceSink& Take) {
        size_t Offset = 0;
        for (const std::string& P : Pieces) {
          Take(P, Offset);
          Offset += P.size() + 2;
        }
      };
      const auto Joined = [&Whole] { return TBigString(Whole); };
      ASSERT_EQ(S.ReplaceAllPieces(Produce, Joined, Whole.size(), Breaks, "1\\r\\n2", true, Out, &Spots), Count) << Trace;
      EXPECT_EQ(std::string_view(Out), std::string_view(Expected)) << Trace;
      ASSERT_EQ(Spots.size(), ExpectedSpots.size()) << Trace;
      for (size_t I = 0; I < Spots.size(); ++I) {
        EXPECT_EQ(Spots[I].Offset, ExpectedSpots[I].Offset) << Trace;
        EXPECT_EQ(Spots[I].OldLength, ExpectedSpots[I].OldLength) << Trace;
        EXPECT_EQ(Spots[I].New, ExpectedSpots[I].New) << Trace;
      }
    }
  }
}

}  // namespace
}  // namespace tesvarin
