#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "app/FileContentTest.h"
#include "app/FileSearch.h"
#include "app/LineBlocks.h"
#include "app/ResultRow.h"
#include "support/StringList.h"

namespace tesvarin {
namespace {

namespace fs = std::filesystem;

struct TRandom {
  uint32_t State;
  uint32_t Next(uint32_t N) {
    State = State * 1664525u + 1013904223u;
    return (State >> 8) % N;
  }
};

// Shift-JIS pieces whose trail bytes look like ASCII letters or a backslash, words, NULs, every
// kind of break, and (rarely) a Ctrl+Z: cut anywhere, they put lead bytes and CRs on block edges.
const std::vector<std::string> Pieces = {
    "abc", "ABC", "a", "b", " ", "-", "\\", "\x83\x41", "\x83\x61", "\x95\x5c", "\x82\xa0", "\x83\x41\x83\x61",
    std::string("\0", 1), "\r\n", "\n", "\r", "\r\n\r\n", "\n\r", "x_y", "\x88\x9f\x82\xa0",
};

std::string MakeText(uint32_t Seed, bool CtrlZ) {
  TRandom R{Seed};
  std::string S;
  const uint32_t Count = 20 + R.Next(120);
  for (uint32_t I = 0; I < Count; ++I) {
    if (R.Next(30) == 0) {
      for (int K = 0; K < 90; ++K) S += Pieces[R.Next(12)];  // a line over 250 bytes
    } else if (CtrlZ && R.Next(60) == 0) {
      S += '\x1a';
    } else {
      S += Pieces[R.Next(static_cast<uint32_t>(Pieces.size()))];
    }
  }
  return S;
}

// Reads Text in pieces of varying size after its first Filled bytes, as a file gives them.
TLineBlocks::TRead ReaderOf(const std::string& Text, size_t& At, uint32_t Seed) {
  return [&Text, &At, R = TRandom{Seed}](char* Into, size_t Max) mutable {
    const size_t N = std::min({Max, Text.size() - At, size_t{1} + R.Next(40)});
    Text.copy(Into, N, At);
    At += N;
    return N;
  };
}

std::vector<std::string> BlocksOf(const std::string& Text, size_t BlockSize, size_t Filled, uint32_t Seed = 7) {
  TBigString Buffer(Text.substr(0, Filled));
  size_t At = Filled;
  TLineBlocks Blocks(Buffer, Filled, ReaderOf(Text, At, Seed), BlockSize);
  std::vector<std::string> Out;
  for (std::string_view B; Blocks.Next(B);) Out.emplace_back(B);
  return Out;
}

// The lines a viewer makes of a text: up to the first Ctrl+Z, CR LF, CR and LF each end one, and
// after a final break comes an empty line.
std::vector<std::string> LinesOf(std::string_view Text) {
  Text = Text.substr(0, Text.find('\x1a'));
  std::vector<std::string> Lines(1);
  for (size_t I = 0; I < Text.size(); ++I) {
    if (Text[I] != '\r' && Text[I] != '\n') {
      Lines.back() += Text[I];
      continue;
    }
    if (Text[I] == '\r' && I + 1 < Text.size() && Text[I + 1] == '\n') ++I;
    Lines.emplace_back();
  }
  return Lines;
}

TEST(LineBlocks, BlocksHoldTheTextsLinesEachWholeAndInOrder) {
  for (uint32_t Seed = 1; Seed <= 60; ++Seed) {
    const std::string Text = MakeText(Seed, Seed % 3 == 0);
    const std::vector<std::string> Want = LinesOf(Text);
    for (const size_t BlockSize : {1, 2, 3, 7, 16, 33, 100, 4096}) {
      for (const size_t Filled : {size_t{0}, std::min<size_t>(Text.size(), 5)}) {
        SCOPED_TRACE("seed " + std::to_string(Seed) + " block " + std::to_string(BlockSize));
        std::vector<std::string> Got;
        for (const std::string& B : BlocksOf(Text, BlockSize, Filled, Seed)) {
          const std::vector<std::string> L = LinesOf(B);
          Got.insert(Got.end(), L.begin(), L.end());
        }
        ASSERT_EQ(Got, Want);
      }
    }
  }
}

TEST(LineBlocks, EdgesOfTheBuffer) {
  struct TCase {
    const char* Name;
    std::string Text;
    size_t Block;
    std::vector<std::string> Blocks;
  };
  const std::vector<TCase> Cases = {
      // The CR that ends a full buffer waits for the byte after it.
      {"crlf on the edge", "ab\r\ncd", 3, {"ab", "cd"}},
      {"lone cr inside", "ab\rcd", 4, {"ab", "cd"}},
      {"lone cr on the edge", "ab\rcd", 3, {"ab\rcd"}},
      {"lf then cr", "a\n\rb", 3, {"a", "\rb"}},
      // A final break leaves an empty last line, as in the viewer.
      {"final break", "ab\r\n", 2, {"ab", ""}},
      {"empty text", "", 4, {""}},
      {"a line longer than a block", "abcdefgh\nxy", 2, {"abcdefgh", "xy"}},
      {"ctrl+z ends the text", "ab\ncd\x1a" "ef\ngh", 3, {"ab", "cd"}},
      {"ctrl+z right after a cr", "ab\r\x1a\n", 3, {"ab\r"}},
      {"a double-byte character before the break", "\x83\x41\x83\r\n\x83\x41", 5, {"\x83\x41\x83", "\x83\x41"}},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    EXPECT_EQ(BlocksOf(C.Text, C.Block, 0), C.Blocks);
  }
}

std::vector<std::string> FindTexts() {
  return {"a", "abc", "ABC", "\x83\x41", "\\", "b", "a.c", "[a-c]+", "\x95\x5c", "x_y", "^a", "c$", "^$",
          "b*", "\x82\xa0", "-"};
}

TExSearchOptions OptionSet(unsigned Bits) {
  TExSearchOptions O;
  for (unsigned B = 0; B < 4; ++B)
    if (Bits & (1u << B)) O.Include(static_cast<TExSearchOption>(B));
  return O;
}

// The answer of one content test over the bytes given; a refused expression answers false.
bool Holds(TFileContentTest& Test, std::string_view Bytes) {
  Test.LoadBytes(Bytes);
  try {
    return Test.FindNext();
  } catch (const std::exception&) {
    return false;
  }
}

// Blocks of whole lines give the answer the whole text gives, for every option set, with hits,
// double-byte characters, breaks, NULs and Ctrl+Z on and across block edges.
TEST(LineBlocks, ContentTestOnBlocksAnswersAsOnTheWholeText) {
  TFileContentTest Test;
  size_t Yes = 0, No = 0;
  for (uint32_t Seed = 1; Seed <= 24; ++Seed) {
    const std::string Text = MakeText(Seed, Seed % 2 == 0);
    for (const size_t BlockSize : {1, 5, 16, 64}) {
      const std::vector<std::string> Blocks = BlocksOf(Text, BlockSize, 0, Seed);
      for (unsigned Bits = 0; Bits < 16; ++Bits) {
        for (const std::string& Find : FindTexts()) {
          SCOPED_TRACE("seed " + std::to_string(Seed) + " block " + std::to_string(BlockSize) + " options " +
                       std::to_string(Bits) + " find " + Find);
          Test.SetFindString(Find);
          Test.SetExSearchOptions(OptionSet(Bits));
          const bool Whole = Holds(Test, Text);
          const bool Blockwise =
              std::any_of(Blocks.begin(), Blocks.end(), [&Test](const std::string& B) { return Holds(Test, B); });
          ASSERT_EQ(Blockwise, Whole);
          ++(Whole ? Yes : No);
        }
      }
    }
  }
  // Both answers come up often enough to tell.
  EXPECT_GT(Yes, 2000u);
  EXPECT_GT(No, 2000u);
}

class LineBlocksRun : public ::testing::Test {
protected:
  void SetUp() override {
    std::string Template = (fs::temp_directory_path() / "tesvarin-blocks-XXXXXX").string();
    Root = std::string(mkdtemp(Template.data())) + "/";
  }
  void TearDown() override { fs::remove_all(Root); }

  std::set<std::string> Run(size_t StreamFrom, size_t StreamBlock, const std::string& Find, TExSearchOptions O) {
    TFileSearch Search(TSearchCriteria{}, Abort);
    Search.StreamFrom = StreamFrom;
    Search.StreamBlock = StreamBlock;
    std::set<std::string> Found;
    TFileContentTest Test;
    Test.SetFindString(Find);
    Test.SetExSearchOptions(O);
    Search.HelperThreads = 0;
    Search.ContainsText = [&Test](const std::string&, std::string_view Bytes) { return Holds(Test, Bytes); };
    Search.OnFound = [&Found](const TFoundFile& F) { Found.insert(F.Name); };
    Search.SearchFolder(Root);
    return Found;
  }

  std::string Root;
  bool Abort = false;
};

// Through the search run itself: files read from disk in blocks are listed exactly as files read
// whole are.
TEST_F(LineBlocksRun, StreamedFilesAreListedAsFilesReadWhole) {
  for (uint32_t Seed = 1; Seed <= 30; ++Seed) {
    // Pieces without NUL runs that would make the probe call the file non-text.
    std::string Text = MakeText(Seed + 100, Seed % 4 == 0);
    std::erase(Text, '\0');
    WriteFileBytes(Root + "f" + std::to_string(Seed) + ".txt", Text);
  }
  size_t Listed = 0;
  for (const std::string Find : {"abc", "\x83\x41", "^a", "x_y"}) {
    for (const unsigned Bits : {0u, 1u, 2u, 8u, 6u}) {
      SCOPED_TRACE(Find + " options " + std::to_string(Bits));
      const std::set<std::string> Whole = Run(SIZE_MAX, 1, Find, OptionSet(Bits));
      ASSERT_EQ(Run(0, 7, Find, OptionSet(Bits)), Whole);
      Listed += Whole.size();
    }
  }
  EXPECT_GT(Listed, 50u);
  EXPECT_LT(Listed, 20u * 30u);
}

// A file with its text at the start and far more after it (a hole reads as NULs): the probe reads
// only the probe, and a content test stops at the first block that holds the text.
TEST_F(LineBlocksRun, BigFilesAreReadNoFurtherThanNeeded) {
  const std::string Path = Root + "big.log";
  std::string Head;
  while (Head.size() < 4096) Head += "abc line\r\n";
  WriteFileBytes(Path, Head);
  fs::resize_file(Path, uint64_t{64} << 20);

  TBigString Buffer;
  TCandidateFile File(Buffer);
  ASSERT_TRUE(File.Open(Path, true));
  EXPECT_EQ(File.Head(NonTextProbeSize, NonTextProbeSize).size(), NonTextProbeSize);
  EXPECT_LE(Buffer.size(), size_t{4096});

  TFileSearch Search(TSearchCriteria{}, Abort);
  Search.StreamBlock = 4096;
  size_t Seen = 0;
  Search.ContainsText = [&Seen](const std::string&, std::string_view Bytes) {
    Seen += Bytes.size();
    return Bytes.find("abc") != std::string_view::npos;
  };
  std::vector<std::string> Found;
  Search.OnFound = [&Found](const TFoundFile& F) { Found.push_back(F.Name); };
  Search.SearchFolder(Root);
  EXPECT_EQ(Found, std::vector<std::string>{"big.log"});
  EXPECT_GT(Seen, 0u);
  EXPECT_LE(Seen, TCandidateFile::HeadReadAhead + 4096);
}

}  // namespace
}  // namespace tesvarin
