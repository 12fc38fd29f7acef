#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "app/FileContentTest.h"
#include "app/FormEditorEx.h"
#include "support/StringList.h"

namespace tesvarin {
namespace {

namespace fs = std::filesystem;

// Deterministic pieces of Shift-JIS text: double-byte characters whose trail bytes are ASCII
// letters or a backslash, plain words, NUL bytes, every kind of line break.
const std::vector<std::string> Pieces = {
    "abc", "ABC", "a", "A", "b", " ", "-", "\\", "\x83\x41", "\x83\x61", "\x95\x5c", "\x82\xa0",
    "\x83\x41\x83\x61", std::string("\0", 1), "\r\n", "\n", "\r", "ab\\c", "x_y",
};

struct TRandom {
  uint32_t State;
  uint32_t Next(uint32_t N) {
    State = State * 1664525u + 1013904223u;
    return (State >> 8) % N;
  }
};

std::string MakeText(uint32_t Seed) {
  TRandom R{Seed};
  std::string S;
  const uint32_t Count = 5 + R.Next(60);
  for (uint32_t I = 0; I < Count; ++I) {
    if (R.Next(25) == 0) {
      // A long line over 250 bytes.
      for (int K = 0; K < 90; ++K) S += Pieces[R.Next(13)];
    } else {
      S += Pieces[R.Next(static_cast<uint32_t>(Pieces.size()))];
    }
  }
  return S;  // often without a break at the end
}

const std::vector<std::string> FindTexts = {
    "a", "abc", "ABC", "\x83\x41", "\\", "b", "a.c", "[a-c]+", "\x95\x5c", "x_y",
};

using THits = std::vector<std::pair<int64_t, int64_t>>;

constexpr int MaxSteps = 400;

std::pair<int64_t, int64_t> Selection(const TFileContentTest& A) {
  return {static_cast<int64_t>(A.SelStart()), static_cast<int64_t>(A.SelLength())};
}
std::pair<int64_t, int64_t> Selection(const TEditorEx& E) { return {E.GetSelStart(), E.GetSelLength()}; }

// The hits of repeated searches down; a refused pattern ends the list with a marker.
template <class Ed>
THits Hits(Ed& E) {
  THits H;
  try {
    while (H.size() < MaxSteps && E.FindNext()) H.push_back(Selection(E));
  } catch (const std::exception&) {
    H.emplace_back(-1, -1);
  }
  return H;
}

struct TPair {
  TEditorEx Ed{nullptr, TPlatform{}};
  TFormEditorEx Form{Ed};
  TFileContentTest Test;
  void Load(const std::string& Path, const std::string& Find, TExSearchOptions Options) {
    Form.LoadFromFile(Path);
    Test.LoadFromFile(Path);
    Form.SetFindString(Find);
    Form.SetExSearchOptions(Options);
    Test.SetFindString(Find);
    Test.SetExSearchOptions(Options);
  }
};

TExSearchOptions OptionSet(unsigned Bits) {
  TExSearchOptions O;
  for (unsigned B = 0; B < 4; ++B) {
    if (Bits & (1u << B)) O.Include(static_cast<TExSearchOption>(B));
  }
  return O;
}

class ContentTestDifferential : public ::testing::Test {
protected:
  void SetUp() override {
    std::string Template = (fs::temp_directory_path() / "tesvarin-diff-XXXXXX").string();
    Dir = mkdtemp(Template.data());
  }
  void TearDown() override {
    std::error_code Ec;
    fs::remove_all(Dir, Ec);
  }
  std::string Dir;
};

// Every hit the viewer finds stepping down, the content test finds at the same place, for every
// option set: so a file is listed exactly when the viewer would find the text in it.
TEST_F(ContentTestDifferential, SameHitsAsTheViewer) {
  const std::string Path = Dir + "/t.txt";
  size_t Total = 0, Refused = 0;
  for (uint32_t Seed = 1; Seed <= 16; ++Seed) {
    const std::string Text = MakeText(Seed);
    WriteFileBytes(Path, Text);
    for (unsigned Bits = 0; Bits < 16; ++Bits) {
      for (const std::string& Find : FindTexts) {
        SCOPED_TRACE("seed " + std::to_string(Seed) + " options " + std::to_string(Bits) + " find " + Find);
        TPair P;
        P.Load(Path, Find, OptionSet(Bits));
        ASSERT_EQ(P.Form.ExSearchOptions(), P.Test.ExSearchOptions());
        const THits Down = Hits(P.Ed);
        ASSERT_EQ(Down, Hits(P.Test));
        Total += Down.size();
        if (!Down.empty() && Down.back().first < 0) ++Refused;
      }
    }
  }
  // The generated texts really exercise the searches.
  EXPECT_GT(Total, 2000u);
  EXPECT_GT(Refused, 0u);
}

}  // namespace
}  // namespace tesvarin
