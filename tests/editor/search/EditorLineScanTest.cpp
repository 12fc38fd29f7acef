// The line scan that searches loaded text a block at a time: which lines it hands out, and FindNext
// over loaded, edited and wrapped texts against a search of every line on its own.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "editor/FakeEditorWindow.h"
#include "editor/EditorEx.h"
#include "editor/search/EditorLineScan.h"
#include "support/ByteSearch.h"

namespace tesvarin {
namespace {

class EditorLineScanTest : public ::testing::Test {
protected:
  FakeEditorWindow Window;
  TEditorEx Editor{&Window, TPlatform{}};

  // The first rows of the lines the scan hands out for Needle, from the top.
  std::vector<int> HandedOut(const std::string& Needle) {
    TEditorLineScan Scan(Editor.ListRows(), 0,
                         [&](std::string_view Hay, size_t From) { return FindBytes(Hay, Needle, From); });
    std::vector<int> Rows;
    int Row = 0;
    std::string_view Text;
    while (Scan.Next(Row, Text)) {
      EXPECT_EQ(Text, Editor.GetLineText(Row)) << "row " << Row;
      Rows.push_back(Row);
    }
    return Rows;
  }
};

std::string NumberedLines(int Count, const std::vector<int>& WithNeedle) {
  std::string Text;
  for (int I = 0; I < Count; ++I) {
    Text += "line " + std::to_string(I);
    if (std::find(WithNeedle.begin(), WithNeedle.end(), I) != WithNeedle.end()) Text += " needle";
    Text += I % 3 == 0 ? "\n" : "\r\n";
  }
  return Text;
}

TEST_F(EditorLineScanTest, OnlyLinesHoldingTheLiteralAreHandedOut) {
  Editor.Lines().SetLinesText(NumberedLines(1000, {3, 500, 999}));
  EXPECT_EQ(HandedOut("needle"), (std::vector<int>{3, 500, 999}));
  EXPECT_EQ(HandedOut("absent"), std::vector<int>{});
}

TEST_F(EditorLineScanTest, EditedRowsAreTestedOnTheirOwnAndTheRestStillInPlace) {
  Editor.Lines().SetLinesText(NumberedLines(1000, {3, 500, 999}));
  Editor.Lines().Put(10, "edited needle");
  Editor.Lines().Put(20, "edited");
  Editor.Lines().Delete(30);
  Editor.Lines().Insert(40, "inserted needle");
  EXPECT_EQ(HandedOut("needle"), (std::vector<int>{3, 10, 40, 500, 999}));
}

TEST_F(EditorLineScanTest, AHitAcrossTheRowsOfAWrappedLineIsFound) {
  Editor.SetWordWrap(true);
  Editor.WrapOption().SetWrapByte(10);
  Editor.Lines().SetLinesText("short\r\n0123456needle789012345\r\nshort needle");
  ASSERT_EQ(Editor.ListRows().RowAttribute(1), raWrapped);
  const int Last = Editor.ListRows().LineStartRow(Editor.RowCount() - 1);
  EXPECT_EQ(HandedOut("needle"), (std::vector<int>{1, Last}));
}

// Every hit of every line, found line by line with the editor's own string search, as offsets in
// the editor's text (CR LF breaks).
std::vector<std::pair<int64_t, int64_t>> HitsLineByLine(const std::string& Text, TEditorExSearch& Search) {
  std::vector<std::pair<int64_t, int64_t>> Hits;
  size_t LineStart = 0;
  while (LineStart <= Text.size()) {
    size_t End = Text.find("\r\n", LineStart);
    if (End == std::string::npos) End = Text.size();
    const std::string_view Line = std::string_view(Text).substr(LineStart, End - LineStart);
    size_t Offset = 0;
    for (int Len = 0, P = Search.StrSearch(Line, Len); P > 0; P = Search.StrSearch(Line.substr(Offset), Len)) {
      Hits.emplace_back(static_cast<int64_t>(LineStart + Offset) + P - 1, Len);
      Offset += static_cast<size_t>(P - 1 + Len);
    }
    LineStart = End + 2;
  }
  return Hits;
}

std::string RandomText(std::mt19937& Rng, int Lines) {
  static const char* const Pieces[] = {"ab", "a", "b", "x", "\x83\x41", "\x82\x61", "A", " ", "B", "_"};
  static const char* const Breaks[] = {"\r\n", "\r", "\n"};
  std::string Text;
  for (int L = 0; L < Lines; ++L) {
    const int Count = static_cast<int>(Rng() % 12);
    for (int I = 0; I < Count; ++I) Text += Rng() % 40 == 0 ? std::string(1, '\0') : Pieces[Rng() % 10];
    if (L + 1 < Lines || Rng() % 2 == 0) Text += Breaks[Rng() % 3];
  }
  return Text;
}

TEST_F(EditorLineScanTest, FindNextAgreesWithASearchOfEachLine) {
  struct TCase {
    const char* Find;
    TExSearchOptions Options;
  };
  const TCase Cases[] = {{"ab", {soMatchCase}},       {"AB", {}},         {"\x83\x41", {}},
                         {"ab", {soWholeWord}},       {"a+b", {soRegexp}}, {"b[ab]", {soRegexp}},
                         {"x|ab", {soRegexp}},        {"A", {soMatchCase}}, {"\x41\x82", {soMatchCase}}};
  std::mt19937 Rng(23);
  for (int Round = 0; Round < 150; ++Round) {
    const bool Wrap = Round % 3 == 1;
    Editor.SetWordWrap(Wrap);
    if (Wrap) Editor.WrapOption().SetWrapByte(6 + static_cast<int>(Rng() % 10));
    Editor.Lines().SetLinesText(RandomText(Rng, 1 + static_cast<int>(Rng() % 60)));
    // Some edits, so that lines in place and lines of their own follow each other.
    const int Edits = Round % 2 == 0 ? 0 : static_cast<int>(Rng() % 6);
    for (int E = 0; E < Edits && Editor.Lines().Count() > 1; ++E) {
      const int At = static_cast<int>(Rng() % static_cast<unsigned>(Editor.Lines().Count()));
      std::string Line = RandomText(Rng, 1);
      while (!Line.empty() && (Line.back() == '\r' || Line.back() == '\n')) Line.pop_back();
      switch (Rng() % 3) {
        case 0: Editor.Lines().Put(At, Line); break;
        case 1: Editor.Lines().Insert(At, Line); break;
        default: Editor.Lines().Delete(At); break;
      }
    }
    const std::string Text = Editor.Lines().Text();
    for (const TCase& C : Cases) {
      Editor.SetFindString(C.Find);
      Editor.SetExSearchOptions(C.Options);
      TEditorExSearch Search;
      Search.SetFindString(C.Find);
      Search.SetExSearchOptions(C.Options);
      std::vector<std::pair<int64_t, int64_t>> Walked;
      Editor.SetSelStart(0);
      while (Editor.FindNext() && Walked.size() < 2000) Walked.emplace_back(Editor.GetSelStart(), Editor.GetSelLength());
      ASSERT_EQ(Walked, HitsLineByLine(Text, Search)) << "round " << Round << " find " << C.Find;
    }
  }
}

// A caret moved after a hit is where the next search starts, not the hit.
TEST_F(EditorLineScanTest, FindNextStartsAtACaretMovedAfterAHit) {
  Editor.Lines().SetLinesText("ab ab ab\r\nab");
  Editor.SetFindString("ab");
  Editor.SetExSearchOptions({soMatchCase});
  ASSERT_TRUE(Editor.FindNext());
  EXPECT_EQ(Editor.GetSelStart(), 0);
  Editor.SetSelStart(5);
  ASSERT_TRUE(Editor.FindNext());
  EXPECT_EQ(Editor.GetSelStart(), 6);
  Editor.SetSelStart(0);
  ASSERT_TRUE(Editor.FindNext());
  EXPECT_EQ(Editor.GetSelStart(), 0);
}

// Past the caret's last column the caret cannot show a hit's place, yet stepping goes on to the
// next hit rather than finding the same one again.
TEST_F(EditorLineScanTest, StepsOnPastHitsBeyondTheLastCaretColumn) {
  std::string Line(1500, 'x');
  for (size_t At : {1100u, 1200u, 1300u}) Line.replace(At, 2, "ab");
  Editor.Lines().SetLinesText(Line + "\r\nab");
  Editor.SetFindString("ab");
  Editor.SetExSearchOptions({soMatchCase});
  int Hits = 0;
  while (Editor.FindNext() && Hits < 10) ++Hits;
  EXPECT_EQ(Hits, 4);
}

}  // namespace
}  // namespace tesvarin
