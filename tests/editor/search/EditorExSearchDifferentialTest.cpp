// The plain string search against a reference that lowers a copy of the text and tries every
// character start found by walking the text from its start, on random Shift-JIS texts made of the
// find string's own bytes: double-byte characters whose trail bytes are lead bytes or ASCII letters,
// lone bytes that pair with the byte before them (the lead-byte ranges' edges among them), NUL and
// Ctrl+Z. Texts run past several vector blocks, so hits fall on and across block edges. The
// reference walks and folds on its own, so a fault in the shared Shift-JIS helpers shows.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "editor/search/EditorExSearch.h"
#include "regexp/REMatchStr.h"

namespace tesvarin {
namespace {

// 日 本 語 ア ァ ン, a kanji whose trail byte is 'A', then pieces that make those bytes appear
// after a lead byte: 81 93 | FA 96 | 7B holds 93 FA 96 7B (日本) starting on a trail byte.
const std::vector<std::string> Pieces = {
    "\x93\xFA", "\x96\x7B", "\x8C\xEA", "\x83\x41", "\x83\x61", "\x83\x93", "\x8A\x41", "\x81\x93", "\xFA\x96",
    "\x81\x96", "\x81\x83", "{",        "A",        "a",        "b",        " ",        "\x93",     "\x83",
    "\xEA",     "\xA0",     std::string(1, '\0'),   "\x1A",     "\r",       "\x80",     "\x81",     "\x9F",
    "\xDF",     "\xE0",     "\xFC",     "\xFD",
};

// Find strings: whole characters, and pieces that start or end with a byte that is also a trail
// byte (or a lead byte whose trail would follow).
const std::vector<std::string> Finds = {
    "\x93\xFA\x96\x7B",  // 日本
    "\x93\xFA\x96\x7B\x8C\xEA",  // 日本語
    "\x96\x7B\x8C\xEA",  // 本語
    "\x83\x41",          // ア
    "A",
    "a",
    "Ab",
    "\x41\x83",          // a letter then a lead byte
    "\xFA\x96\x7B",      // starts with the trail byte of 日
    "\x7B\x8C",          // a trail byte, then a lead byte
    "\x93",
    "{\x8C\xEA",
    "\x1A",
    "\x83\x93\x83",
    "a\x83\x41",       // letters at a character start and in a trail byte: only the first folds
    "\x83\x61" "A",
};

std::string RandomText(std::mt19937& Rng, size_t Count) {
  std::string S;
  for (size_t I = 0; I < Count; ++I) S += Pieces[Rng() % Pieces.size()];
  return S;
}

// The parts of a text between its NUL bytes, each searched on its own, with their offsets.
std::vector<std::pair<size_t, std::string>> NulParts(const std::string& Text) {
  std::vector<std::pair<size_t, std::string>> Parts;
  for (size_t Start = 0;;) {
    const size_t Nul = Text.find('\0', Start);
    Parts.emplace_back(Start, Text.substr(Start, Nul == std::string::npos ? std::string::npos : Nul - Start));
    if (Nul == std::string::npos) return Parts;
    Start = Nul + 1;
  }
}

// Which bytes start a character, walking from the start: a byte of 81-9F or E0-FC takes the next
// byte with it, whatever that is; the end counts as a start.
std::vector<bool> WalkStarts(const std::string& Text) {
  std::vector<bool> Start(Text.size() + 1, false);
  for (size_t I = 0; I < Text.size(); ++I) {
    Start[I] = true;
    const auto B = static_cast<unsigned char>(Text[I]);
    if (((B >= 0x81 && B <= 0x9F) || (B >= 0xE0 && B <= 0xFC)) && I + 1 < Text.size()) ++I;
  }
  Start[Text.size()] = true;
  return Start;
}

// A-Z lowered where it is a character of its own, never as a trail byte.
std::string Lowered(std::string Text) {
  const std::vector<bool> Start = WalkStarts(Text);
  for (size_t I = 0; I < Text.size(); ++I) {
    if (Start[I] && Text[I] >= 'A' && Text[I] <= 'Z') Text[I] = static_cast<char>(Text[I] - 'A' + 'a');
  }
  return Text;
}

// The first hit as the plain search is defined: the lower-cased find string in the lower-cased
// text, part by part between NUL bytes, at a character start found by walking from the part's
// start, ending on a character start. 1-based, 0 for none.
int ReferenceSearch(const std::string& Whole, std::string Find, bool MatchCase) {
  if (!MatchCase) Find = Lowered(Find);
  for (auto [Offset, Text] : NulParts(Whole)) {
    if (!MatchCase) Text = Lowered(Text);
    const std::vector<bool> Start = WalkStarts(Text);
    for (size_t I = 0; I + Find.size() <= Text.size(); ++I)
      if (Start[I] && Start[I + Find.size()] && Text.compare(I, Find.size(), Find) == 0)
        return static_cast<int>(Offset + I) + 1;
  }
  return 0;
}

TEST(EditorExSearchDifferential, PlainSearchAgreesWithAWalkFromTheStart) {
  std::mt19937 Rng(19);
  TEditorExSearch S;
  int Bad = 0;
  for (int Round = 0; Round < 4000 && Bad < 10; ++Round) {
    const std::string Text = RandomText(Rng, Rng() % 60);
    const std::string& Find = Finds[Rng() % Finds.size()];
    const bool MatchCase = Round % 2 == 0;
    S.SetFindString(Find);
    S.SetExSearchOptions(MatchCase ? TExSearchOptions{soMatchCase} : TExSearchOptions{});
    int Len = 0;
    const int Got = S.StrSearch(Text, Len);
    const int Want = ReferenceSearch(Text, Find, MatchCase);
    if (Got != Want) {
      ++Bad;
      ADD_FAILURE() << "round " << Round << " case " << MatchCase << ": got " << Got << " want " << Want;
    }
  }
}

// The needle planted at every offset of a text made of its own bytes, past the end of two vector
// blocks; each offset that starts a character must be found there or earlier.
TEST(EditorExSearchDifferential, HitsOnEveryBlockOffset) {
  const std::string Find = "\x93\xFA\x96\x7B\x8C\xEA";  // 日本語
  const std::string Filler = "\x81\x93\xFA\x96{\x93\xFA\x96\x7B\x8C";
  TEditorExSearch S;
  S.SetFindString(Find);
  for (const TExSearchOptions Options : {TExSearchOptions{soMatchCase}, TExSearchOptions{}}) {
    S.SetExSearchOptions(Options);
    for (size_t At = 0; At < 80; ++At) {
      std::string Text;
      while (Text.size() < At) Text += Filler;
      Text = Text.substr(0, At) + Find + Filler;
      int Len = 0;
      ASSERT_EQ(S.StrSearch(Text, Len), ReferenceSearch(Text, Find, true)) << At;
    }
  }
}

// Expressions whose required literals or alternatives are made of the same characters: the
// automaton may start only on a character start, wherever the literal search put its candidate.
TEST(EditorExSearchDifferential, ExpressionsStartOnCharacters) {
  const std::vector<std::string> Exprs = {
      "\x93\xFA\x96\x7B(\x8C\xEA|\x83\x41)",  // 日本(語|ア)
      "(\x96\x7B|\x83\x41)\x8C\xEA",          // (本|ア)語
      "\x96\x7B\x8C\xEA|{",                   // 本語|{
      "[\x93\xFA\x96\x7B]\x8C\xEA",           // [日本]語
  };
  std::mt19937 Rng(23);
  TEditorExSearch S;
  S.SetExSearchOptions({soRegexp});
  TREMatchStr Anchored;
  for (int Round = 0; Round < 3000; ++Round) {
    const std::string Text = RandomText(Rng, Rng() % 40);
    const std::string& Expr = Exprs[Rng() % Exprs.size()];
    S.SetFindString(Expr);
    int Len = 0;
    const int Got = S.StrSearch(Text, Len);
    // The reference: the matcher on every character start in turn, with nothing ruled out first.
    int Want = 0;
    Anchored.SetRegExp("^(" + Expr + ")");
    for (const auto& [Offset, T] : NulParts(Text)) {
      const std::vector<bool> Start = WalkStarts(T);
      for (size_t I = 0; I < T.size() && Want == 0; ++I) {
        int Pos = 0, L = 0;
        if (Start[I] && Anchored.Match(T.substr(I), Pos, L) != 0) Want = static_cast<int>(Offset + I) + 1;
      }
      if (Want != 0) break;
    }
    ASSERT_EQ(Got, Want) << "round " << Round;
  }
}

}  // namespace
}  // namespace tesvarin
