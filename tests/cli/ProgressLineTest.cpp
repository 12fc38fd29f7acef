#include "ProgressLine.h"

#include <gtest/gtest.h>

#include <sstream>

namespace tesvarin::cli {
namespace {

using namespace std::chrono_literals;
using TClock = TProgressLine::TClock;

TEST(ProgressLineTest, FormatFitsTheTerminalAndKeepsTheEndOfTheFolder) {
  struct TCase {
    int Columns;
    const char* Folder;
    const char* Expected;
  };
  const TCase Cases[] = {
      {80, "/home/u/src/", "12 looked at, 3 listed: /home/u/src/"},
      {37, "/home/u/src/", "12 looked at, 3 listed: /home/u/src/"},  // exactly Columns - 1
      {36, "/home/u/src/", "12 looked at, 3 listed: ...e/u/src/"},
      {30, "/home/u/src/", "12 looked at, 3 listed: ...c/"},
      {29, "/home/u/src/", "12 looked at, 3 listed: .../"},
      {28, "/home/u/src/", "12 looked at, 3 listed"},  // no room for a useful tail
      {10, "/home/u/src/", "12 looked"},
      {1, "/home/u/src/", ""},
      {80, "", "12 looked at, 3 listed"},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Columns);
    std::string Line = TProgressLine::Format(12, 3, C.Folder, C.Columns);
    EXPECT_EQ(Line, C.Expected);
    EXPECT_LT(TProgressLine::DisplayWidth(Line), std::max(C.Columns, 1));
  }
}

TEST(ProgressLineTest, WideCharactersCountTwoColumnsAndAreNeverCut) {
  EXPECT_EQ(TProgressLine::DisplayWidth("日本語/"), 7);
  EXPECT_EQ(TProgressLine::DisplayWidth("ｶﾅ"), 2);  // half-width katakana
  EXPECT_EQ(TProgressLine::DisplayWidth("e\xcc\x81"), 1);  // e and a combining accent
  // 23 columns of head and separator and 3 of ellipsis leave 7 for the tail at 34 columns.
  std::string Line = TProgressLine::Format(1, 2, "/日本本本語/", 34);
  EXPECT_EQ(Line, "1 looked at, 2 listed: ...本本語/");
  EXPECT_EQ(TProgressLine::DisplayWidth(Line), 33);
  // One column short of a wide character: it is left out, not split.
  EXPECT_EQ(TProgressLine::Format(1, 2, "/日本本本語/", 33), "1 looked at, 2 listed: ...本語/");
  // A combining mark does not start the tail without its base character.
  EXPECT_EQ(TProgressLine::Format(1, 2, "/xyza\xcc\x81/", 28), "1 looked at, 2 listed: .../");
  EXPECT_EQ(TProgressLine::Format(1, 2, "/xyza\xcc\x81/", 29), "1 looked at, 2 listed: ...a\xcc\x81/");
}

TEST(ProgressLineTest, ControlCharactersAndBrokenBytesShowAsQuestionMarks) {
  // A line break or an escape in a folder name would break the line or drive the terminal.
  EXPECT_EQ(TProgressLine::Format(0, 0, "/a\nb\x1b[2J/", 80), "0 looked at, 0 listed: /a?b?[2J/");
  // Shift-JIS bytes in a name are not UTF-8: each one is a "?" of one column.
  EXPECT_EQ(TProgressLine::Format(0, 0, "/\x82\xa0g/", 80), "0 looked at, 0 listed: /??g/");
  EXPECT_EQ(TProgressLine::Format(0, 0, "/\xe6\x97g/", 80), "0 looked at, 0 listed: /??g/");  // cut sequence
  EXPECT_EQ(TProgressLine::Format(0, 0, "/\xc0\xafg/", 80), "0 looked at, 0 listed: /??g/");  // overlong "/"
  EXPECT_EQ(TProgressLine::Format(0, 0, "/\xed\xa0\x80g/", 80), "0 looked at, 0 listed: /???g/");  // surrogate
  EXPECT_EQ(TProgressLine::Format(0, 0, "/\xc2\x9b/", 80), "0 looked at, 0 listed: /?/");  // C1 control
}

TEST(ProgressLineTest, QuickRunsPrintNothingAndLongRunsRedrawInPlace) {
  std::ostringstream Out;
  int Columns = 60;
  TClock::time_point T0{};
  TProgressLine Line(Out, [&] { return Columns; }, T0);
  Line.EnterFolder("/data/", T0);
  for (int I = 0; I < 100; ++I) Line.FileLooked(I / 10, T0 + 1ms * I);
  EXPECT_EQ(Out.str(), "");
  Line.Clear();
  EXPECT_EQ(Out.str(), "");  // nothing was shown, nothing to wipe

  Line.FileLooked(10, T0 + TProgressLine::FirstDelay);
  EXPECT_EQ(Out.str(), "\r101 looked at, 10 listed: /data/");
  Line.EnterFolder("/data/long/", T0 + TProgressLine::FirstDelay + 1ms);  // too soon after the last
  EXPECT_EQ(Out.str(), "\r101 looked at, 10 listed: /data/");
  Out.str("");
  Line.EnterFolder("/d/", T0 + TProgressLine::FirstDelay + TProgressLine::Interval);
  // The shorter line blanks what is left of the longer one.
  EXPECT_EQ(Out.str(), "\r101 looked at, 10 listed: /d/   ");
  Out.str("");
  Line.Clear();
  EXPECT_EQ(Out.str(), "\r" + std::string(29, ' ') + "\r");
}

TEST(ProgressLineTest, PaddingStopsAtTheEdgeOfAShrunkTerminal) {
  std::ostringstream Out;
  int Columns = 80;
  TClock::time_point T0{};
  TProgressLine Line(Out, [&] { return Columns; }, T0 - TProgressLine::FirstDelay);
  Line.EnterFolder("/a/very/long/folder/name/that/fills/the/line/", T0);
  Columns = 30;
  Out.str("");
  Line.FileLooked(0, T0 + TProgressLine::Interval);
  EXPECT_EQ(Out.str(), "\r1 looked at, 0 listed: ...ne/");
}

struct TRecordingDialogs : IDialogs {
  TMsgResult MessageBox(std::string_view Text, std::string_view, TMsgButtons) override {
    Shown += std::string(Text);
    return idOK;
  }
  size_t Ask(const TQuestion& Question) override {
    Shown += Question.Text;
    return Question.Escape;
  }
  std::string Shown;
};

TEST(ProgressLineTest, AMessageWipesTheLineFirst) {
  std::ostringstream Out;
  TClock::time_point T0{};
  TProgressLine Line(Out, [] { return 40; }, T0 - TProgressLine::FirstDelay);
  Line.EnterFolder("/x/", T0);
  TRecordingDialogs Inner;
  TProgressDialogs Dialogs(Inner, &Line);
  Dialogs.MessageBox("done", "", mbOK);
  EXPECT_EQ(Inner.Shown, "done");
  EXPECT_EQ(Out.str(), "\r0 looked at, 0 listed: /x/\r" + std::string(26, ' ') + "\r");
  TProgressDialogs WithoutLine(Inner, nullptr);
  EXPECT_EQ(WithoutLine.MessageBox("again", "", mbOK), idOK);
  EXPECT_EQ(Dialogs.Ask({.Text = "which?", .Caption = "", .Buttons = {"a", "b"}, .Default = 0, .Escape = 1}), 1u);
  EXPECT_EQ(Inner.Shown, "doneagainwhich?");
}

}  // namespace
}  // namespace tesvarin::cli
