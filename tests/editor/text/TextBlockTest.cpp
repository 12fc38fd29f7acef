#include "editor/text/TextBlock.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <string>

#include "editor/Editor.h"
#include "editor/text/EditorStrings.h"
#include "support/FileStamp.h"
#include "support/StringList.h"
#include "testsupport/TempFolder.h"

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

// A text made anew (a replace's) becomes the rows' block without a copy, big or small, and its
// bytes live as long as the block does.
TEST(TextBlock, AStringTakenOverIsTheBlock) {
  for (const size_t Size : {size_t{5}, size_t{300}, HugeMappingFrom + 7}) {
    TBigString Text(Size, 'q');
    Text.back() = 'z';
    const bool Inline = Size < 16;  // kept inside the string object itself: moved with it
    const char* Before = Text.data();
    TTextBlock Block = TextBlockOf(std::move(Text));
    if (!Inline) {
      EXPECT_EQ(Block.get(), Before) << Size;
    }
    Text = TBigString(Size, 'w');  // the old buffer is not the string's any more
    EXPECT_EQ(std::string_view(Block.get(), Size), std::string(Size - 1, 'q') + "z") << Size;
  }
  TEditorScreenStrings Rows;
  TEditorStrings Lines(Rows, nullptr);
  TBigString Text = "the first line\nthe second\r\nthe third";
  const char* Bytes = Text.data();
  Lines.TakeLinesText(std::move(Text));
  EXPECT_EQ(Lines.FileBytes(), "the first line\nthe second\r\nthe third");
  EXPECT_EQ(Rows.RowView(0).data(), Bytes);
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

struct TOpenFile {
  int Fd;
  explicit TOpenFile(const std::string& Path) : Fd(::open(Path.c_str(), O_RDWR)) {}
  ~TOpenFile() { ::close(Fd); }
};

std::string Lines(size_t AtLeast) {
  std::string Text;
  for (int Line = 0; Text.size() < AtLeast; ++Line) Text += std::to_string(Line) + " \x93\xfa\x96\x7b\r\n";
  return Text;
}

// A mapped block holds the file's bytes, hashes them as a read file is hashed, and once copied is
// the program's own: a later change of the file, in place or cutting it short, no longer reaches it.
TEST(TextBlock, AMappedFileBecomesTheProgramsOwnOnceCopied) {
  test::TempFolder Dir;
  const std::string Path = Dir / "big.txt";
  const std::string Text = Lines((size_t{20} << 20) + 12345);
  WriteFileBytes(Path, Text);
  const TOpenFile File(Path);
  TTextBlock Block = MapFileBlock(File.Fd, Text.size());
  ASSERT_TRUE(Block);
  const std::shared_ptr<TBlockCopier> Copier = Block.get_deleter().Copier;
  ASSERT_TRUE(Copier);
  Copier->Start(Text.size());
  EXPECT_EQ(Copier->Hash(), StampHashOf(Text));
  Copier->AllowCopy();
  Copier->Wait();
  ASSERT_EQ(::pwrite(File.Fd, "XXXX", 4, 4096), 4);
  ASSERT_EQ(::ftruncate(File.Fd, 100), 0);
  EXPECT_TRUE(std::string_view(Block.get(), Text.size()) == Text);
  EXPECT_FALSE(Copier->CutShort());
}

// A file cut short before its pages were copied reads as zeros past its new end, says so, and the
// block is still freed at once while its copy waits to be allowed.
TEST(TextBlock, AMappedFileCutShortReadsAsZerosAndTheBlockStillFrees) {
  test::TempFolder Dir;
  const std::string Path = Dir / "cut.txt";
  const std::string Text = Lines(size_t{9} << 20);
  WriteFileBytes(Path, Text);
  const TOpenFile File(Path);
  TTextBlock Block = MapFileBlock(File.Fd, Text.size());
  ASSERT_TRUE(Block);
  const std::shared_ptr<TBlockCopier> Copier = Block.get_deleter().Copier;
  ASSERT_EQ(::ftruncate(File.Fd, 8192), 0);
  Copier->Start(Text.size());
  std::string Expected = Text.substr(0, 8192);
  Expected.resize(Text.size(), '\0');
  EXPECT_EQ(Copier->Hash(), StampHashOf(Expected));
  EXPECT_TRUE(Copier->CutShort());
  EXPECT_TRUE(std::string_view(Block.get(), Text.size()) == Expected);
  Block.reset();  // stops the copier that is still waiting
}

// A file big enough to be mapped loads the rows, bytes and stamp that reading it gives, and can be
// saved over itself; its text ends at a Ctrl+Z and the bytes from it are kept.
TEST(TextBlock, AMappedLoadMakesTheRowsAndStampOfARead) {
  test::TempFolder Dir;
  const std::string Path = Dir / "mapped.txt";
  const std::string Text = Lines(MapFileFrom + 777) + "last line without a break\x1A after the end\r\n";
  WriteFileBytes(Path, Text);
  TEditor Mapped(nullptr, TPlatform{});
  TFileStamp Stamp;
  Mapped.Lines().LoadFromFile(Path, &Stamp);
  const std::optional<TFileStamp> Read = StampOfFile(Path);
  ASSERT_TRUE(Read);
  EXPECT_TRUE(SameFileState(Stamp, *Read));
  // Saved over the file it was mapped from at once, while its copy is still under way.
  Mapped.Lines().SaveToFile(Path);
  EXPECT_TRUE(ReadFileBytes(Path) == Text);
  TEditor FromBytes(nullptr, TPlatform{});
  FromBytes.Lines().LoadFromBytes(Text);
  ASSERT_EQ(Mapped.RowCount(), FromBytes.RowCount());
  for (int Row = 0; Row < Mapped.RowCount(); Row += 9973) {
    ASSERT_EQ(Mapped.ListRows().RowView(Row), FromBytes.ListRows().RowView(Row)) << Row;
  }
  EXPECT_EQ(Mapped.ListRows().RowView(Mapped.RowCount() - 1), "last line without a break");
  EXPECT_EQ(Mapped.Lines().TailAfterCtrlZ(), "\x1A after the end\r\n");
  EXPECT_TRUE(Mapped.Lines().FileBytes() == Text);
}

}  // namespace
}  // namespace tesvarin
