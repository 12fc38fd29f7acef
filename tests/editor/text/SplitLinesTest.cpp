#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor/text/SplitLines.h"

namespace tesvarin {
namespace {

std::vector<std::string> Split(std::string_view Text) {
  TStringList Lines;
  SplitLines(Text, Lines);
  return Lines.Items();
}

TEST(SplitLines, BreaksOfEveryKind) {
  using V = std::vector<std::string>;
  EXPECT_EQ(Split("a\r\nb"), (V{"a", "b"}));
  EXPECT_EQ(Split("a\n"), (V{"a"}));
  EXPECT_EQ(Split("a\n\rb"), (V{"a", "", "b"}));
  EXPECT_EQ(Split("a\rb\r"), (V{"a", "b"}));
  EXPECT_EQ(Split(""), V{});
  EXPECT_EQ(Split("\n\n"), (V{"", ""}));
}

TEST(SplitLines, StopsAtNulButKeepsCountedLines) {
  using V = std::vector<std::string>;
  EXPECT_EQ(Split(std::string_view("a\nb\0c\nd\n", 8)), (V{"a", "b", ""}));
}

TEST(SplitLines, ReplacesOldContentsInOneNotification) {
  TStringList Lines;
  Lines.Add("old");
  int Changes = 0;
  Lines.OnChange = [&](TStringList&) { ++Changes; };
  SplitLines("x\ny", Lines);
  EXPECT_EQ(Lines.Items(), (std::vector<std::string>{"x", "y"}));
  EXPECT_EQ(Changes, 1);
}

}  // namespace
}  // namespace tesvarin
