#include "editor/text/TextBlock.h"

#include <gtest/gtest.h>

#include <string>

#include "editor/Editor.h"

namespace tesvarin {
namespace {

// Small blocks come from the heap, big ones from a mapping of their own; both hold every byte.
TEST(TextBlock, SmallAndBigBlocksHoldTheirBytes) {
  for (const size_t Size : {size_t{0}, size_t{1}, size_t{4096}, size_t{9} << 20, (size_t{9} << 20) + 123}) {
    TTextBlock Block = NewTextBlock(Size);
    EXPECT_EQ(Block.get_deleter().Mapped != 0, Size >= (size_t{8} << 20)) << Size;
    for (size_t I = 0; I < Size; ++I) Block[I] = static_cast<char>(I * 7);
    for (size_t I = 0; I < Size; I += 4093) ASSERT_EQ(Block[I], static_cast<char>(I * 7)) << Size;
  }
}

// A text big enough for a mapped block is viewed by its rows and given back whole.
TEST(TextBlock, ABigTextRoundTripsThroughTheRows) {
  std::string Text;
  for (int Line = 0; Text.size() < (size_t{10} << 20); ++Line) Text += "line " + std::to_string(Line) + " \x82\xa0\r\n";
  TEditor E(nullptr, TPlatform{});
  E.Lines().SetLinesText(Text);
  EXPECT_EQ(E.Lines().Text(), Text);
  EXPECT_TRUE(E.ListRows().Item(E.RowCount() / 2).Text.IsView());
}

}  // namespace
}  // namespace tesvarin
